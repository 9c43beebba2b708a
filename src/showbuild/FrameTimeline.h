// What each video frame shows: the walk through the pictures' cycles that
// answers the encoder's frame requests.
//
// Picture i occupies ImageFrames[i] + T frames (T = TransitionFrames). In its
// cycle, position 0 repeats the previous frame while the picture is loaded;
// positions 1..T draw the transition onto the previous frame; T + 1 shows the
// picture complete; the rest hold it. The frame counter is advanced by the
// encoder's progress notification (one before every frame request), and
// reset to 0 at each picture change.
#pragma once

#include <cstdint>
#include <vector>

#include "model/StyleSet.h"

namespace video {

enum class FrameAction {
    StartPicture,     // load and compose picture 'imageIndex'; the frame repeats
    TransitionFrame,  // draw the transition at 'progress' percent
    CompletePicture,  // the frame becomes the composed picture
    Hold,             // the frame stays as it is
    Finished,         // no more pictures: the video ends
};

struct FrameStep {
    FrameAction action = FrameAction::Hold;
    int64_t imageIndex = -1;
    int64_t cyclePos = 0;
    int progress = 0;  // TransitionFrame only
    // Whether the frame changed on this step (the window shows it).
    bool frameChanged() const {
        return action == FrameAction::TransitionFrame || action == FrameAction::CompletePicture;
    }
};

class FrameTimeline {
public:
    FrameTimeline(std::vector<int32_t> imageFrames, int32_t transitionFrames);

    // A progress notification: the only place the frame counter advances.
    void AdvanceFrameCounter() { ++frameCounter_; }

    // A frame request: where the show stands and what to do.
    FrameStep NextFrame();
    // The picture a StartPicture step named cannot be shown: the same frame
    // starts the next picture instead (or finds the show finished), so the
    // video goes on without it.
    FrameStep SkipPicture();

private:
    std::vector<int32_t> imageFrames_;
    int32_t transitionFrames_;
    int64_t frameCounter_ = -1;
    int64_t imageIndex_ = -1;
};

// Percent of transition frame cyclePos (1..T): the quotient in floating
// point, times 100, cut toward zero. The last frame gives exactly 100.
int TransitionProgress(int64_t cyclePos, int32_t transitionFrames);

// A style drawn uniformly from 1..172 until it is in the set, with the
// program's random generator; 0 (a cut) for an empty set and for a set
// with no style from 1 to 172.
int PickEffect(const model::StyleSet& styles);

}  // namespace video
