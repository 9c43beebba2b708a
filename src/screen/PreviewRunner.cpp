#include "screen/PreviewRunner.h"

#include <algorithm>
#include <climits>

#include "base/Swallow.h"
#include "model/MediaPaths.h"
#include "model/PerImage.h"
#include "model/Settings.h"
#include "motion/MotionPath.h"
#include "screen/PreviewMotion.h"
#include "screen/RunnerChoices.h"

namespace screen {

namespace {

constexpr int kFirstTickMs = 100;

// Seconds as timer milliseconds; nonsense from the options file must not
// overflow or give a negative interval.
int SecondsToMs(int64_t seconds) {
    return static_cast<int>(std::clamp<int64_t>(seconds * 1000, 0, INT_MAX));
}

}  // namespace

TRunVantoscreen::TRunVantoscreen(QWidget* AParent, RunnerOptions options, model::Show show)
    : show_(std::move(show)), subjectOf_(std::move(options.SubjectOf)) {
    // A runner that could not be set up shows nothing.
    base::Swallow("screen::TRunVantoscreen setup", [&] {
        View = new TVantoscreen(AParent);
        View->SetColor(0);
        View->SetAlign(alClient);
        View->SetAutoSize(false);
        View->SetBgMode(bmNone);
        View->SetCenter(true);
        View->SetStretch(false);
        View->SetStretchFine(false);
        ApplyToView();
        View->OnComplete = [this](ScreenEngine&) { TransitionDone(); };
        View->OnMouseMove = std::move(options.OnMouseMove);
        View->OnMouseDown = std::move(options.OnMouseDown);
        View->OnMouseUp = std::move(options.OnMouseUp);
        CurrentFile.clear();
        Index = -1;
        Motion = std::make_unique<PreviewMotion>(*View);
        Timer = new QTimer(View);
        QObject::connect(Timer, &QTimer::timeout, Timer, [this] { TimerTick(); });
        Timer->setInterval(kFirstTickMs);
        Timer->start();
        View->show();
    });
}

TRunVantoscreen::~TRunVantoscreen() {
    Motion.reset();
    if (Timer) {
        Timer->stop();
        delete Timer;
    }
    if (View) {
        View->SuppressFrames = true;
        base::Swallow("screen::TRunVantoscreen stop", [&] { View->Stop(); });
        delete View;
    }
}

void TRunVantoscreen::ApplySettings(const model::Show& show) {
    show_ = show;
    ApplyToView();
}

void TRunVantoscreen::ApplyToView() {
    if (!View) return;
    // Not const: a relative background name becomes a full path in the snapshot.
    model::TslSettings& s = show_.settings;
    View->SizeMode = s.ImageSize;
    View->SetColor(s.BackgroundColor);
    if (const auto speed = SpeedSteps(s.EffectSpeed2)) {
        View->SetStep(speed->step);
        View->SetDelay(speed->delay);
    }
    View->FrameBackground = 0;
    if (s.Back_Mode_Blurred) {
        View->FrameBackground = 3;  // each picture over a blurred copy of itself
    } else if (!s.Back_Mode_UseColor && model::ResolveMediaPath(s.Back_Image_Filename)) {
        // A picture that cannot be loaded leaves the plain colour background.
        base::Swallow("screen::TRunVantoscreen background", [&] {
            if (!View->FrameBackgroundPicture) View->FrameBackgroundPicture.emplace();
            View->LoadPictureFile(*View->FrameBackgroundPicture, s.Back_Image_Filename);
            View->FrameBackground = s.Back_Image_UseTiled ? 1 : 2;
        });
    }
    View->SetTransparentMode(s.TransparentMode);
    View->SetTransparentColor(s.TransparentModeColor);
}

void TRunVantoscreen::PickNextFile() {
    const std::vector<std::string>& pictures = show_.settings.Pictures;
    if (pictures.empty()) return;
    const int count = static_cast<int>(pictures.size());
    const bool randomOrder = show_.settings.ImageSequence == 1;
    CurrentFile.clear();
    for (int attempt = 0; attempt < 100 && CurrentFile.empty(); ++attempt) {
        Index = NextListIndex(Index, count, randomOrder);
        CurrentFile = pictures[static_cast<size_t>(Index)];
        if (!model::ResolveMediaPath(CurrentFile)) CurrentFile.clear();
    }
}

void TRunVantoscreen::PickNext() {
    // On a failure the screen keeps the picture it has.
    base::Swallow("screen::TRunVantoscreen::PickNext", [&] {
        PickNextFile();
        std::string file = CurrentFile;
        if (View && model::ResolveMediaPath(file)) {
            const motion::Subject subject = SubjectOf(file);
            View->CutAim.reset();
            if (const auto aim = motion::CropAimOf(subject)) {
                const motion::SubjectBox keep = aim->keep.value_or(motion::SubjectBox{});
                View->CutAim = imaging::CutAim{aim->centre.x, aim->centre.y, keep.x,
                                               keep.y,        keep.right(),  keep.bottom()};
            }
            View->LoadFromFile(file);
            if (Motion) Motion->Prepare(file, NextMotion(), subject);
        }
    });
}

int TRunVantoscreen::NextStyle() const {
    return ChooseStyle(show_.EffectsOf(CurrentFile));
}

void TRunVantoscreen::ApplyInterval() {
    if (!Timer) return;
    if (show_.HasOwnInterval(CurrentFile))
        Timer->setInterval(SecondsToMs(show_.IntervalOf(CurrentFile)));
}

motion::Subject TRunVantoscreen::SubjectOf(const std::string& file) const {
    motion::Subject subject = subjectOf_ ? subjectOf_(file) : motion::Subject{};
    if (const auto focus = show_.FocusOf(CurrentFile))
        subject.focus = motion::SubjectPoint{focus->x, focus->y};
    return subject;
}

model::MotionSetting TRunVantoscreen::NextMotion() const {
    return show_.MotionOf(CurrentFile);
}

bool TRunVantoscreen::TryStartTransition() {
    return base::Swallow("screen::TRunVantoscreen start", [&] {
        if (View->Running()) View->Stop();
        if (Motion) Motion->Stop();
        const int style = NextStyle();
        ApplyInterval();
        View->SetStyle(static_cast<TShowStyle>(style & 0xFF));
        if (show_.settings.ClearOldImage) {
            View->Clear();
            View->repaint();  // the coming snapshot shows only the background
        }
        View->Play();
    });
}

void TRunVantoscreen::ShowNext() {
    if (!View) return;
    if (show_.settings.Pictures.empty()) return;
    // A picture that cannot be shown is skipped for the next one, at most
    // once round the list.
    const size_t retries = show_.settings.Pictures.size();
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
    // A failing tick must not reach the event loop, which has no one to tell.
    base::Swallow("screen::TRunVantoscreen tick", [&] {
        if (!Timer || !View) return;
        Timer->stop();
        if (View->parentWidget()) {
            Timer->setInterval(SecondsToMs(show_.settings.ImageInterval));
            PickNext();
            ShowNext();
        } else {
            CurrentFile.clear();
        }
    });
}

void TRunVantoscreen::TransitionDone() {
    if (!Timer) return;
    Timer->start();
    // The picture moves until the next transition.
    if (Motion) Motion->Run(Timer->interval());
}

}  // namespace screen
