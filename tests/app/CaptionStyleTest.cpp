// The caption style dialog from the Options step and from the per-image
// dialog: reached and set from the keyboard, its sample drawn by the video's
// own caption drawing, and the style it sets kept for the show or the picture.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "AppTestUtil.h"
#include "app/CaptionStyleDialog.h"
#include "app/ImageForm.h"
#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "model/CaptionStyle.h"
#include "model/Show.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/FrameImage.h"

namespace app_test {
namespace {

using app::CaptionStyleDialog;

// Presses Alt with 'key' in the dialog and returns the widget focused then;
// a check box's mnemonic clicks it once its click is animated.
QWidget* Mnemonic(QDialog& dialog, Qt::Key key) {
    QTest::keyClick(&dialog, key, Qt::AltModifier);
    if (qobject_cast<QCheckBox*>(QApplication::focusWidget())) QTest::qWait(250);
    return QApplication::focusWidget();
}

class CaptionStyleTest : public WindowTest {};

TEST_F(CaptionStyleTest, TheShowsStyleIsSetFromTheKeyboardWithTheVideosOwnSample) {
    bool shown = false;
    dialogs_.onModal = [&](QDialog& modal) {
        auto* dialog = qobject_cast<CaptionStyleDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        shown = true;
        const QImage plain = dialog->Sample();
        ASSERT_FALSE(plain.isNull());
        // The place, the edge and the box, each reached by its mnemonic.
        EXPECT_EQ(Mnemonic(*dialog, Qt::Key_P), &dialog->PositionBox());
        QTest::keyClick(&dialog->PositionBox(), Qt::Key_Down);
        EXPECT_EQ(Mnemonic(*dialog, Qt::Key_E), &dialog->EdgeBox());
        QTest::keyClick(&dialog->EdgeBox(), Qt::Key_Down);
        Mnemonic(*dialog, Qt::Key_B);
        EXPECT_TRUE(dialog->BoxCheck().isChecked());

        const std::optional<model::CaptionStyle> style = dialog->Style();
        ASSERT_TRUE(style);
        EXPECT_EQ(style->position, model::CaptionPosition::Top);
        EXPECT_EQ(style->edge, model::CaptionEdge::Outline);
        // The sample follows, pixel for pixel what the video draws.
        const model::TslSettings& settings = Window().WorkingShow().settings;
        const std::optional<video::FrameFormat> format = video::FrameFormatOf(settings);
        ASSERT_TRUE(format);
        const QImage sample = dialog->Sample();
        EXPECT_NE(sample, plain);
        EXPECT_EQ(sample.convertToFormat(QImage::Format_RGB888),
                  video::CaptionSample(*format, settings.TVSet, *style, "Holiday at the lake",
                                       sample.height()));
        QTest::keyClick(dialog, Qt::Key_Return);
    };
    Window();
    Click("captionStyleButton");
    EXPECT_TRUE(shown);
    ASSERT_TRUE(Window().CollectSettings(false));
    const model::CaptionStyle& kept = Window().WorkingShow().settings.Caption;
    EXPECT_EQ(kept.position, model::CaptionPosition::Top);
    EXPECT_EQ(kept.edge, model::CaptionEdge::Outline);
    EXPECT_TRUE(kept.box);
}

// A picture takes its own style, and gives it up for the show's again.
TEST_F(CaptionStyleTest, APictureUsesItsOwnStyleOrTheShows) {
    const QString picture = MakePicture("a.jpg");
    Window().Images().Append({picture.toStdString(), true});
    const auto ownStyle = [&] {
        return model::OwnCaptionStyle(Window().WorkingShow().notes, picture.toStdString());
    };
    for (const bool own : {true, false}) {
        SCOPED_TRACE(own ? "own" : "the show's");
        dialogs_.onModal = [&](QDialog& modal) {
            if (auto* form = qobject_cast<app::TImageForm*>(&modal)) {
                ASSERT_TRUE(QTest::qWaitForWindowActive(form));
                // On the file name, which opens no editor to keep the focus.
                form->Grid().setCurrentCell(0, app::TImageForm::kFileColumn);
                form->findChild<QPushButton*>(QStringLiteral("captionStyle"))->click();
                form->findChild<QPushButton*>(QStringLiteral("ok1"))->click();
                return;
            }
            auto* dialog = qobject_cast<CaptionStyleDialog*>(&modal);
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
            ASSERT_NE(dialog->FollowShowCheck(), nullptr);
            // Following the show's style, its controls wait.
            EXPECT_EQ(dialog->FollowShowCheck()->isChecked(), own);
            EXPECT_EQ(dialog->AlignBox().isEnabled(), !own);
            // The grid's editor of the window below may hold the focus.
            dialog->FollowShowCheck()->setFocus();
            QTest::keyClick(dialog->FollowShowCheck(), Qt::Key_Space);
            EXPECT_EQ(dialog->AlignBox().isEnabled(), own);
            if (own) dialog->AlignBox().setCurrentIndex(2);
            dialog->accept();
        };
        Click("customize1");
        const std::optional<model::CaptionStyle> kept = ownStyle();
        ASSERT_EQ(kept.has_value(), own);
        if (own) {
            EXPECT_EQ(kept->align, model::CaptionAlign::Right);
        }
    }
}

}  // namespace
}  // namespace app_test
