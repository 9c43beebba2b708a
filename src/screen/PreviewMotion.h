// Pan and zoom in the preview: a picture that moves enters through its
// transition at its first view, filling the screen, and then moves while it
// stays, redrawn on a timer, until the next transition takes it away from
// where it came to rest. The build moves it during its transition as well;
// the preview's transitions run on their own clock, so here the motion
// takes the time between them.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <string>

#include "model/MotionSetting.h"
#include "motion/MovingPicture.h"
#include "screen/Vantoscreen.h"

namespace screen {

class PreviewMotion {
public:
    explicit PreviewMotion(TVantoscreen& view);
    ~PreviewMotion();
    PreviewMotion(const PreviewMotion&) = delete;
    PreviewMotion& operator=(const PreviewMotion&) = delete;

    // The screen has just loaded 'fileName': when 'setting' moves, the
    // picture's first view, at the screen's size, replaces the prepared
    // picture; the motion aims at 'subject'. A picture that cannot be read
    // stays as the screen prepared it.
    void Prepare(const std::string& fileName, const model::MotionSetting& setting,
                 const motion::Subject& subject = {});
    // The transition to the prepared picture has ended: its view travels to
    // the end over 'milliseconds'.
    void Run(int milliseconds);
    void Stop();
    bool Moving() const { return picture_.moving(); }

private:
    void Tick();

    QPointer<TVantoscreen> view_;
    QPointer<QTimer> ticker_;  // owned by the screen
    QElapsedTimer clock_;
    int duration_ = 0;
    motion::FrameShape shape_;
    motion::MovingPicture picture_;
};

}  // namespace screen
