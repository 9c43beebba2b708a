// Saves of the working state and of projects cut short by a kill, a full
// disk or a folder that turns read-only: the files keep their old content
// or take the new one whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "CrashSafety.h"
#include "model/FileIo.h"
#include "model/ModelTestUtil.h"
#include "model/Project.h"
#include "model/Settings.h"

namespace {

using crash_safety::Save;

// Big enough that writing the store takes a while to cut into.
std::string Bulk(char fill, int kilobytes) {
    std::string text;
    for (int key = 0; key < kilobytes / 64; ++key)
        text += "k" + std::to_string(key) + "=" + std::string(64 * 1024, fill) + "\n";
    return text;
}

class CrashSafeSaveTest : public model_test::ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        options_ = model::OptionsFileName();
        oldOptions_ = "[Settings]\nImageInterval=7\n[Old]\n" + Bulk('o', 2048);
        model::WriteFileAtomically(options_, oldOptions_);
        for (int key = 0; key < 96; ++key)
            model::OptionsStore().WriteString("New", "k" + std::to_string(key),
                                              std::string(64 * 1024, 'n'));
        model::Save1Click({});
        newOptions_ = *crash_safety::ReadBytes(options_);
    }

    Save WorkingStateSave() const {
        Save save;
        save.files = {{options_, oldOptions_, newOptions_}};
        save.reset = [this] { Restore(options_, oldOptions_); };
        save.save = [] { model::Save1Click({}); };
        return save;
    }

    Save ProjectSave() const {
        const std::string project = Path("show.dvprj");
        const std::string oldProject = "[Settings]\nImageInterval=9\n" + Bulk('p', 1024);
        Save save;
        // The project takes the working state, which then notes that it
        // stands for the project; both whole at every moment.
        model::IniFile noted;
        noted.SetText(newOptions_);
        model::WriteWorkingProject(noted, {project, false});
        save.files = {{project, oldProject, newOptions_}, {options_, oldOptions_, noted.Text()}};
        save.reset = [this, project, oldProject] {
            Restore(project, oldProject);
            Restore(options_, oldOptions_);
        };
        save.save = [project] { model::SaveProject1Click(project, {}); };
        return save;
    }

    // Writable by anyone, for the child that sheds root's rights.
    static void Restore(const std::string& path, const std::string& bytes) {
        crash_safety::WriteBytes(path, bytes);
        chmod(path.c_str(), 0666);
    }

    std::string options_, oldOptions_, newOptions_;
};

TEST_F(CrashSafeSaveTest, KilledSavesLeaveOldOrNewFilesWhole) {
    for (const Save& save : {WorkingStateSave(), ProjectSave()}) {
        SCOPED_TRACE(save.files.front().path);
        EXPECT_GT(crash_safety::KillAtManyPoints(save), 0) << "no kill landed during a save";
    }
}

TEST_F(CrashSafeSaveTest, SavesOnAFullDiskFailAndKeepTheOldFiles) {
    for (const Save& save : {WorkingStateSave(), ProjectSave()}) {
        SCOPED_TRACE(save.files.front().path);
        crash_safety::SaveOnFullDisk(save, 1024 * 1024);
    }
}

TEST_F(CrashSafeSaveTest, FolderTurningReadOnlyLeavesOldOrNewFilesWhole) {
    if (!crash_safety::CanDropWriteRights())
        GTEST_SKIP() << "cannot run a child without root's rights";
    chmod(dir_.c_str(), 0777);
    for (const Save& save : {WorkingStateSave(), ProjectSave()}) {
        SCOPED_TRACE(save.files.front().path);
        EXPECT_GT(crash_safety::FolderTurnsReadOnly(save, dir_), 0)
            << "the folder never turned read-only before a save ended";
    }
}

}  // namespace
