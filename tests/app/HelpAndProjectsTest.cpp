// The window as a desktop program: the manual on F1, projects opened from
// the command line and the Recent Projects menu, dialogs that start where
// the user was, and pictures recognised by their content.
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>

#include <map>
#include <utility>
#include <vector>

#include "AppTestUtil.h"
#include "app/HelpWindow.h"
#include "app/MediaListModels.h"
#include "app/ThumbnailPanel.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"

namespace {

using app::TMainForm;

class HelpAndProjectsTest : public app_test::WindowTest {
protected:
    // The manual as the build ships it beside the test program.
    void CopyShippedManual() {
        const QString shipped = QCoreApplication::applicationDirPath() + "/help";
        ASSERT_TRUE(QFileInfo(shipped + "/manual.md").isFile()) << shipped.toStdString();
        QDirIterator files(shipped, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString source = files.next();
            const QString target = Path("help/" + QDir(shipped).relativeFilePath(source));
            QDir().mkpath(QFileInfo(target).absolutePath());
            ASSERT_TRUE(QFile::copy(source, target)) << target.toStdString();
        }
    }

    QAction* Action(const char* name) { return Window().findChild<QAction*>(QLatin1String(name)); }
};

TEST_F(HelpAndProjectsTest, F1ShowsTheShippedManualWithItsPicturesAndWorkingLinks) {
    CopyShippedManual();
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    EXPECT_EQ(Window().Help(), nullptr);
    QTest::keyClick(&Window(), Qt::Key_F1);
    app::HelpWindow* help = Window().Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser& browser = help->Browser();
    const QString text = browser.document()->toPlainText();
    for (const char* part : {"1. Images", "5. Build", "The per-image dialog", "Preview", "Projects",
                             "The command line", "Where settings live"})
        EXPECT_TRUE(text.contains(QLatin1String(part))) << part;

    // Every picture loads, and every link inside the manual has its heading.
    QSet<QString> anchors;
    QStringList links, pictures;
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames()) anchors << name;
            if (format.isImageFormat()) pictures << format.toImageFormat().name();
            if (format.isAnchor() && format.anchorHref().startsWith('#'))
                links << format.anchorHref().mid(1);
        }
    EXPECT_GE(pictures.size(), 6);
    for (const QString& picture : pictures) {
        const QVariant loaded = browser.loadResource(QTextDocument::ImageResource, QUrl(picture));
        EXPECT_FALSE(loaded.isNull() || loaded.toByteArray().isEmpty()) << picture.toStdString();
    }
    EXPECT_GE(links.size(), 10);
    for (const QString& link : links) EXPECT_TRUE(anchors.contains(link)) << link.toStdString();

    // Following a contents link moves down; Contents returns to the top.
    help->resize(600, 400);
    QTest::qWait(50);
    emit browser.anchorClicked(QUrl("#where-settings-live"));
    QTest::qWait(50);
    EXPECT_GT(browser.verticalScrollBar()->value(), 0);
    Action("Help2")->trigger();
    EXPECT_EQ(browser.verticalScrollBar()->value(), 0);
    EXPECT_TRUE(dialogs_.opened.empty()) << "nothing is handed to the desktop";
}

// Clicked as a user clicks them: the browser hands over each link resolved
// against the manual's file, not as the "#heading" written in it.
TEST_F(HelpAndProjectsTest, EveryContentsLinkClickedScrollsTheManualToItsHeading) {
    CopyShippedManual();
    Action("Help2")->trigger();
    app::HelpWindow* help = Window().Help();
    ASSERT_NE(help, nullptr);
    help->resize(600, 400);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    QTextBrowser& browser = help->Browser();
    QTextDocument& document = *browser.document();

    std::map<QString, QTextBlock> headings;
    std::vector<std::pair<QString, int>> links;  // target, position inside the link
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (const QString& name : fragment.charFormat().anchorNames()) headings[name] = block;
            const QString href = fragment.charFormat().anchorHref();
            if (href.startsWith('#'))
                links.emplace_back(href.mid(1), fragment.position() + fragment.length() / 2);
        }
    ASSERT_GE(links.size(), 10u);

    const QScrollBar& bar = *browser.verticalScrollBar();
    for (const auto& [target, position] : links) {
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        browser.setTextCursor(cursor);
        browser.ensureCursorVisible();
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, {},
                          browser.cursorRect(cursor).center());
        ASSERT_TRUE(headings.count(target)) << target.toStdString();
        // The heading is at the top of the view, or the view is at its end.
        const QTextBlock heading = headings[target];
        const int top = qRound(document.documentLayout()->blockBoundingRect(heading).top());
        EXPECT_NEAR(bar.value(), std::min(top, bar.maximum()),
                    heading.blockFormat().topMargin() + 2)
            << target.toStdString();
    }
    EXPECT_TRUE(dialogs_.opened.empty()) << dialogs_.opened.front().toString().toStdString();
}

TEST_F(HelpAndProjectsTest, WithoutTheManualTheHelpWindowSaysWhereItWasLookedFor) {
    Action("Help2")->trigger();
    ASSERT_NE(Window().Help(), nullptr);
    const QString text = Window().Help()->Browser().document()->toPlainText();
    EXPECT_TRUE(text.contains(Path("help/manual.md"))) << text.toStdString();
}

TEST_F(HelpAndProjectsTest, HeadingAnchorsAreThoseOfTheCodeHostingSite) {
    const std::pair<const char*, const char*> cases[] = {
        {"1. Images", "1-images"},
        {"The per-image dialog", "the-per-image-dialog"},
        {"  Where settings live ", "where-settings-live"},
        {"Keys & shortcuts (F1)", "keys--shortcuts-f1"},
    };
    for (const auto& [heading, anchor] : cases)
        EXPECT_EQ(app::HeadingAnchor(heading), anchor) << heading;
}

// What "vantoshow show.dvprj" does once the window is up, and what the
// Recent Projects menu and the dialogs make of it.
TEST_F(HelpAndProjectsTest, AProjectOpenedByNameIsLoadedRememberedAndNamesTheVideo) {
    const QString picture = MakePicture("shows/beach.jpg");
    const QString project = MakeFile(
        "shows/holiday.dvprj", ("[Set]\nVideoType=0\n[Pictures]\n" + picture + "=1\n").toUtf8());
    ASSERT_TRUE(Window().OpenProject(project));
    EXPECT_EQ(Window().Images().rowCount(), 1);
    EXPECT_EQ(Window().WorkingShow().settings.VideoType, 0);
    EXPECT_EQ(Window().ProjectFile(), project);
    EXPECT_TRUE(dialogs_.errors.isEmpty());

    // The Load and Save As dialogs start in the project's folder, Save As
    // at its name.
    Action("LoadProject1")->trigger();
    Action("SaveProject1")->trigger();
    EXPECT_EQ(dialogs_.initialFolders, QStringList({Path("shows"), project}));

    // The menu lists it; a second project goes first.
    const QString other = MakeFile("other.dvprj", "[Set]\nVideoType=2\n");
    ASSERT_TRUE(Window().OpenProject(other));
    QMenu* recent = Window().findChild<QMenu*>(QStringLiteral("RecentProjects1"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->text(), "&1 other.dvprj");
    EXPECT_EQ(recent->actions()[1]->toolTip(), project);
    recent->actions()[1]->trigger();
    EXPECT_EQ(Window().WorkingShow().settings.VideoType, 0);
    EXPECT_EQ(Window().ProjectFile(), project);

    // A project that has gone says so and leaves the list.
    ASSERT_TRUE(QFile::remove(other));
    emit recent->aboutToShow();
    recent->actions()[1]->trigger();
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(dialogs_.errors[0].contains(other)) << dialogs_.errors[0].toStdString();
    EXPECT_EQ(model::RecentProjects(), std::vector<std::string>{project.toStdString()});
    EXPECT_EQ(Window().ProjectFile(), project);

    // The video is offered under the project's name.
    dialogs_.videoNames = {};
    Click("goBuildB");
    ASSERT_FALSE(dialogs_.initialFolders.isEmpty());
    EXPECT_TRUE(dialogs_.initialFolders.last().endsWith("/holiday.mpg"))
        << dialogs_.initialFolders.last().toStdString();
}

TEST_F(HelpAndProjectsTest, APngNamedJpgShowsItsThumbnail) {
    ASSERT_TRUE(QFile::rename(MakePicture("png.png", 64, 48, Qt::red), Path("photo.jpg")));
    dialogs_.pictureFiles = {{Path("photo.jpg")}};
    Click("addimagefile1");
    auto* panel = Find<app::ThumbnailPanel>("fsPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->HasPicture());
    EXPECT_FALSE(panel->OverlayVisible()) << panel->OverlayText().toStdString();
}

}  // namespace
