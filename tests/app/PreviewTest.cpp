// The three previews: the Effects step's, the per-image dialog's and the
// preview window.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>

#include "AppTestUtil.h"
#include "app/ColorComboBox.h"
#include "app/ImageForm.h"
#include "app/MediaListModels.h"
#include "app/PlayerWindow.h"
#include "app/SmallEffectPreview.h"
#include "model/Settings.h"
#include "screen/PreviewRunner.h"

namespace app_test {
namespace {

using app::TMainForm;

using PreviewTest = WindowTest;

// Waits for the loop of the preview's last request to be drawn.
bool LoopDrawn(app::SmallEffectPreview& preview) {
    return QTest::qWaitFor([&] { return !preview.ShownFrame().isEmpty(); }, 10000);
}

TEST_F(PreviewTest, TheEffectsStepPreviewsTheEffectSelectedInTheTree) {
    MakePicture("sample/t1.jpg", 64, 48, Qt::red);
    MakePicture("sample/t2.jpg", 64, 48, Qt::blue);
    Window().WorkingShow().settings.useeffects = model::ParseStyleSet("22,118,");
    EXPECT_EQ(Window().MiniPreview(), nullptr);
    Window().SelectStep(TMainForm::kEffectsStep);
    app::SmallEffectPreview* preview = Window().MiniPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Style(), 22);  // the first enabled effect of the tree
    ASSERT_TRUE(LoopDrawn(*preview));

    QTreeView& tree = Window().StyleList();
    QAbstractItemModel* nodes = tree.model();
    tree.setCurrentIndex(nodes->index(1, 0, nodes->index(1, 0)));  // Dissolve
    EXPECT_EQ(preview->Style(), 160);
    tree.setCurrentIndex(nodes->index(0, 0));  // a category: its first effect
    EXPECT_EQ(preview->Style(), 5);
    // Only the last one asked for is shown.
    QSignalSpy ready(preview, &app::SmallEffectPreview::LoopReady);
    ASSERT_TRUE(ready.wait(app_test::kPatience));
    EXPECT_EQ(ready.count(), 1);

    // The preview lives on while other steps are shown.
    Window().SelectStep(TMainForm::kImagesStep);
    Window().SelectStep(TMainForm::kEffectsStep);
    EXPECT_EQ(Window().MiniPreview(), preview);

    Window().findChild<QSpinBox*>(QStringLiteral("IntervalEdit"))->setValue(12);
    EXPECT_EQ(Window().WorkingShow().settings.ImageInterval, 12);
}

// The Effects step plays the list's first two ticked pictures as the list
// holds them on entering the step, else the sample pair; a speed change
// reaches the loop at once.
TEST_F(PreviewTest, TheEffectsStepPreviewsTheFirstTwoTickedPicturesAtTheShowsSpeed) {
    Window().SelectStep(TMainForm::kEffectsStep);
    app::SmallEffectPreview* preview = Window().MiniPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->Pictures(), (std::vector<std::string>{Path("sample/t1.jpg").toStdString(),
                                                             Path("sample/t2.jpg").toStdString()}));

    const QString off = MakePicture("off.jpg"), first = MakePicture("first.jpg"),
                  second = MakePicture("second.jpg"), third = MakePicture("third.jpg");
    Window().SelectStep(TMainForm::kImagesStep);
    Window().Images().Append({off.toStdString(), false});
    for (const QString& path : {first, second, third})
        Window().Images().Append({path.toStdString(), true});
    Window().SelectStep(TMainForm::kEffectsStep);
    EXPECT_EQ(preview->Pictures(),
              (std::vector<std::string>{first.toStdString(), second.toStdString()}));

    // 1 is the fastest speed: ten frames, and the loop is drawn anew.
    QSignalSpy ready(preview, &app::SmallEffectPreview::LoopReady);
    Window().findChild<QSpinBox*>(QStringLiteral("SpeedEdit2"))->setValue(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.count() > 0; }, app_test::kPatience));
    EXPECT_FALSE(preview->ShownFrame().isEmpty());
}

TEST_F(PreviewTest, WithoutTheEffectCatalogueTheEffectsStepSaysWhyItListsNothing) {
    auto* note = Window().findChild<QLabel*>(QStringLiteral("catalogueNote"));
    ASSERT_NE(note, nullptr);
    Window().SelectStep(TMainForm::kEffectsStep);
    EXPECT_FALSE(note->isVisibleTo(&Window()));

    window_.reset();
    ASSERT_TRUE(QFile::remove(Path("VantoSaver.001")));
    model::SetProgramDir(Dir());  // the catalogue is opened anew
    note = Window().findChild<QLabel*>(QStringLiteral("catalogueNote"));
    Window().SelectStep(TMainForm::kEffectsStep);
    EXPECT_EQ(Window().EffectTree().NodeCount(), 0);
    EXPECT_TRUE(note->isVisibleTo(&Window()));
    EXPECT_TRUE(note->text().contains(Path("VantoSaver.001")));
}

TEST_F(PreviewTest, AfterAProjectLoadTheEffectsStepStartsWithItsFirstEnabledEffect) {
    // The load fills the effect tree at once, before the step is first shown.
    dialogs_.projectNames = {MakeFile("fades.dvprj", "[Set]\nuseeffects=118,160,\n")};
    Window().findChild<QAction*>(QStringLiteral("LoadProject1"))->trigger();
    Window().SelectStep(TMainForm::kEffectsStep);
    ASSERT_NE(Window().MiniPreview(), nullptr);
    EXPECT_EQ(Window().MiniPreview()->Style(), 118);
    QTreeView& tree = Window().StyleList();
    for (int category = 0; category < tree.model()->rowCount(); ++category)
        EXPECT_TRUE(tree.isExpanded(tree.model()->index(category, 0))) << category;
}

TEST_F(PreviewTest, TheDialogPreviewsAnEffectBetweenARowAndItsNeighbourAndLeavesTheShowAlone) {
    const QString p1 = MakePicture("p1.jpg"), p2 = MakePicture("p2.jpg"),
                  p3 = MakePicture("p3.jpg");
    for (const QString& path : {p1, p2, p3}) Window().Images().Append({path.toStdString(), true});
    Window().WorkingShow().settings.Pictures = {"/the/show.jpg"};
    const model::StyleSet useeffects = Window().WorkingShow().settings.useeffects;

    std::vector<std::vector<std::string>> previewed;
    std::vector<int> styles;
    dialogs_.onModal = [&](QDialog& dialog) {
        auto& form = static_cast<app::TImageForm&>(dialog);
        QTreeView& tree = form.PictureTreeView();
        const QModelIndex dissolve = tree.model()->index(1, 0, tree.model()->index(1, 0));
        for (int row : {1, 2, 0}) {
            form.Grid().setCurrentCell(row, app::TImageForm::kCaptionColumn);
            tree.setCurrentIndex(dissolve);
            emit tree.clicked(dissolve);
            ASSERT_NE(form.EffectPreview(), nullptr);
            previewed.push_back(form.EffectPreview()->Pictures());
            styles.push_back(form.EffectPreview()->Style());
        }
    };
    Click("customize1");
    const std::string s1 = p1.toStdString(), s2 = p2.toStdString(), s3 = p3.toStdString();
    ASSERT_EQ(previewed.size(), 3u);
    EXPECT_EQ(previewed[0], (std::vector<std::string>{s2, s3}));
    EXPECT_EQ(previewed[1], (std::vector<std::string>{s3, s2}));  // the last row: the one before
    EXPECT_EQ(previewed[2], (std::vector<std::string>{s1, s2}));
    EXPECT_EQ(styles, (std::vector<int>{160, 160, 160}));
    EXPECT_EQ(Window().WorkingShow().settings.Pictures, std::vector<std::string>{"/the/show.jpg"});
    EXPECT_EQ(Window().WorkingShow().settings.useeffects, useeffects);
}

TEST_F(PreviewTest, ALonePictureIsPreviewedComingInFromBlack) {
    const QString only = MakePicture("only.jpg");
    Window().Images().Append({only.toStdString(), true});
    std::vector<std::string> previewed;
    dialogs_.onModal = [&](QDialog& dialog) {
        auto& form = static_cast<app::TImageForm&>(dialog);
        QTreeView& tree = form.PictureTreeView();
        const QModelIndex wipes = tree.model()->index(0, 0);
        tree.setCurrentIndex(wipes);
        emit tree.clicked(wipes);
        ASSERT_NE(form.EffectPreview(), nullptr);
        previewed = form.EffectPreview()->Pictures();
        EXPECT_EQ(form.EffectPreview()->Style(), 5);
        EXPECT_TRUE(LoopDrawn(*form.EffectPreview()));
    };
    Click("customize1");
    EXPECT_EQ(previewed, (std::vector<std::string>{only.toStdString()}));
}

TEST_F(PreviewTest, ThePreviewWindowIsTheVideoFrameAtItsDisplaySize) {
    Window().Images().Append({MakePicture("a.jpg").toStdString(), true});
    QSize shown;
    dialogs_.onModal = [&](QDialog& dialog) {
        auto* player = qobject_cast<app::PlayerWindow*>(&dialog);
        ASSERT_NE(player, nullptr);
        shown = player->PictureArea().size();
    };
    Window().findChild<QAbstractButton*>(QStringLiteral("VideoGroup2"))->setChecked(true);
    Window().findChild<QAbstractButton*>(QStringLiteral("tvGroup1"))->setChecked(true);
    // A disc frame at its display size (720 x 576 shown 4:3 or 16:9), made
    // smaller to fit this test's screen, 720 pixels across.
    Click("previewB");
    EXPECT_EQ(shown, QSize(720, 540));
    Window().findChild<QComboBox*>(QStringLiteral("Mp4Aspect"))->setCurrentIndex(0);
    Click("previewB");
    EXPECT_EQ(shown, QSize(720, 405));
    Window().findChild<QAbstractButton*>(QStringLiteral("VideoGroup0"))->setChecked(true);
    Click("previewB");
    EXPECT_EQ(shown, QSize(384, 288));
    EXPECT_EQ(app::PreviewWindowSize(2, 0, QSize(1920, 1000)), QSize(1024, 576));
    EXPECT_EQ(app::PreviewWindowSize(2, 1, QSize(1920, 1000)), QSize(768, 576));
    EXPECT_FALSE(app::PreviewWindowSize(6, 0, {}).isValid());
    // An MP4 video keeps its proportions and fits a laptop's screen.
    EXPECT_EQ(app::PreviewWindowSize(4, 0, QSize(1229, 655)), QSize(1164, 655));
    EXPECT_EQ(app::PreviewWindowSize(4, 1, QSize(1229, 655)), QSize(873, 655));
    EXPECT_EQ(app::PreviewWindowSize(3, 0, QSize(1920, 1000)), QSize(1280, 720));
}

TEST_F(PreviewTest, EveryPreviewPlaysTheShowAsItIsNowFromItsFirstPictureAndNeedsOne) {
    int windows = 0;
    dialogs_.onModal = [&](QDialog&) { ++windows; };
    Click("previewB");
    EXPECT_EQ(dialogs_.errors, QStringList({"No pictures to show."}));
    EXPECT_EQ(windows, 0);

    // Portraits, so the background shows beside them.
    const QString first = MakePicture("first.jpg", 48, 64),
                  second = MakePicture("second.jpg", 48, 64);
    for (const QString& path : {first, second})
        Window().Images().Append({path.toStdString(), true});
    Window().findChild<QSpinBox*>(QStringLiteral("IntervalEdit"))->setValue(1);
    Window().findChild<QSpinBox*>(QStringLiteral("SpeedEdit2"))->setValue(1);
    // Still pictures: a moving one covers the frame and hides the background.
    auto* motion = Window().findChild<QComboBox*>(QStringLiteral("MotionKind"));
    motion->setCurrentIndex(motion->findText("None"));
    std::vector<int64_t> opening;
    std::vector<QColor> backgrounds;
    dialogs_.onModal = [&](QDialog& dialog) {
        auto& player = static_cast<app::PlayerWindow&>(dialog);
        opening.push_back(player.Timeline().frame());
        EXPECT_TRUE(player.Timeline().playing());
        // The first picture's last frame.
        player.Seek(player.Timeline().frameCount() / 2 - 1);
        player.Pause();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return player.PaintedFrame() == player.Timeline().frame(); },
                            app_test::kPatience));
        EXPECT_TRUE(player.Status().text().endsWith("picture 1 of 2"))
            << player.Status().text().toStdString();
        backgrounds.push_back(player.PaintedImage().pixelColor(2, 2));
    };
    auto* colour = Window().findChild<app::ColorComboBox*>(QStringLiteral("BackcolorCb"));
    colour->SetColor(Qt::red);
    Click("previewB");
    colour->SetColor(Qt::blue);
    Click("previewB");
    EXPECT_EQ(backgrounds, (std::vector<QColor>{Qt::red, Qt::blue}));
    EXPECT_EQ(opening, (std::vector<int64_t>{0, 0}));
}

}  // namespace
}  // namespace app_test
