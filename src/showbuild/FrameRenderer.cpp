#include "showbuild/FrameRenderer.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>

#include "showbuild/FrameTimeline.h"
#include "showbuild/PictureComposer.h"

namespace video {

namespace {

// Two pictures make a frame (the one before a transition and the incoming
// one); a third lets a step back across a picture change find both again.
constexpr size_t kCachedPictures = 3;

}  // namespace

FrameRenderer::FrameRenderer(PreparedShow prepared)
    : prepared_(std::move(prepared)),
      starts_(PictureStartFrames(prepared_.lengths.timing)),
      background_(PrepareBackground(prepared_.input.background, prepared_.input.format)) {}

ShownPicture& FrameRenderer::Picture(size_t index) {
    for (auto& [cached, shown] : cache_)
        if (cached == index) return *shown;
    const SessionInput& input = prepared_.input;
    const DisplayBox box = DisplayBoxOf(input.format);
    auto shown = std::make_unique<ShownPicture>();
    shown->Start(input, index,
                 input.loadPicture(input.pictures[index], PictureBox{box.width, box.height}),
                 background_);
    if (cache_.size() >= kCachedPictures) cache_.pop_front();
    cache_.emplace_back(index, std::move(shown));
    return *cache_.back().second;
}

void FrameRenderer::DrawCycleFrame(size_t index, int64_t pos, raster::Bitmap& frame) {
    const ShowTiming& timing = prepared_.lengths.timing;
    const int32_t transition = timing.TransitionFrames;
    // The transition paints over the frame before it; a complete or held
    // frame is drawn whole.
    if (pos <= transition) {
        if (index == 0)
            frame = raster::Bitmap(format().width, format().height);
        else
            DrawCycleFrame(index - 1, int64_t{transition} + timing.ImageFrames[index - 1] - 1,
                           frame);
    }
    if (pos == 0) return;  // the picture's first frame repeats the one before
    ShownPicture& shown = Picture(index);
    FrameStep step;
    step.imageIndex = static_cast<int64_t>(index);
    step.action = FrameAction::TransitionFrame;
    for (int64_t k = 1; k <= std::min<int64_t>(pos, transition); ++k) {
        step.cyclePos = k;
        step.progress = TransitionProgress(k, transition);
        shown.DrawStep(step, frame);
    }
    if (pos <= transition) return;
    step.progress = 0;
    step.action = FrameAction::CompletePicture;
    step.cyclePos = int64_t{transition} + 1;
    shown.DrawStep(step, frame);
    if (pos == step.cyclePos) return;
    step.action = FrameAction::Hold;
    step.cyclePos = pos;
    shown.DrawStep(step, frame);
}

base::Result<ShowFrame> FrameRenderer::FrameAt(int64_t index) {
    if (index < 0 || index >= frameCount())
        return base::MakeFault("Frame " + std::to_string(index) + " is outside the show's " +
                               std::to_string(frameCount()) + " frames.");
    // Fitted to the music, the last frame is held until the music ends.
    const int64_t frame = std::min(index, prepared_.lengths.timing.TotalFrames() - 1);
    const size_t picture = static_cast<size_t>(
        std::upper_bound(starts_.begin(), starts_.end(), frame) - starts_.begin() - 1);
    ShowFrame result;
    try {
        DrawCycleFrame(picture, frame - starts_[picture], result.pixels);
        // From its first frame on, a picture's caption is stamped.
        const ShownPicture& shown = Picture(picture);
        result.captions = shown.captions();
        result.captionShadow = shown.captionShadow();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        return base::MakeFault(error.what());
    }
    return result;
}

base::Result<ShowFrame> FrameRenderer::FrameAtSeconds(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        return base::MakeFault("A time must be 0 or more seconds.");
    const double frame = std::floor(seconds * frameRate());
    if (frame >= static_cast<double>(frameCount()))
        return base::MakeFault("The time is past the end of the show.");
    return FrameAt(static_cast<int64_t>(frame));
}

}  // namespace video
