#include "app/PresetChoice.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QSignalBlocker>

#include "app/WidgetFactory.h"
#include "model/ShowPresets.h"

namespace app {

PresetChoice::PresetChoice(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PresetChoice"));
    combo_ = Named(new QComboBox, "PresetCombo",
                   tr("Sets the video format, shape and frame rate for the screen the video "
                      "will be played on; the choices below can still be changed"));
    for (const model::ShowPreset& preset : model::ShowPresets())
        combo_->addItem(QCoreApplication::translate("model::ShowPresets", preset.label));
    // Its longest name's width where there is room, but the smallest window
    // may cut a name short rather than widen the step.
    combo_->setMinimumWidth(combo_->minimumSizeHint().width() * 3 / 4);
    auto* label = Label("PresetLabel", tr("&Where it will be watched:"));
    label->setBuddy(combo_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(combo_);
    layout->addStretch();
    connect(combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const auto presets = model::ShowPresets();
        if (index < 0 || static_cast<size_t>(index) >= presets.size()) return;
        emit Picked(presets[static_cast<size_t>(index)]);
    });
}

void PresetChoice::ShowPresetOf(const model::TslSettings& s) {
    shown_ = model::PresetOf(s);
    // Showing what the settings are is no pick.
    const QSignalBlocker quiet(combo_);
    const auto presets = model::ShowPresets();
    SetCustomListed(shown_ == nullptr);
    combo_->setCurrentIndex(shown_ ? static_cast<int>(shown_ - presets.data())
                                   : static_cast<int>(presets.size()));
}

void PresetChoice::SetCustomListed(bool listed) {
    const int custom = static_cast<int>(model::ShowPresets().size());
    if (listed && combo_->count() == custom) {
        combo_->addItem(tr("Custom"));
        combo_->setItemData(custom, tr("The settings below are none of the choices above"),
                            Qt::ToolTipRole);
    } else if (!listed && combo_->count() > custom)
        combo_->removeItem(custom);
}

}  // namespace app
