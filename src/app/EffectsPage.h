// The Effects step: the effect tree with its commands, the transition speed
// and redraw interval, the pan and zoom of the show's pictures, and a small
// preview of the effect last selected.
#pragma once

#include <QWidget>

#include "model/EffectTree.h"
#include "model/Show.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeView;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class ProportionalFrame;
class SmallEffectPreview;

class EffectsPage : public QWidget {
    Q_OBJECT

public:
    // The page reads and changes the window's working show.
    explicit EffectsPage(model::Show& show, QWidget* parent = nullptr);
    ~EffectsPage() override;

    model::EffectTree& Tree() { return effectTree_; }
    QTreeView& StyleList() const { return *styleList_; }

    // The hand-over with the settings record: a new option of this step is
    // read in the first and written in the second.
    void RefreshFromSettings(const model::TslSettings& s);
    void CollectSettings(model::TslSettings& s) const;

    // Fills the effect tree from the settings and starts the preview the
    // first time.
    void BuildEffectTree();
    // The preview, once the effect tree has been built.
    SmallEffectPreview* MiniPreview() const { return miniPreview_; }

    // The button that opens the per-picture dialog; it waits while a build runs.
    QPushButton& CustomizeButton() const { return *customize_; }

signals:
    // The user changed the speed, the interval or the motion.
    void Changed();
    // The per-picture dialog was asked for.
    void CustomizeClicked();

private:
    model::Show& show_;
    QLayout* CreateTreeColumn();
    QLayout* CreateSide();
    // Plays 'style' from now on, making the preview the first time.
    void StartMiniPreview(int style);
    // Plays the style anew with the show as it is now.
    void PlayMiniPreview();
    void StyleListSelectionChanged();
    void SpeedOrIntervalChanged();

    model::EffectTree effectTree_;
    QTreeView* styleList_ = nullptr;
    ProportionalFrame* fsPanel2_ = nullptr;
    QSpinBox* speedEdit2_ = nullptr;
    QSpinBox* intervalEdit_ = nullptr;
    QComboBox* motionKind_ = nullptr;
    QSpinBox* motionStrength_ = nullptr;
    QComboBox* motionFit_ = nullptr;
    QPushButton* customize_ = nullptr;
    QLabel* catalogueNote_ = nullptr;            // why the tree is empty, when it is
    SmallEffectPreview* miniPreview_ = nullptr;  // owned by fsPanel2_
    int previewedStyle_ = 0;
};

}  // namespace app
