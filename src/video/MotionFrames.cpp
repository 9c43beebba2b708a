#include "video/MotionFrames.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "imaging/PictureLoader.h"
#include "raster/Blit.h"
#include "raster/Resample.h"

namespace video {

namespace {

// The size a moving picture is kept at: its views, from the widest to the
// closest, come out at between about 0.87 and 1.15 source pixels per frame
// pixel (one source pixel per frame pixel halfway), where blending the
// nearest four pixels neither blurs nor flickers. Never more than it was
// decoded at.
void ReduceForMotion(BuildPicture& picture, int strength, const FrameFormat& format) {
    const motion::ViewRect cover = motion::CoverView(picture.naturalWidth, picture.naturalHeight,
                                                     format.displayWidth, format.displayHeight);
    const double halfway = std::sqrt(motion::ClosestViewScale(strength));
    const double scale =
        std::max(format.width / (cover.width * halfway), format.height / (cover.height * halfway));
    const int width = static_cast<int>(std::ceil(picture.naturalWidth * scale));
    const int height = static_cast<int>(std::ceil(picture.naturalHeight * scale));
    if (width >= picture.bitmap.width() || height >= picture.bitmap.height()) return;
    auto reduce = [&](raster::Bitmap& bitmap) {
        if (bitmap.isEmpty()) return;
        raster::Bitmap reduced(width, height);
        raster::StretchBlt(reduced, 0, 0, width, height, bitmap, 0, 0, bitmap.width(),
                           bitmap.height(), raster::StretchMode::Halftone);
        bitmap = std::move(reduced);
    };
    reduce(picture.bitmap);
    reduce(picture.opacity);
}

}  // namespace

ShowMotion ShowMotion::Read(const std::vector<std::string>& pictures,
                            const model::MotionSetting& show) {
    ShowMotion result;
    result.show_ = show;
    auto own = std::make_shared<std::map<std::string, model::MotionSetting>>();
    for (const std::string& path : pictures)
        if (const auto motion = model::OwnMotion(path)) own->emplace(path, *motion);
    result.own_ = std::move(own);
    return result;
}

model::MotionSetting ShowMotion::Of(const std::string& path) const {
    if (own_)
        if (const auto found = own_->find(path); found != own_->end()) return found->second;
    return show_;
}

LoadPictureFunction MotionLoads(LoadPictureFunction load, ShowMotion motion,
                                const FrameFormat& format) {
    return [load = std::move(load), motion = std::move(motion), format](const std::string& path,
                                                                        PictureBox box) {
        const model::MotionSetting setting = motion.Of(path);
        if (setting.kind == model::MotionKind::None) return load(path, box);
        // A square box: a portrait picture, cropped to the frame's
        // proportions, needs its width as much as a landscape its height.
        const int side = 2 * std::max(box.width, box.height);
        BuildPicture picture = load(path, PictureBox{side, side});
        ReduceForMotion(picture, setting.strength, format);
        return picture;
    };
}

int64_t OnScreenFrames(const ShowTiming& timing, size_t index) {
    // The next cycle's first frame repeats this one while the next picture
    // loads, and is not counted.
    const int64_t hold = index < timing.ImageFrames.size() ? timing.ImageFrames[index] : 0;
    return std::max<int64_t>(1, int64_t{timing.TransitionFrames} + hold - 1);
}

void PictureMotion::Start(const motion::MotionPlan& plan, BuildPicture picture, int64_t frames) {
    plan_ = plan;
    frames_ = frames;
    naturalWidth_ = picture.naturalWidth;
    naturalHeight_ = picture.naturalHeight;
    colour_ = plan.moves() ? raster::ViewSource(picture.bitmap) : raster::ViewSource();
    opacity_ = plan.moves() && !picture.opacity.isEmpty() ? raster::ViewSource(picture.opacity)
                                                          : raster::ViewSource();
}

void PictureMotion::Draw(raster::Bitmap& target, const raster::Bitmap& background,
                         const FrameFormat& format, int64_t index) const {
    const motion::ViewRect view =
        motion::ViewAt(plan_, naturalWidth_, naturalHeight_, format.displayWidth,
                       format.displayHeight, motion::MotionTime(index, frames_));
    // The view is measured on the picture's natural size; a reduced decode
    // holds fewer pixels.
    const double sx = static_cast<double>(colour_.width()) / naturalWidth_;
    const double sy = static_cast<double>(colour_.height()) / naturalHeight_;
    const raster::SourceRect rect{view.x * sx, view.y * sy, view.width * sx, view.height * sy};
    if (opacity_.isEmpty()) {
        if (target.width() != background.width() || target.height() != background.height())
            target.reset(background.width(), background.height());
        colour_.Draw(target, rect);
        return;
    }
    // Sampling is linear, so the premultiplied colour and the opacity are
    // sampled apart and still belong together.
    raster::Bitmap colour(background.width(), background.height());
    raster::Bitmap cover(background.width(), background.height());
    colour_.Draw(colour, rect);
    opacity_.Draw(cover, rect);
    target = background;
    imaging::LayOver(target, 0, 0, colour, cover);
}

bool PictureMotion::DrawStep(const FrameStep& step, raster::Bitmap& incoming, raster::Bitmap& frame,
                             const raster::Bitmap& background, const FrameFormat& format) const {
    if (!moving()) return false;
    const int64_t index = step.cyclePos - 1;
    switch (step.action) {
        case FrameAction::TransitionFrame:
            Draw(incoming, background, format, index);
            return false;
        case FrameAction::CompletePicture:
        case FrameAction::Hold:
            Draw(frame, background, format, index);
            return true;
        default:
            return false;
    }
}

}  // namespace video
