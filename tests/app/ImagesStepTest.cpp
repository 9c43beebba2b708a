// The Images step: adding, removing, ordering and inspecting rows.
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <utime.h>

#include "AppTestUtil.h"
#include "ExifPictures.h"
#include "app/ImagesPage.h"
#include "app/MediaListModels.h"
#include "app/PictureFormats.h"
#include "app/ThumbnailPanel.h"
#include "app/TitleCardDialog.h"
#include "model/Settings.h"
#include "model/TitleCard.h"

namespace app_test {
namespace {

class ImagesStepTest : public WindowTest {
protected:
    QStringList Rows() {
        QStringList rows;
        for (const auto& entry : Window().Images().List().Entries())
            rows << QString::fromStdString(entry.Path);
        return rows;
    }
    int SelectedRow() {
        const auto rows = Find<QListView>("ImageList")->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    void Select(int row) {
        auto* list = Find<QListView>("ImageList");
        list->setCurrentIndex(list->model()->index(row, 0));
    }
    app::ThumbnailPanel* Panel() { return Find<app::ThumbnailPanel>("fsPanel"); }
    QString CountText() { return Find<QLabel>("CountLabel")->text(); }
};

TEST_F(ImagesStepTest, AddFilesSkipsListedPathsSelectsTheLastAndShowsItsThumbnail) {
    const QString a = MakePicture("pics/a.jpg");
    const QString b = MakePicture("pics/b.png");
    const QString upper = MakePicture("pics/A.JPG");
    Window().WorkingShow().settings.PicturePath = Dir() + "nowhere/";

    dialogs_.pictureFiles = {{a, b}, {b, upper, a}};
    Click("addimagefile1");
    EXPECT_EQ(Rows(), QStringList({a, b}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_TRUE(Panel()->HasPicture());
    EXPECT_EQ(Window().WorkingShow().settings.PicturePath, Dir() + "pics/");
    // A folder that does not exist is not offered as the starting folder.
    EXPECT_EQ(dialogs_.initialFolders.value(0), QString());

    // Paths compare as the file system does: a.jpg is listed, A.JPG is another file.
    Click("addimagefile1");
    EXPECT_EQ(dialogs_.initialFolders.value(1), Path("pics/"));
    EXPECT_EQ(Rows(), QStringList({a, b, upper}));
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(CountText(), "3 of 3 pictures ticked");
    for (const auto& entry : Window().Images().List().Entries()) EXPECT_TRUE(entry.Checked);

    // Cancelling changes nothing.
    Click("addimagefile1");
    EXPECT_EQ(Rows().size(), 3);
}

TEST_F(ImagesStepTest, AddFolderAppendsASlashOnceAndKeepsTheSelection) {
    const QString a = MakePicture("a.jpg");
    const QString photos = MakeFolder("photos");
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");

    dialogs_.folders = {photos, photos + "/", QString()};
    Click("addimagefolder1");
    // The folder has no pictures yet: the status line says why it adds none.
    EXPECT_TRUE(Window().statusBar()->currentMessage().contains("sub-folders are not searched"));
    Click("addimagefolder1");
    Click("addimagefolder1");  // cancelled
    EXPECT_EQ(Rows(), QStringList({a, photos + "/"}));
    EXPECT_EQ(SelectedRow(), 0);
    // The empty folder gives the show no picture.
    EXPECT_EQ(CountText(), "1 of 1 pictures ticked");
    EXPECT_EQ(dialogs_.folderTitles.value(0), "Select a folder that includes image files:");
}

TEST_F(ImagesStepTest, RemoveSelectsTheRowTakingItsPlaceOrTheNewLastRow) {
    QStringList files;
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg"}) files << MakePicture(name);
    dialogs_.pictureFiles = {files};
    Click("addimagefile1");

    Select(1);
    Click("FlatButton1");
    EXPECT_EQ(Rows(), QStringList({files[0], files[2], files[3]}));
    EXPECT_EQ(SelectedRow(), 1);

    Select(2);
    Click("FlatButton1");
    EXPECT_EQ(Rows(), QStringList({files[0], files[2]}));
    EXPECT_EQ(SelectedRow(), 1);

    // The Delete key does the same.
    auto* list = Find<QListView>("ImageList");
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Rows(), QStringList({files[0]}));
    EXPECT_EQ(SelectedRow(), 0);

    Click("FlatButton1");
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(SelectedRow(), -1);
    EXPECT_FALSE(Panel()->HasPicture());
    EXPECT_EQ(CountText(), "0 of 0 pictures ticked");
    Click("FlatButton1");  // nothing selected: nothing happens
    EXPECT_TRUE(dialogs_.questions.isEmpty());
}

TEST_F(ImagesStepTest, ClearAsksAndMovesKeepTheCheckMark) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    dialogs_.pictureFiles = {{a, b}};
    Click("addimagefile1");
    auto* model = Find<QListView>("ImageList")->model();
    model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);

    Select(0);
    Click("down1");
    EXPECT_EQ(Rows(), QStringList({b, a}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_FALSE(Window().Images().List().At(1).Checked);
    Click("down1");  // already last
    EXPECT_EQ(Rows(), QStringList({b, a}));
    Click("up1");
    EXPECT_EQ(Rows(), QStringList({a, b}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_FALSE(Window().Images().List().At(0).Checked);

    dialogs_.answers = {false, true};
    Click("FlatButton2");
    EXPECT_EQ(Rows().size(), 2);
    Click("FlatButton2");
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_EQ(dialogs_.questions, QStringList({"Clear all images?", "Clear all images?"}));
    EXPECT_EQ(CountText(), "0 of 0 pictures ticked");
}

// Dates out of name order: a camera's date wins over the file's time, a
// picture without one sorts by its file's time, and a folder by its own.
// The sorted order is what a saved project keeps.
TEST_F(ImagesStepTest, SortByDateTakenThenByNameReordersTheRowsTheProjectKeeps) {
    const auto stamp = [](const QString& path, const char* when) {
        const qint64 seconds =
            QDateTime::fromString(QLatin1String(when), Qt::ISODate).toSecsSinceEpoch();
        const utimbuf times{seconds, seconds};
        ASSERT_EQ(utime(path.toLocal8Bit().constData(), &times), 0) << path.toStdString();
    };
    const auto taken = [&](const QString& name, const std::string& when) {
        const QString path = MakePicture(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray read = file.readAll();
        file.close();
        const testing_exif::Bytes out =
            testing_exif::WithExif({read.begin(), read.end()}, testing_exif::ExifBlock({when, ""}));
        MakeFile(name, QByteArray(reinterpret_cast<const char*>(out.data()),
                                  static_cast<qsizetype>(out.size())));
        // The file's own time says the opposite of the camera's date.
        stamp(path, "2030-01-01T00:00:00");
        return path;
    };
    const QString a10 = taken("pics/a10.jpg", "2023:03:01 09:00:00");
    const QString a9 = taken("pics/a9.jpg", "2022:03:01 09:00:00");
    const QString c = taken("pics/c.jpg", "2021:03:01 09:00:00");
    const QString b = MakePicture("pics/b.png");
    stamp(b, "2020-03-01T09:00:00");
    const QString trip = MakeFolder("Trip") + '/';
    stamp(trip, "2024-03-01T09:00:00");

    dialogs_.pictureFiles = {{a10, c, b, a9}};
    Click("addimagefile1");
    dialogs_.folders = {trip};
    Click("addimagefolder1");
    ASSERT_EQ(Rows(), QStringList({a10, c, b, a9, trip}));
    auto* model = Find<QListView>("ImageList")->model();
    model->setData(model->index(3, 0), Qt::Unchecked, Qt::CheckStateRole);
    Select(1);

    auto* page = Find<app::ImagesPage>("ImageTab");
    auto* sort = Find<QPushButton>("SortButton");
    Find<QAction>("SortByTaken")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!page->Sorting(), kPatience);
    EXPECT_TRUE(sort->isEnabled());
    EXPECT_EQ(Rows(), QStringList({b, c, a9, a10, trip}));
    // The selection and the check mark stay with their pictures.
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_FALSE(Window().Images().List().At(2).Checked);

    Find<QAction>("SortByName")->trigger();
    EXPECT_EQ(Rows(), QStringList({a9, a10, b, c, trip}));
    EXPECT_EQ(SelectedRow(), 3);
    EXPECT_FALSE(Window().Images().List().At(0).Checked);

    const QString project = Path("sorted.dvprj");
    dialogs_.projectNames = {project};
    Find<QAction>("SaveProject1")->trigger();
    model::ImageList saved;
    saved.FillFromStore(model::IniFile(project.toStdString()));
    QStringList savedRows;
    for (const auto& entry : saved.Entries()) savedRows << QString::fromStdString(entry.Path);
    EXPECT_EQ(savedRows, QStringList({a9, a10, b, c, trip}));
    EXPECT_FALSE(saved.At(0).Checked);
}

TEST_F(ImagesStepTest, AFolderRowShowsHowManyPicturesTheShowTakesFromIt) {
    const QString empty = MakeFolder("empty");
    MakePicture("empty/d.png");  // only JPEG, GIF and BMP files of a folder are used
    MakeFolder("empty/e.jpg");   // a folder, however it is named
    const QString full = MakeFolder("full");
    MakePicture("full/x.jpg");
    MakePicture("full/y.gif");
    MakePicture("full/z.BMP");
    dialogs_.folders = {empty, full};
    Click("addimagefolder1");
    Click("addimagefolder1");

    Select(0);
    EXPECT_TRUE(Panel()->OverlayVisible());
    EXPECT_EQ(Panel()->OverlayText(), "Images in folder: 0");
    Select(1);
    EXPECT_EQ(Panel()->OverlayText(), "Images in folder: 3");

    // Widened to every type: the PNG file counts, now and in the show.
    app::HandOverFolderPictureTypes();
    Select(0);
    Find<QCheckBox>("AllTypesCheck")->setChecked(true);
    EXPECT_TRUE(Window().WorkingShow().settings.FolderAllTypes);
    EXPECT_EQ(Panel()->OverlayText(), "Images in folder: 1");
    Window().CollectSettings(false);
    EXPECT_EQ(Window().WorkingShow().settings.Pictures.size(), 4u);
    Find<QCheckBox>("AllTypesCheck")->setChecked(false);
    Select(1);

    // The overlay opens the folder like the thumbnail opens a picture.
    Panel()->Clicked();
    ASSERT_EQ(dialogs_.opened.size(), 1u);
    EXPECT_EQ(dialogs_.opened[0], QUrl::fromLocalFile(full + "/"));
}

TEST_F(ImagesStepTest, DroppedFoldersBecomeFolderEntriesAndOtherFilesAreLeftOut) {
    const QString a = MakePicture("a.jpg");
    const QString folder = MakeFolder("holiday");
    const QString text = MakeFile("notes.txt", "not a picture");
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder), QUrl::fromLocalFile(a), QUrl::fromLocalFile(text),
                  QUrl::fromLocalFile(Path("missing.jpg"))});
    auto* model = Find<QListView>("ImageList")->model();
    ASSERT_TRUE(model->canDropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex()));
    model->dropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex());
    EXPECT_EQ(Rows(), QStringList({a, folder + "/"}));
    // The empty folder gives the show no picture.
    EXPECT_EQ(CountText(), "1 of 1 pictures ticked");

    // The add dialog starts where the first picture added came from, not
    // where a file left out lay.
    const QString b = MakePicture("holiday/b.jpg");
    data.setUrls({QUrl::fromLocalFile(MakeFile("notes/readme.txt", "x")),
                  QUrl("https://example.org/c.jpg"), QUrl::fromLocalFile(b)});
    model->dropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex());
    EXPECT_EQ(Rows(), QStringList({a, folder + "/", b}));
    EXPECT_EQ(Window().WorkingShow().settings.PicturePath, Dir() + "holiday/");
    // The status line accounts for everything dropped, web addresses too.
    EXPECT_EQ(Window().statusBar()->currentMessage(),
              "Added 1 item(s). 1 not a picture or folder, left out. 1 address(es) naming no "
              "file on this computer, left out.");

    // A folder whose pictures all lie in sub-folders gives the show nothing.
    MakePicture("years/2023/x.jpg");
    data.setUrls({QUrl::fromLocalFile(Path("years"))});
    model->dropMimeData(&data, Qt::CopyAction, -1, -1, QModelIndex());
    EXPECT_EQ(Rows().last(), Path("years/"));
    EXPECT_EQ(Window().statusBar()->currentMessage(),
              "Added 1 item(s). 1 folder(s) without JPEG, GIF or BMP files of their own; "
              "sub-folders are not searched.");

    QMimeData plainText;
    plainText.setText(QStringLiteral("hello"));
    EXPECT_FALSE(model->canDropMimeData(&plainText, Qt::CopyAction, -1, -1, QModelIndex()));
}

TEST_F(ImagesStepTest, TheFirstRowOfTheStoreIsSelectedWithItsThumbnail) {
    MakePicture("sample/beach.jpg");
    MakeFile("options.dat", "[Pictures]\nbeach.jpg=1\n/nowhere/x.jpg=0\n");
    model::OpenOptionsStore();
    EXPECT_EQ(Rows(), QStringList({"beach.jpg", "/nowhere/x.jpg"}));
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_TRUE(Panel()->HasPicture());
    EXPECT_FALSE(Window().Images().List().At(1).Checked);

    // A missing picture leaves the thumbnail as it was.
    Select(1);
    EXPECT_TRUE(Panel()->HasPicture());
    // The thumbnail opens the resolved picture, and so does Return in the list.
    Select(0);
    Panel()->Clicked();
    Find<QAbstractButton>("ListViewButton")->click();  // Return in the list, not the storyboard
    QTest::keyClick(Find<QListView>("ImageList"), Qt::Key_Return);
    ASSERT_EQ(dialogs_.opened.size(), 2u);
    EXPECT_EQ(dialogs_.opened[0], QUrl::fromLocalFile(Path("sample/beach.jpg")));
    EXPECT_EQ(dialogs_.opened[1], dialogs_.opened[0]);
}

TEST_F(ImagesStepTest, AProjectWithoutPicturesLeavesNoThumbnailOfTheListBefore) {
    dialogs_.pictureFiles = {{MakePicture("a.jpg")}};
    Click("addimagefile1");
    ASSERT_TRUE(Panel()->HasPicture());
    dialogs_.saveChoices = {app::UserDialogs::SaveChoice::Discard};
    dialogs_.projectNames = {MakeFile("empty.dvprj", "[Set]\nImageInterval=3\n")};
    Window().findChild<QAction*>(QStringLiteral("LoadProject1"))->trigger();
    ASSERT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_TRUE(Rows().isEmpty());
    EXPECT_FALSE(Panel()->HasPicture());
    EXPECT_FALSE(Panel()->OverlayVisible());
}

TEST_F(ImagesStepTest, AMissingOrUnreadablePictureSaysSoAndAChangedOneIsReadAgain) {
    const QString good = MakePicture("good.png", 64, 48, Qt::red);
    const QString broken = MakeFile("broken.jpg", "not a JPEG at all");
    MakeFile("options.dat",
             ("[Pictures]\n" + good + "=1\n" + broken + "=1\n/nowhere/x.jpg=1\n").toUtf8());
    model::OpenOptionsStore();
    const auto centre = [this] {
        const QImage shown = Find<QLabel>("Image1")->pixmap().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    };
    EXPECT_FALSE(Panel()->OverlayVisible());
    EXPECT_EQ(centre(), QColor(Qt::red));
    // The list greys the rows the show cannot use and says why, once the
    // checks asked for by reading the rows are back.
    const auto row = [this](int index, int role) {
        const QModelIndex at = Window().Images().index(index, 0);
        at.data(role);
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return !Window().Images().Checking(); }, app_test::kPatience));
        return at.data(role);
    };
    EXPECT_FALSE(row(0, Qt::ForegroundRole).isValid());
    for (int index : {1, 2}) EXPECT_TRUE(row(index, Qt::ForegroundRole).isValid()) << index;
    EXPECT_TRUE(row(1, Qt::ToolTipRole).toString().contains(broken));
    EXPECT_TRUE(row(1, Qt::ToolTipRole).toString().contains("not used in the show"));

    // The thumbnail of the picture before stays underneath, not passed off
    // as the selected one.
    Select(1);
    EXPECT_TRUE(Panel()->HasPicture());
    EXPECT_TRUE(Panel()->OverlayVisible());
    EXPECT_EQ(Panel()->OverlayText(), "The picture cannot be read.");
    Select(2);
    EXPECT_EQ(Panel()->OverlayText(), "The picture was not found.");
    // Opening a file that is not there says so instead of handing it on.
    Panel()->Clicked();
    EXPECT_TRUE(dialogs_.opened.empty());
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(dialogs_.errors[0].contains("/nowhere/x.jpg"));

    // Edited in another program while listed: the thumbnail follows.
    MakePicture("good.png", 64, 48, Qt::blue);
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    Select(0);
    EXPECT_FALSE(Panel()->OverlayVisible());
    EXPECT_EQ(centre(), QColor(Qt::blue));
    // A broken file mended in place is no longer marked.
    MakePicture("broken.jpg");
    EXPECT_FALSE(row(1, Qt::ForegroundRole).isValid());
}

// A picture that is slow to check holds up no row: the row answers at once
// as readable and is greyed with the reason when its check is back; a list
// replaced while a check runs goes on at once, and a model dropped while a
// check runs waits for it.
TEST_F(ImagesStepTest, PicturesAreCheckedWithoutHoldingUpTheList) {
    const model::TImageEntry slow{MakeFile("slow.heic", "read only by decoding it").toStdString(),
                                  true};
    std::atomic<bool> released{false};
    std::atomic<int> probes{0};
    const auto probe = [&](const std::string&) -> base::Status {
        while (!released) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ++probes;
        return base::MakeFault("the picture is damaged");
    };
    {
        app::ImageListModel model(nullptr, probe);
        model.Append(slow);
        const QModelIndex row = model.index(0, 0);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        EXPECT_FALSE(row.data(Qt::ForegroundRole).isValid());
        EXPECT_EQ(row.data(Qt::ToolTipRole).toString().toStdString(), slow.Path);
        EXPECT_TRUE(model.Checking());
        released = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !changed.isEmpty(); }, app_test::kPatience));
        EXPECT_TRUE(row.data(Qt::ForegroundRole).isValid());
        EXPECT_TRUE(
            row.data(Qt::ToolTipRole).toString().contains("damaged (not used in the show)"));
        EXPECT_EQ(probes, 1);
    }
    // Cleared while the check is held up: the list goes on at once.
    std::jthread release;
    app::ImageListModel model(nullptr, probe);
    released = false;
    model.Append(slow);
    EXPECT_FALSE(model.index(0, 0).data(Qt::ForegroundRole).isValid());
    model.Clear();
    EXPECT_FALSE(model.Checking());
    model.Append(slow);
    EXPECT_FALSE(model.index(0, 0).data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(model.Checking());
    release = std::jthread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        released = true;
    });
    // The model goes while a check is held up.
}

// The subjects motion aims at are found while the list is arranged: once
// for each readable picture, not for one its check refused, and again for
// a picture changed on disk, all off the window's thread.
TEST_F(ImagesStepTest, ReadablePicturesHaveTheirSubjectsFoundOnceInTheBackground) {
    const std::string good = MakeFile("good.jpg", "fine").toStdString();
    const std::string bad = MakeFile("bad.jpg", "damaged").toStdString();
    const auto probe = [&](const std::string& path) -> base::Status {
        if (path == bad) return base::MakeFault("the picture is damaged");
        return {};
    };
    std::mutex lock;
    std::vector<std::string> searched;
    const std::thread::id window = std::this_thread::get_id();
    std::atomic<bool> offTheWindow{true};
    app::ImageListModel model(nullptr, probe, [&](const std::string& path) {
        if (std::this_thread::get_id() == window) offTheWindow = false;
        std::lock_guard guard(lock);
        searched.push_back(path);
    });
    auto searchedNow = [&] {
        std::lock_guard guard(lock);
        return searched;
    };
    model.Append({good, true});
    model.Append({bad, true});
    auto checkAll = [&] {
        for (int row = 0; row < model.rowCount(); ++row) model.index(row, 0).data(Qt::ToolTipRole);
    };
    checkAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model.Checking(); }, app_test::kPatience));
    ASSERT_TRUE(QTest::qWaitFor([&] { return searchedNow().size() == 1; }, app_test::kPatience));
    checkAll();
    QTest::qWait(50);
    EXPECT_EQ(searchedNow(), std::vector<std::string>{good});
    QFile file(QString::fromStdString(good));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(" and changed");
    file.close();
    checkAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return searchedNow().size() == 2; }, app_test::kPatience));
    EXPECT_EQ(searchedNow(), (std::vector<std::string>{good, good}));
    EXPECT_TRUE(offTheWindow);
}

// A big picture is read away from the window, the picture before covered
// until it is there; a picture chosen meanwhile wins over it.
TEST_F(ImagesStepTest, ABigPictureIsReadInTheBackgroundAndTheNewestChoiceWins) {
    const QString small = MakePicture("small.png", 64, 48, Qt::red);
    // Noise does not compress: the file is big enough to be read apart.
    QImage noise(900, 900, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, QRandomGenerator::global()->generate());
    QPainter(&noise).fillRect(300, 300, 300, 300, Qt::blue);
    const QString big = Path("big.png");
    ASSERT_TRUE(noise.save(big));
    const auto centre = [this] {
        const QImage shown = Find<QLabel>("Image1")->pixmap().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    };
    const auto readingDone = [this] {
        return QTest::qWaitFor([this] { return !Panel()->Reading(); }, 10000);
    };

    dialogs_.pictureFiles = {{small, big}};
    Click("addimagefile1");
    ASSERT_EQ(SelectedRow(), 1);
    EXPECT_TRUE(Panel()->Reading());
    EXPECT_EQ(Panel()->OverlayText(), "Reading the picture...");
    Select(0);
    EXPECT_FALSE(Panel()->OverlayVisible());
    EXPECT_EQ(centre(), QColor(Qt::red));
    ASSERT_TRUE(readingDone());
    EXPECT_FALSE(Panel()->OverlayVisible());
    EXPECT_EQ(centre(), QColor(Qt::red));

    Select(1);
    EXPECT_TRUE(Panel()->OverlayVisible());
    ASSERT_TRUE(readingDone());
    EXPECT_FALSE(Panel()->OverlayVisible());
    EXPECT_EQ(centre(), QColor(Qt::blue));
}

}  // namespace
}  // namespace app_test

namespace app_test {
namespace {

// "Add title": OK puts the card after the selected row, selected, with what
// the editor says, drawn as a row that is there (no missing file); Cancel
// adds nothing; the card's editor changes its words in place.
TEST_F(ImagesStepTest, AddTitlePutsTheEditedCardAfterTheSelectedRow) {
    const QString a = MakePicture("pics/a.jpg");
    const QString b = MakePicture("pics/b.jpg");
    dialogs_.pictureFiles = {{a, b}};
    Click("addimagefile1");
    Select(0);

    Click("AddTitleButton");  // the editor cancelled
    EXPECT_EQ(Rows(), QStringList({a, b}));

    const auto edit = [](const QString& title, int backdrop, const QString& picture) {
        return [=](QDialog& dialog) {
            auto* card = dynamic_cast<app::TitleCardDialog*>(&dialog);
            ASSERT_NE(card, nullptr);
            card->TitleEdit().setText(title);
            card->SecondLineEdit().setText(QStringLiteral("At the lake"));
            card->BackdropBox().setCurrentIndex(backdrop);
            card->PictureEdit().setText(picture);
            dialog.accept();
        };
    };
    dialogs_.onModal = edit(QStringLiteral("Summer 2026"), 1, a);
    Click("AddTitleButton");
    ASSERT_EQ(Rows(), QStringList({a, QStringLiteral("title:1"), b}));
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(CountText(), "3 of 3 pictures ticked");
    const model::Show& show = Window().WorkingShow();
    EXPECT_EQ(show.TitleCardOf("title:1"),
              (model::TitleCard{"Summer 2026", "At the lake", model::TitleBackdrop::Blurred, 0,
                                a.toStdString()}));
    const QModelIndex row = Window().Images().index(1, 0);
    EXPECT_FALSE(row.data(Qt::ForegroundRole).isValid()) << "drawn as missing";
    EXPECT_EQ(Panel()->HasPicture(), false);

    // The card's own editor changes it where it stands.
    dialogs_.onModal = edit(QStringLiteral("Summer 2027"), 0, QString());
    ASSERT_TRUE(Window().findChild<app::ImagesPage*>()->EditTitle(1));
    EXPECT_EQ(show.TitleCardOf("title:1")->title, "Summer 2027");
    EXPECT_EQ(show.TitleCardOf("title:1")->backdrop, model::TitleBackdrop::Colour);
    EXPECT_EQ(Rows().size(), 3);
}

}  // namespace
}  // namespace app_test
