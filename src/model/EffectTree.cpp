#include "model/EffectTree.h"

#include "model/Settings.h"

namespace model {

namespace {

QStandardItem* NewNode(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    return item;
}

template <class Visit>
void ForEachNode(const QStandardItemModel& model, Visit visit) {
    for (int c = 0; c < model.rowCount(); ++c) {
        const QStandardItem* category = model.item(c);
        visit(*category, false);
        for (int e = 0; e < category->rowCount(); ++e) visit(*category->child(e), true);
    }
}

}  // namespace

EffectTree::EffectTree() {
    QObject::connect(&model_, &QStandardItemModel::itemChanged, &model_,
                     [this](QStandardItem* item) { OnItemChanged(item); });
}

int EffectTree::Build(const IniFile& catalogue, const StyleSet& enabled) {
    if (built_) return 0;
    updating_ = true;
    model_.clear();
    for (const std::string& section : catalogue.ReadSections()) {
        QStandardItem* category = NewNode(QString::fromStdString(section));
        for (const std::string& key : catalogue.ReadSection(section)) {
            QStandardItem* effect = NewNode(QString::fromStdString(key));
            effect->setData(catalogue.ReadInteger(section, key, kFallbackStyle), kStyleRole);
            category->appendRow(effect);
        }
        model_.appendRow(category);
    }
    updating_ = false;
    ApplySelection(enabled);
    built_ = true;
    return firstStyle_;
}

void EffectTree::ApplySelection(const StyleSet& enabled) {
    updating_ = true;
    firstStyle_ = 0;
    for (int c = 0; c < model_.rowCount(); ++c) {
        QStandardItem* category = model_.item(c);
        for (int e = 0; e < category->rowCount(); ++e) {
            QStandardItem* effect = category->child(e);
            const int style = effect->data(kStyleRole).toInt();
            const bool on = IsStyleSetMember(style) && enabled.test(static_cast<size_t>(style));
            SetState(*effect, on ? Qt::Checked : Qt::Unchecked);
            if (on && firstStyle_ == 0) firstStyle_ = style;
        }
        SetState(*category, StateOfEffects(*category));
    }
    updating_ = false;
}

int EffectTree::NodeCount() const {
    int count = 0;
    ForEachNode(model_, [&](const QStandardItem&, bool) { ++count; });
    return count;
}

int EffectTree::EffectCount(int category) const {
    return model_.item(category)->rowCount();
}

QString EffectTree::CategoryName(int category) const {
    return model_.item(category)->text();
}

QString EffectTree::EffectName(int category, int effect) const {
    return model_.item(category)->child(effect)->text();
}

int EffectTree::EffectStyle(int category, int effect) const {
    return model_.item(category)->child(effect)->data(kStyleRole).toInt();
}

Qt::CheckState EffectTree::CategoryState(int category) const {
    return model_.item(category)->checkState();
}

bool EffectTree::EffectChecked(int category, int effect) const {
    return model_.item(category)->child(effect)->checkState() == Qt::Checked;
}

void EffectTree::SetCategoryChecked(int category, bool checked) {
    model_.item(category)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void EffectTree::SetEffectChecked(int category, int effect, bool checked) {
    model_.item(category)->child(effect)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void EffectTree::SetAllChecked(bool checked) {
    updating_ = true;
    for (int c = 0; c < model_.rowCount(); ++c) {
        QStandardItem* category = model_.item(c);
        SetState(*category, checked ? Qt::Checked : Qt::Unchecked);
        for (int e = 0; e < category->rowCount(); ++e)
            SetState(*category->child(e), checked ? Qt::Checked : Qt::Unchecked);
    }
    updating_ = false;
}

void EffectTree::OnItemChanged(QStandardItem* item) {
    if (updating_ || !built_ || item == nullptr) return;
    updating_ = true;
    if (QStandardItem* category = item->parent()) {
        SetState(*category, StateOfEffects(*category));
    } else if (item->checkState() != Qt::PartiallyChecked &&
               item->checkState() != StateOfEffects(*item)) {
        // Only a change of the category's own box reaches its effects; other
        // changes (text, a partial state set by code) leave them alone.
        for (int e = 0; e < item->rowCount(); ++e) SetState(*item->child(e), item->checkState());
    }
    updating_ = false;
}

Qt::CheckState EffectTree::StateOfEffects(const QStandardItem& category) {
    int checked = 0;
    for (int e = 0; e < category.rowCount(); ++e)
        if (category.child(e)->checkState() == Qt::Checked) ++checked;
    if (checked == 0) return Qt::Unchecked;
    return checked == category.rowCount() ? Qt::Checked : Qt::PartiallyChecked;
}

void EffectTree::SetState(QStandardItem& item, Qt::CheckState state) {
    if (item.checkState() != state) item.setCheckState(state);
}

std::string StyleListText(const EffectTree& tree) {
    std::string text;
    ForEachNode(tree.ItemModel(), [&](const QStandardItem& node, bool isEffect) {
        if (!isEffect || node.checkState() != Qt::Checked) return;
        text += std::to_string(node.data(EffectTree::kStyleRole).toInt());
        text += ',';
    });
    return text;
}

std::string TreeStateText(const EffectTree& tree) {
    std::string text;
    ForEachNode(tree.ItemModel(), [&](const QStandardItem& node, bool) {
        text += node.checkState() == Qt::Checked ? '1' : '0';
    });
    return text;
}

StyleSet SelectionFromTree(const EffectTree& tree) {
    StyleSet set;
    ForEachNode(tree.ItemModel(), [&](const QStandardItem& node, bool isEffect) {
        if (!isEffect || node.checkState() != Qt::Checked) return;
        const int style = node.data(EffectTree::kStyleRole).toInt();
        if (IsStyleSetMember(style)) set.set(static_cast<size_t>(style));
    });
    return set;
}

bool TreeHoldsSelection(const EffectTree& tree) {
    return tree.NodeCount() > 1;
}

int BuildEffectTree(EffectTree& tree, const StyleSet& selection) {
    return tree.Build(CatalogueStore(), selection);
}

}  // namespace model
