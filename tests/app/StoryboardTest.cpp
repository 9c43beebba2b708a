// The Images step's storyboard: reordering by drag and drop, the keys, files
// dropped from outside, the count line, and the thumbnails' disk cache.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

#include "AppTestUtil.h"
#include "app/ImageForm.h"
#include "app/ImagesPage.h"
#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/StoryTiles.h"
#include "app/StoryboardDelegate.h"
#include "app/StoryboardView.h"
#include "app/ThumbnailCache.h"
#include "app/ThumbnailService.h"
#include "app/UserDialogs.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/Settings.h"

namespace {

// The per-image dialog is only looked at: the path of the row it opened on.
class WatchingDialogs : public app::UserDialogs {
public:
    QStringList openedAt;
    int RunModal(QDialog& dialog) override {
        dialog.show();
        if (auto* grid = dialog.findChild<QTableWidget*>(); grid && grid->currentRow() >= 0)
            openedAt << grid->item(grid->currentRow(), app::TImageForm::kPathColumn)->text();
        dialog.reject();
        return dialog.result();
    }
    bool Confirm(QWidget*, const QString&) override { return true; }
    void ShowError(QWidget*, const QString& text) override { ADD_FAILURE() << text.toStdString(); }
};

QString MakePicture(const QString& path, QColor color, int width = 64, int height = 48) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    EXPECT_TRUE(image.save(path, "jpeg")) << path.toStdString();
    return path;
}

class StoryboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(folder_.isValid());
        dir_ = folder_.path() + QLatin1Char('/');
        model::SetUserDataDir((dir_ + "user-data/").toStdString());
        model::SetProgramDir(dir_.toStdString());
        QFile catalogue(dir_ + "VantoSaver.001");
        ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
        catalogue.write("[Fades]\nFade=118\n");
        catalogue.close();
        QDir(dir_).mkdir(QStringLiteral("sample"));
        model::OpenOptionsStore();
        app::SetUserDialogs(&dialogs_);
        window_ = std::make_unique<app::TMainForm>();
        window_->resize(1000, 700);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        Page().ShowStoryboard(true);
        View().setFocus();
    }
    void TearDown() override {
        window_.reset();
        app::SetUserDialogs(nullptr);
        model::CloseOptionsStore();
        model::SetProgramDir("");
        model::SetUserDataDir("");
    }

    app::ImagesPage& Page() { return *window_->findChild<app::ImagesPage*>(); }
    app::StoryboardView& View() { return Page().Storyboard(); }
    app::ImageListModel& Model() { return window_->Images(); }
    // Pictures a..(a+count-1).jpg, listed in that order.
    QStringList List(int count) {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << MakePicture(dir_ + QChar('a' + i) + ".jpg", Qt::darkCyan);
            Model().Append({paths.back().toStdString(), true});
        }
        QCoreApplication::processEvents();
        return paths;
    }
    QStringList Rows() {
        QStringList rows;
        for (int row = 0; row < Model().rowCount(); ++row) rows << Model().PathAt(row);
        return rows;
    }
    void Select(std::initializer_list<int> rows) {
        View().selectionModel()->clear();
        for (const int row : rows)
            View().selectionModel()->select(Model().index(row, 0), QItemSelectionModel::Select);
        View().selectionModel()->setCurrentIndex(Model().index(*rows.begin(), 0),
                                                 QItemSelectionModel::NoUpdate);
    }
    // A point on the left (before) or right (after) half of a tile.
    QPoint OnTile(int row, bool after) {
        const QRect tile = View().visualRect(Model().index(row, 0));
        return {after ? tile.right() - 2 : tile.left() + 2, tile.center().y()};
    }
    // Drops 'data' at a point; returns the landing bar the view showed while
    // the drag was over that point.
    QRect Drop(QMimeData* data, QPoint at) {
        // As a drag does: it enters the view before it drops there.
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(View().viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        const QRect marker = View().DropMarker();
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(View().viewport(), &drop);
        delete data;
        QCoreApplication::processEvents();
        EXPECT_TRUE(View().DropMarker().isEmpty()) << "the bar stays after the drop";
        return marker;
    }
    void Key(Qt::Key key) { QTest::keyClick(&View(), key); }
    std::vector<std::string> CollectedPictures() {
        window_->CollectSettings(false);
        return window_->WorkingShow().settings.Pictures;
    }

    QTemporaryDir folder_;
    QString dir_;
    WatchingDialogs dialogs_;
    std::unique_ptr<app::TMainForm> window_;
};

TEST_F(StoryboardTest, DraggedTilesLandTogetherInTheirOrderWhereDropped) {
    struct Case {
        std::initializer_list<int> dragged;
        int onTile;  // -1: the empty space after the last tile
        bool after;
        QString order;
    };
    const Case cases[] = {
        {{0, 2}, 3, true, "bdace"},   // forward, over a tile that stays
        {{3, 4}, 0, false, "deabc"},  // backward, to the front
        {{1, 3}, 2, false, "abdce"},  // between the dragged tiles
        {{1}, -1, false, "acdeb"},    // past the last tile
    };
    for (const Case& test : cases) {
        Model().Clear();
        const QStringList paths = List(5);
        Select(test.dragged);
        const QRect last = View().visualRect(Model().index(4, 0));
        const QPoint at = test.onTile < 0 ? QPoint(last.right() + 20, last.center().y())
                                          : OnTile(test.onTile, test.after);
        // The bar stands in the gap at the landing place: before the tile
        // the drop lands before, or after the last tile.
        const int landing = test.onTile < 0 ? 5 : test.onTile + (test.after ? 1 : 0);
        const QRect beside = View().visualRect(Model().index(std::min(landing, 4), 0));
        const int gap = landing > 4 ? beside.right() : beside.left();
        const QRect marker = Drop(View().RowsDragData(), at);
        EXPECT_LE(std::abs(marker.center().x() - gap), View().spacing() + 2) << test.onTile;
        EXPECT_EQ(marker.top(), beside.top());
        QString order;
        for (const std::string& picture : CollectedPictures())
            order += QFileInfo(QString::fromStdString(picture)).baseName();
        EXPECT_EQ(order.toStdString(), test.order.toStdString()) << test.onTile;
        // The dragged tiles stay selected where they landed.
        QStringList selected;
        for (const QModelIndex& index : View().selectionModel()->selectedRows())
            selected << QFileInfo(Model().PathAt(index.row())).baseName();
        selected.sort();
        QStringList dragged;
        for (const int row : test.dragged) dragged << QFileInfo(paths[row]).baseName();
        EXPECT_EQ(selected, dragged);
    }
}

TEST_F(StoryboardTest, SpaceTicksDeleteRemovesReturnOpensTheDialogAtTheTile) {
    const QStringList paths = List(4);
    Select({1, 3});
    const auto ticks = [this] {
        QString marks;
        for (const auto& entry : Model().List().Entries()) marks += entry.Checked ? 'x' : '.';
        return marks.toStdString();
    };
    Key(Qt::Key_Space);
    EXPECT_EQ(ticks(), "x.x.");
    Model().setData(Model().index(1, 0), Qt::Checked, Qt::CheckStateRole);
    // One of them ticked: Space ticks both rather than flipping each.
    Key(Qt::Key_Space);
    EXPECT_EQ(ticks(), "xxxx");

    Select({2});
    Key(Qt::Key_Return);
    EXPECT_EQ(dialogs_.openedAt, QStringList({paths[2]}));

    Select({0, 2});
    Key(Qt::Key_Delete);
    EXPECT_EQ(Rows(), QStringList({paths[1], paths[3]}));
}

TEST_F(StoryboardTest, TheViewAndTileSizeAreTheUsersAndOutliveTheWindow) {
    window_->findChild<QSlider*>("TileSizeSlider")->setValue(200);
    window_ = std::make_unique<app::TMainForm>();
    EXPECT_TRUE(Page().StoryboardShown());
    EXPECT_EQ(View().TileSize(), 200);
    // Ctrl+1 goes back to the list, and the next window opens on it.
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(window_.get(), Qt::Key_1, Qt::ControlModifier);
    // A button's shortcut clicks it as an animation, a moment later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Page().StoryboardShown(); }, app_test::kPatience));
    window_ = std::make_unique<app::TMainForm>();
    EXPECT_FALSE(Page().StoryboardShown());
}

TEST_F(StoryboardTest, FilesDroppedFromOutsideLandAtTheDropInTheirOrder) {
    const QStringList listed = List(3);
    const QString x = MakePicture(dir_ + "new/x.jpg", Qt::red);
    const QString y = MakePicture(dir_ + "new/y.jpg", Qt::red);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(x), QUrl::fromLocalFile(y)});
    Drop(data, OnTile(1, false));
    EXPECT_EQ(Rows(), QStringList({listed[0], x, y, listed[1], listed[2]}));
    EXPECT_EQ(Page().SelectedRow(), 2);
}

TEST_F(StoryboardTest, TilesAreNumberedAsTheShowAndTheCountLineAgreesWithTheOptionsStep) {
    const QString folder = dir_ + "trip/";
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg"}) MakePicture(folder + name, Qt::blue);
    const QString b = MakePicture(dir_ + "b.jpg", Qt::blue);
    const QString c = MakePicture(dir_ + "c.jpg", Qt::blue);
    Model().Append({folder.toStdString(), true});
    Model().Append({b.toStdString(), false});
    Model().Append({c.toStdString(), true});

    window_->SelectStep(app::TMainForm::kOptionsStep);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Model().Checking(); }, app_test::kPatience));
    window_->SelectStep(app::TMainForm::kOptionsStep);
    const int seconds = window_->ShowSeconds();
    ASSERT_GT(seconds, 0);
    window_->SelectStep(app::TMainForm::kImagesStep);
    QCoreApplication::processEvents();

    EXPECT_EQ(View().Numbers().number, std::vector<int>({1, 0, 4}));
    EXPECT_EQ(View().Numbers().pictures, std::vector<int>({3, 1, 1}));
    EXPECT_EQ(window_->findChild<QLabel*>("StoryCountLine")->text(),
              QStringLiteral("4 of 5 pictures, show length 0:%1").arg(seconds));

    // Ticking b makes it the fourth picture and c the fifth.
    Model().setData(Model().index(1, 0), Qt::Checked, Qt::CheckStateRole);
    QCoreApplication::processEvents();
    EXPECT_EQ(View().Numbers().number, std::vector<int>({1, 4, 5}));
    EXPECT_TRUE(
        window_->findChild<QLabel*>("StoryCountLine")->text().startsWith("5 of 5 pictures"));
}

TEST_F(StoryboardTest, TilesExplainTheirBadgesAndWhyAPictureCannotBeShown) {
    const QStringList paths = List(2);
    // Both thumbnails are made; then b is spoilt, which its tile must notice.
    View().viewport()->repaint();
    ASSERT_TRUE(QTest::qWaitFor([&] { return View().Thumbnails().Outstanding() == 0; },
                                app_test::kPatience));
    QFile bad(paths[1]);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("not a picture at all");
    bad.close();
    model::IniFile& notes = window_->WorkingShow().notes;
    const std::string a = paths[0].toStdString();
    model::SetOwnEntry(notes, model::kCaptionsSection, a, "Harbour at dawn");
    model::SetOwnEntry(notes, model::kIntervalsSection, a, "9");
    model::SetOwnMotion(notes, a, model::MotionSetting{model::MotionKind::ZoomIn, 3});
    // Painted now, the tiles ask for their thumbnails.
    View().viewport()->repaint();
    ASSERT_TRUE(QTest::qWaitFor([&] { return View().Thumbnails().Outstanding() == 0; },
                                app_test::kPatience));

    auto* tiles = qobject_cast<app::StoryboardDelegate*>(View().itemDelegate());
    ASSERT_NE(tiles, nullptr);
    const auto tooltip = [&](int row, const QPoint& at) {
        return tiles->TooltipAt(Model().index(row, 0), View().visualRect(Model().index(row, 0)), at)
            .toStdString();
    };
    const QRect first = View().visualRect(Model().index(0, 0));
    // Caption, interval and motion, right-aligned under the picture.
    const char* const expected[] = {"Motion: Zoom in", "Its own interval: 9 s",
                                    "Caption: Harbour at dawn"};
    for (int badge = 0; badge < 3; ++badge)
        EXPECT_EQ(tooltip(0, tiles->BadgeRect(first, badge).center()), expected[badge]);
    EXPECT_EQ(tooltip(0, tiles->BadgeRect(first, 3).center()), paths[0].toStdString());

    const QRect second = View().visualRect(Model().index(1, 0));
    const std::string why = tooltip(1, tiles->PictureRect(second).center());
    EXPECT_EQ(why.rfind(paths[1].toStdString() + "\n", 0), 0u) << why;
    EXPECT_GT(why.size(), paths[1].size() + 10) << why;
    // The show leaves b out, and the count line says so once the list has checked it.
    window_->Images().UsablePictures({paths[1].toStdString()});
    auto* count = window_->findChild<QLabel*>("StoryCountLine");
    EXPECT_TRUE(QTest::qWaitFor([&] { return count->text().startsWith("1 of 2 pictures"); },
                                app_test::kPatience))
        << count->text().toStdString();
}

// --- the thumbnail service and its disk cache ---

class ThumbnailCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    QString Path(const QString& name) const { return folder_.path() + QLatin1Char('/') + name; }
    QString CacheFolder() const { return Path("cache"); }
    // A fresh service, as after a restart of the program.
    app::ThumbnailService::Answer Thumbnail(const QString& picture, int tile = 100) {
        app::ThumbnailService service({CacheFolder(), 1, 1 << 20});
        app::ThumbnailService::Answer answer = service.Request(picture, tile);
        if (!answer.final) {
            QSignalSpy ready(&service, &app::ThumbnailService::Ready);
            EXPECT_TRUE(ready.wait(app_test::kPatience));
            answer = service.Request(picture, tile);
        }
        EXPECT_TRUE(answer.final);
        return answer;
    }

    QTemporaryDir folder_;
};

TEST_F(ThumbnailCacheTest, ARestartedServiceReadsTheDiskCacheAndAGarbledCacheFileIsAMiss) {
    const QString picture = MakePicture(Path("red.jpg"), Qt::red, 640, 480);
    const QDateTime modified = QFileInfo(picture).lastModified();
    app::ThumbnailService::Answer first = Thumbnail(picture);
    ASSERT_EQ(first.picture.size(), QSize(128, 96));  // the tile's bucket, not the tile
    const QString cacheName = app::ThumbnailCacheName(CacheFolder(), picture, 128);
    ASSERT_TRUE(QFileInfo::exists(cacheName));

    const auto red = [](const QImage& thumbnail) {
        const QColor bottom = thumbnail.pixelColor(thumbnail.width() / 2, thumbnail.height() - 2);
        return bottom.red() > 200 && bottom.green() < 60 && bottom.blue() < 60;
    };
    QFile cache(cacheName);
    ASSERT_TRUE(cache.open(QIODevice::ReadOnly));
    const QByteArray good = cache.readAll();
    cache.close();
    QImage tooBig(300, 200, QImage::Format_RGB32);
    tooBig.fill(Qt::green);
    QByteArray tooBigJpeg;
    QBuffer buffer(&tooBigJpeg);
    buffer.open(QIODevice::WriteOnly);
    tooBig.save(&buffer, "jpeg");
    const QByteArray garbled[] = {good.left(good.size() / 2), QByteArray(good.size(), 'x'),
                                  tooBigJpeg, QByteArray()};
    for (const QByteArray& bytes : garbled) {
        ASSERT_TRUE(cache.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cache.write(bytes);
        cache.close();
        const app::ThumbnailService::Answer answer = Thumbnail(picture);
        EXPECT_EQ(answer.picture.size(), QSize(128, 96)) << bytes.size();
        EXPECT_TRUE(red(answer.picture)) << bytes.size();
        // The miss was made again and written back whole.
        ASSERT_TRUE(cache.open(QIODevice::ReadOnly));
        EXPECT_FALSE(app::ReadCachedThumbnail(cache.readAll(), 128).isNull()) << bytes.size();
        cache.close();
    }

    // The picture replaced by bytes no decoder reads, its size and time kept:
    // only the cache can give its thumbnail.
    QFile file(picture);
    const qint64 size = file.size();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(size, '\0'));
    // Written out before the time is set back, which closing would change.
    file.flush();
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(red(Thumbnail(picture).picture));

    // Without the cache the same file is a placeholder that says why.
    QDir(CacheFolder()).removeRecursively();
    const app::ThumbnailService::Answer bad = Thumbnail(picture);
    EXPECT_TRUE(bad.picture.isNull());
    EXPECT_FALSE(bad.problem.isEmpty());
}

}  // namespace
