// The disc planner: which kind a name asks for and the names written, the
// chapter points, the volume label and the capacity check.
#include <gtest/gtest.h>

#include <cmath>

#include "disc/DiscPlan.h"

namespace disc {
namespace {

TEST(DiscPlan, OutputNamesChooseTheKindAndTheNamesWritten) {
    struct Case {
        const char* chosen;
        DiscKind kind;
        const char* written;
    };
    for (const Case& c : {
             Case{"show.mpg", DiscKind::Mpeg, "show.mpg"},
             Case{"show", DiscKind::Mpeg, "show"},
             Case{"show_dvd/", DiscKind::Mpeg, "show_dvd/"},
             Case{"show.ISO", DiscKind::Iso, "show.ISO"},
             Case{"show.cue", DiscKind::BinCue, "show.cue"},
             Case{"dir.x/show.Bin", DiscKind::BinCue, "dir.x/show.cue"},
         }) {
        EXPECT_EQ(KindOfOutputName(c.chosen), c.kind) << c.chosen;
        EXPECT_EQ(DiscOutputName(c.kind, c.chosen), c.written) << c.chosen;
    }
    // --disc names the kind whatever the name says.
    EXPECT_EQ(DiscOutputName(DiscKind::Iso, "show"), "show.iso");
    EXPECT_EQ(DiscOutputName(DiscKind::BinCue, "show"), "show.cue");
    EXPECT_EQ(DiscOutputName(DiscKind::Folder, "show.iso"), "show.iso");
    EXPECT_EQ(DiscOutputName(DiscKind::Folder, "a/b//"), "a/b");
    EXPECT_EQ(BinNameOfCue("x/show.cue"), "x/show.bin");

    EXPECT_EQ(ParseDiscKind("bincue"), DiscKind::BinCue);
    EXPECT_EQ(ParseDiscKind("mpeg"), DiscKind::Mpeg);
    EXPECT_FALSE(ParseDiscKind("ISO"));
    EXPECT_TRUE(CheckKindForFormat(DiscKind::Iso, 2));
    EXPECT_TRUE(CheckKindForFormat(DiscKind::BinCue, 1));
    EXPECT_TRUE(CheckKindForFormat(DiscKind::Mpeg, 0));
    EXPECT_FALSE(CheckKindForFormat(DiscKind::Folder, 0));
    EXPECT_FALSE(CheckKindForFormat(DiscKind::BinCue, 2));
}

TEST(DiscPlan, AChapterAtEveryPictureAtMost99SpreadEvenly) {
    // Pictures that the music cut off get no chapter.
    EXPECT_EQ(ChapterSeconds({0, 50, 100, 150}, 120, 25), (std::vector<double>{0, 2, 4}));
    EXPECT_EQ(ChapterSeconds({}, 10, 25), std::vector<double>{0});

    std::vector<int64_t> starts;
    for (int64_t i = 0; i < 300; ++i) starts.push_back(i * 30);
    const std::vector<double> chapters = ChapterSeconds(starts, 300 * 30, 30);
    ASSERT_EQ(chapters.size(), kMaxChapters);
    EXPECT_EQ(chapters.front(), 0);
    // Every chapter on a picture, the gaps within one picture of each other.
    double shortest = 1e9, longest = 0;
    for (size_t k = 1; k < chapters.size(); ++k) {
        EXPECT_EQ(chapters[k], std::floor(chapters[k])) << k;
        shortest = std::min(shortest, chapters[k] - chapters[k - 1]);
        longest = std::max(longest, chapters[k] - chapters[k - 1]);
    }
    EXPECT_LE(longest - shortest, 1.0);
    EXPECT_GE(chapters.back(), 290);
}

TEST(DiscPlan, VolumeLabelKeepsWhatADiscAllows) {
    EXPECT_EQ(VolumeLabel("Holiday 2024"), "HOLIDAY_2024");
    EXPECT_EQ(VolumeLabel("Ferien-Übersicht"), "FERIEN___BERSICHT");
    EXPECT_EQ(VolumeLabel(""), "SLIDESHOW");
    EXPECT_EQ(VolumeLabel("  "), "SLIDESHOW");
    EXPECT_EQ(VolumeLabel(std::string(40, 'a')), std::string(32, 'A'));
}

TEST(DiscPlan, CapacityNamesTheDiscTheShowNeeds) {
    struct Case {
        DiscKind kind;
        int videoType;
        double minutes;
        bool fits;
        const char* says;
    };
    for (const Case& c : {
             Case{DiscKind::BinCue, 0, 74, true, ""},
             Case{DiscKind::BinCue, 0, 90, false, "CD (700 MB)"},
             Case{DiscKind::BinCue, 1, 45, true, ""},
             Case{DiscKind::BinCue, 1, 60, false, "CD (700 MB)"},
             Case{DiscKind::Folder, 2, 90, true, ""},
             Case{DiscKind::Iso, 2, 120, false, "it needs a DVD-9 (8.5 GB)"},
             Case{DiscKind::Iso, 2, 240, false, "not fit even on a DVD-9"},
             Case{DiscKind::Mpeg, 2, 6000, true, ""},
         }) {
        const int64_t bytes = EstimatedVideoBytes(c.videoType, 0, c.minutes * 60);
        const CapacityCheck check = CheckCapacity(c.kind, c.videoType, bytes);
        EXPECT_EQ(check.fits, c.fits) << c.minutes << " min, " << bytes << " bytes";
        EXPECT_NE(check.message.find(c.says), std::string::npos) << check.message;
    }
    // The estimate follows the stream rates: 1150 + 224 kbit/s for VCD.
    EXPECT_NEAR(EstimatedVideoBytes(0, 1, 100), 1374000 / 8 * 100 * 1.03, 1);
    EXPECT_EQ(EstimatedVideoBytes(7, 0, 100), 0);
}

}  // namespace
}  // namespace disc
