#include "app/FitColumn.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTableWidgetItem>

#include <algorithm>

namespace app {

namespace {

// The stored name ("whole"), empty for the show's choice.
constexpr int kFitRole = Qt::UserRole + 1;

QString Translated(const char* text) {
    return QCoreApplication::translate("app::FitColumn", text);
}

QString CellText(const std::optional<model::MotionFit>& fit) {
    return fit ? Translated(model::MotionFitLabel(*fit)) : Translated("Default");
}

void Store(QAbstractItemModel& cells, const QModelIndex& index,
           const std::optional<model::MotionFit>& fit) {
    cells.setData(index, fit ? QString::fromLatin1(model::MotionFitName(*fit)) : QString(),
                  kFitRole);
    cells.setData(index, CellText(fit), Qt::DisplayRole);
}

std::optional<model::MotionFit> Stored(const QVariant& value) {
    return model::ParseMotionFit(value.toString().toStdString());
}

}  // namespace

QTableWidgetItem* FitCell(const std::optional<model::MotionFit>& fit) {
    auto* item = new QTableWidgetItem(CellText(fit));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(kFitRole, fit ? QString::fromLatin1(model::MotionFitName(*fit)) : QString());
    item->setToolTip(Translated(
        "How the picture moves when its shape is not the video's: cut to fill the frame, or "
        "whole on the background; Default: as the show"));
    return item;
}

std::optional<model::MotionFit> FitOfCell(const QTableWidgetItem& cell) {
    return Stored(cell.data(kFitRole));
}

QWidget* FitDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                   const QModelIndex&) const {
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("motionFit"));
    list->addItem(Translated("Default"), QString());
    for (const model::NamedValue& entry : model::kMotionFitNames)
        list->addItem(Translated(model::MotionFitLabel(static_cast<model::MotionFit>(entry.value))),
                      QString::fromLatin1(entry.name));
    return list;
}

void FitDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* list = dynamic_cast<QComboBox*>(editor);
    if (list == nullptr) return;
    list->setCurrentIndex(std::max(0, list->findData(index.data(kFitRole).toString())));
}

void FitDelegate::setModelData(QWidget* editor, QAbstractItemModel* cells,
                               const QModelIndex& index) const {
    auto* list = dynamic_cast<QComboBox*>(editor);
    if (list == nullptr || cells == nullptr) return;
    Store(*cells, index, Stored(list->currentData()));
}

}  // namespace app
