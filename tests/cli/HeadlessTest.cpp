// The headless commands run without a display even when the environment
// names a desktop platform, as over a remote shell.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace cli {
namespace {

TEST(HeadlessCommands, RunWithoutADisplayWhateverPlatformIsNamed) {
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) static QCoreApplication application(argc, argv);
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

}  // namespace
}  // namespace cli
