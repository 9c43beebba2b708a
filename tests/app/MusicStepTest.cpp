// The Music step: rows, their order, their lengths and the music options.
#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <utility>

#include "AppTestUtil.h"
#include "app/MediaListModels.h"
#include "model/Settings.h"
#include "music/MusicService.h"

namespace app_test {
namespace {

class MusicStepTest : public WindowTest {
protected:
    const model::MusicList& List() { return Window().Music().List(); }
    QStringList Rows() {
        QStringList rows;
        for (const auto& entry : List().Entries()) rows << QString::fromStdString(entry.Path);
        return rows;
    }
    int SelectedRow() {
        const auto rows = Find<QTreeView>("musicList")->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    void Select(int row) {
        auto* list = Find<QTreeView>("musicList");
        list->setCurrentIndex(list->model()->index(row, 0));
    }
};

TEST_F(MusicStepTest, TheSameFileAddedTwiceIsListedTwiceAndGetsMeasured) {
    const QString song = MakeFile("music/song.mp3", "this is no MP3 stream");
    dialogs_.musicFiles = {{song}, {song}};
    Click("addmusic1");
    auto* timer = Window().findChild<QTimer*>(QStringLiteral("Mp3LengthTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    Click("addmusic1");
    EXPECT_EQ(Rows(), QStringList({song, song}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Window().WorkingShow().settings.MusicPath, Dir() + "music/");
    for (const auto& entry : List().Entries()) {
        EXPECT_TRUE(entry.Checked);
        EXPECT_FALSE(entry.HasLength);
    }

    // A file the decoder cannot read gets -1, shown as 0:00:00, and is not
    // asked again; the show takes no music from it.
    Window().Mp3LengthTimerTimer();
    EXPECT_FALSE(timer->isActive());
    for (const auto& entry : List().Entries()) {
        EXPECT_EQ(entry.LengthMs, "-1");
        EXPECT_EQ(entry.LengthText, "0:00:00");
    }
    Window().CollectSettings(false);
    EXPECT_TRUE(Window().WorkingShow().settings.Music.empty());
    // The row says why it plays no part.
    const QModelIndex row = Window().Music().index(0, app::MusicListModel::kPathColumn);
    EXPECT_TRUE(row.data(Qt::ToolTipRole).toString().contains("could not be read as MP3 music"));
}

TEST_F(MusicStepTest, MusicNotMeasuredYetIsMeasuredBeforeTheShowUsesIt) {
    // A project as written by hand or by another machine: no lengths stored.
    const QString song = MakeSong("song.mp3", 3);
    MakeFile("options.dat", ("[Music]\n" + song + "=1\n").toUtf8());
    model::OpenOptionsStore();
    EXPECT_EQ(List().At(0).LengthMs, "0");

    // Options shows the music's length without a visit to the Music step.
    Window().SelectStep(app::TMainForm::kOptionsStep);
    EXPECT_EQ(Window().MusicSeconds(), 3);
    EXPECT_EQ(Window().WorkingShow().settings.Music, std::vector<std::string>{song.toStdString()});
}

TEST_F(MusicStepTest, StoredLengthsAreKeptAndMissingFilesAreNotMeasured) {
    const QString known = MakeFile("known.mp3", "x");
    const QString unknown = MakeFile("unknown.mp3", "x");
    // Measured before beats were kept: its length stays, its tempo is found.
    const QString clicks =
        MakeSong("clicks.mp3", 8, "aevalsrc='if(lt(mod(t,0.5),0.02),sin(2*PI*1500*t),0)':s=44100");
    MakeFile("options.dat", ("[Music]\n" + known + "=1\n" + unknown + "=1\n/gone/away.mp3=1\n" +
                             clicks + "=1\n[Mp3Length]\n" + known + "=185000\n/gone/away.mp3=0\n" +
                             clicks + "=8000\n[MusicLoudness]\n" + clicks + "=-20.00 0.50000\n")
                                .toUtf8());
    model::OpenOptionsStore();
    EXPECT_EQ(List().At(0).LengthText, "0:03:05");
    EXPECT_EQ(List().At(1).LengthMs, "0");

    Window().Mp3LengthTimerTimer();
    EXPECT_EQ(List().At(0).LengthMs, "185000");
    EXPECT_EQ(List().At(1).LengthMs, "-1");
    EXPECT_EQ(List().At(2).LengthMs, "0");  // its file is gone: left alone
    EXPECT_EQ(List().At(3).LengthMs, "8000");
    const auto tempo = [&](int row) {
        return Window().Music().index(row, app::MusicListModel::kTempoColumn).data().toString();
    };
    EXPECT_EQ(tempo(3), "120 bpm");
    EXPECT_EQ(tempo(1), "no beat");  // unreadable
    EXPECT_EQ(tempo(2), "");         // not measured

    // Entering the Music step starts the pass.
    Window().SelectStep(app::TMainForm::kMusicStep);
    EXPECT_TRUE(Window().findChild<QTimer*>(QStringLiteral("Mp3LengthTimer"))->isActive());
}

// The pass that follows an addition decodes in the background: the window
// runs on, a note counts the files, and a change to the list cancels it and
// starts it over on the new list.
TEST_F(MusicStepTest, NewRowsAreMeasuredInTheBackgroundAndAChangeStartsOver) {
    const QString one = MakeSong("one.mp3", 1), two = MakeSong("two.mp3", 2);
    auto* note = Find<QLabel>("measuringNote");
    QSignalSpy progress(&Window().Music(), &app::MusicListModel::MeasuringProgress);
    dialogs_.musicFiles = {{one, two}};
    Click("addmusic1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !progress.isEmpty(); }, app_test::kPatience));
    EXPECT_EQ(progress.first(), QVariantList({0, 2}));
    EXPECT_TRUE(note->text().contains("of 2 files")) << note->text().toStdString();
    Click("removemusic1");  // cancels, and asks for a pass over what is left
    ASSERT_TRUE(QTest::qWaitFor([&] { return note->isHidden() && List().At(0).HasLength; },
                                app_test::kPatience));
    EXPECT_EQ(Rows(), QStringList({one}));
    EXPECT_EQ(List().At(0).LengthMs, "1000");
    EXPECT_FALSE(List().At(0).Loudness.empty());
    EXPECT_EQ(progress.last().at(1), 0);

    // What the show needs is measured at once, whatever the background has done.
    dialogs_.musicFiles = {{two}};
    Click("addmusic1");
    Window().Mp3LengthTimerTimer();
    EXPECT_EQ(List().At(1).LengthMs, "2000");
    EXPECT_TRUE(note->isHidden());
}

TEST_F(MusicStepTest, PlayNamesARowThatCannotPlayInsteadOfDoingNothing) {
    const QString broken = MakeFile("broken.mp3", "this is no MP3 stream");
    MakeFile(
        "options.dat",
        ("[Music]\n/gone/away.mp3=1\n" + broken + "=1\n[Mp3Length]\n" + broken + "=-1\n").toUtf8());
    model::OpenOptionsStore();
    ASSERT_EQ(List().At(1).LengthMs, "-1");
    Select(0);
    Click("FlatButton3");
    Select(1);
    Click("FlatButton3");
    // Return in the list plays as a double click does.
    QTest::keyClick(Find<QTreeView>("musicList"), Qt::Key_Return);
    ASSERT_EQ(dialogs_.errors.size(), 3);
    EXPECT_TRUE(dialogs_.errors[0].contains("\"/gone/away.mp3\" was not found"));
    EXPECT_TRUE(dialogs_.errors[1].contains(broken));
    EXPECT_TRUE(dialogs_.errors[1].contains("could not be read as MP3 music"));
    EXPECT_EQ(dialogs_.errors[2], dialogs_.errors[1]);
}

// No sound card (here a sound driver that does not exist): Play and the
// preview say so in the status line, once, and the preview still shows.
TEST_F(MusicStepTest, WithoutASoundCardPlayAndThePreviewSaySoOnce) {
    music::StopMusic(true);
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-sound-driver");
    const auto restore = qScopeGuard([&] {
        if (driver.isNull())
            qunsetenv("SDL_AUDIODRIVER");
        else
            qputenv("SDL_AUDIODRIVER", driver);
    });
    const QString song = MakeFile("song.mp3", "x"), picture = MakePicture("a.jpg");
    const QString store =
        "[Pictures]\n" + picture + "=1\n[Music]\n" + song + "=1\n[Mp3Length]\n" + song + "=2000\n";
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Play",
         [this] {
             Select(0);
             Click("FlatButton3");
         }},
        {"Preview", [this] { Click("previewB"); }},
    };
    for (const auto& [name, command] : commands) {
        window_.reset();
        MakeFile("options.dat", store.toUtf8());
        model::OpenOptionsStore();
        int previews = 0;
        dialogs_.onModal = [&](QDialog&) { ++previews; };
        QStatusBar& status = *Window().statusBar();
        command();
        EXPECT_TRUE(status.currentMessage().contains("No sound device"))
            << name << ": " << status.currentMessage().toStdString();
        status.clearMessage();
        command();
        EXPECT_EQ(status.currentMessage(), "") << name;
        EXPECT_EQ(previews, name == std::string("Preview") ? 2 : 0);
        EXPECT_TRUE(dialogs_.errors.isEmpty()) << name;
        music::StopMusic(false);
    }
}

TEST_F(MusicStepTest, MovingACheckedRowKeepsItsCheckMarkAndLength) {
    const QString a = MakeFile("a.mp3", "x"), b = MakeFile("b.mp3", "x");
    MakeFile("options.dat",
             ("[Music]\n" + a + "=0\n" + b + "=1\n[Mp3Length]\n" + b + "=61000\n").toUtf8());
    model::OpenOptionsStore();

    Select(1);
    Click("up2");
    EXPECT_EQ(Rows(), QStringList({b, a}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_TRUE(List().At(0).Checked);
    EXPECT_EQ(List().At(0).LengthMs, "61000");
    EXPECT_EQ(List().At(0).LengthText, "0:01:01");
    EXPECT_FALSE(List().At(1).Checked);
    Click("up2");  // already first
    EXPECT_EQ(Rows(), QStringList({b, a}));

    Click("down2");
    EXPECT_EQ(Rows(), QStringList({a, b}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_TRUE(List().At(1).Checked);
    EXPECT_EQ(List().At(1).LengthMs, "61000");
}

TEST_F(MusicStepTest, RemoveAndClear) {
    QStringList files;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3"}) files << MakeFile(name, "x");
    dialogs_.musicFiles = {files};
    Click("addmusic1");

    Click("removemusic1");  // the last row was selected
    EXPECT_EQ(Rows(), QStringList({files[0], files[1]}));
    EXPECT_EQ(SelectedRow(), 1);
    Select(0);
    Click("removemusic1");
    EXPECT_EQ(Rows(), QStringList({files[1]}));
    EXPECT_EQ(SelectedRow(), 0);

    dialogs_.answers = {false, true};
    Click("clearmusic1");
    EXPECT_EQ(Rows().size(), 1);
    Click("clearmusic1");
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(dialogs_.questions.value(0), "Clear all music files?");
}

TEST_F(MusicStepTest, DroppedFoldersAddTheirOwnMusicFilesInNameOrder) {
    MakeFile("album/10 ten.mp3", "x");
    MakeFile("album/2 two.MP3", "x");
    for (const char* name : {"album/3.flac", "album/4.ogg", "album/5.Opus", "album/6.wav",
                             "album/7.m4a", "album/8.wma"})
        MakeFile(name, "x");
    MakeFile("album/1 one.mp3/inner.mp3", "x");  // not searched
    MakeFile("album/cover.jpg", "x");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("album")), QUrl("https://example.org/song.mp3")});
    auto* model = Find<QTreeView>("musicList")->model();
    model->dropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex());
    EXPECT_EQ(Rows(), QStringList({Path("album/10 ten.mp3"), Path("album/2 two.MP3"),
                                   Path("album/3.flac"), Path("album/4.ogg"), Path("album/5.Opus"),
                                   Path("album/6.wav"), Path("album/7.m4a")}));
    EXPECT_EQ(Window().statusBar()->currentMessage(),
              "Added 7 music file(s). 1 address(es) naming no file on this computer, left out.");

    MakeFile("box/cd1/a.mp3", "x");
    data.setUrls({QUrl::fromLocalFile(Path("box"))});
    model->dropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex());
    EXPECT_EQ(Rows().size(), 7);
    EXPECT_EQ(Window().statusBar()->currentMessage(),
              "Added 0 music file(s). 1 folder(s) without music files of their own; sub-folders "
              "are not searched.");
}

TEST_F(MusicStepTest, TheOptionsMenuItemsReachTheSettingsAtTheNextCollect) {
    auto* menu = Window().findChild<QMenu*>(QStringLiteral("musicm"));
    ASSERT_NE(menu, nullptr);
    auto* play = menu->findChild<QAction*>(QStringLiteral("Play1"));
    auto* loop = menu->findChild<QAction*>(QStringLiteral("Loop1"));
    auto* shuffle = menu->findChild<QAction*>(QStringLiteral("Shuffle1"));
    ASSERT_TRUE(play && loop && shuffle);
    // Defaults: play and loop on, shuffle off.
    EXPECT_TRUE(play->isChecked());
    EXPECT_TRUE(loop->isChecked());
    EXPECT_FALSE(shuffle->isChecked());
    play->trigger();
    shuffle->trigger();
    EXPECT_TRUE(Window().WorkingShow().settings.PlayMusic);
    Window().CollectSettings(false);
    EXPECT_FALSE(Window().WorkingShow().settings.PlayMusic);
    EXPECT_TRUE(Window().WorkingShow().settings.RandomMusic);
    EXPECT_TRUE(Window().WorkingShow().settings.LoopMusic);
}

// The sound-track options show the project's values and give back what the
// user set, in milliseconds.
TEST_F(MusicStepTest, TheSoundTrackOptionsReachTheSettingsAtTheNextCollect) {
    model::Show show;
    show.settings.MusicFadeInMs = 1500;
    show.settings.MusicFadeOutMs = 0;
    show.settings.MusicCrossfadeMs = 99999;  // held to the range
    show.settings.EvenLoudness = true;
    Window().AdoptShow(show);
    auto* fadeIn = Find<QDoubleSpinBox>("fadeInEdit");
    auto* fadeOut = Find<QDoubleSpinBox>("fadeOutEdit");
    auto* crossfade = Find<QDoubleSpinBox>("crossfadeEdit");
    auto* even = Find<QCheckBox>("evenLoudnessCheck");
    EXPECT_EQ(fadeIn->value(), 1.5);
    EXPECT_EQ(fadeOut->value(), 0.0);
    EXPECT_EQ(crossfade->value(), 10.0);
    EXPECT_TRUE(even->isChecked());
    fadeOut->setValue(2.5);
    crossfade->setValue(0.3);
    even->setChecked(false);
    Window().CollectSettings(false);
    EXPECT_EQ(Window().WorkingShow().settings.MusicFadeInMs, 1500);
    EXPECT_EQ(Window().WorkingShow().settings.MusicFadeOutMs, 2500);
    EXPECT_EQ(Window().WorkingShow().settings.MusicCrossfadeMs, 300);
    EXPECT_FALSE(Window().WorkingShow().settings.EvenLoudness);
}

}  // namespace
}  // namespace app_test
