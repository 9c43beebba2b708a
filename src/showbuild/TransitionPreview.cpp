#include "showbuild/TransitionPreview.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <utility>

#include "model/StyleSet.h"
#include "model/VideoFormatKeys.h"
#include "showbuild/FrameRenderer.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/MotionFrames.h"

namespace video {

namespace {

// The loop's rests, in frames at 25 per second: long enough to see the
// picture that goes, longer for the one that came.
constexpr int64_t kLeadFrames = 12;
constexpr int64_t kRestFrames = 25;

}  // namespace

FrameFormat PreviewFrameFormat(const model::TslSettings& settings, int width) {
    FrameFormat format = FrameFormatOf(settings).value_or(FrameFormat{0, "", 4, 3, 4, 3, ""});
    format.width = std::max(width, 1);
    format.height = std::max(
        1, static_cast<int>(int64_t{format.width} * format.displayHeight / format.displayWidth));
    // Square pixels: the frame is its own display.
    format.displayWidth = format.width;
    format.displayHeight = format.height;
    return format;
}

base::Result<TransitionPreview> DrawTransitionPreview(const model::Show& show,
                                                      std::vector<std::string> pictures, int style,
                                                      const FrameFormat& format,
                                                      const ShowLoaders& loaders) {
    model::Show previewed = show;
    model::TslSettings& s = previewed.settings;
    if (pictures.size() > 2) pictures.resize(2);
    s.Pictures = std::move(pictures);
    // Neither is seen in a transition, and the music's checks take time.
    s.PlayMusic = false;
    s.ShowCaption = false;
    PreparedShow prepared = PrepareShow(std::move(previewed), loaders);
    if (prepared.outcome != PreparedShow::Outcome::Ready) return base::MakeFault(prepared.message);

    SessionInput& input = prepared.input;
    input.format = format;
    input.loadPicture = MotionLoads(loaders.loadPicture, input.motion, format);
    model::StyleSet only;
    if (model::IsStyleSetMember(style)) only.set(static_cast<size_t>(style));
    input.effectsOf = [only](const std::string&) { return only; };

    TransitionPreview result;
    result.rate = input.format.rate;
    const ShowTiming timing = prepared.lengths.timing;
    const size_t incoming = input.pictures.size() - 1;
    FrameRenderer renderer(std::move(prepared));
    // The frame before the incoming picture's transition: the outgoing
    // picture at rest, or the black opening frame.
    base::Result<ShowFrame> before = renderer.FrameAt(PictureStartFrames(timing)[incoming]);
    if (!before) return before.fault();
    raster::Bitmap frame = std::move(before->pixels);
    result.frames.reserve(static_cast<size_t>(timing.TransitionFrames) + 1);
    result.frames.push_back(frame);
    try {
        ShownPicture& shown = renderer.Picture(incoming);
        FrameStep step;
        step.action = FrameAction::TransitionFrame;
        step.imageIndex = static_cast<int64_t>(incoming);
        for (int32_t k = 1; k <= timing.TransitionFrames; ++k) {
            step.cyclePos = k;
            step.progress = TransitionProgress(k, timing.TransitionFrames);
            shown.DrawStep(step, frame);
            result.frames.push_back(frame);
        }
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        return base::MakeFault(error.what());
    }
    return result;
}

PreviewLoop::PreviewLoop(int32_t steps, FrameRate rate) : steps_(std::max(steps, 0)), rate_(rate) {}

int PreviewLoop::tickMs() const {
    // A frame's length to the nearest millisecond: 40 at 25, 33 at 29.97.
    return static_cast<int>((int64_t{rate_.den} * 2000 + rate_.num) / (2 * int64_t{rate_.num}));
}

size_t PreviewLoop::FrameAt(int64_t tick) const {
    const int64_t lead = std::max<int64_t>(rate_.FramesLike25(kLeadFrames), 1);
    const int64_t loop = lead + steps_ + rate_.FramesLike25(kRestFrames);
    const int64_t at = std::max<int64_t>(tick, 0) % loop;
    return static_cast<size_t>(std::clamp<int64_t>(at - lead + 1, 0, steps_));
}

}  // namespace video
