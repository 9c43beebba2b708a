// Work the window must never lose: changes not saved into the project are
// asked about before a command throws them away, the working state keeps
// naming its project across restarts, and per-picture edits survive every
// sequence of save, exit and restart.
#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>

#include "AppTestUtil.h"
#include "app/ImageForm.h"
#include "app/MediaListModels.h"
#include "model/FileIo.h"
#include "model/IniFile.h"
#include "model/PerImage.h"
#include "model/Project.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"

namespace app_test {
namespace {

using Choice = app::UserDialogs::SaveChoice;

class UnsavedChangesTest : public WindowTest {
protected:
    QAction* Action(const char* name) {
        auto* action = Window().findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    void AddPictures(const QStringList& paths) {
        dialogs_.pictureFiles = {paths};
        Click("addimagefile1");
    }
    // A saved project "holiday.dvprj" of one picture, loaded, with a second
    // picture added since.
    void OpenChangedProject() {
        a_ = MakePicture("a.jpg");
        b_ = MakePicture("b.jpg");
        project_ = MakeFile("holiday.dvprj", ("[Set]\n[Pictures]\n" + a_ + "=1\n").toUtf8());
        ASSERT_TRUE(Window().OpenProject(project_));
        AddPictures({b_});
        ASSERT_TRUE(Window().isWindowModified());
    }
    size_t Shown() { return Window().Images().List().Count(); }
    std::string ProjectText() { return model::ReadWholeFile(project_.toStdString()); }
    // The per-image dialog's caption of the first row, after the script ran on it.
    QString EditCaptions(const std::function<void(app::TImageForm&)>& script) {
        QString first;
        dialogs_.onModal = [&](QDialog& dialog) {
            auto& form = *qobject_cast<app::TImageForm*>(&dialog);
            script(form);
            first = form.Grid().item(0, app::TImageForm::kCaptionColumn)->text();
        };
        Click("customize1");
        return first;
    }
    static void SetCaption(app::TImageForm& form, const QString& caption) {
        form.Grid().item(0, app::TImageForm::kCaptionColumn)->setText(caption);
        form.findChild<QAbstractButton*>(QStringLiteral("ok1"))->click();
    }

    QString a_, b_, project_;
};

// Every command that would throw the changes away asks; Cancel leaves the
// show, the title and the files as they were.
TEST_F(UnsavedChangesTest, EveryCommandThatWouldLoseChangesAsksAndCancelKeepsThem) {
    const QString other = MakeFile("other.dvprj", "[Set]\n[Pictures]\n");
    const struct {
        const char* command;
        std::function<void()> run;
    } commands[] = {
        {"New Project", [this] { Action("NewProject1")->trigger(); }},
        {"Load Project",
         [this, &other] {
             dialogs_.projectNames = {other};
             Action("LoadProject1")->trigger();
         }},
        {"Recent Projects",
         [this, &other] {
             model::NoteRecentProject(other.toStdString());
             auto* recent = Window().findChild<QMenu*>(QStringLiteral("RecentProjects1"));
             emit recent->aboutToShow();
             recent->actions().first()->trigger();
         }},
        {"project named on the command line", [this, &other] { Window().OfferProject(other); }},
        {"title-bar close", [this] { Window().close(); }},
        {"Save and Exit", [this] { Action("SaveandExit1")->trigger(); }},
        {"Undo and Exit", [this] { Action("UndoandExit1")->trigger(); }},
    };
    OpenChangedProject();
    Window().show();
    const std::string saved = ProjectText();
    for (const auto& command : commands) {
        SCOPED_TRACE(command.command);
        dialogs_.questions.clear();
        command.run();
        EXPECT_EQ(dialogs_.questions, QStringList{"Save changes to holiday.dvprj?"});
        EXPECT_TRUE(Window().isVisible());
        EXPECT_EQ(dialogs_.programEnds, 0);
        EXPECT_EQ(Shown(), 2u);
        EXPECT_EQ(Window().windowTitle(), "holiday.dvprj[*] - Vanto Slideshow");
        EXPECT_TRUE(Window().isWindowModified());
        EXPECT_EQ(ProjectText(), saved);
    }
}

TEST_F(UnsavedChangesTest, SaveKeepsTheChangesInTheProjectAndDiscardDropsThem) {
    OpenChangedProject();
    const QString other = MakeFile("other.dvprj", "[Set]\n[Pictures]\n");

    // Save, then the load goes on.
    dialogs_.saveChoices = {Choice::Save};
    dialogs_.projectNames = {other};
    Action("LoadProject1")->trigger();
    EXPECT_NE(ProjectText().find(b_.toStdString() + "=1"), std::string::npos);
    EXPECT_EQ(Window().ProjectFile(), other);
    EXPECT_EQ(Shown(), 0u);

    // Discard on closing: the working state is the saved project again, so
    // the next start shows it unchanged.
    ASSERT_TRUE(Window().OpenProject(project_));
    const QString c = MakePicture("c.jpg");
    AddPictures({c});
    Window().show();
    dialogs_.saveChoices = {Choice::Discard};
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(ProjectText().find(c.toStdString()), std::string::npos);
    Restart();
    EXPECT_EQ(Shown(), 2u);
    EXPECT_EQ(Window().ProjectFile(), project_);
    EXPECT_FALSE(Window().isWindowModified());

    // New Project after Save: an empty show named nothing, keeping the
    // folder the picture dialog last used.
    AddPictures({c});
    auto* interval = Find<QSpinBox>("IntervalEdit");
    interval->setValue(9);
    dialogs_.saveChoices = {Choice::Save};
    Action("NewProject1")->trigger();
    EXPECT_NE(ProjectText().find(c.toStdString()), std::string::npos);
    EXPECT_NE(ProjectText().find("ImageInterval=9\n"), std::string::npos);
    EXPECT_EQ(Shown(), 0u);
    const model::TslSettings defaults;
    EXPECT_EQ(Window().WorkingShow().settings.ImageInterval, defaults.ImageInterval);
    EXPECT_EQ(interval->value(), defaults.ImageInterval);
    EXPECT_EQ(Window().ProjectFile(), QString());
    EXPECT_EQ(Window().windowTitle(), "Vanto Slideshow");
    EXPECT_EQ(Window().WorkingShow().settings.PicturePath, Dir());
}

// The per-image dialog writes a picture's effect set as it is ticked, and
// Reset at once; Cancel keeps both, so a load asks before they go, and Save
// puts them into the project.
TEST_F(UnsavedChangesTest, WhatThePerImageDialogKeepsOnCancelIsAskedAboutBeforeALoad) {
    const QString a = MakePicture("a.jpg");
    const QString other = MakeFile("other.dvprj", "[Set]\n[Pictures]\n");
    const struct {
        const char* change;
        std::function<void(app::TImageForm&)> make;
        std::function<bool(const std::string&)> saved;
    } cases[] = {
        {"an effect set",
         [](app::TImageForm& form) { form.PictureTree().SetEffectChecked(1, 0, false); },
         [](const std::string& project) { return project.find("[effects]") != std::string::npos; }},
        {"Reset",
         [this](app::TImageForm& form) {
             dialogs_.answers = {true};
             form.findChild<QAbstractButton*>(QStringLiteral("reset1"))->click();
         },
         [](const std::string& project) { return project.find("Harbour") == std::string::npos; }},
    };
    for (const auto& [change, make, saved] : cases) {
        SCOPED_TRACE(change);
        project_ =
            MakeFile("holiday.dvprj",
                     ("[Set]\n[Pictures]\n" + a + "=1\n[captions]\na.jpg=Harbour\n").toUtf8());
        ASSERT_TRUE(Window().OpenProject(project_));
        dialogs_.onModal = [&](QDialog& dialog) {
            auto& form = *qobject_cast<app::TImageForm*>(&dialog);
            make(form);
            form.findChild<QAbstractButton*>(QStringLiteral("cancel1"))->click();
        };
        Click("customize1");
        EXPECT_TRUE(Window().isWindowModified());

        dialogs_.questions.clear();
        dialogs_.saveChoices = {Choice::Save};
        dialogs_.projectNames = {other};
        Action("LoadProject1")->trigger();
        EXPECT_EQ(dialogs_.questions, QStringList{"Save changes to holiday.dvprj?"});
        EXPECT_EQ(Window().ProjectFile(), other);
        EXPECT_TRUE(saved(ProjectText())) << ProjectText();
    }
}

// A new show that is no project yet is kept by the working state when the
// window closes, so only New and Load ask about it; Save then asks a name.
TEST_F(UnsavedChangesTest, AnUnnamedShowIsAskedAboutOnlyWhereItWouldBeLost) {
    AddPictures({MakePicture("a.jpg")});
    Window().show();
    EXPECT_TRUE(Window().close());
    EXPECT_TRUE(dialogs_.questions.isEmpty());

    dialogs_.saveChoices = {Choice::Save};
    dialogs_.projectNames = {};  // the name dialog is cancelled
    Action("NewProject1")->trigger();
    EXPECT_EQ(dialogs_.questions, QStringList{"Save changes to the new project?"});
    EXPECT_EQ(Shown(), 1u);
}

// The working state names its project and its unsaved changes, so a restart
// (after a build wrote the state, or a crash) shows both and saves there.
TEST_F(UnsavedChangesTest, TheProjectAndItsUnsavedChangesOutliveARestart) {
    OpenChangedProject();
    Window().CollectSettings(true);  // as a build does before it starts
    Restart();
    EXPECT_EQ(Window().windowTitle(), "holiday.dvprj[*] - Vanto Slideshow");
    EXPECT_TRUE(Window().isWindowModified());
    EXPECT_EQ(Shown(), 2u);

    // Reopening it from Recent Projects asks before the carried-over
    // changes go.
    dialogs_.saveChoices = {Choice::Cancel};
    auto* recent = Window().findChild<QMenu*>(QStringLiteral("RecentProjects1"));
    emit recent->aboutToShow();
    recent->actions().first()->trigger();
    EXPECT_EQ(dialogs_.questions, QStringList{"Save changes to holiday.dvprj?"});
    EXPECT_EQ(Shown(), 2u);

    // Save writes the project it names, without asking for a name.
    const qsizetype dialogsShown = dialogs_.initialFolders.size();
    Action("Save1")->trigger();
    EXPECT_EQ(dialogs_.initialFolders.size(), dialogsShown);
    EXPECT_NE(ProjectText().find(b_.toStdString()), std::string::npos);
    EXPECT_FALSE(Window().isWindowModified());
    // The project file carries the show, not the working state's note.
    EXPECT_FALSE(model::IniFile(project_.toStdString()).SectionExists("Working"));
}

// Captions made in one session and changed in the next, saved as another
// project, are what every later start shows and what both files hold.
TEST_F(UnsavedChangesTest, CaptionsSurviveSaveAsExitAndRestart) {
    AddPictures({MakePicture("one.jpg"), MakePicture("two.jpg")});
    EditCaptions([](app::TImageForm& form) { SetCaption(form, "Test caption one"); });
    // First session: saved as a project, then Exit.
    dialogs_.projectNames = {Path("t1")};
    Action("SaveProject1")->trigger();
    ASSERT_TRUE(Window().close());
    Restart();
    EXPECT_EQ(EditCaptions([](app::TImageForm&) {}), "Test caption one");

    EditCaptions([](app::TImageForm& form) { SetCaption(form, "Second caption"); });
    dialogs_.projectNames = {Path("t2")};
    Action("SaveProject1")->trigger();
    ASSERT_TRUE(Window().close());
    Restart();
    EXPECT_EQ(EditCaptions([](app::TImageForm&) {}), "Second caption");
    EXPECT_EQ(Window().ProjectFile(), Path("t2.dvprj"));
    const std::string one = Path("one.jpg").toStdString();
    for (const std::string& file : {Path("t2.dvprj").toStdString(), model::OptionsFileName()}) {
        const std::string text = model::ReadWholeFile(file);
        EXPECT_NE(text.find("Second caption"), std::string::npos) << file;
        EXPECT_EQ(text.find("Test caption one"), std::string::npos) << file;
    }
}

// Ctrl+S, Ctrl+Shift+S, Ctrl+O, Ctrl+N and Ctrl+Q beside the F-keys; the save
// dialog opens at the project's own name, else in the last project folder or
// the documents.
TEST_F(UnsavedChangesTest, DesktopShortcutsAndWhereTheSaveDialogOpens) {
    const auto keys = [this](const char* name) {
        QStringList texts;
        for (const QKeySequence& key : Action(name)->shortcuts())
            texts << key.toString(QKeySequence::PortableText);
        return texts;
    };
    EXPECT_EQ(keys("NewProject1"), QStringList{"Ctrl+N"});
    EXPECT_EQ(keys("LoadProject1"), QStringList({"F3", "Ctrl+O"}));
    EXPECT_EQ(keys("Save1"), QStringList({"F4", "Ctrl+S"}));
    EXPECT_EQ(keys("SaveProject1"), QStringList({"F5", "Ctrl+Shift+S"}));
    EXPECT_TRUE(keys("SaveandExit1").contains("Ctrl+Q"));

    Action("SaveProject1")->trigger();
    ASSERT_EQ(dialogs_.initialFolders.size(), 1);
    EXPECT_TRUE(dialogs_.initialFolders[0].endsWith("/Slideshow.dvprj"));
    EXPECT_FALSE(dialogs_.initialFolders[0].startsWith(Dir().c_str()));

    const QString sub = MakeFolder("shows");
    dialogs_.projectNames = {sub + "/summer"};
    Action("SaveProject1")->trigger();
    Action("SaveProject1")->trigger();
    EXPECT_EQ(dialogs_.initialFolders.last(), sub + "/summer.dvprj");
    Action("NewProject1")->trigger();
    Action("SaveProject1")->trigger();
    EXPECT_EQ(dialogs_.initialFolders.last(), sub + "/Slideshow.dvprj");
}

}  // namespace
}  // namespace app_test
