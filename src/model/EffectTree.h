// The effect catalogue shown as a two-level tree with three-state check
// boxes: categories, then their effects, each effect carrying its style
// number. The checked effects are the show-wide selection.
//
// The tree is a QStandardItemModel so a view can show it as it is; checks
// made through the view keep categories and effects consistent: checking a
// category checks all its effects, and a category shows checked when all
// its effects are, partly checked when some are.
#pragma once

#include <QStandardItemModel>

#include <string>

#include "model/IniFile.h"
#include "model/StyleSet.h"

namespace model {

class EffectTree {
public:
    // Item data role that holds an effect's style number.
    static constexpr int kStyleRole = Qt::UserRole + 1;
    // Style number of a catalogue entry whose value is not a number.
    static constexpr int kFallbackStyle = 59;

    EffectTree();
    EffectTree(const EffectTree&) = delete;
    EffectTree& operator=(const EffectTree&) = delete;

    QStandardItemModel& ItemModel() { return model_; }
    const QStandardItemModel& ItemModel() const { return model_; }

    // The "built" mark: cleared to have the next Build fill the tree anew.
    bool IsBuilt() const { return built_; }
    void MarkForRebuild() { built_ = false; }

    // Unless built: fills the tree from the catalogue (sections are
    // categories, keys are effect names, values style numbers), checks the
    // enabled effects and sets the mark. Returns the first checked style of
    // this fill, or 0 when the tree was built already or nothing is checked.
    int Build(const IniFile& catalogue, const StyleSet& enabled);
    // First checked style of the last fill (0 when none).
    int FirstStyle() const { return firstStyle_; }

    // Every node, categories and effects.
    int NodeCount() const;
    int CategoryCount() const { return model_.rowCount(); }
    int EffectCount(int category) const;
    QString CategoryName(int category) const;
    QString EffectName(int category, int effect) const;
    int EffectStyle(int category, int effect) const;
    Qt::CheckState CategoryState(int category) const;
    bool EffectChecked(int category, int effect) const;

    void SetCategoryChecked(int category, bool checked);
    void SetEffectChecked(int category, int effect, bool checked);
    // "Select All" and "Disable All": every node, categories included.
    void SetAllChecked(bool checked);
    // Checks exactly the effects whose style is in the set.
    void ApplySelection(const StyleSet& enabled);

private:
    void OnItemChanged(QStandardItem* item);
    static Qt::CheckState StateOfEffects(const QStandardItem& category);
    void SetState(QStandardItem& item, Qt::CheckState state);

    QStandardItemModel model_;
    bool built_ = false;
    bool updating_ = false;  // set while the tree changes itself
    int firstStyle_ = 0;
};

// Style list text of the checked effects in tree order ("5,59,100,").
std::string StyleListText(const EffectTree& tree);
// One character per node in tree order: "1" checked, "0" otherwise.
std::string TreeStateText(const EffectTree& tree);
// The styles 0 to 175 of the checked effects.
StyleSet SelectionFromTree(const EffectTree& tree);
// Whether the tree holds a selection worth taking: more than one node, so an
// unbuilt tree never overwrites the stored selection.
bool TreeHoldsSelection(const EffectTree& tree);

// Builds the tree from CatalogueStore() and the show's selection (once per
// project); returns the first enabled style for the Effects page preview.
int BuildEffectTree(EffectTree& tree, const StyleSet& selection);

}  // namespace model
