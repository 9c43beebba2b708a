// The preview runner: plays a slideshow on a screen it creates inside a host
// widget. On a timer it picks the next picture, loads and prepares it,
// chooses a transition style and starts the transition; when the transition
// has completed the timer waits the picture's interval before the next one.
//
// It plays the show as it was handed over when the runner was made or last
// had its settings applied, so nothing the window changes meanwhile reaches
// a show half-way. Everything runs on the user-interface thread.
#pragma once

#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/MotionSetting.h"
#include "model/Show.h"
#include "motion/Subject.h"
#include "screen/Vantoscreen.h"

namespace screen {

class PreviewMotion;

// How the creator wants the show played.
struct RunnerOptions {
    // Handed to the screen; any may be empty.
    TCustomVantoscreen::MouseEvent OnMouseMove = nullptr;
    TCustomVantoscreen::MouseEvent OnMouseDown = nullptr;
    TCustomVantoscreen::MouseEvent OnMouseUp = nullptr;
    // What a picture shows, where it is known already (the subjects' cache):
    // its crops and motion aim at it. Empty: nothing is known.
    std::function<motion::Subject(const std::string& path)> SubjectOf;
};

class TRunVantoscreen {
public:
    // Creates the screen filling AParent and starts the timer; the first
    // picture comes 100 ms later. show is the copy it plays.
    TRunVantoscreen(QWidget* AParent, RunnerOptions options, model::Show show);
    // Stops the timer and the screen without another frame, and releases
    // the screen, swallowing any error.
    ~TRunVantoscreen();
    TRunVantoscreen(const TRunVantoscreen&) = delete;
    TRunVantoscreen& operator=(const TRunVantoscreen&) = delete;

    // Takes a new copy of the show, and copies its size mode, colours,
    // speed, background picture and transparency into the screen.
    void ApplySettings(const model::Show& show);
    // The record of the show it plays.
    const model::TslSettings& Settings() const { return show_.settings; }
    // Chooses the next picture and loads it into the screen.
    void PickNext();
    // Chooses a style and the interval, and starts the transition.
    void ShowNext();
    void TimerTick();
    // The screen's transition completed: the interval starts.
    void TransitionDone();

    // The parts of PickNext and ShowNext that decide, without loading or
    // starting anything.
    void PickNextFile();
    int NextStyle() const;
    void ApplyInterval();
    // The pan and zoom of CurrentFile.
    model::MotionSetting NextMotion() const;

    QPointer<TVantoscreen> View;            // owned by the host widget, released by the runner
    QPointer<QTimer> Timer;                 // owned by View
    std::unique_ptr<PreviewMotion> Motion;  // moves the picture on View
    std::string CurrentFile;  // full path of the picture shown, empty before the first
    int32_t Index = -1;       // position of CurrentFile in the show's pictures

private:
    // The subject of 'file', the user's focus point included.
    motion::Subject SubjectOf(const std::string& file) const;
    // Copies the snapshot's screen settings into the screen.
    void ApplyToView();
    bool TryStartTransition();

    model::Show show_;
    std::function<motion::Subject(const std::string& path)> subjectOf_;
};

}  // namespace screen
