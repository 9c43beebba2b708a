#include "app/MotionColumn.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QTableWidgetItem>

#include <algorithm>

namespace app {

namespace {

// The stored text ("zoom-in:3"), empty for the show's motion.
constexpr int kMotionRole = Qt::UserRole + 1;
// The combo's first entry, before the kinds.
constexpr int kDefaultEntry = -1;

QString Translated(const char* text) {
    return QCoreApplication::translate("app::MotionColumn", text);
}

void Store(QAbstractItemModel& cells, const QModelIndex& index,
           const std::optional<model::MotionSetting>& motion) {
    cells.setData(index, motion ? QString::fromStdString(model::MotionText(*motion)) : QString(),
                  kMotionRole);
    cells.setData(index, MotionCellText(motion), Qt::DisplayRole);
}

std::optional<model::MotionSetting> Stored(const QVariant& value) {
    if (value.toString().isEmpty()) return std::nullopt;
    return model::ParseMotion(value.toString().toStdString());
}

}  // namespace

QString MotionCellText(const std::optional<model::MotionSetting>& motion) {
    if (!motion) return Translated("Default");
    const QString kind = Translated(model::MotionKindInfo(motion->kind).label);
    if (motion->kind == model::MotionKind::None) return kind;
    return kind + QStringLiteral(", ") + QString::number(motion->strength);
}

QTableWidgetItem* MotionCell(const std::optional<model::MotionSetting>& motion) {
    auto* item = new QTableWidgetItem(MotionCellText(motion));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(kMotionRole,
                  motion ? QString::fromStdString(model::MotionText(*motion)) : QString());
    item->setToolTip(Translated("How the picture moves while on screen; Default: as the show"));
    return item;
}

std::optional<model::MotionSetting> MotionOfCell(const QTableWidgetItem& cell) {
    return Stored(cell.data(kMotionRole));
}

namespace {

// The cell's editor, which keeps its two controls at hand for the delegate.
class MotionEditor : public QWidget {
public:
    explicit MotionEditor(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        kind->setObjectName(QStringLiteral("motionKind"));
        kind->addItem(Translated("Default"), kDefaultEntry);
        for (const model::MotionKindName& entry : model::kMotionKinds)
            kind->addItem(Translated(entry.label), static_cast<int>(entry.kind));
        strength->setObjectName(QStringLiteral("motionStrength"));
        strength->setRange(model::kMinMotionStrength, model::kMaxMotionStrength);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        layout->addWidget(kind, 1);
        layout->addWidget(strength);
        setFocusProxy(kind);
    }

    QComboBox* const kind = new QComboBox(this);
    QSpinBox* const strength = new QSpinBox(this);
};

}  // namespace

QWidget* MotionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex&) const {
    return new MotionEditor(parent);
}

void MotionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* motionEditor = dynamic_cast<MotionEditor*>(editor);
    if (motionEditor == nullptr) return;
    const std::optional<model::MotionSetting> motion = Stored(index.data(kMotionRole));
    motionEditor->kind->setCurrentIndex(std::max(
        0, motionEditor->kind->findData(motion ? static_cast<int>(motion->kind) : kDefaultEntry)));
    motionEditor->strength->setValue(motion ? motion->strength : model::kDefaultMotionStrength);
}

void MotionDelegate::setModelData(QWidget* editor, QAbstractItemModel* cells,
                                  const QModelIndex& index) const {
    auto* motionEditor = dynamic_cast<MotionEditor*>(editor);
    if (motionEditor == nullptr || cells == nullptr) return;
    const int chosen = motionEditor->kind->currentData().toInt();
    if (chosen == kDefaultEntry) {
        Store(*cells, index, std::nullopt);
        return;
    }
    Store(*cells, index,
          model::MotionSetting{static_cast<model::MotionKind>(chosen),
                               motionEditor->strength->value()});
}

}  // namespace app
