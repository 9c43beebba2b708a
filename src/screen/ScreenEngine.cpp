#include "screen/ScreenEngine.h"

#include <algorithm>
#include <chrono>

#include "base/Arith.h"
#include "raster/Blit.h"
#include "raster/Fill.h"
#include "screen/ScreenGeometry.h"

namespace screen {

using base::MulDiv;

// Passes what a frame reports on to the screen's events and invalidation.
class ScreenEngine::Sink : public FrameSink {
public:
    explicit Sink(ScreenEngine& screen) : screen_(screen) {}

    void BeforeNewFrame() override {
        if (screen_.OnBeforeNewFrame)
            screen_.OnBeforeNewFrame(screen_, *screen_.NewBitmap, screen_.ScreenBitmap);
    }
    void AfterNewFrame() override {
        if (screen_.OnAfterNewFrame)
            screen_.OnAfterNewFrame(screen_, *screen_.NewBitmap, screen_.ScreenBitmap);
    }
    bool CustomDraw() override {
        if (!screen_.OnCustomDraw) return false;
        screen_.OnCustomDraw(screen_, *screen_.NewBitmap, screen_.ScreenBitmap);
        return true;
    }
    void InvalidateFrameRect(const Rect& changed) override {
        screen_.InvalidatePictureRect(changed);
    }

private:
    ScreenEngine& screen_;
};

ScreenEngine::ScreenEngine() = default;

ScreenEngine::~ScreenEngine() {
    BeginDestroy();
}

void ScreenEngine::BeginDestroy() {
    destroying_ = true;
    *alive_ = false;
}

uint64_t ScreenEngine::TickCount() const {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// --- Properties ---

void ScreenEngine::SetPicture(const Bitmap* picture) {
    if (picture)
        picture_ = *picture;
    else
        picture_ = Bitmap();
    PictureChanged();
}

void ScreenEngine::SetPicture(Bitmap&& picture) {
    picture_ = std::move(picture);
    PictureChanged();
}

void ScreenEngine::SetBgPicture(const Bitmap* picture) {
    if (picture)
        bgPicture_ = *picture;
    else
        bgPicture_ = Bitmap();
    BgPictureChanged();
}

void ScreenEngine::PictureChanged() {
    if (destroying_) return;
    if (!picture_.isEmpty() && autoSize_) AdjustSize();
    if (OnChange) OnChange(*this);
}

void ScreenEngine::BgPictureChanged() {
    if (bgMode_ != bmNone && !painting_) InvalidateControl();
}

void ScreenEngine::AdjustSize() {
    if (!picture_.isEmpty() && CanAutoSize())
        RequestClientSize(picture_.width(), picture_.height());
}

void ScreenEngine::SetBgMode(TBackgroundMode mode) {
    if (mode == bgMode_) return;
    bgMode_ = mode;
    if (!bgPicture_.isEmpty() && !painting_) InvalidateControl();
}

void ScreenEngine::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    if (autoSize_) AdjustSize();
}

void ScreenEngine::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    if (!picture_.isEmpty()) {
        ComputePictureRect();
        if (!ScreenBitmap.isEmpty() && !painting_) InvalidateControl();
    }
}

void ScreenEngine::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    if (!ScreenBitmap.isEmpty() && !painting_) InvalidateControl();
}

void ScreenEngine::SetStretchFine(bool value) {
    if (value == stretchFine_) return;
    stretchFine_ = value;
    if (!ScreenBitmap.isEmpty() && !painting_) InvalidateControl();
}

void ScreenEngine::SetStep(uint16_t step) {
    if (step == 0) step = 1;
    if (step > 100) step = 100;
    step_ = step;
}

void ScreenEngine::SetManual(bool value) {
    if (value == manual_) return;
    manual_ = value;
    if (!running_) {
        progress_ = reverse_ ? 100 : 0;  // no frame, no event
    } else if (!manual_) {
        RunSteps();
    }
}

void ScreenEngine::SetThreadPriority(TThreadPriority priority) {
    threadPriority_ = priority;
    if (threadActive_) ApplyThreadPriority();
}

// --- Placement ---

void ScreenEngine::ClientResized(int width, int height) {
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
    if (picture_.isEmpty()) return;
    ComputePictureRect();
    if (!ScreenBitmap.isEmpty() && !painting_) InvalidateControl();
}

void ScreenEngine::ComputePictureRect() {
    if (ScreenBitmap.isEmpty()) return;
    const int fw = ScreenBitmap.width(), fh = ScreenBitmap.height();
    PictureRect = Rect{0, 0, fw, fh};
    if (center_) {
        const int dx = (clientWidth_ - fw) / 2, dy = (clientHeight_ - fh) / 2;
        PictureRect = Rect{dx, dy, dx + fw, dy + fh};
    }
}

Rect ScreenEngine::FrameTargetRect() const {
    if (!stretch_) return PictureRect;
    if (stretchFine_) return FitRect(PictureRect, ClientRect());
    return ClientRect();
}

void ScreenEngine::InvalidatePictureRect(Rect r) {
    if (stretch_) {
        const Rect t = stretchFine_ ? FitRect(PictureRect, ClientRect()) : ClientRect();
        const int pw = PictureRect.width(), ph = PictureRect.height();
        if (pw <= 0 || ph <= 0) {
            r = t;
        } else {
            r = Rect{t.left + MulDiv(r.left, t.width(), pw), t.top + MulDiv(r.top, t.height(), ph),
                     t.left + MulDiv(r.right, t.width(), pw),
                     t.top + MulDiv(r.bottom, t.height(), ph)};
        }
    } else {
        if (center_)
            r = Rect{r.left + PictureRect.left, r.top + PictureRect.top, r.right + PictureRect.left,
                     r.bottom + PictureRect.top};
        r = r.intersected(PictureRect);
    }
    if (!destroying_ && !r.isEmpty()) InvalidateClientRect(r);
}

void ScreenEngine::ComposePaintBuffer() {
    const Rect client = ClientRect();
    PaintBuffer.reset(clientWidth_, clientHeight_, color_);
    if (!bgPicture_.isEmpty()) {
        switch (bgMode_) {
            case bmTiled:
                TileDraw(PaintBuffer, client, bgPicture_);
                break;
            case bmStretched:
                raster::StretchDraw(PaintBuffer, client, bgPicture_, raster::StretchMode::Nearest);
                break;
            case bmCentered:
                raster::BitBlt(PaintBuffer, (clientWidth_ - bgPicture_.width()) / 2,
                               (clientHeight_ - bgPicture_.height()) / 2, bgPicture_.width(),
                               bgPicture_.height(), bgPicture_, 0, 0);
                break;
            case bmNone:
                break;
        }
    }
    if (!ScreenBitmap.isEmpty()) {
        if (!stretch_) {
            raster::BitBlt(PaintBuffer, PictureRect.left, PictureRect.top, ScreenBitmap.width(),
                           ScreenBitmap.height(), ScreenBitmap, 0, 0);
        } else {
            raster::StretchDraw(PaintBuffer, FrameTargetRect(), ScreenBitmap,
                                raster::StretchMode::Nearest);
        }
    }
}

// --- Transitions ---

void ScreenEngine::Play() {
    if (running_ || picture_.isEmpty()) return;
    running_ = true;
    const std::shared_ptr<bool> alive = alive_;
    try {
        PrepareTransition();
        if (!manual_) RunSteps();
    } catch (...) {
        if (*alive) {
            NewBitmap.reset();
            OldBitmap.reset();
            running_ = false;
        }
        throw;
    }
}

void ScreenEngine::PrepareTransition() {
    // The snapshot is what the client shows now. Composing it afresh (rather
    // than reusing the last painted image) keeps it right while the screen is
    // hidden or a repaint is still pending.
    UpdateClientSize();
    if (!painting_) ComposePaintBuffer();
    ScreenBitmap.resize(picture_.width(), picture_.height(), color_);
    ComputePictureRect();

    const int w = ScreenBitmap.width(), h = ScreenBitmap.height();
    OldBitmap.emplace(w, h, color_);
    // The snapshot comes from where the frame is painted, scaled back to
    // the incoming picture's size.
    const Rect source = FrameTargetRect();
    raster::StretchBlt(*OldBitmap, 0, 0, w, h, PaintBuffer, source.left, source.top, source.width(),
                       source.height(), raster::StretchMode::Nearest);
    NewBitmap.emplace(picture_);
    SetProgress(reverse_ ? 100 : 0);
}

void ScreenEngine::SetProgress(int v) {
    if (v > 100) v = 100;
    if (v < 0) v = 0;
    if (!running_ || v == progress_) return;
    if (v < progress_ && !painting_)
        InvalidatePictureRect(Rect{0, 0, ScreenBitmap.width(), ScreenBitmap.height()});
    progress_ = v;
    if (!SuppressFrames) RenderFrame();
    if (!destroying_ && OnProgress) OnProgress(*this);
}

void ScreenEngine::RenderFrame() {
    if (!OldBitmap || !NewBitmap) return;
    FrameInput input;
    input.style = style_;
    input.progress = progress_;
    input.reverse = reverse_;
    input.oldBitmap = &*OldBitmap;
    input.newBitmap = &*NewBitmap;
    input.screenBitmap = &ScreenBitmap;
    Sink sink(*this);
    progress_ = screen::RenderFrame(input, sink);
}

void ScreenEngine::DoStep() {
    const int next = reverse_ ? (progress_ < step_ ? 0 : progress_ - step_) : progress_ + step_;
    SetProgress(next);
}

ScreenEngine::ThreadStepResult ScreenEngine::ThreadStep() {
    if (manual_ || stopping_) return ThreadStepResult::Quit;
    // A handler of the step's events may destroy the screen.
    const std::shared_ptr<bool> alive = alive_;
    DoStep();
    if (!*alive) return ThreadStepResult::Quit;
    return RunDone() ? ThreadStepResult::Done : ThreadStepResult::Continue;
}

void ScreenEngine::RunSteps() {
    if (threaded_) {
        // A thread of an earlier stepping phase that has not wound down yet
        // must not step this one as well.
        if (threadActive_) {
            AskThreadToTerminate();
            threadActive_ = false;
            ForgetThread();
        }
        if (StartThread()) {
            threadActive_ = true;
            ApplyThreadPriority();
            return;
        }
    }
    RunLoop();
}

void ScreenEngine::RunLoop() {
    const std::shared_ptr<bool> alive = alive_;
    bool done = false;
    do {
        const uint64_t t0 = TickCount();
        DoStep();
        if (!*alive) return;
        done = RunDone();
        if (!done) {
            for (;;) {
                ProcessMessages();
                if (!*alive) return;
                if (TickCount() - t0 > delay_ || !running_ || manual_ || stopping_) break;
            }
        }
    } while (!done && running_ && !manual_ && !stopping_);
    if (done && running_) FinishTransition();
}

void ScreenEngine::FinishTransition() {
    if (threadActive_) {
        threadActive_ = false;
        ForgetThread();
    }
    if (!stopping_ && manual_) return;  // stays prepared for the host's progress
    running_ = false;
    NewBitmap.reset();
    OldBitmap.reset();
    if (!destroying_ && !stopping_ && OnComplete) OnComplete(*this);
}

void ScreenEngine::Stop() {
    if (!running_ || stopping_) return;
    stopping_ = true;
    struct ClearStopping {
        bool& flag;
        ~ClearStopping() { flag = false; }
    } clear{stopping_};
    if (threadActive_)
        AskThreadToTerminate();
    else
        FinishTransition();
}

void ScreenEngine::Clear() {
    if (running_ || ScreenBitmap.isEmpty()) return;
    ScreenBitmap = Bitmap();
    InvalidateControl();
}

}  // namespace screen
