// Pan and zoom in built frames: a picture with two bright spots is built
// moving, and the spots are followed frame by frame. Without motion the
// frames are those of a still picture, whatever the show's motion says.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <string>
#include <vector>

#include "PublicPhotos.h"
#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "model/PictureFocus.h"
#include "model/Show.h"
#include "showbuild/BuildTestUtil.h"
#include "subject/FindSubject.h"
#include "video/EncoderTestUtil.h"

namespace video::test {
namespace {

using model::MotionKind;
using model::MotionSetting;

struct Point {
    double x = 0;
    double y = 0;
};

// Grey with two soft white spots, at a quarter and three quarters of the
// width on the middle row; nothing in it is red.
void WriteSpots(const std::string& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const double radius = width / 60.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double light = 0;
            for (const double cx : {width / 4.0, width * 3 / 4.0}) {
                const double d2 = (x - cx) * (x - cx) + (y - height / 2.0) * (y - height / 2.0);
                light += std::exp(-d2 / (radius * radius));
            }
            const int v = std::min(255, 60 + static_cast<int>(195 * light));
            image.setPixel(x, y, qRgb(v, v, v));
        }
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
}

// Light-weighted centre of what is brighter than the grey in the columns
// from 'left' up to 'right'.
Point LightCentre(const raster::Bitmap& frame, int left, int right) {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = left; x < right; ++x) {
            const double light = std::max(0, frame.row(y)[3 * x + 1] - 80);
            sum += light;
            sx += light * x;
            sy += light * y;
        }
    return sum > 0 ? Point{sx / sum, sy / sum} : Point{-1, -1};
}

// Faces found in frame 'index' of a built video (kLastFrame for the last),
// as the detector sees its grey.
motion::Subject FacesInVideoFrame(const std::string& video, int width, int height, int index) {
    const std::vector<uint8_t> luma = DecodeFrameLuma(video, width, height, index);
    if (luma.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return {};
    raster::Bitmap frame(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::fill_n(frame.row(y) + 3 * x, 3, luma[static_cast<size_t>(y) * width + x]);
    return subject::FindSubject(frame);
}

// The same in the left or right half of the frame.
Point SpotCentre(const raster::Bitmap& frame, bool right) {
    const int half = frame.width() / 2;
    return right ? LightCentre(frame, half, frame.width()) : LightCentre(frame, 0, half);
}

class MotionBuild : public BuildTest {
protected:
    void SetUp() override {
        BuildTest::SetUp();
        // VCD frames, a cut of 10 frames and a second's hold: 34 small
        // frames a picture on screen.
        show_.settings.VideoType = 0;
        show_.settings.EffectSpeed2 = 1;
        show_.settings.ImageInterval = 1;
        show_.settings.BackgroundColor = 0x0000FF;  // red: it must never show
        show_.settings.useeffects = model::StyleSet{};
    }

    std::string AddSpots(const std::string& name, int width, int height) {
        const std::string path = File(name);
        WriteSpots(path, width, height);
        show_.settings.Pictures.push_back(path);
        return path;
    }
};

TEST_F(MotionBuild, ZoomInSpreadsTheSpotsSteadilyAndSmoothly) {
    AddSpots("spots.png", 640, 480);
    show_.settings.Motion = MotionSetting{MotionKind::ZoomIn, 5};
    const std::vector<raster::Bitmap> frames = BuiltFrames();
    ASSERT_EQ(frames.size(), 34u);
    std::vector<double> apart;
    for (const raster::Bitmap& frame : frames)
        apart.push_back(SpotCentre(frame, true).x - SpotCentre(frame, false).x);
    // Half the frame apart at first, 1 / 0.75 of that at the end.
    EXPECT_NEAR(apart.front(), 160, 0.5);
    EXPECT_NEAR(apart.back(), 160 / 0.75, 0.5);
    for (size_t i = 1; i < apart.size(); ++i) {
        EXPECT_GE(apart[i], apart[i - 1]) << "frame " << i;
        // The step from one frame to the next changes by less than half a
        // pixel: no jerks, however slowly it starts and ends.
        if (i < 2) continue;
        EXPECT_LT(std::abs((apart[i] - apart[i - 1]) - (apart[i - 1] - apart[i - 2])), 0.5)
            << "frame " << i;
    }
}

TEST_F(MotionBuild, PansMoveThePictureAgainstTheWayTheViewGoes) {
    struct Case {
        MotionKind kind;
        double dx, dy;  // the way the spots move across the frame
    };
    const Case cases[] = {{MotionKind::PanLeft, +1, 0},
                          {MotionKind::PanRight, -1, 0},
                          {MotionKind::PanUp, 0, +1},
                          {MotionKind::PanDown, 0, -1}};
    AddSpots("spots.png", 640, 480);
    for (const Case& c : cases) {
        show_.settings.Motion = MotionSetting{c.kind, 3};
        const std::vector<raster::Bitmap> frames = BuiltFrames();
        ASSERT_EQ(frames.size(), 34u);
        const Point first = SpotCentre(frames.front(), false);
        const Point last = SpotCentre(frames.back(), false);
        const char* name = model::MotionKindInfo(c.kind).name;
        // 15% of the picture, magnified by the zoom that makes room.
        const double across = c.dx != 0 ? 0.15 * 320 / 0.85 : 0.15 * 288 / 0.85;
        EXPECT_NEAR(last.x - first.x, c.dx * across, 1) << name;
        EXPECT_NEAR(last.y - first.y, c.dy * across, 1) << name;
        for (size_t i = 1; i < frames.size(); ++i) {
            const Point a = SpotCentre(frames[i - 1], false), b = SpotCentre(frames[i], false);
            EXPECT_GE((b.x - a.x) * c.dx + (b.y - a.y) * c.dy, -1e-3) << name << " " << i;
        }
    }
}

TEST_F(MotionBuild, TheBackgroundNeverShowsAroundAMovingPicture) {
    // Wider, taller and smaller than the frame, at the widest travel.
    AddSpots("wide.png", 900, 400);
    AddSpots("tall.png", 300, 500);
    AddSpots("small.png", 120, 90);
    for (const MotionKind kind : {MotionKind::ZoomOut, MotionKind::PanLeft, MotionKind::PanDown}) {
        show_.settings.Motion = MotionSetting{kind, 5};
        const std::vector<raster::Bitmap> frames = BuiltFrames();
        ASSERT_EQ(frames.size(), 3 * 34u);
        for (size_t i = 0; i < frames.size(); ++i)
            for (int y = 0; y < frames[i].height(); ++y) {
                const uint8_t* row = frames[i].row(y);
                for (int x = 0; x < frames[i].width(); ++x)
                    ASSERT_LE(row[3 * x + 2], row[3 * x + 1] + 2)
                        << "red at " << x << "," << y << " of frame " << i << ", "
                        << model::MotionKindInfo(kind).name;
            }
    }
}

TEST_F(MotionBuild, APicturesOwnMotionOverridesTheShows) {
    const std::string still = AddSpots("still.png", 640, 480);
    const std::string moving = AddSpots("moving.png", 480, 360);
    // Nothing moves: the frames of today's build, the transition and the
    // complete picture of each.
    const std::vector<raster::Bitmap> plain = BuiltFrames();
    ASSERT_EQ(plain.size(), 2 * 11u);

    // The show zooms, but each picture has its own "none": the same frames.
    show_.settings.Motion = MotionSetting{MotionKind::ZoomIn, 4};
    model::SetOwnMotion(show_.notes, still, MotionSetting{});
    model::SetOwnMotion(show_.notes, moving, MotionSetting{});
    const std::vector<raster::Bitmap> overridden = BuiltFrames();
    ASSERT_EQ(overridden.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_TRUE(overridden[i].samePixels(plain[i])) << "frame " << i;

    // No motion for the show, a pan of its own for the second picture: the
    // first is built as before, the second moves left over all its frames.
    show_.settings.Motion = MotionSetting{};
    model::SetOwnMotion(show_.notes, moving, MotionSetting{MotionKind::PanRight, 2});
    const std::vector<raster::Bitmap> mixed = BuiltFrames();
    ASSERT_EQ(mixed.size(), 11u + 34u);
    for (size_t i = 0; i < 11; ++i) EXPECT_TRUE(mixed[i].samePixels(plain[i])) << "frame " << i;
    EXPECT_LT(SpotCentre(mixed.back(), false).x, SpotCentre(mixed[11], false).x - 10);
    // Given back to the show, the picture stands still again.
    model::SetOwnMotion(show_.notes, moving, std::nullopt);
    EXPECT_EQ(BuiltFrames().size(), plain.size());
}

// The point the user chose: a zoom in ends centred on it, the other spot
// gone from view, though the picture has no face and its middle lies
// between the spots.
TEST_F(MotionBuild, AZoomInEndsCentredOnTheUsersFocusPoint) {
    const std::string path = AddSpots("wide.png", 900, 400);
    show_.settings.Motion = MotionSetting{MotionKind::ZoomIn, 5};
    model::SetOwnFocus(show_.notes, path, model::FocusPoint{0.25, 0.5});
    const std::vector<raster::Bitmap> frames = BuiltFrames();
    ASSERT_EQ(frames.size(), 34u);
    const raster::Bitmap& last = frames.back();
    const Point spot = LightCentre(last, 0, last.width());
    EXPECT_NEAR(spot.x, last.width() / 2.0, 1);
    EXPECT_NEAR(spot.y, last.height() / 2.0, 1);
    // Without the point the zoom ends on the middle, between the spots.
    model::SetOwnFocus(show_.notes, path, std::nullopt);
    const raster::Bitmap plain = BuiltFrames().back();
    EXPECT_GT(std::abs(LightCentre(plain, 0, plain.width()).x - plain.width() / 2.0), 20);
}

// A real photograph, landscape, in a vertical MP4 frame: moving whole, the
// picture lies across the frame's width with the fill above and below, and
// the zoom in takes it no closer than the strength says, so the face keeps
// about its size on the still picture and stays in the frame throughout.
// Filling the frame would show the face some three times as large.
TEST_F(MotionBuild, ALandscapeMovesWholeInAVerticalVideoKeepingItsFace) {
    ASSERT_EQ(setenv("XDG_CACHE_HOME", dir_.path().c_str(), 1), 0);
    QImage astronaut(QString::fromStdString(PublicPhoto("astronaut.png")));
    ASSERT_FALSE(astronaut.isNull());
    const std::string path = File("astronaut-landscape.png");
    ASSERT_TRUE(astronaut.copy(0, 0, 512, 320).save(QString::fromStdString(path)));
    raster::Bitmap picture(512, 320);
    const QImage rgb = astronaut.copy(0, 0, 512, 320).convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 512; ++x) {
            const uint8_t* p = rgb.constScanLine(y) + 3 * x;
            uint8_t* q = picture.row(y) + 3 * x;
            q[0] = p[2], q[1] = p[1], q[2] = p[0];
        }
    const motion::Subject own = subject::FindSubject(picture);
    ASSERT_EQ(own.faces.size(), 1u);
    const double stillFace = own.faces[0].width * 720;  // the picture 720 wide

    show_.settings.Pictures.push_back(path);
    show_.settings.VideoType = 3;    // mp4-720p
    show_.settings.VideoAspect = 2;  // 9:16, 720 x 1280
    show_.settings.Back_Mode_Blurred = true;
    show_.settings.MotionFit = model::MotionFit::Auto;
    show_.settings.Motion = MotionSetting{MotionKind::ZoomIn, 5};
    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, BuildResult::Status::Completed) << result.message;
    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video);
    const int frames = static_cast<int>(info->video->packets);
    for (const int index : {12, frames / 3, 2 * frames / 3, kLastFrame}) {
        const motion::Subject found = FacesInVideoFrame(result.videoFile, 720, 1280, index);
        ASSERT_EQ(found.faces.size(), 1u) << "frame " << index;
        const motion::SubjectBox& face = found.faces[0];
        EXPECT_GE(face.x, 0.01) << "frame " << index;
        EXPECT_LE(face.right(), 0.99) << "frame " << index;
        const double width = face.width * 720;
        EXPECT_GT(width, 0.8 * stillFace) << "frame " << index;
        EXPECT_LT(width, 1.25 * stillFace / 0.75) << "frame " << index;
    }
    unsetenv("XDG_CACHE_HOME");
}

// A real portrait, square, in a 16:9 MP4 frame: a crop through the middle
// cuts the astronaut's face at the brow. Auto motion and an explicit zoom
// in keep it whole: the detector finds it in the decoded frames after the
// fade from black, in the middle and at the end, inside the frame. The subject is found during the
// build, the cache starting empty.
TEST_F(MotionBuild, FacesStayWholeInTheDecodedFramesOfAMovingPortrait) {
    ASSERT_EQ(setenv("XDG_CACHE_HOME", dir_.path().c_str(), 1), 0);
    show_.settings.VideoType = 3;  // 1280 x 720
    show_.settings.Pictures.push_back(PublicPhoto("astronaut.png"));
    for (const MotionKind kind : {MotionKind::Auto, MotionKind::ZoomIn}) {
        SCOPED_TRACE(model::MotionKindInfo(kind).name);
        show_.settings.Motion = MotionSetting{kind, 5};
        const BuildResult result = BuildShow();
        ASSERT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        const auto info = ProbeFile(result.videoFile);
        ASSERT_TRUE(info && info->video);
        const int frames = static_cast<int>(info->video->packets);
        for (const int index : {12, frames / 2, kLastFrame}) {
            const motion::Subject found = FacesInVideoFrame(result.videoFile, 1280, 720, index);
            ASSERT_EQ(found.faces.size(), 1u) << "frame " << index;
            const motion::SubjectBox& face = found.faces[0];
            EXPECT_GE(face.y, 0.02) << "frame " << index;
            EXPECT_LE(face.bottom(), 0.98) << "frame " << index;
        }
    }
    unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace video::test
