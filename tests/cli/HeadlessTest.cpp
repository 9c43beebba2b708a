// The headless commands as a user runs them: without a display even when
// the environment names a desktop platform, as over a remote shell, and a
// build that Ctrl-C stops.
#include <gtest/gtest.h>

#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "cli/Cli.h"

namespace cli {
namespace {

void NeedCoreApplication() {
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication application(argc, argv);
}

// "vantoshow show.dvprj", as a file manager starts it, is for the window;
// a mistyped command stays an error rather than a project that is not there.
TEST(HeadlessCommands, AProjectArgumentIsLeftToTheWindow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile notes(dir.filePath("notes"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    const std::string existing = dir.filePath("notes").toStdString();
    const struct {
        std::string argument;
        bool project;
    } cases[] = {{"show.dvprj", true}, {"/home/u/HOLIDAY.DVPRJ", true},
                 {existing, true},     {".dvprj", false},
                 {"biuld", false},     {"build", false},
                 {"--version", false}};
    for (const auto& c : cases) {
        char program[] = "vantoshow";
        std::string argument = c.argument;
        char* argv[] = {program, argument.data(), nullptr};
        EXPECT_EQ(ProjectArgument(2, argv), c.project ? c.argument : "") << c.argument;
        if (c.project) {
            EXPECT_EQ(RunCommandLine(2, argv), -1) << c.argument;
        }
    }
    char program[] = "vantoshow", first[] = "a.dvprj", second[] = "b.dvprj";
    char* two[] = {program, first, second, nullptr};
    EXPECT_EQ(ProjectArgument(3, two), "");
}

TEST(HeadlessCommands, RunWithoutADisplayWhateverPlatformIsNamed) {
    NeedCoreApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(32, 24, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(dir.filePath("a.png")));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const char* platform : {"xcb", "wayland"}) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QLatin1String(platform));
        auto run = [&](const QStringList& arguments) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.setWorkingDirectory(dir.path());
            process.start(QStringLiteral(VANTO_PROGRAM), arguments);
            EXPECT_TRUE(process.waitForFinished(60000));
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << platform << " crashed";
            return std::pair{process.exitCode(), process.readAllStandardError()};
        };
        const auto [frameCode, frameErrors] =
            run({"render-transition", "--style", "5", "--progress", "50", "--from", "a.png", "--to",
                 "a.png", "--size", "40x30", "-o", "frame.png"});
        EXPECT_EQ(frameCode, 0) << platform << ": " << frameErrors.toStdString();
        EXPECT_EQ(QImage(dir.filePath("frame.png")).size(), QSize(40, 30)) << platform;

        const auto [buildCode, buildErrors] = run({"build", "missing.dvprj", "-o", "show.mpg"});
        EXPECT_EQ(buildCode, 1) << platform;
        EXPECT_TRUE(buildErrors.contains("cannot open project")) << buildErrors.toStdString();
    }
}

// Ctrl-C during the conversion stops it within a frame or two; the command
// says so, exits with 130 and leaves neither the video nor a part of it.
TEST(HeadlessCommands, InterruptStopsTheBuildAndWritesNothing) {
    NeedCoreApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(dir.filePath("a.png")));
    ASSERT_TRUE(picture.save(dir.filePath("b.png")));
    // Two pictures of five minutes each: far longer than the test waits.
    QFile project(dir.filePath("long.dvprj"));
    ASSERT_TRUE(project.open(QIODevice::WriteOnly));
    project.write(QStringLiteral("[Set]\nVideoType=0\nImageInterval=300\nEffectSpeed2=1\n"
                                 "[Pictures]\n%1=1\n%2=1\n")
                      .arg(dir.filePath("a.png"), dir.filePath("b.png"))
                      .toUtf8());
    project.close();

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(VANTO_PROGRAM),
                  {"build", dir.filePath("long.dvprj"), "-o", dir.filePath("show.mpg")});
    ASSERT_TRUE(process.waitForStarted());
    // The progress log shows the conversion is under way.
    QByteArray errors;
    for (int second = 0;
         second < 120 && !errors.contains("Progress: ") && process.state() == QProcess::Running;
         ++second) {
        process.waitForReadyRead(1000);
        errors += process.readAllStandardError();
    }
    ASSERT_EQ(process.state(), QProcess::Running) << errors.toStdString();
    ASSERT_TRUE(errors.contains("Progress: ")) << errors.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    errors += process.readAllStandardError();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130) << errors.toStdString();
    EXPECT_TRUE(errors.contains("interrupted")) << errors.toStdString();
    const QStringList left = QDir(dir.path()).entryList({"show.mpg*"}, QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
}

}  // namespace
}  // namespace cli
