#include "app/FitColumn.h"

#include <QCoreApplication>

#include <algorithm>

namespace app {

namespace {

QString Translated(const char* text) {
    return QCoreApplication::translate("app::FitColumn", text);
}

// The stored name ("whole"), empty for the show's choice.
QString StoredText(const std::optional<model::MotionFit>& fit) {
    return fit ? QString::fromLatin1(model::MotionFitName(*fit)) : QString();
}

}  // namespace

QTableWidgetItem* FitCell(const std::optional<model::MotionFit>& fit) {
    return OwnSettingCell(
        StoredText(fit), FitEditor::Shown(StoredText(fit)),
        Translated("How the picture moves when its shape is not the video's: cut to fill the "
                   "frame, or whole on the background; Default: as the show"));
}

std::optional<model::MotionFit> FitOfCell(const QTableWidgetItem& cell) {
    return model::ParseMotionFit(OwnSettingText(cell).toStdString());
}

FitEditor::FitEditor(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("motionFit"));
    addItem(Translated("Default"), QString());
    for (const model::NamedValue& entry : model::kMotionFitNames)
        addItem(Translated(model::MotionFitLabel(static_cast<model::MotionFit>(entry.value))),
                QString::fromLatin1(entry.name));
}

void FitEditor::SetStored(const QString& stored) {
    setCurrentIndex(std::max(0, findData(stored)));
}

QString FitEditor::Stored() const {
    return currentData().toString();
}

QString FitEditor::Shown(const QString& stored) {
    const std::optional<model::MotionFit> fit = model::ParseMotionFit(stored.toStdString());
    return fit ? Translated(model::MotionFitLabel(*fit)) : Translated("Default");
}

}  // namespace app
