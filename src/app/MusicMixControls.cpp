#include "app/MusicMixControls.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>

#include <cmath>

#include "app/WidgetFactory.h"
#include "model/Settings.h"
#include "sound/MixRules.h"

namespace app {
namespace {

QDoubleSpinBox* SecondsBox(const char* name, const QString& hint) {
    auto* box = Named(new QDoubleSpinBox, name, hint);
    box->setRange(0.0, sound::kMaxFadeMs / 1000.0);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QObject::tr(" s"));
    return box;
}

double Seconds(int32_t milliseconds) {
    return sound::ClampFadeMs(milliseconds) / 1000.0;
}

int32_t Milliseconds(const QDoubleSpinBox& box) {
    return static_cast<int32_t>(std::lround(box.value() * 1000));
}

}  // namespace

MusicMixControls::MusicMixControls(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("musicMixControls"));
    fadeIn_ = SecondsBox("fadeInEdit", tr("The music rises from silence at the start of the show"));
    fadeOut_ = SecondsBox("fadeOutEdit",
                          tr("The music fades to silence where the end of the show cuts it"));
    crossfade_ = SecondsBox(
        "crossfadeEdit", tr("Consecutive tracks overlap by this much; 0 joins them without a gap"));
    evenLoudness_ = Named(new QCheckBox(tr("Even loudness")), "evenLoudnessCheck",
                          tr("Play every track equally loud"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::pair<QString, QDoubleSpinBox*> boxes[] = {
        {tr("Fade in:"), fadeIn_}, {tr("Fade out:"), fadeOut_}, {tr("Crossfade:"), crossfade_}};
    for (const auto& [text, box] : boxes) {
        auto* label = new QLabel(text);
        label->setBuddy(box);
        layout->addWidget(label);
        layout->addWidget(box);
    }
    layout->addWidget(evenLoudness_);
    layout->addStretch();
}

void MusicMixControls::RefreshFromSettings(const model::TslSettings& s) {
    fadeIn_->setValue(Seconds(s.MusicFadeInMs));
    fadeOut_->setValue(Seconds(s.MusicFadeOutMs));
    crossfade_->setValue(Seconds(s.MusicCrossfadeMs));
    evenLoudness_->setChecked(s.EvenLoudness);
}

void MusicMixControls::CollectSettings(model::TslSettings& s) const {
    s.MusicFadeInMs = Milliseconds(*fadeIn_);
    s.MusicFadeOutMs = Milliseconds(*fadeOut_);
    s.MusicCrossfadeMs = Milliseconds(*crossfade_);
    s.EvenLoudness = evenLoudness_->isChecked();
}

}  // namespace app
