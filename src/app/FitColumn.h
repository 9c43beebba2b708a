// The per-image dialog's "Fit" column: how a picture moves when its shape
// is not the video's (cut to fill the frame, whole, or Auto), or "Default"
// for the show's choice, picked in the cell from a list.
#pragma once

#include <QStyledItemDelegate>

#include <optional>

#include "model/MotionFit.h"

class QTableWidgetItem;

namespace app {

// A cell for a picture's own fit (nullopt: the show's).
QTableWidgetItem* FitCell(const std::optional<model::MotionFit>& fit);
// The fit a cell holds; nullopt for "Default".
std::optional<model::MotionFit> FitOfCell(const QTableWidgetItem& cell);

// The cell's editor: a list of "Default" and the choices.
class FitDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* cells,
                      const QModelIndex& index) const override;
};

}  // namespace app
