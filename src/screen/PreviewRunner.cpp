#include "screen/PreviewRunner.h"

#include <algorithm>
#include <climits>

#include "model/MediaPaths.h"
#include "model/PerImage.h"
#include "model/Settings.h"
#include "screen/PreviewMotion.h"
#include "screen/RunnerChoices.h"

namespace screen {

namespace {

constexpr int kFirstTickMs = 100;
constexpr int kShortGapMs = 200;    // between transitions in the demo and the dialog preview
constexpr int kMotionGapMs = 2500;  // the demo's gap when pictures move, so the motion shows

// Seconds as timer milliseconds; nonsense from the options file must not
// overflow or give a negative interval.
int SecondsToMs(int64_t seconds) {
    return static_cast<int>(std::clamp<int64_t>(seconds * 1000, 0, INT_MAX));
}

}  // namespace

TRunVantoscreen::TRunVantoscreen(QWidget* AParent, RunnerOptions options) {
    try {
        View = new TVantoscreen(AParent);
        View->SetColor(0);
        View->SetAlign(alClient);
        View->SetAutoSize(false);
        View->SetBgMode(bmNone);
        View->SetCenter(true);
        View->SetStretch(false);
        View->SetStretchFine(false);
        // The flags come before the settings, so a small preview never loads
        // the background picture it will not show.
        UseShowSet = options.UseShowSet;
        Demo = options.Demo;
        SmallPreview = options.SmallPreview;
        if (SmallPreview) View->FullFrame = true;
        ApplySettings();
        View->OnComplete = [this](ScreenEngine&) { TransitionDone(); };
        View->OnMouseMove = std::move(options.OnMouseMove);
        View->OnMouseDown = std::move(options.OnMouseDown);
        View->OnMouseUp = std::move(options.OnMouseUp);
        CurrentFile.clear();
        Index = -1;
        DemoStyle = options.DemoStyle;
        Motion = std::make_unique<PreviewMotion>(*View);
        Timer = new QTimer(View);
        QObject::connect(Timer, &QTimer::timeout, Timer, [this] { TimerTick(); });
        Timer->setInterval(kFirstTickMs);
        Timer->start();
        View->show();
    } catch (...) {
        // A runner that could not be set up shows nothing.
    }
}

TRunVantoscreen::~TRunVantoscreen() {
    Motion.reset();
    if (Timer) {
        Timer->stop();
        delete Timer;
    }
    if (View) {
        View->SuppressFrames = true;
        try {
            View->Stop();
        } catch (...) {
        }
        delete View;
    }
}

void TRunVantoscreen::ApplySettings() {
    if (!View) return;
    const model::TslSettings& s = model::Settings;
    View->SizeMode = s.ImageSize;
    View->SetColor(s.BackgroundColor);
    if (const auto speed = SpeedSteps(s.EffectSpeed2)) {
        View->SetStep(speed->step);
        View->SetDelay(speed->delay);
    }
    View->FrameBackground = 0;
    if (!SmallPreview && !s.Back_Mode_UseColor &&
        model::ResolveMediaPath(model::Settings.Back_Image_Filename)) {
        try {
            if (!View->FrameBackgroundPicture) View->FrameBackgroundPicture.emplace();
            View->LoadPictureFile(*View->FrameBackgroundPicture, s.Back_Image_Filename);
            View->FrameBackground = s.Back_Image_UseTiled ? 1 : 2;
        } catch (...) {
            View->FrameBackground = 0;  // a plain colour background instead
        }
    }
    View->SetTransparentMode(s.TransparentMode);
    View->SetTransparentColor(s.TransparentModeColor);
}

void TRunVantoscreen::PickNextFile() {
    const std::vector<std::string>& pictures = model::Settings.Pictures;
    if (Demo) {
        std::string candidate = NextDemoPicture(CurrentFile);
        if (model::ResolveMediaPath(candidate)) CurrentFile = candidate;
        return;
    }
    if (pictures.empty()) return;
    const int count = static_cast<int>(pictures.size());
    const bool randomOrder = model::Settings.ImageSequence == 1;
    CurrentFile.clear();
    for (int attempt = 0; attempt < 100 && CurrentFile.empty(); ++attempt) {
        Index = NextListIndex(Index, count, randomOrder);
        CurrentFile = pictures[static_cast<size_t>(Index)];
        if (!model::ResolveMediaPath(CurrentFile)) CurrentFile.clear();
    }
}

void TRunVantoscreen::PickNext() {
    try {
        PickNextFile();
        std::string file = CurrentFile;
        if (View && model::ResolveMediaPath(file)) {
            View->LoadFromFile(file);
            if (Motion) Motion->Prepare(file, NextMotion());
        }
    } catch (...) {
        // The screen keeps the picture it has.
    }
}

int TRunVantoscreen::NextStyle() const {
    if (Demo) return DemoStyle;
    return ChooseStyle(UseShowSet ? model::Settings.useeffects : model::EffectsOf(CurrentFile));
}

void TRunVantoscreen::ApplyInterval() {
    if (!Timer) return;
    if (model::HasOwnInterval(CurrentFile))
        Timer->setInterval(SecondsToMs(model::IntervalOf(CurrentFile)));
    if (Demo || UseShowSet)
        Timer->setInterval(Motion && Motion->Moving() ? kMotionGapMs : kShortGapMs);
}

model::MotionSetting TRunVantoscreen::NextMotion() const {
    return Demo ? model::Settings.Motion : model::MotionOf(CurrentFile);
}

bool TRunVantoscreen::TryStartTransition() {
    try {
        if (View->Running()) View->Stop();
        if (Motion) Motion->Stop();
        const int style = NextStyle();
        ApplyInterval();
        View->SetStyle(static_cast<TShowStyle>(style & 0xFF));
        if (model::Settings.ClearOldImage) {
            View->Clear();
            View->repaint();  // the coming snapshot shows only the background
        }
        View->Play();
        return true;
    } catch (...) {
        return false;
    }
}

void TRunVantoscreen::ShowNext() {
    if (!View) return;
    if (!Demo && model::Settings.Pictures.empty()) return;
    // A picture that cannot be shown is skipped for the next one, at most
    // once round the list.
    const size_t retries = Demo ? 2 : model::Settings.Pictures.size();
    for (size_t attempt = 0; !TryStartTransition(); ++attempt) {
        if (attempt >= retries || !View) break;
        View->Clear();
        PickNext();
    }
    // No transition started (nothing loaded yet, or every start failed):
    // no completion will restart the timer, so restart it here rather than
    // stall the show.
    if (Timer && View && !View->Running() && !Timer->isActive()) Timer->start();
}

void TRunVantoscreen::TimerTick() {
    try {
        if (!Timer || !View) return;
        Timer->stop();
        if (View->parentWidget()) {
            Timer->setInterval(SecondsToMs(model::Settings.ImageInterval));
            PickNext();
            ShowNext();
        } else {
            CurrentFile.clear();
        }
    } catch (...) {
    }
}

void TRunVantoscreen::TransitionDone() {
    if (!Timer) return;
    Timer->start();
    // The picture moves until the next transition.
    if (Motion) Motion->Run(Timer->interval());
}

}  // namespace screen
