// The video's final copy to the chosen name cut short by a kill, a full disk
// or a folder that turns read-only: the chosen file keeps the video it held
// or takes the new one whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include <stdexcept>
#include <string>

#include "CrashSafety.h"
#include "showbuild/BuildDriver.h"

namespace {

class CrashSafeCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        dir_ = folder_.path().toStdString();
        const std::string built = dir_ + "/built.mpg";
        const std::string chosen = dir_ + "/show.mpg";
        // Sizes of a short video; the copy must take a while to cut into.
        const std::string oldVideo(3 << 20, 'o');
        std::string newVideo(24 << 20, 'n');
        newVideo.replace(0, 4, "\x00\x00\x01\xba", 4);
        crash_safety::WriteBytes(built, newVideo);
        save_.files = {{chosen, oldVideo, newVideo}};
        save_.reset = [chosen, oldVideo] {
            crash_safety::WriteBytes(chosen, oldVideo);
            chmod(chosen.c_str(), 0666);
        };
        save_.save = [built, chosen] {
            const base::Status copied = video::CopyFileWhole(built, chosen);
            if (!copied) throw std::runtime_error(copied.message());
        };
    }

    QTemporaryDir folder_;
    std::string dir_;
    crash_safety::Save save_;
};

TEST_F(CrashSafeCopyTest, KilledCopyLeavesTheOldOrTheNewVideo) {
    EXPECT_GT(crash_safety::KillAtManyPoints(save_), 0) << "no kill landed during the copy";
}

TEST_F(CrashSafeCopyTest, CopyOnAFullDiskFailsAndKeepsTheOldVideo) {
    crash_safety::SaveOnFullDisk(save_, 8 << 20);
}

TEST_F(CrashSafeCopyTest, FolderTurningReadOnlyLeavesTheOldOrTheNewVideo) {
    if (!crash_safety::CanDropWriteRights())
        GTEST_SKIP() << "cannot run a child without root's rights";
    chmod(dir_.c_str(), 0777);
    chmod((dir_ + "/built.mpg").c_str(), 0644);
    EXPECT_GT(crash_safety::FolderTurnsReadOnly(save_, dir_), 0)
        << "the folder never turned read-only before the copy ended";
}

}  // namespace
