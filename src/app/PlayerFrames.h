// The preview player's frames, drawn off the window's thread: a copy of the
// prepared show and the build's frame renderer live on a thread of their
// own, which draws the frames the player asks for, in order, as the video
// shows them (captions stamped, display proportions), and starts the next
// picture ahead when asked. A new request replaces the frames not yet begun.
#pragma once

#include <QImage>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/WorkQueue.h"
#include "showbuild/FrameRenderer.h"
#include "showbuild/ShowPreparation.h"

namespace app {

class PlayerFrames {
public:
    struct Drawn {
        int64_t frame = -1;  // -1: a picture started ahead
        size_t picture = 0;
        QImage image;
        std::string fault;  // why the frame could not be drawn
    };

    // 'prepared' must be ready. 'ready' is called on the drawing thread when
    // frames wait to be taken.
    PlayerFrames(video::PreparedShow prepared, std::function<void()> ready);
    ~PlayerFrames();
    PlayerFrames(const PlayerFrames&) = delete;
    PlayerFrames& operator=(const PlayerFrames&) = delete;

    int64_t frameCount() const { return frameCount_; }
    double frameRate() const { return frameRate_; }
    const std::vector<int64_t>& pictureStarts() const { return starts_; }

    // Draws 'frames' in order, then starts picture 'ahead' if given and not
    // started ahead already; what was asked before and not begun is dropped,
    // and a frame being drawn is not asked twice.
    void Want(const std::vector<int64_t>& frames, std::optional<size_t> ahead);
    // The frames drawn since the last call.
    std::vector<Drawn> Take() { return queue_.TakeFinished(); }

private:
    void Draw(Drawn& job);

    int64_t frameCount_;
    double frameRate_;
    std::vector<int64_t> starts_;
    std::atomic<int64_t> drawing_{-1};
    // The picture last started ahead: asked again, it is not started again.
    std::atomic<int64_t> startedAhead_{-1};
    // Used on the drawing thread only.
    video::FrameRenderer renderer_;
    // Last: its thread ends before the renderer goes.
    base::WorkQueue<Drawn> queue_;
};

}  // namespace app
