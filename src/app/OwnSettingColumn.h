// What the per-image dialog's own-setting columns (motion, fit) share: a
// cell keeps the picture's own setting as its stored text, empty for the
// show's setting (shown as "Default"), and a delegate edits that text with
// an editor widget made for the column.
#pragma once

#include <QStyledItemDelegate>

class QTableWidgetItem;

namespace app {

// The role the stored text lives in.
inline constexpr int kOwnSettingRole = Qt::UserRole + 1;

// An editable cell showing 'shown' and holding 'stored'.
QTableWidgetItem* OwnSettingCell(const QString& stored, const QString& shown, const QString& tip);
// The stored text of a cell; empty for the show's setting.
QString OwnSettingText(const QTableWidgetItem& cell);

// The delegate of a column whose editor is an Editor widget, which has
// Editor(QWidget* parent), SetStored(const QString&), Stored() and a static
// Shown(stored) giving the cell's text.
template <class Editor>
class OwnSettingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        return new Editor(parent);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* own = dynamic_cast<Editor*>(editor))
            own->SetStored(index.data(kOwnSettingRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* cells,
                      const QModelIndex& index) const override {
        auto* own = dynamic_cast<Editor*>(editor);
        if (own == nullptr || cells == nullptr) return;
        const QString stored = own->Stored();
        cells->setData(index, stored, kOwnSettingRole);
        cells->setData(index, Editor::Shown(stored), Qt::DisplayRole);
    }
};

}  // namespace app
