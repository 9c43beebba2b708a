// The window's layout at the sizes people use, from a small laptop to a
// large screen: controls keep their widths, previews their proportions, and
// the room to spare goes to lists and previews.
#include <QComboBox>
#include <QListView>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QTreeView>

#include "AppTestUtil.h"
#include "app/BackgroundPreview.h"
#include "app/ListRowDelegate.h"
#include "app/ProportionalFrame.h"

namespace app_test {
namespace {

const QSize kWindowSizes[] = {{681, 386}, {1024, 768}, {1600, 1000}};

class LayoutTest : public WindowTest {
protected:
    // Shows the window at a size and lets the layouts (and the panels that
    // fix their height after them) settle.
    void ShowAt(const QSize& size) {
        Window().resize(size);
        Window().show();
        QTest::qWait(30);
    }
    // Width to height, times 1000.
    static int Proportion(const QSize& size) { return size.width() * 1000 / size.height(); }
};

TEST_F(LayoutTest, ControlsKeepTheirWidthsAndPreviewsGrowInProportion) {
    int previousField = 0;
    int previousEffect = 0;
    for (const QSize& size : kWindowSizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        Window().SelectStep(app::TMainForm::kOptionsStep);
        ShowAt(size);
        EXPECT_EQ(Window().size(), size);
        auto* colour = Find<QComboBox>("BackcolorCb");
        EXPECT_LE(colour->width(), colour->sizeHint().width());
        const QRect field = Find<app::BackgroundPreview>("BackImage")->FieldRect();
        EXPECT_NEAR(Proportion(field.size()), 1333, 30);
        EXPECT_GT(field.width(), previousField);
        previousField = field.width();

        Window().SelectStep(app::TMainForm::kEffectsStep);
        QTest::qWait(30);
        for (const char* name : {"SpeedEdit2", "IntervalEdit"}) {
            auto* spin = Find<QSpinBox>(name);
            EXPECT_LE(spin->width(), spin->sizeHint().width()) << name;
        }
        auto* effect = Find<app::ProportionalFrame>("fsPanel2");
        EXPECT_NEAR(Proportion(effect->size()), 1333, 30);
        EXPECT_GT(effect->width(), previousEffect);
        previousEffect = effect->width();
    }
    // On a large screen the previews are pictures, not strips or stamps.
    EXPECT_GE(previousField, 400);
    EXPECT_GE(previousEffect, 400);
}

TEST_F(LayoutTest, ListRowsAreAtLeast16HighAndFileNamesStartWhereFolderNamesStart) {
    // A file first: the list takes every row's height from the first row.
    dialogs_.pictureFiles = {{MakePicture("a.jpg")}};
    Click("addimagefile1");
    dialogs_.folders = {MakeFolder("holiday")};
    Click("addimagefolder1");
    dialogs_.musicFiles = {{MakeFile("song.mp3", "not really music")}};
    Click("addmusic1");
    ShowAt(QSize(681, 386));

    auto* images = Find<QListView>("ImageList");
    const auto* delegate = qobject_cast<app::ListRowDelegate*>(images->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    QRect textRects[2];
    for (int row : {0, 1}) {
        const QModelIndex index = images->model()->index(row, 0);
        EXPECT_GE(images->visualRect(index).height(), 16) << row;
        QStyleOptionViewItem option;
        option.initFrom(images);
        option.rect = images->visualRect(index);
        option.decorationSize = images->iconSize();
        delegate->initStyleOption(&option, index);
        textRects[row] = images->style()->subElementRect(QStyle::SE_ItemViewItemText, &option);
    }
    EXPECT_EQ(textRects[0].left(), textRects[1].left());

    Window().SelectStep(app::TMainForm::kMusicStep);
    auto* music = Find<QTreeView>("musicList");
    EXPECT_GE(music->visualRect(music->model()->index(0, 0)).height(), 16);
}

TEST_F(LayoutTest, TheFirstStatusMessageLeavesTheBottomButtonsWhereTheyWere) {
    ShowAt(QSize(1024, 768));
    auto* next = Find<QWidget>("nextB");
    const QPoint before = next->mapTo(&Window(), QPoint());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(MakeFile("notes.txt", "not a picture"))});
    Find<QListView>("ImageList")->model()->dropMimeData(&data, Qt::CopyAction, -1, -1, {});
    QTest::qWait(30);
    ASSERT_FALSE(Window().statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(next->mapTo(&Window(), QPoint()), before);
}

}  // namespace
}  // namespace app_test
