#include "showbuild/ShownPicture.h"

#include <utility>

#include "base/Random.h"
#include "effects/Effects.h"
#include "showbuild/BlurredBackdrop.h"
#include "showbuild/FrameImage.h"
#include "showbuild/ShowSeed.h"
#include "video/TextOverlay.h"

namespace video {

int ShownPicture::captionOpacity(int64_t cyclePos) const {
    return CaptionOpacity(captionLook_, cyclePos, cycleFrames_, transitionFrames_,
                          format_.rate.perSecond());
}

void ShownPicture::Start(const SessionInput& input, size_t index, BuildPicture picture,
                         const raster::Bitmap& background) {
    const std::string& path = input.pictures[index];
    format_ = input.format;
    captions_.clear();
    transitionFrames_ = input.timing.TransitionFrames;
    cycleFrames_ = transitionFrames_ +
                   (index < input.timing.ImageFrames.size() ? input.timing.ImageFrames[index] : 0);
    const model::CaptionStyle style =
        input.captionStyleOf ? input.captionStyleOf(path) : model::CaptionStyle{};
    const std::optional<model::TitleCard> card =
        input.titleCardOf ? input.titleCardOf(path) : std::nullopt;
    if (card) {
        // A card's words are its picture: shown whatever the captions do,
        // and coming and going with the card rather than over its
        // neighbours.
        if (const std::optional<CaptionFrame> frame =
                TitleCardFrame(input.format, input.tvSet, style)) {
            captionLook_ = CaptionLookFor(style, *frame);
            captionLook_.fade = true;
            captions_ = LayOutTitleCard(*frame, *card, [&](const std::string& text, int size) {
                return MeasureCaption(captionLook_, text, size);
            });
        }
    } else if (input.showCaption)
        if (const std::optional<CaptionFrame> frame =
                CaptionFrameFor(input.format, input.tvSet, style)) {
            captionLook_ = CaptionLookFor(style, *frame);
            captions_ = LayOutCaption(*frame, input.captionOf(path),
                                      [&](const std::string& text, int size) {
                                          return MeasureCaption(captionLook_, text, size);
                                      });
        }
    base::SetRandSeed(PictureSeed(input.seed, index));
    effect_ = PickEffect(input.effectsOf(path));
    // Drawn after the effect, and only for random motion, so the effects'
    // draws stay as they were.
    const FrameFormat& f = input.format;
    const motion::MotionPlan plan = motion::PlanMotion(
        input.motion.Of(path), input.motion.FitOf(path), picture.subject, picture.naturalWidth,
        picture.naturalHeight, f.displayWidth, f.displayHeight);
    if (plan.whole)
        motion::ReduceForMotion(picture.bitmap, picture.opacity, picture.naturalWidth,
                                picture.naturalHeight, plan.strength,
                                {f.width, f.height, f.displayWidth, f.displayHeight}, true);
    if (incoming_.isEmpty()) incoming_ = raster::Bitmap(input.format.width, input.format.height);
    // A moving picture covers the frame unless it is shown whole; only its
    // clear parts show the fill. A card's backdrop is its own.
    const bool showsBackground = !plan.moves() || plan.whole || !picture.opacity.isEmpty();
    if (card)
        background_ = std::move(picture.bitmap);
    else if (input.background.kind == BackgroundSpec::Kind::Blurred && showsBackground)
        background_ = BlurredBackdrop(picture, input.background.colour, input.format);
    else
        background_ = background;
    if (!plan.moves())
        ComposePicture(incoming_, background_, picture.bitmap, picture.naturalWidth,
                       picture.naturalHeight, input.format, picture.opacity);
    motion_.Start(plan, std::move(picture), OnScreenFrames(input.timing, index));
    if (plan.moves()) motion_.Draw(incoming_, background_, input.format, 0);
    // Seeded effects take their pattern from the incoming picture's handle.
    incoming_.setHandle(input.seed);
    randomAfterStart_ = base::RandSeed();
}

bool ShownPicture::DrawStep(const FrameStep& step, raster::Bitmap& frame) {
    const bool drawn = motion_.DrawStep(step, incoming_, frame, background_, format_);
    switch (step.action) {
        case FrameAction::TransitionFrame:
            // Some effects draw from the program's generator without seeding
            // it: the transition starts from the state the picture's start
            // left, wherever other pictures were started in between.
            if (step.cyclePos == 1) base::SetRandSeed(randomAfterStart_);
            if (effect_ == 0)
                frame = incoming_;
            else
                effects::DrawEffect(effect_, frame, incoming_, step.progress);
            break;
        case FrameAction::CompletePicture:
            if (!drawn) frame = incoming_;
            break;
        default:
            break;
    }
    return step.frameChanged() || drawn;
}

}  // namespace video
