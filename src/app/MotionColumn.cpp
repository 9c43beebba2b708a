#include "app/MotionColumn.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QSpinBox>

#include <algorithm>

namespace app {

namespace {

// The kind list's first entry, before the kinds.
constexpr int kDefaultEntry = -1;

QString Translated(const char* text) {
    return QCoreApplication::translate("app::MotionColumn", text);
}

// The stored text ("zoom-in:3"), empty for the show's motion.
QString StoredText(const std::optional<model::MotionSetting>& motion) {
    return motion ? QString::fromStdString(model::MotionText(*motion)) : QString();
}

std::optional<model::MotionSetting> Parsed(const QString& stored) {
    if (stored.isEmpty()) return std::nullopt;
    return model::ParseMotion(stored.toStdString());
}

}  // namespace

QString MotionCellText(const std::optional<model::MotionSetting>& motion) {
    if (!motion) return Translated("Default");
    const QString kind = Translated(model::MotionKindInfo(motion->kind).label);
    if (motion->kind == model::MotionKind::None) return kind;
    return kind + QStringLiteral(", ") + QString::number(motion->strength);
}

QTableWidgetItem* MotionCell(const std::optional<model::MotionSetting>& motion) {
    return OwnSettingCell(
        StoredText(motion), MotionCellText(motion),
        Translated("How the picture moves while on screen; Default: as the show"));
}

std::optional<model::MotionSetting> MotionOfCell(const QTableWidgetItem& cell) {
    return Parsed(OwnSettingText(cell));
}

MotionEditor::MotionEditor(QWidget* parent)
    : QWidget(parent), kind_(new QComboBox(this)), strength_(new QSpinBox(this)) {
    setAutoFillBackground(true);
    kind_->setObjectName(QStringLiteral("motionKind"));
    kind_->addItem(Translated("Default"), kDefaultEntry);
    for (const model::MotionKindName& entry : model::kMotionKinds)
        kind_->addItem(Translated(entry.label), static_cast<int>(entry.kind));
    strength_->setObjectName(QStringLiteral("motionStrength"));
    strength_->setRange(model::kMinMotionStrength, model::kMaxMotionStrength);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(kind_, 1);
    layout->addWidget(strength_);
    setFocusProxy(kind_);
}

void MotionEditor::SetStored(const QString& stored) {
    const std::optional<model::MotionSetting> motion = Parsed(stored);
    kind_->setCurrentIndex(
        std::max(0, kind_->findData(motion ? static_cast<int>(motion->kind) : kDefaultEntry)));
    strength_->setValue(motion ? motion->strength : model::kDefaultMotionStrength);
}

QString MotionEditor::Stored() const {
    const int chosen = kind_->currentData().toInt();
    if (chosen == kDefaultEntry) return {};
    return StoredText(
        model::MotionSetting{static_cast<model::MotionKind>(chosen), strength_->value()});
}

QString MotionEditor::Shown(const QString& stored) {
    return MotionCellText(Parsed(stored));
}

}  // namespace app
