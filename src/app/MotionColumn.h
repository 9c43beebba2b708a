// The per-image dialog's "Motion" column: a picture's own pan and zoom, or
// "Default" for the show's, chosen in the cell from a list of kinds with a
// strength beside it.
#pragma once

#include <QStyledItemDelegate>

#include <optional>

#include "model/MotionSetting.h"

class QTableWidgetItem;

namespace app {

// A cell for a picture's own motion (nullopt: the show's).
QTableWidgetItem* MotionCell(const std::optional<model::MotionSetting>& motion);
// The motion a cell holds; nullopt for "Default".
std::optional<model::MotionSetting> MotionOfCell(const QTableWidgetItem& cell);
// What the cell shows: "Default", "None", "Zoom in, 3".
QString MotionCellText(const std::optional<model::MotionSetting>& motion);

// The cell's editor: the kind and, beside it, the strength.
class MotionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* cells,
                      const QModelIndex& index) const override;
};

}  // namespace app
