// The state and behaviour of the slideshow screen apart from any window:
// the picture to show next, the frame and its snapshot, the progress of a
// transition and how it is stepped, placement, background and composition
// of the client image.
//
// A screen moves from what it shows to a new picture through a transition
// of small steps; each step raises the progress (0..100, or down from 100 in
// reverse) and renders one frame. Steps come from a worker thread, from a
// loop on the calling thread, or from the host writing the progress itself
// (Manual). Everything here runs on the user-interface thread; a window
// class derives from it and supplies the hooks (invalidation, repainting,
// the animation thread, message processing). Without those hooks the engine
// runs every transition in the loop, so it can be driven without a display.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "raster/Bitmap.h"
#include "screen/FrameRenderer.h"

namespace screen {

using raster::Bitmap;
using raster::Color;
using raster::Rect;

// Transition style number: 0 the cut (or a host-drawn frame), 1..127 the
// screen's own styles, 128..172 the effect table. Larger values can only be
// stored directly and show nothing.
using TShowStyle = uint8_t;
constexpr int kMaxShowStyle = 172;

// How the background picture is painted behind the frame.
enum TBackgroundMode { bmNone, bmTiled, bmStretched, bmCentered };

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class ScreenEngine {
public:
    using NotifyEvent = std::function<void(ScreenEngine& Sender)>;
    // Picture is the incoming picture, Screen the frame being drawn.
    using CustomDrawEvent =
        std::function<void(ScreenEngine& Sender, Bitmap& Picture, Bitmap& Screen)>;

    ScreenEngine();
    virtual ~ScreenEngine();
    ScreenEngine(const ScreenEngine&) = delete;
    ScreenEngine& operator=(const ScreenEngine&) = delete;

    // --- Operations for hosts ---

    // Starts a transition from what the screen shows to Picture with the
    // current Style. Nothing happens while a transition runs or when
    // Picture is empty. Errors of the preparation or of a loop-stepped run
    // end the transition and are passed on.
    void Play();
    // Ends the running transition. A threaded one ends when its thread has
    // wound down (OnComplete is raised then); one stepped in the loop ends
    // at once, without OnComplete.
    void Stop();
    // Forgets the shown picture, so the next snapshot shows only the
    // background. Does nothing during a transition.
    void Clear();

    // --- Properties ---

    const Bitmap& Picture() const { return picture_; }
    // Replaces the picture to show next (nullptr empties it). Does not start
    // a transition.
    void SetPicture(const Bitmap* picture);
    void SetPicture(Bitmap&& picture);
    const Bitmap& BgPicture() const { return bgPicture_; }
    void SetBgPicture(const Bitmap* picture);

    TBackgroundMode BgMode() const { return bgMode_; }
    void SetBgMode(TBackgroundMode mode);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool StretchFine() const { return stretchFine_; }
    void SetStretchFine(bool value);
    TShowStyle Style() const { return style_; }
    void SetStyle(TShowStyle style) { style_ = style; }
    uint16_t Step() const { return step_; }
    // 0 is stored as 1, values above 100 as 100.
    void SetStep(uint16_t step);
    uint16_t Delay() const { return delay_; }
    void SetDelay(uint16_t delay) { delay_ = delay; }
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool value) { threaded_ = value; }
    bool Manual() const { return manual_; }
    void SetManual(bool value);
    bool Reverse() const { return reverse_; }
    void SetReverse(bool value) { reverse_ = value; }
    TThreadPriority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(TThreadPriority priority);
    Color GetColor() const { return color_; }
    void SetColor(Color color) { color_ = color; }

    int Progress() const { return progress_; }
    // Moves a running transition to progress v (at most 100) and renders
    // that frame; nothing while no transition runs or when v is current.
    void SetProgress(int v);

    bool Running() const { return running_; }
    bool Stopping() const { return stopping_; }
    bool Painting() const { return painting_; }

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    Rect ClientRect() const { return Rect{0, 0, clientWidth_, clientHeight_}; }

    // --- State the runner and the window use ---

    Bitmap ScreenBitmap;              // the frame, the incoming picture's size while running
    std::optional<Bitmap> OldBitmap;  // snapshot of what was shown; only while running
    std::optional<Bitmap> NewBitmap;  // the incoming picture; only while running
    Bitmap PaintBuffer;               // the composed client image
    Rect PictureRect;                 // where the frame sits in the client area
    bool SuppressFrames = false;      // progress changes without rendering
    bool TransparentMode = false;     // TransparentColor pixels are not drawn
    Color TransparentColor = 0;

    // Picture preparation state (see LoadFromFile).
    uint8_t SizeMode = 0;
    uint8_t FrameBackground = 0;
    std::optional<Bitmap> FrameBackgroundPicture;
    bool FullFrame = false;
    std::optional<Bitmap> LastPicture;

    // --- Events ---

    NotifyEvent OnChange;              // after every change of Picture
    NotifyEvent OnProgress;            // after every accepted progress change
    NotifyEvent OnComplete;            // when a transition ends
    CustomDrawEvent OnCustomDraw;      // style 0 frames, drawn by the host
    CustomDrawEvent OnBeforeNewFrame;  // the frame holds the snapshot
    CustomDrawEvent OnAfterNewFrame;   // the style has drawn

    // --- Composition and placement ---

    // Composes the client image into PaintBuffer: Color, the background
    // picture by BgMode, then the frame by Center and Stretch.
    void ComposePaintBuffer();
    // The client area the frame occupies when painted.
    Rect FrameTargetRect() const;
    // Invalidates the client area that shows rectangle r of the frame.
    void InvalidatePictureRect(Rect r);

protected:
    // --- Hooks of the window class; the defaults suit a screen without one ---

    virtual void InvalidateControl() {}
    virtual void InvalidateClientRect(const Rect& /*r*/) {}
    // Sizes the control to fit the picture (AutoSize); false when the host
    // lays the control out itself.
    virtual bool CanAutoSize() const { return true; }
    virtual void RequestClientSize(int width, int height) { ClientResized(width, height); }
    // Brings the client size up to date before a snapshot is taken.
    virtual void UpdateClientSize() {}
    // Starts the animation thread of the running transition; false when
    // there is none, and the steps then run in the loop.
    virtual bool StartThread() { return false; }
    virtual void AskThreadToTerminate() {}
    // The thread of the finished transition is no longer the screen's.
    virtual void ForgetThread() {}
    virtual void ApplyThreadPriority() {}
    // Lets pending window messages run (the loop between steps).
    virtual void ProcessMessages() {}
    // Milliseconds of a steady clock.
    virtual uint64_t TickCount() const;

    // --- Called by the window class ---

    // The client area changed size.
    void ClientResized(int width, int height);
    void SetPainting(bool value) { painting_ = value; }
    // The screen is being destroyed: no more events, no more invalidation,
    // and a loop still on the stack stops touching it.
    void BeginDestroy();
    bool Destroying() const { return destroying_; }

public:
    // --- Steps, for the animation thread and the tests ---

    // One step: Progress moves by Step toward the end of the run.
    void DoStep();
    // The run has reached its end (0 in reverse, else 100).
    bool RunDone() const { return reverse_ ? progress_ == 0 : progress_ >= 100; }
    // Ends a transition whose steps are over (also the thread's end).
    void FinishTransition();
    bool HasThread() const { return threadActive_; }

    // One step of the animation thread, run on the user-interface thread.
    // Quit: Manual or Stopping was set, or the step's handlers destroyed the
    // screen, and the thread ends; Done: the step reached the end of the run.
    enum class ThreadStepResult { Continue, Done, Quit };
    ThreadStepResult ThreadStep();

private:
    class Sink;
    friend class Sink;

    void PictureChanged();
    void BgPictureChanged();
    void AdjustSize();
    void ComputePictureRect();
    void PrepareTransition();
    void RunSteps();
    void RunLoop();
    void RenderFrame();

    Bitmap picture_;
    Bitmap bgPicture_;
    TBackgroundMode bgMode_ = bmTiled;
    bool autoSize_ = true;
    bool center_ = false;
    bool stretch_ = false;
    bool stretchFine_ = false;
    TShowStyle style_ = 101;
    uint16_t step_ = 4;
    uint16_t delay_ = 30;
    bool threaded_ = true;
    bool manual_ = false;
    bool reverse_ = false;
    TThreadPriority threadPriority_ = tpNormal;
    Color color_ = 0;

    int progress_ = 0;
    bool running_ = false;
    bool stopping_ = false;
    bool painting_ = false;
    bool destroying_ = false;
    bool threadActive_ = false;
    int clientWidth_ = 100;
    int clientHeight_ = 100;
    // Cleared when the screen goes away, so that a step loop still on the
    // stack (inside a message it processed) stops touching it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace screen
