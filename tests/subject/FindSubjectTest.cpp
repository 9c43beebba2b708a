// The detectors on real photographs: the astronaut's face is found where it
// is, a photograph without people gets a salient region and no face, and
// what cannot be read is a fault rather than a crash.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "PublicPhotos.h"
#include "imaging/PictureLoader.h"
#include "subject/FindSubject.h"

namespace subject {
namespace {

// The astronaut's face lies within this part of her portrait (measured by
// eye on the 512x512 photograph: brow at 60, chin at 175, cheeks at 170 and
// 260 pixels).
constexpr motion::SubjectBox kAstronautFace{0.30, 0.09, 0.24, 0.27};

bool Inside(double x, double y, const motion::SubjectBox& box) {
    return x >= box.x && x <= box.right() && y >= box.y && y <= box.bottom();
}

TEST(FindSubjectTest, FindsTheFaceOfARealPortraitAndNoneInAPictureWithoutPeople) {
    const base::Result<motion::Subject> astronaut = DetectSubject(PublicPhoto("astronaut.png"));
    ASSERT_TRUE(astronaut) << astronaut.message();
    ASSERT_EQ(astronaut->faces.size(), 1u);
    const motion::SubjectBox& face = astronaut->faces[0];
    EXPECT_TRUE(Inside(face.x + face.width / 2, face.y + face.height / 2, kAstronautFace))
        << face.x << "," << face.y << " " << face.width << "x" << face.height;
    EXPECT_GT(face.width, 0.08);
    EXPECT_LT(face.width, 0.4);
    EXPECT_FALSE(astronaut->salient);  // faces first: no second search

    // The same portrait decoded at another size gives the same box, in shares.
    const raster::Bitmap small =
        imaging::LoadPictureShrunk(PublicPhoto("astronaut.png"), 400, 400, 0);
    const motion::Subject again = FindSubject(small);
    ASSERT_EQ(again.faces.size(), 1u);
    EXPECT_NEAR(again.faces[0].x + again.faces[0].width / 2, face.x + face.width / 2, 0.03);

    // A photograph without people, and the sample show's fractal, in which
    // the detector at its own threshold sees a face.
    for (const std::string& path : {PublicPhoto("rocket.jpg"), std::string("sample/show01.jpg")}) {
        const base::Result<motion::Subject> scenery = DetectSubject(path);
        ASSERT_TRUE(scenery) << scenery.message();
        EXPECT_TRUE(scenery->faces.empty()) << path;
        ASSERT_TRUE(scenery->salient) << path;
        EXPECT_GT(scenery->salient->width, 0);
        EXPECT_LE(scenery->salient->right(), 1.0);
    }
}

TEST(FindSubjectTest, WhatCannotBeReadIsAFaultAndAnEmptyPictureNoSubject) {
    QTemporaryDir dir;
    const std::string text = dir.filePath("notes.jpg").toStdString();
    std::ofstream(text) << "not a picture";
    EXPECT_FALSE(DetectSubject(text));
    EXPECT_FALSE(DetectSubject(dir.filePath("missing.png").toStdString()));
    EXPECT_TRUE(FindSubject(raster::Bitmap()).empty());
    // Nothing to find in a flat picture, and no crash on one pixel.
    EXPECT_TRUE(FindSubject(raster::Bitmap(1, 1)).faces.empty());
    EXPECT_TRUE(FindSubject(raster::Bitmap(640, 480)).faces.empty());
}

}  // namespace
}  // namespace subject
