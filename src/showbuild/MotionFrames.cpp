#include "showbuild/MotionFrames.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "imaging/PictureLoader.h"
#include "subject/FindSubject.h"
#include "subject/SubjectCache.h"

namespace video {

namespace {

motion::FrameShape ShapeOf(const FrameFormat& format) {
    return {format.width, format.height, format.displayWidth, format.displayHeight};
}

}  // namespace

ShowMotion ShowMotion::Read(const std::vector<std::string>& pictures, const model::Show& show,
                            std::string subjectFolder) {
    ShowMotion result;
    result.subjectFolder_ =
        subjectFolder.empty() ? subject::DefaultSubjectFolder() : std::move(subjectFolder);
    result.show_ = show.settings.Motion;
    result.showFit_ = show.settings.MotionFit;
    auto own = std::make_shared<std::map<std::string, Own>>();
    for (const std::string& path : pictures) {
        // A title card stands still: its words must stay where they are laid out.
        if (model::IsTitleCard(path)) {
            own->emplace(path, Own{model::MotionSetting{}, std::nullopt, std::nullopt});
            continue;
        }
        Own entry{model::OwnMotion(show.notes, path), model::OwnMotionFit(show.notes, path), {}};
        if (const auto focus = show.FocusOf(path))
            entry.focus = motion::SubjectPoint{focus->x, focus->y};
        if (entry.motion || entry.fit || entry.focus) own->emplace(path, entry);
    }
    result.own_ = std::move(own);
    return result;
}

model::MotionSetting ShowMotion::Of(const std::string& path) const {
    if (own_)
        if (const auto found = own_->find(path); found != own_->end() && found->second.motion)
            return *found->second.motion;
    return show_;
}

model::MotionFit ShowMotion::FitOf(const std::string& path) const {
    if (own_)
        if (const auto found = own_->find(path); found != own_->end() && found->second.fit)
            return *found->second.fit;
    return showFit_;
}

std::optional<motion::SubjectPoint> ShowMotion::FocusOf(const std::string& path) const {
    if (own_)
        if (const auto found = own_->find(path); found != own_->end()) return found->second.focus;
    return std::nullopt;
}

LoadPictureFunction MotionLoads(LoadPictureFunction load, ShowMotion motion,
                                const FrameFormat& format) {
    return [load = std::move(load), motion = std::move(motion), format](const std::string& path,
                                                                        PictureBox box) {
        const model::MotionSetting setting = motion.Of(path);
        if (setting.kind == model::MotionKind::None) return load(path, box);
        // A square box, large enough that a portrait picture (3:4), cropped
        // to the frame's proportions, still has the pixels its closest view
        // needs, as a landscape one has; no more than twice the frame.
        const double needed = std::max(format.width, box.width) * 4.0 / 3 /
                              std::sqrt(motion::ClosestViewScale(setting.strength));
        const int side =
            std::min(2 * std::max(box.width, box.height), static_cast<int>(std::ceil(needed)));
        BuildPicture picture = load(path, PictureBox{side, side});
        if (!motion.subjectFolder().empty())
            picture.subject = subject::SubjectOf(motion.subjectFolder(), path);
        picture.subject.focus = motion.FocusOf(path);
        motion::ReduceForMotion(picture.bitmap, picture.opacity, picture.naturalWidth,
                                picture.naturalHeight, setting.strength, ShapeOf(format));
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
    frames_ = frames;
    picture_ = motion::MovingPicture(plan, picture.bitmap, picture.opacity, picture.naturalWidth,
                                     picture.naturalHeight);
}

void PictureMotion::Draw(raster::Bitmap& target, const raster::Bitmap& background,
                         const FrameFormat& format, int64_t index) const {
    const double t = motion::MotionTime(index, frames_);
    if (picture_.whole()) {
        raster::Bitmap colour, cover;
        const raster::Rect placed = picture_.DrawPlaced(ShapeOf(format), t, colour, cover);
        target = background;
        if (!placed.isEmpty()) imaging::LayOver(target, placed.left, placed.top, colour, cover);
        return;
    }
    if (!picture_.hasOpacity()) {
        if (target.width() != background.width() || target.height() != background.height())
            target.reset(background.width(), background.height());
        picture_.Draw(ShapeOf(format), t, target);
        return;
    }
    // Sampling is linear, so the premultiplied colour and the opacity are
    // sampled apart and still belong together.
    raster::Bitmap colour(background.width(), background.height());
    raster::Bitmap cover(background.width(), background.height());
    picture_.Draw(ShapeOf(format), t, colour, &cover);
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
