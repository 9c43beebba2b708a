// The About box and the folder browser.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "AppTestUtil.h"
#include "app/AboutForm.h"
#include "app/FolderBrowser.h"
#include "model/Settings.h"

namespace app_test {
namespace {

using AboutFolderTest = WindowTest;

TEST_F(AboutFolderTest, TheAboutBoxShowsTheProductStringsOfTheStore) {
    MakeFile("options.dat", "[Set]\ntitle=Our Holiday Show\nhomepage=https://holiday.example/\n");
    model::OpenOptionsStore();
    app::TAboutForm about;
    about.show();
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel*>("titleLabel")->text(), "Our Holiday Show");
    EXPECT_EQ(about.findChild<QLabel*>("version1")->text(), "Version  2.0");
    // No web address, the store's included: the link leads to the manual.
    const QString link = about.findChild<QLabel*>("manualLink")->text();
    EXPECT_FALSE(link.contains("holiday.example")) << link.toStdString();
    EXPECT_TRUE(link.contains("manual")) << link.toStdString();
    EXPECT_FALSE(about.findChild<QLabel*>("Image1")->pixmap().isNull());
    about.findChild<QPushButton*>("okB")->click();
    EXPECT_FALSE(about.isVisible());
}

// Answers the next folder dialog by accepting or cancelling it.
void AnswerFolderDialog(bool accept) {
    QTimer::singleShot(0, [accept] {
        QDialog* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
}

TEST_F(AboutFolderTest, TheBrowserClearsAStartFolderThatDoesNotExist) {
    QString folder = Path("no such folder");
    AnswerFolderDialog(false);
    EXPECT_FALSE(app::SelectFolder(nullptr, "Pick", QString(), folder));
    EXPECT_TRUE(folder.isEmpty());

    const QString photos = MakeFolder("photos");
    folder = photos;
    AnswerFolderDialog(true);
    EXPECT_TRUE(app::SelectFolder(nullptr, "Pick", QString(), folder));
    EXPECT_EQ(folder, photos);  // no trailing "/"
}

TEST(FolderPathTest, ResultsCarryNoTrailingSlashExceptTheRoot) {
    EXPECT_EQ(app::BrowserResultPath("/home/me/Pictures/"), "/home/me/Pictures");
    EXPECT_EQ(app::BrowserResultPath("/home/me/./Pictures"), "/home/me/Pictures");
    EXPECT_EQ(app::BrowserResultPath("/"), "/");
}

}  // namespace
}  // namespace app_test
