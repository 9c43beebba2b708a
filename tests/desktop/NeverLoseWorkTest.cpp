// The window on a real desktop: an X server with a window manager, the
// program's own prompts and file dialogs answered with the keyboard and the
// mouse while their event loops run, and closing from the title bar through
// the window manager. The sequences end with the user's work kept.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <deque>
#include <functional>

#include "app/AppTestUtil.h"
#include "app/ImageForm.h"
#include "app/MediaListModels.h"
#include "model/FileIo.h"
#include "model/Settings.h"
#include "showbuild/BuildDriver.h"

namespace app_test {
namespace {

// Answers the program's modal windows in turn, from a timer that runs inside
// their own event loops, as a user at the desktop would.
class Desk : public QObject {
public:
    using Act = std::function<void(QWidget&)>;

    Desk() {
        timer_.setInterval(50);
        connect(&timer_, &QTimer::timeout, this, [this] { Answer(); });
        timer_.start();
    }
    void Then(Act act) { acts_.push_back(std::move(act)); }
    bool Done() const { return acts_.empty(); }
    // The texts of the message boxes answered, in order.
    QStringList prompts;

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || acts_.empty()) return;
        // A user answers what is on the screen: a box shown but not yet
        // mapped by the window manager has no final geometry, and a click
        // aimed at its button could fall beside it.
        if (modal->windowHandle() == nullptr || !modal->windowHandle()->isExposed()) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) prompts << box->text();
        const Act act = std::move(acts_.front());
        acts_.pop_front();
        act(*modal);
    }

    QTimer timer_;
    std::deque<Act> acts_;
};

void PressKey(QWidget& window, Qt::Key key) {
    QTest::keyClick(&window, key);
}

void ClickButton(QWidget& box, QMessageBox::StandardButton which) {
    QAbstractButton* button = qobject_cast<QMessageBox*>(&box)->button(which);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types a name into the file dialog and presses Return.
Desk::Act TypeFileName(const QString& name) {
    return [name](QWidget& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr) << "not a file dialog: " << dialog.metaObject()->className();
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    };
}

Desk::Act SetFirstCaption(const QString& caption, QString* before = nullptr) {
    return [caption, before](QWidget& dialog) {
        auto& form = *qobject_cast<app::TImageForm*>(&dialog);
        QTableWidgetItem* cell = form.Grid().item(0, app::TImageForm::kCaptionColumn);
        if (before != nullptr) *before = cell->text();
        if (!caption.isEmpty()) cell->setText(caption);
        QTest::mouseClick(form.findChild<QAbstractButton*>(QStringLiteral("ok1")), Qt::LeftButton);
    };
}

class NeverLoseWorkTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // The program's own dialogs, not the scripted ones.
        app::SetUserDialogs(nullptr);
    }

    void ShowWindow() {
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }
    // Closes the window from its title bar: the window manager asks it.
    void CloseFromTitleBar() {
        const QString id = QStringLiteral("0x%1").arg(Window().winId(), 0, 16);
        ASSERT_EQ(QProcess::execute(QStringLiteral("wmctrl"), {"-i", "-c", id}), 0);
    }
    // Runs the event loop until the prompts are answered and things settle.
    void Settle(Desk& desk) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return desk.Done(); }, app_test::kPatience));
        QTest::qWait(300);
    }
    void Customize(Desk& desk) {
        Window().SelectStep(app::TMainForm::kEffectsStep);
        Click("customize1");
        Settle(desk);
    }
    void Trigger(const char* action) {
        Window().findChild<QAction*>(QLatin1String(action))->trigger();
    }
};

TEST_F(NeverLoseWorkTest, TitleBarCloseAsksAndCancelOrSaveKeepTheChanges) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    const QString project =
        MakeFile("holiday.dvprj", ("[Set]\n[Pictures]\n" + a + "=1\n").toUtf8());
    ASSERT_TRUE(Window().OpenProject(project));
    Window().Images().Append({b.toStdString(), true});
    ShowWindow();

    Desk desk;
    desk.Then([](QWidget& box) { PressKey(box, Qt::Key_Escape); });
    CloseFromTitleBar();
    Settle(desk);
    EXPECT_EQ(desk.prompts, QStringList{"Save changes to holiday.dvprj?"});
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Window().isWindowModified());
    EXPECT_EQ(model::ReadWholeFile(project.toStdString()).find(b.toStdString()), std::string::npos);

    desk.Then([](QWidget& box) { ClickButton(box, QMessageBox::Save); });
    CloseFromTitleBar();
    Settle(desk);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_NE(model::ReadWholeFile(project.toStdString()).find(b.toStdString() + "=1"),
              std::string::npos);
}

TEST_F(NeverLoseWorkTest, CaptionsSurviveSaveAsExitAndRestart) {
    Window().Images().Append({MakePicture("one.jpg").toStdString(), true});
    Window().Images().Append({MakePicture("two.jpg").toStdString(), true});
    ShowWindow();
    Desk desk;
    desk.Then(SetFirstCaption("Test caption one"));
    Customize(desk);
    Window().close();

    Restart();
    ShowWindow();
    QString shown;
    desk.Then(SetFirstCaption("Second caption", &shown));
    Customize(desk);
    EXPECT_EQ(shown, "Test caption one");
    desk.Then(TypeFileName(Path("t2.dvprj")));
    Trigger("SaveProject1");
    Settle(desk);
    ASSERT_TRUE(model::FileExists(Path("t2.dvprj").toStdString()));
    CloseFromTitleBar();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Window().isVisible(); }, app_test::kPatience));

    Restart();
    ShowWindow();
    desk.Then(SetFirstCaption({}, &shown));
    Customize(desk);
    EXPECT_EQ(shown, "Second caption");
    EXPECT_EQ(Window().windowTitle(), "t2.dvprj[*] - Vanto Slideshow");
    EXPECT_NE(model::ReadWholeFile(Path("t2.dvprj").toStdString()).find("Second caption"),
              std::string::npos);
}

// Escape in the save dialog after a build asks; the video kept is saved later
// from the Build step and plays. Closing during a build asks, and Yes stops
// it without leaving temporary files.
TEST_F(NeverLoseWorkTest, ABuiltVideoIsKeptAndABuildStoppedOnClosingLeavesNothing) {
    Window().Images().Append({MakePicture("a.jpg").toStdString(), true});
    Window().findChild<QSpinBox*>(QStringLiteral("IntervalEdit"))->setValue(1);
    ShowWindow();
    Desk desk;
    desk.Then([](QWidget& dialog) { PressKey(dialog, Qt::Key_Escape); });
    desk.Then([](QWidget& box) { ClickButton(box, QMessageBox::No); });
    Click("goBuildB");
    Settle(desk);
    ASSERT_EQ(desk.prompts.size(), 1);
    EXPECT_TRUE(desk.prompts[0].contains("Discard the video just built?"));

    const QString kept = Path("kept.mpg");
    desk.Then(TypeFileName(kept));
    Click("saveVideoButton");
    Settle(desk);
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", kept});
    ASSERT_TRUE(probe.waitForFinished(60000));
    EXPECT_GT(probe.readAllStandardOutput().trimmed().toDouble(), 0.9);

    // A long show, closed from the title bar while it builds.
    Window().findChild<QSpinBox*>(QStringLiteral("IntervalEdit"))->setValue(60);
    desk.Then([](QWidget& box) { ClickButton(box, QMessageBox::Yes); });
    QTimer::singleShot(500, &Window(), [this] { CloseFromTitleBar(); });
    Click("buildButton");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Window().isVisible(); }, 20000));
    EXPECT_TRUE(desk.prompts.last().contains("Stop the build and exit?"));
    EXPECT_FALSE(Window().Building());
    const QDir data(QString::fromStdString(model::DataDir()));
    EXPECT_EQ(data.entryList({"tmp*", "*.part"}, QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
}

}  // namespace
}  // namespace app_test
