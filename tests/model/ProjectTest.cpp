#include "model/Project.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include <chrono>
#include <future>

#include "model/FileIo.h"
#include "model/FileLimit.h"
#include "model/MediaPaths.h"
#include "model/ModelTestUtil.h"
#include "model/PerImage.h"
#include "model/RecentProjects.h"
#include "model/WorkingState.h"

namespace {

using model::IniFile;
using model::ProjectError;
using model_test::ReadText;
using model_test::WriteText;
using Paths = std::vector<std::string>;

TEST(ProjectNameTest, AppendsTheExtensionUnlessTheNameHoldsIt) {
    EXPECT_EQ(model::ProjectFileName("/home/u/holiday"), "/home/u/holiday.dvprj");
    EXPECT_EQ(model::ProjectFileName("/home/u/HOLIDAY.DVPRJ"), "/home/u/HOLIDAY.DVPRJ");
    EXPECT_EQ(model::ProjectFileName("/home/u/my.dvprj.old"), "/home/u/my.dvprj.old");
    EXPECT_EQ(model::ProjectFileName("/home/u/a.dvpr"), "/home/u/a.dvpr.dvprj");
}

TEST(ProjectTextTest, RefusesWhatCannotBeAProject) {
    EXPECT_TRUE(model::CheckProjectText("[Set]\nVideoType=1\n[Pictures]\n; note\n").ok());
    // Saved by an editor that marks UTF-8, as the store itself reads it.
    EXPECT_TRUE(model::CheckProjectText("\xEF\xBB\xBF[Set]\r\nVideoType=1\r\n").ok());
    EXPECT_TRUE(model::CheckProjectText("[Set]\n\"/p/a=b.jpg\"=1\n").ok());
    for (const char* bad :
         {"", "  \n\n", "[Set]\nVideoType=1\n[Pictures]\n/a.jpg=", "[Pictures]\n/a.jpg=1\n",
          "VideoType=1\n[Set]\n", "[Set]\nthis is prose\n", "<html>\n<body>\n"}) {
        EXPECT_FALSE(model::CheckProjectText(bad).ok()) << bad;
    }
    EXPECT_FALSE(model::CheckProjectText(std::string("[Set]\nA=\x01\x02\0\n", 12)).ok());
    // A format, aspect, shape, quality or rate of a later version is refused by name.
    EXPECT_TRUE(model::CheckProjectText("[Set]\nVideoFormat=mp4-4k\nVideoAspect=4:3\n").ok());
    for (const auto& [text, name] :
         {std::pair{"[Set]\nVideoType=6\nVideoFormat=mp4-8k\n", "video format \"mp4-8k\""},
          {"[Set]\nVideoAspect=21:9\n", "aspect \"21:9\""},
          {"[Set]\nDvdAspect=9:16\n", "DVD aspect \"9:16\""},
          {"[Set]\nVideoQuality=best\n", "quality \"best\""},
          {"[Set]\nVideoShape=2:1\n", "shape \"2:1\""},
          {"[Set]\nVideoRate=120\n", "frame rate \"120\""}}) {
        const base::Status checked = model::CheckProjectText(text);
        ASSERT_FALSE(checked.ok()) << text;
        EXPECT_NE(checked.message().find(name), std::string::npos) << checked.message();
    }
}

// The working state of a window, as the window would hold it.
class ProjectTest : public model_test::ShowFolderTest {
protected:
    void SetUp() override {
        ShowFolderTest::SetUp();
        WriteText(Path("VantoSaver.001"), "[Wipes]\nLeft=5\nRight=6\n[Push]\nUp=134\n");
        hooks_.collectSettings = [this](bool write) {
            try {
                model::CollectWorkingState(images_, music_, &tree_, write, model::OptionsStore(),
                                           show_);
            } catch (...) {
                // The window's collect step ends silently on any error.
            }
        };
        hooks_.showLoaded = [this](model::Show show) {
            show_ = std::move(show);
            images_.FillFromStore(model::OptionsStore());
            music_.FillFromStore(model::OptionsStore());
            ++refreshes_;
        };
        hooks_.effectTree = &tree_;
    }

    std::string Picture(const std::string& name) {
        const std::string path = Path(name);
        WriteText(path, "picture");
        return path;
    }

    // A first session: one picture, settings saved, as after a normal exit.
    void StartWithSavedState() {
        model::OpenOptionsStore();
        hooks_.showLoaded(model::LoadShow(model::OptionsStore()));
        model::BuildEffectTree(tree_, show_.settings.useeffects);
        images_.Append({Picture("old.jpg"), true});
        show_.settings.VideoType = 0;
        hooks_.collectSettings(true);
        ASSERT_TRUE(model::SaveWorkingShow(show_));
    }

    model::ImageList images_;
    model::MusicList music_;
    model::EffectTree tree_;
    model::ProjectHooks hooks_;
    int refreshes_ = 0;
};

// Save As writes the whole state into the project and leaves the working
// state standing for it, with every per-picture edit: a restart shows what
// was saved, and the project file never carries the working note.
TEST_F(ProjectTest, SaveAsWritesTheProjectAndTheWorkingStateStandsForIt) {
    StartWithSavedState();
    images_.Append({Picture("new.jpg"), false});
    tree_.SetCategoryChecked(1, false);
    show_.notes.WriteString("captions", "new.jpg", "Harbour at dusk");
    show_.settings.VideoType = 1;
    show_.settings.ImageInterval = 7;
    model::WriteWorkingProject(model::OptionsStore(), {"", true});

    const std::string project = model::SaveProject1Click(Path("holiday"), hooks_);
    EXPECT_EQ(project, Path("holiday.dvprj"));
    EXPECT_FALSE(model::FileExists(Path("options.dat.bak")));

    for (const std::string& file : {project, Path("options.dat")}) {
        SCOPED_TRACE(file);
        const IniFile saved(file);
        EXPECT_EQ(saved.ReadSection("Pictures"), (Paths{Path("old.jpg"), Path("new.jpg")}));
        EXPECT_EQ(saved.ReadString("Pictures", Path("new.jpg"), ""), "0");
        EXPECT_EQ(saved.ReadString("captions", "new.jpg", ""), "Harbour at dusk");
        EXPECT_EQ(saved.ReadString("set", "useeffects", ""), "5,6,");
        EXPECT_EQ(saved.ReadInteger("Set", "VideoType", -1), 1);
        EXPECT_EQ(saved.ReadInteger("Set", "ImageInterval", -1), 7);
    }
    EXPECT_FALSE(IniFile(project).SectionExists("Working"));
    const model::WorkingProject working = model::ReadWorkingProject(IniFile(Path("options.dat")));
    EXPECT_EQ(working.file, project);
    EXPECT_FALSE(working.unsaved);

    // Loading it elsewhere names the file it came from, nothing unsaved.
    model::WriteWorkingProject(model::OptionsStore(), {Path("other.dvprj"), true});
    model::LoadProject1Click(project, hooks_);
    EXPECT_EQ(model::ReadWorkingProject(model::OptionsStore()).file, project);
    EXPECT_FALSE(model::ReadWorkingProject(model::OptionsStore()).unsaved);
    EXPECT_EQ(show_.CaptionOf(Path("new.jpg")), "Harbour at dusk");
}

// File names and captions may hold control characters (a pasted caption, a
// picture named on another system); a project saved with them loads again.
TEST_F(ProjectTest, ProjectWithControlCharactersInNamesAndCaptionsLoadsAgain) {
    StartWithSavedState();
    const std::string odd = Picture("odd\x1b\x7f.jpg");
    images_.Append({odd, true});
    show_.notes.WriteString("captions", model::ImageKey(odd), "bell\x07 and tab\tend");
    show_.notes.WriteString("captions", "old.jpg", std::string("zero\0byte", 9));
    const std::string project = model::SaveProject1Click(Path("odd"), hooks_);

    model::LoadProject1Click(project, hooks_);
    EXPECT_EQ(model::OptionsStore().ReadSection("Pictures"), (Paths{Path("old.jpg"), odd}));
    EXPECT_EQ(show_.CaptionOf(odd), "bell\x07 and tab\tend");
    EXPECT_EQ(show_.CaptionOf(Path("old.jpg")), "zero byte");
}

TEST_F(ProjectTest, ASaveAsThatCannotBeWrittenLeavesNoProjectAndNamesIt) {
    StartWithSavedState();
    const std::string before = ReadText(Path("options.dat"));
    images_.Append({Picture("new.jpg"), true});
    EXPECT_THROW(model::SaveProject1Click(Path("no-such-folder/show"), hooks_), ProjectError);
    // The working state keeps the show, and does not claim it was saved.
    EXPECT_EQ(IniFile(Path("options.dat")).ReadSection("Pictures").size(), 2u);
    EXPECT_TRUE(model::ReadWorkingProject(IniFile(Path("options.dat"))).file.empty());

    for (int i = 0; i < 100; ++i) images_.Append({Picture("p" + std::to_string(i) + ".jpg"), true});
    try {
        model_test::FileSizeLimit diskFull(before.size() + 10);
        model::SaveProject1Click(Path("big.dvprj"), hooks_);
        FAIL() << "the save should fail";
    } catch (const ProjectError& error) {
        EXPECT_NE(std::string(error.what()).find(Path("big.dvprj")), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(model::FileExists(Path("big.dvprj")));
    EXPECT_EQ(IniFile(Path("options.dat")).ReadSection("Pictures").size(), 2u);
}

TEST_F(ProjectTest, SaveProjectWritesTheWorkingStateOrNamesTheFailure) {
    StartWithSavedState();
    images_.Append({Picture("new.jpg"), true});
    show_.settings.MusicSync = 2;
    model::Save1Click(hooks_);
    const IniFile saved(Path("options.dat"));
    EXPECT_EQ(saved.ReadSection("Pictures").size(), 2u);
    EXPECT_EQ(saved.ReadInteger("Set", "MusicSync", -1), 2);

    // A named project receives the same state; one that cannot be written
    // is named in the failure, and the working state is written all the same.
    show_.settings.MusicSync = 1;
    model::Save1Click(hooks_, Path("show.dvprj"));
    IniFile working(Path("options.dat"));
    working.EraseSection("Working");
    EXPECT_EQ(ReadText(Path("show.dvprj")), working.Text());
    show_.settings.MusicSync = 0;
    try {
        model::Save1Click(hooks_, Path("no-such-folder/show.dvprj"));
        FAIL() << "the save should fail";
    } catch (const ProjectError& error) {
        EXPECT_NE(std::string(error.what()).find(Path("no-such-folder/show.dvprj")),
                  std::string::npos);
    }
    EXPECT_EQ(IniFile(Path("options.dat")).ReadInteger("Set", "MusicSync", -1), 0);

    for (int i = 0; i < 100; ++i) images_.Append({Picture("p" + std::to_string(i) + ".jpg"), true});
    model_test::FileSizeLimit diskFull(ReadText(Path("options.dat")).size() + 10);
    try {
        model::Save1Click(hooks_);
        FAIL() << "the save should fail";
    } catch (const ProjectError& error) {
        EXPECT_NE(std::string(error.what()).find(Path("options.dat")), std::string::npos);
    }
}

TEST_F(ProjectTest, LoadedProjectDropsEntriesMissingOnThisMachineAtTheNextWrite) {
    StartWithSavedState();
    const std::string here = Picture("here.jpg");
    WriteText(Path("other.dvprj"),
              "[Set]\nVideoType=1\nuseeffects=134,\n[Pictures]\n"
              "/elsewhere/a.jpg=1\n" +
                  here +
                  "=1\n/elsewhere/folder/=1\n"
                  "[Music]\n/elsewhere/song.mp3=1\n"
                  "[Mp3Length]\n/elsewhere/song.mp3=200000\n");
    const int refreshesBefore = refreshes_;
    model::LoadProject1Click(Path("other.dvprj"), hooks_);
    EXPECT_EQ(refreshes_, refreshesBefore + 1);
    EXPECT_EQ(show_.settings.VideoType, 1);
    EXPECT_EQ(show_.settings.Pictures, Paths{here});
    EXPECT_TRUE(show_.settings.Music.empty());
    EXPECT_EQ(images_.Count(), 3u);  // still shown as stored

    // The tree was rebuilt from the loaded selection at once.
    EXPECT_EQ(model::StyleListText(tree_), "134,");
    hooks_.collectSettings(true);
    const IniFile written(Path("options.dat"));
    EXPECT_EQ(written.ReadSection("Pictures"), Paths{here});
    EXPECT_TRUE(written.ReadSection("Music").empty());
    EXPECT_EQ(written.ReadString("set", "useeffects", ""), "134,");
    EXPECT_EQ(model::StyleSetText(show_.settings.useeffects), "134,");
}

TEST_F(ProjectTest, GarbledProjectIsRefusedAndTheStateStaysAsItWas) {
    StartWithSavedState();
    // Collected but not written: the store differs from the file.
    show_.notes.WriteString("captions", "old.jpg", "unsaved caption");
    hooks_.collectSettings(false);
    const std::string before = ReadText(Path("options.dat"));
    const std::string storeBefore = model::OptionsStore().Text();
    const std::string treeBefore = model::TreeStateText(tree_);

    const std::string full = ReadText(Path("options.dat"));
    WriteText(Path("cut.dvprj"), full.substr(0, full.size() - 3));
    WriteText(Path("empty.dvprj"), "");
    WriteText(Path("photo.dvprj"), std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11));
    WriteText(Path("notes.dvprj"), "Shopping list\nmilk\n");
    WriteText(Path("huge.dvprj"), full);
    QFile(QString::fromStdString(Path("huge.dvprj"))).resize(qint64{1} << 30);  // sparse
    for (const char* name : {"cut.dvprj", "empty.dvprj", "photo.dvprj", "notes.dvprj",
                             "missing.dvprj", "huge.dvprj"}) {
        try {
            model::LoadProject1Click(Path(name), hooks_);
            ADD_FAILURE() << name << " was accepted";
        } catch (const ProjectError& error) {
            EXPECT_NE(std::string(error.what()).find(Path(name)), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(ReadText(Path("options.dat")), before);
        EXPECT_EQ(model::OptionsStore().Text(), storeBefore);
        EXPECT_EQ(model::TreeStateText(tree_), treeBefore);
        EXPECT_EQ(show_.settings.VideoType, 0);
        EXPECT_EQ(show_.CaptionOf(Path("old.jpg")), "unsaved caption");
    }
    EXPECT_EQ(refreshes_, 1);
}

TEST_F(ProjectTest, NamedPipeChosenAsProjectIsRefusedWithoutWaiting) {
    StartWithSavedState();
    const std::string before = ReadText(Path("options.dat"));
    const std::string pipe = Path("pipe.dvprj");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    auto loading = std::async(std::launch::async, [&] { return model::ReadWholeFile(pipe); });
    // Waiting is only the fallback: a refusal comes back at once.
    if (loading.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
        loading.wait();
        FAIL() << "reading a named pipe waited for a writer";
    }
    EXPECT_THROW(loading.get(), model::FileError);
    EXPECT_THROW(model::LoadProject1Click(pipe, hooks_), ProjectError);
    EXPECT_EQ(ReadText(Path("options.dat")), before);
}

}  // namespace

namespace {

TEST_F(ProjectTest, RecentProjectsKeepTheNewestEightOnceEachApartFromTheWorkingState) {
    EXPECT_TRUE(model::RecentProjects().empty());
    EXPECT_EQ(model::LastFolder("Project"), "");
    for (int i = 1; i <= 10; ++i) model::NoteRecentProject(Path("shows/show" + std::to_string(i)));
    model::NoteRecentProject(Path("shows/show5"));  // again: moves to the front
    const Paths expected = {Path("shows/show5"), Path("shows/show10"), Path("shows/show9"),
                            Path("shows/show8"), Path("shows/show7"),  Path("shows/show6"),
                            Path("shows/show4"), Path("shows/show3")};
    EXPECT_EQ(model::RecentProjects(), expected);
    EXPECT_EQ(model::LastFolder("Project"), Path("shows"));

    model::ForgetRecentProject(Path("shows/show10"));
    EXPECT_EQ(model::RecentProjects().size(), 7u);
    EXPECT_EQ(model::RecentProjects()[1], Path("shows/show9"));

    // Loading a project replaces the working store whole; the list stays.
    model::NoteLastFolder("Video", Path("videos"));
    WriteText(Path("other.dvprj"), "[Set]\nVideoType=0\n");
    model::LoadProject1Click(Path("other.dvprj"), {});
    EXPECT_EQ(model::RecentProjects().size(), 7u);
    EXPECT_EQ(model::LastFolder("Video"), Path("videos"));
    EXPECT_EQ(ReadText(model::OptionsFileName()).find("show5"), std::string::npos);
}

}  // namespace
