// Where the view of a moving picture stands at each moment: the pure timing
// and geometry of pan and zoom, shared by the video build and the preview.
//
// The view is a rectangle over the picture, measured in the picture's own
// (square) pixels, in the display proportions of the frame it fills. Its
// widest extent is the largest such rectangle inside the picture, so the
// picture always fills the frame and the view never leaves it: a picture of
// other proportions than the frame's is cropped, and the motion shows what
// the crop hides. The motion takes the picture's whole time on screen and
// eases in and out, so a picture starts from rest and comes to rest.
//
// A plan may aim: its views then hold a box whole (the faces) wherever the
// picture has room for it, a crop is placed around it rather than in the
// middle, and a zoom ends centred on the aim point. A plan without an aim
// draws exactly the views it drew before aiming existed.
//
// A plan may instead show the picture whole: its widest view is then the
// smallest rectangle of the frame's proportions that holds the picture, so
// the picture lies fitted in the frame as a still one does, on whatever is
// drawn around it, and views reach past the picture's edges. A zoom comes no
// closer than the view where the picture fills the frame; a pan travels
// across the room beside the picture, or, with too little room, as a plan
// that fills does.
#pragma once

#include <cstdint>

#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "motion/Subject.h"
#include "raster/Resample.h"

namespace motion {

// A motion with its kind decided (never Random or Auto), and what it aims
// at, in shares of the picture.
struct MotionPlan {
    model::MotionKind kind = model::MotionKind::None;
    int strength = model::kDefaultMotionStrength;
    std::optional<SubjectBox> keep = std::nullopt;   // held whole by every view that has room
    std::optional<SubjectPoint> aim = std::nullopt;  // where a zoom ends and a crop centres
    bool whole = false;                              // the widest view holds the whole picture
    bool moves() const { return kind != model::MotionKind::None; }
    bool aims() const { return keep || aim; }
};

// Decides a Random kind with the program's random generator: one draw, and
// none at all for any other kind, so a show without random motion leaves
// the generator exactly as it was. Every kind keeps the faces of 'subject'
// whole and aims at the user's focus point, else at the faces; Auto also
// aims at the salient region of a picture without faces, and becomes a pan
// along a row of faces or else a zoom in.
MotionPlan ResolveMotion(const model::MotionSetting& setting, const Subject& subject = {});

// What a still picture's crop aims at: the user's point, else the faces'
// centre, else the centre of the striking region; and the faces, held whole
// where the crop has room. nullopt for a subject of none of these, whose
// crops stay centred.
struct CropAim {
    SubjectPoint centre;
    std::optional<SubjectBox> keep;
};
std::optional<CropAim> CropAimOf(const Subject& subject);

// How far the view travels for a strength of 1..5, as a share of the
// picture: 0.05 .. 0.25 (strengths outside are clamped).
double TravelOf(int strength);

// The eased share 0..1 of the way travelled at time t (0..1): the speed
// rises evenly over the first quarter, stays constant, and falls evenly over
// the last quarter.
double EaseInOut(double t);

// Time 0..1 of frame 'index' of 'count' frames on screen (the first 0, the
// last 1; a single frame is 0).
double MotionTime(int64_t index, int64_t count);

// The view, in the picture's own pixels (of its natural size).
using ViewRect = raster::SourceRect;

// The largest rectangle of displayWidth:displayHeight proportions inside a
// pictureWidth x pictureHeight picture, centred.
ViewRect CoverView(double pictureWidth, double pictureHeight, int displayWidth, int displayHeight);

// The smallest rectangle of displayWidth:displayHeight proportions that holds
// the whole picture, centred: the view of a picture fitted in the frame.
ViewRect ContainView(double pictureWidth, double pictureHeight, int displayWidth,
                     int displayHeight);

// The plan's widest view: ContainView when it shows the picture whole, else
// CoverView.
ViewRect WidestView(const MotionPlan& plan, double pictureWidth, double pictureHeight,
                    int displayWidth, int displayHeight);

// Whether a moving plan shows its picture whole: always for Whole, never for
// Fill, and for Auto where filling the frame would cut one of the subject's
// faces (a face not wholly inside a view of the plan filling the frame) or
// would keep less than half of the picture.
bool ShowsWhole(model::MotionFit fit, const MotionPlan& plan, const Subject& subject,
                double pictureWidth, double pictureHeight, int displayWidth, int displayHeight);

// The plan a picture moves by in a frame of displayWidth:displayHeight:
// ResolveMotion, shown whole as ShowsWhole decides, and, filling a frame too
// narrow (or too low) for all the faces at once, holding the largest face
// and as many of the others as fit beside it, rather than a stretch between
// them that may show no face at all; where only the margins around the
// faces do not fit, the faces whole with what margin there is room for.
MotionPlan PlanMotion(const model::MotionSetting& setting, model::MotionFit fit,
                      const Subject& subject, double pictureWidth, double pictureHeight,
                      int displayWidth, int displayHeight);

// The view at time t (0..1) of the picture's time on screen.
ViewRect ViewAt(const MotionPlan& plan, double pictureWidth, double pictureHeight, int displayWidth,
                int displayHeight, double t);

// The smallest share of the cover view's size any view of a motion of this
// strength takes (the closest view), so the picture can be prepared once at
// the resolution that view needs.
double ClosestViewScale(int strength);

}  // namespace motion
