// The music service when the decoder library cannot be found: this program
// is built into a folder of its own, away from libmpegdll.so.
#include <gtest/gtest.h>

#include "base/Swallow.h"
#include "model/IniFile.h"
#include "music/MPEGError.h"
#include "music/MusicLength.h"
#include "music/MusicService.h"
#include "music/MusicTestUtil.h"

namespace music {
namespace {

TEST(MusicServiceWithoutLibrary, NoLengthIsMeasuredAndNothingPlays) {
    const auto mp3 = testing::MakeMp3("song.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    ASSERT_FALSE(mp3.path.isEmpty());
    const base::Result<int32_t> length = GetMusicLength(mp3.path);
    ASSERT_FALSE(length.ok());
    EXPECT_NE(length.message().find("MP3"), std::string::npos) << length.message();
    EXPECT_FALSE(GetMusicLength(mp3.path).ok());

    TMPEGPlayer& player = SharedPlayer();
    EXPECT_FALSE(player.Loaded());
    base::IgnoreFault("no sound card here", PlayMusicFile(mp3.path));
    EXPECT_FALSE(player.Playing());
    StopMusic(false);
    EXPECT_FALSE(player.Opened());
    try {
        player.Open();
        ADD_FAILURE() << "opened without a library";
    } catch (const TMPEGError& error) {
        EXPECT_STREQ(error.what(), "MPEG library not loaded");
        EXPECT_EQ(error.ErrorCode(), 0);
    }
    StopMusic(true);
    EXPECT_EQ(SharedPlayerIfAny(), nullptr);
}

TEST(MusicServiceWithoutLibrary, TheLengthPassMarksEveryNewRowUnmeasurable) {
    const auto mp3 = testing::MakeMp3("listed.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    model::MusicList list;
    model::TMusicEntry row;
    row.Path = mp3.path.toStdString();
    list.Append(row);
    list.Append(row);
    EXPECT_EQ(MeasureMusicLengths(list), 2);
    for (const model::TMusicEntry& row : list.Entries()) {
        EXPECT_EQ(row.LengthMs, "-1");
        EXPECT_EQ(row.LengthText, "0:00:00");
    }
    // The show takes none of them.
    std::vector<std::string> show;
    model::IniFile store;
    list.CollectInto(show, store);
    EXPECT_TRUE(show.empty());
}

}  // namespace
}  // namespace music
