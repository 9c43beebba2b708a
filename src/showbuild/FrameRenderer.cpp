#include "showbuild/FrameRenderer.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>

#include "base/Random.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/PictureComposer.h"

namespace video {

namespace {

// Two pictures make a frame (the one before a transition and the incoming
// one); a third lets a step back across a picture change find both again.
constexpr size_t kFewestPictures = 3;
// What a started picture holds, in frames: the composed frame, the fill
// behind it, and a moving picture's source of up to twice the frame's size
// each way.
constexpr size_t kFramesPerPicture = 6;
constexpr size_t kDefaultBudget = size_t{768} << 20;

}  // namespace

FrameRenderer::FrameRenderer(PreparedShow prepared)
    : prepared_(std::move(prepared)),
      starts_(PictureStartFrames(prepared_.lengths.timing)),
      background_(PrepareBackground(prepared_.input.background, prepared_.input.format)),
      keptPictures_(kFewestPictures) {
    SetMemoryBudget(kDefaultBudget);
}

void FrameRenderer::SetMemoryBudget(size_t bytes) {
    const size_t frameBytes =
        std::max<size_t>(size_t{1}, size_t(format().width) * size_t(format().height) * 3);
    keptPictures_ = std::max(kFewestPictures, bytes / (frameBytes * kFramesPerPicture));
    while (cache_.size() > keptPictures_) cache_.pop_front();
    while (before_.size() > keptPictures_) before_.erase(before_.begin());
}

base::Status FrameRenderer::Prefetch(size_t index) {
    if (index >= starts_.size()) return {};
    try {
        Picture(index);
        FrameBefore(index);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        return base::MakeFault(error.what());
    }
    return {};
}

ShownPicture& FrameRenderer::Picture(size_t index) {
    for (auto& [cached, shown] : cache_)
        if (cached == index) return *shown;
    const SessionInput& input = prepared_.input;
    const DisplayBox box = DisplayBoxOf(input.format);
    auto shown = std::make_unique<ShownPicture>();
    shown->Start(input, index,
                 input.loadPicture(input.pictures[index], PictureBox{box.width, box.height}),
                 background_);
    if (cache_.size() >= keptPictures_) cache_.pop_front();
    cache_.emplace_back(index, std::move(shown));
    return *cache_.back().second;
}

const raster::Bitmap& FrameRenderer::FrameBefore(size_t index) {
    if (const auto kept = before_.find(index); kept != before_.end()) return kept->second;
    raster::Bitmap frame;
    if (index == 0) {
        frame = raster::Bitmap(format().width, format().height);
    } else {
        const ShowTiming& timing = prepared_.lengths.timing;
        DrawCycleFrame(index - 1,
                       int64_t{timing.TransitionFrames} + timing.ImageFrames[index - 1] - 1, frame);
    }
    // The frames nearest the pictures kept are worth keeping.
    if (before_.size() >= keptPictures_) {
        auto farthest = before_.begin();
        for (auto it = before_.begin(); it != before_.end(); ++it)
            if (std::max(it->first, index) - std::min(it->first, index) >
                std::max(farthest->first, index) - std::min(farthest->first, index))
                farthest = it;
        before_.erase(farthest);
    }
    return before_.emplace(index, std::move(frame)).first->second;
}

void FrameRenderer::DrawCycleFrame(size_t index, int64_t pos, raster::Bitmap& frame) {
    const ShowTiming& timing = prepared_.lengths.timing;
    const int32_t transition = timing.TransitionFrames;
    // A later frame of the picture last drawn goes on from there; the steps
    // between are the ones a draw from the start would make.
    const bool goesOn = last_ && last_->picture == index && last_->pos <= pos;
    int64_t from = 0;
    if (goesOn) {
        frame = last_->frame;
        from = last_->pos;
    } else if (pos <= transition) {
        // The transition paints over the frame before it; a complete or held
        // frame is drawn whole.
        frame = FrameBefore(index);
    }
    if (pos == 0 || pos == from) return;  // the picture's first frame repeats the one before
    ShownPicture& shown = Picture(index);
    if (goesOn) base::SetRandSeed(last_->random);
    FrameStep step;
    step.imageIndex = static_cast<int64_t>(index);
    step.action = FrameAction::TransitionFrame;
    if (pos <= transition) {
        for (int64_t k = from + 1; k <= pos; ++k) {
            step.cyclePos = k;
            step.progress = TransitionProgress(k, transition);
            shown.DrawStep(step, frame);
        }
        return;
    }
    // The complete frame replaces the whole frame, and a moving picture's
    // held frame is drawn whole from its view, so the transition steps before
    // them would be drawn over. The generator state they leave behind is
    // not read again: the next picture's start seeds it anew.
    step.progress = 0;
    step.cyclePos = int64_t{transition} + 1;
    // A moving picture's held frame is drawn whole from its view, so the
    // complete frame before it need not be.
    if (from < step.cyclePos && !(shown.moving() && pos > step.cyclePos)) {
        step.action = FrameAction::CompletePicture;
        shown.DrawStep(step, frame);
    }
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
        const int64_t pos = frame - starts_[picture];
        DrawCycleFrame(picture, pos, result.pixels);
        last_ = Drawn{picture, pos, result.pixels, base::RandSeed()};
        // From its first frame on, a picture's caption is stamped.
        const ShownPicture& shown = Picture(picture);
        result.captions = shown.captions();
        result.captionLook = shown.captionLook();
        result.captionOpacity = shown.captionOpacity(pos);
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
