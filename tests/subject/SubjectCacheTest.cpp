// The cache of subjects: what is written reads back, a changed picture is a
// new name, and a file that was not written whole by us is a miss.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "subject/SubjectCache.h"

namespace subject {
namespace {

const motion::Subject kTwoFaces{
    {{0.25, 0.125, 0.1, 0.15}, {0.5, 0.2, 0.125, 0.2}}, std::nullopt, std::nullopt};
const motion::Subject kScenery{{}, motion::SubjectBox{0.6, 0.1, 0.4, 0.3}, std::nullopt};

TEST(SubjectCacheTest, WhatIsWrittenReadsBackUntilThePictureChanges) {
    QTemporaryDir dir;
    const std::string folder = dir.filePath("cache/subjects").toStdString();
    const std::string picture = dir.filePath("photo.jpg").toStdString();
    std::ofstream(picture) << "first";
    EXPECT_FALSE(ReadCachedSubject(folder, picture));
    ASSERT_TRUE(WriteCachedSubject(folder, picture, kTwoFaces));
    EXPECT_EQ(ReadCachedSubject(folder, picture), kTwoFaces);
    ASSERT_TRUE(WriteCachedSubject(folder, picture, kScenery));
    EXPECT_EQ(ReadCachedSubject(folder, picture), kScenery);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);  // replaced in place, no temporary left behind

    // Another size or time is another picture.
    const std::string before = SubjectCacheName(folder, picture);
    std::ofstream(picture) << "second";
    EXPECT_NE(SubjectCacheName(folder, picture), before);
    EXPECT_FALSE(ReadCachedSubject(folder, picture));
    const std::string sameSize = SubjectCacheName(folder, picture);
    std::filesystem::last_write_time(
        picture, std::filesystem::last_write_time(picture) - std::chrono::hours(1));
    EXPECT_NE(SubjectCacheName(folder, picture), sameSize);
    EXPECT_EQ(SubjectCacheName(folder, dir.filePath("gone.jpg").toStdString()), "");
}

TEST(SubjectCacheTest, OnlyWholeWellFormedFilesAreRead) {
    const std::string good = SubjectText(kTwoFaces);
    EXPECT_EQ(ParseSubjectText(good), kTwoFaces);
    EXPECT_EQ(ParseSubjectText(SubjectText(kScenery)), kScenery);
    EXPECT_EQ(ParseSubjectText(SubjectText(motion::Subject{})), motion::Subject{});
    const std::string header = "vanto-subject 1\n";
    std::string tooMany = header;
    for (size_t i = 0; i <= kMaxCachedFaces; ++i) tooMany += "face 0.1 0.1 0.1 0.1\n";
    tooMany += "end\n";
    const std::string bad[] = {
        "",
        good.substr(0, good.size() - 1),             // cut off before the last newline
        good.substr(0, good.size() - 4),             // without its end
        good + "face 0.1 0.1 0.1 0.1\n",             // after its end
        "vanto-subject 2\nend\n",                    // another layout
        header + "face 0.1 0.1 0.1\nend\n",          // three numbers
        header + "face 0.1 0.1 0.1 0.1 0.1\nend\n",  // five
        header + "face 0.1 0.1 0 0.1\nend\n",        // empty box
        header + "face 0.9 0.1 0.2 0.1\nend\n",      // past the edge
        header + "face -0.1 0.1 0.2 0.1\nend\n",
        header + "face nan 0.1 0.2 0.1\nend\n",
        header + "face 1e-3 0.1 0.2 0.1\nend\n",  // not the written form
        header + "face  0.1 0.1 0.2 0.1\nend\n",
        header + "salient 0.1 0.1 0.2 0.1\nsalient 0.1 0.1 0.2 0.1\nend\n",
        header + "focus 0.5 0.5\nend\n",
        tooMany,
        header + std::string(kMaxCacheFileBytes, '\n') + "end\n",
    };
    for (const std::string& text : bad) EXPECT_FALSE(ParseSubjectText(text)) << text;
}

}  // namespace
}  // namespace subject
