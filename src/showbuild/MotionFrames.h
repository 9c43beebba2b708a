// Pan and zoom in the video build: which pictures move and how, their loads
// at the resolution their closest view needs, and the drawing of each frame
// of a moving picture from its view at that moment.
//
// A moving picture is on screen from its first transition frame to the last
// frame before the next transition; during its own transition it is the
// incoming picture at its current view (the first frame shows the first
// view), and the transition effect draws it as it draws a still one. The
// outgoing picture has come to rest by then. A picture without motion goes
// through ComposePicture as before, so its frames do not change.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/MotionSetting.h"
#include "motion/MotionPath.h"
#include "motion/MovingPicture.h"
#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/ShowTiming.h"

namespace video {

// The motion of each of a show's pictures, read once before the build so
// that the picture loads on the helper thread can consult it, and the folder
// of the subjects found in them (SubjectCache.h).
class ShowMotion {
public:
    ShowMotion() = default;  // nothing moves
    // Each picture's own motion from the show's notes, else the show's; the
    // subjects in 'subjectFolder' (the user's cache folder when empty).
    static ShowMotion Read(const std::vector<std::string>& pictures, const model::Show& show,
                           std::string subjectFolder = {});
    model::MotionSetting Of(const std::string& path) const;
    // The picture's own fit, else the show's.
    model::MotionFit FitOf(const std::string& path) const;
    // The point the user chose in the picture, which its motion aims at
    // first.
    std::optional<motion::SubjectPoint> FocusOf(const std::string& path) const;
    // Where the subjects of the pictures are cached; empty: no picture aims.
    const std::string& subjectFolder() const { return subjectFolder_; }

private:
    // What a picture has of its own.
    struct Own {
        std::optional<model::MotionSetting> motion;
        std::optional<model::MotionFit> fit;
        std::optional<motion::SubjectPoint> focus;
    };
    model::MotionSetting show_;
    model::MotionFit showFit_ = model::MotionFit::Fill;
    std::shared_ptr<const std::map<std::string, Own>> own_;
    std::string subjectFolder_;
};

// The load of a moving picture: decoded at up to twice the frame's display
// box, then reduced (area-averaged) to the size at which its closest view
// fills the frame, so every frame samples about one source pixel per frame
// pixel. A moving picture also gets its subject, from the cache the window
// fills, else found now (and cached), so its motion can aim. Pictures
// without motion are loaded by 'load' unchanged.
LoadPictureFunction MotionLoads(LoadPictureFunction load, ShowMotion motion,
                                const FrameFormat& format);

// Frames picture 'index' is on screen: from its first transition frame to
// the last frame before the next picture's transition.
int64_t OnScreenFrames(const ShowTiming& timing, size_t index);

// The picture on screen while it moves.
class PictureMotion {
public:
    // A new picture on screen for 'frames' frames (its transition and its
    // hold): moving by 'plan', or still (plan without motion), when the
    // caller composes it as before.
    void Start(const motion::MotionPlan& plan, BuildPicture picture, int64_t frames);
    bool moving() const { return picture_.moving(); }

    // Draws frame 'index' (0: the first transition frame) over 'background'
    // into 'target', which takes the background's size. A whole picture
    // lies on the background; any other covers it.
    void Draw(raster::Bitmap& target, const raster::Bitmap& background, const FrameFormat& format,
              int64_t index) const;

    // The frame of a timeline step, for a moving picture: a transition frame
    // redraws the incoming picture, a complete or held frame the frame
    // itself. Returns whether it drew the frame (so it is not copied).
    bool DrawStep(const FrameStep& step, raster::Bitmap& incoming, raster::Bitmap& frame,
                  const raster::Bitmap& background, const FrameFormat& format) const;

private:
    motion::MovingPicture picture_;
    int64_t frames_ = 0;
};

}  // namespace video
