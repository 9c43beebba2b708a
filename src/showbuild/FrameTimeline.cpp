#include "showbuild/FrameTimeline.h"

#include <utility>

#include "base/Arith.h"
#include "base/Random.h"
#include "effects/Effects.h"

namespace video {

FrameTimeline::FrameTimeline(std::vector<int32_t> imageFrames, int32_t transitionFrames)
    : imageFrames_(std::move(imageFrames)), transitionFrames_(transitionFrames) {}

FrameStep FrameTimeline::NextFrame() {
    const int64_t count = static_cast<int64_t>(imageFrames_.size());
    if (imageIndex_ >= count && imageIndex_ >= 0) {
        // The video has ended; a late request gets the same answer.
        FrameStep finished;
        finished.action = FrameAction::Finished;
        finished.imageIndex = imageIndex_;
        return finished;
    }
    // Before the first picture the cycle length is an odd one (pictures + T),
    // but only its position 0 is ever reached there.
    int64_t cycle = imageIndex_ < 0 ? count + transitionFrames_
                                    : imageFrames_[static_cast<size_t>(imageIndex_)] +
                                          int64_t{transitionFrames_};
    if (cycle <= 0) cycle = 1;
    FrameStep step;
    // C++ % keeps the dividend's sign, so -1 stays -1.
    step.cyclePos = frameCounter_ % cycle;
    if (step.cyclePos == 0) {
        frameCounter_ = 0;
        ++imageIndex_;
        step.imageIndex = imageIndex_;
        step.action = imageIndex_ >= count ? FrameAction::Finished : FrameAction::StartPicture;
        return step;
    }
    step.imageIndex = imageIndex_;
    if (step.cyclePos >= 1 && step.cyclePos <= transitionFrames_) {
        step.action = FrameAction::TransitionFrame;
        step.progress = TransitionProgress(step.cyclePos, transitionFrames_);
    } else if (step.cyclePos == int64_t{transitionFrames_} + 1) {
        step.action = FrameAction::CompletePicture;
    } else {
        step.action = FrameAction::Hold;
    }
    return step;
}

FrameStep FrameTimeline::SkipPicture() {
    const int64_t count = static_cast<int64_t>(imageFrames_.size());
    frameCounter_ = 0;
    if (imageIndex_ < count) ++imageIndex_;
    FrameStep step;
    step.imageIndex = imageIndex_;
    step.action = imageIndex_ >= count ? FrameAction::Finished : FrameAction::StartPicture;
    return step;
}

int TransitionProgress(int64_t cyclePos, int32_t transitionFrames) {
    if (transitionFrames <= 0) return 100;
    const double quotient = static_cast<double>(cyclePos) / transitionFrames;
    return static_cast<int>(static_cast<uint8_t>(base::Trunc(quotient * 100)));
}

int PickEffect(const model::StyleSet& styles) {
    bool drawable = false;
    for (int style = 1; style <= effects::kEffectCount && !drawable; ++style)
        drawable = styles.test(static_cast<size_t>(style));
    if (!drawable) return 0;
    for (;;) {
        const int style = static_cast<int>(base::Random(effects::kEffectCount)) + 1;
        if (styles.test(static_cast<size_t>(style))) return style;
    }
}

}  // namespace video
