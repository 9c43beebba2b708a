// The render-transition command, run as users run it: the built vantoshow
// program with arguments, its exit code, its messages and the file it writes.
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "cli/RenderTransition.h"

namespace cli {
namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

class RenderTransitionCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_cli";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) static QCoreApplication application(argc, argv);
    }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // A landscape picture in red and a portrait one in blue.
        ASSERT_TRUE(Solid(64, 48, Qt::red).save(path("a.png")));
        ASSERT_TRUE(Solid(32, 64, Qt::blue).save(path("b.png")));
    }

    static QImage Solid(int width, int height, QColor color) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        return image;
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    Outcome Run(const QStringList& arguments) const {
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        process.start(QStringLiteral(VANTO_PROGRAM),
                      QStringList{QStringLiteral("render-transition")} + arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << "vantoshow did not finish";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "vantoshow crashed";
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QTemporaryDir dir_;
};

TEST_F(RenderTransitionCommand, BadArgumentsGiveTheUsageAndExitTwo) {
    const QStringList good = {"--from", "a.png", "--to", "b.png", "-o", "out.png"};
    const QList<QStringList> cases = {
        {},
        QStringList{"--progress", "50"} + good,                    // no style
        QStringList{"--style", "0", "--progress", "50"} + good,    // below the table
        QStringList{"--style", "173", "--progress", "50"} + good,  // beyond it
        QStringList{"--style", "7x", "--progress", "50"} + good,   // not a number
        QStringList{"--style", "7"} + good,                        // no progress
        QStringList{"--style", "7", "--progress", "101"} + good,   // beyond 100
        QStringList{"--style", "7", "--progress", "-1"} + good,    // below 0
        QStringList{"--style", "7", "--progress", "50", "--size", "0x10"} + good,
        QStringList{"--style", "7", "--progress", "50", "--size", "720"} + good,
        QStringList{"--style", "7", "--progress", "50", "--size", "720x576x2"} + good,
        QStringList{"--style", "7", "--progress", "50", "--size", "5000x100"} + good,
        QStringList{"--style", "7", "--progress", "50", "--from", "a.png", "-o", "out.png"},
        QStringList{"--style", "7", "--progress", "50", "--from", "a.png", "--to", "b.png"},
        QStringList{"--style", "7", "--progress", "50", "--colour", "red"} + good,
        QStringList{"--sheet", "--style", "7"} + good,
        QStringList{"--style", "7", "--progress", "50", "--from", "a.png", "--to", "b.png", "-o",
                    "out.notapicture"},
        QStringList{"--style", "7", "--progress", "50"} + good + QStringList{"--size"},
    };
    for (const QStringList& arguments : cases) {
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.contains("Usage: vantoshow render-transition"))
            << arguments.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(path("out.png")));
    }
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: vantoshow render-transition"));
}

// A picture that is missing, garbled or cut short gives one line naming it,
// a non-zero exit, and leaves a file already at the output name alone; so
// does an output that cannot be written.
TEST_F(RenderTransitionCommand, FailuresGiveOneLineAndKeepTheOutput) {
    QFile garbled(path("garbled.png"));
    ASSERT_TRUE(garbled.open(QIODevice::WriteOnly));
    garbled.write(QByteArray(300, '\x5a'));
    garbled.close();
    QFile whole(path("a.png"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray png = whole.readAll();
    QFile cut(path("cut.png"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(png.left(png.size() / 3));
    cut.close();

    QFile existing(path("out.png"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an earlier frame");
    existing.close();

    for (const QString& bad :
         {QString("missing.jpg"), QString("garbled.png"), QString("cut.png")}) {
        for (const bool sheet : {false, true}) {
            QStringList arguments =
                sheet ? QStringList{"--sheet"} : QStringList{"--style", "12", "--progress", "30"};
            arguments += {"--from", "a.png", "--to", bad, "-o", "out.png"};
            const Outcome outcome = Run(arguments);
            const QString what = arguments.join(' ');
            EXPECT_EQ(outcome.exitCode, 1) << what.toStdString();
            EXPECT_EQ(outcome.err.trimmed().count('\n'), 0) << outcome.err.toStdString();
            EXPECT_TRUE(outcome.err.contains(bad)) << outcome.err.toStdString();
            ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
            EXPECT_EQ(existing.readAll(), QByteArray("an earlier frame")) << what.toStdString();
            existing.close();
        }
    }

    const Outcome unwritable = Run({"--style", "12", "--progress", "30", "--from", "a.png", "--to",
                                    "b.png", "-o", "no-such-folder/out.png"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err.trimmed().count('\n'), 0) << unwritable.err.toStdString();
    EXPECT_TRUE(unwritable.err.contains("cannot write")) << unwritable.err.toStdString();
}

// "Reveal from left" at 50 percent of an 80x60 frame shows the incoming
// picture's left 40 columns. The portrait picture is fitted 30 wide, centred
// at column 25 on black; the landscape one fills the frame.
TEST_F(RenderTransitionCommand, DrawsTheFrameOfTheFittedPictures) {
    const Outcome outcome = Run({"--style", "5", "--progress", "50", "--from", "a.png", "--to",
                                 "b.png", "--size", "80x60", "-o", "frame.png"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
    const QImage frame(path("frame.png"));
    ASSERT_EQ(frame.size(), QSize(80, 60));
    for (const int y : {0, 30, 59}) {
        EXPECT_EQ(frame.pixelColor(24, y), QColor(Qt::black)) << y;
        EXPECT_EQ(frame.pixelColor(25, y), QColor(Qt::blue)) << y;
        EXPECT_EQ(frame.pixelColor(39, y), QColor(Qt::blue)) << y;
        EXPECT_EQ(frame.pixelColor(40, y), QColor(Qt::red)) << y;
        EXPECT_EQ(frame.pixelColor(79, y), QColor(Qt::red)) << y;
    }

    const Outcome sheet =
        Run({"--sheet", "--from", "a.png", "--to", "b.png", "--size", "80x60", "-o", "sheet.png"});
    ASSERT_EQ(sheet.exitCode, 0) << sheet.err.toStdString();
    const QImage contact(path("sheet.png"));
    ASSERT_FALSE(contact.isNull());
    EXPECT_GT(contact.width(), 12 * 100);
    EXPECT_GT(contact.height(), 15 * 75);
}

// A 1600x1200 picture on a 720x576 frame: 720x540 at (0, 18).
TEST_F(RenderTransitionCommand, FitsAsTheVideoBuildPlacesAPicture) {
    ASSERT_TRUE(Solid(1600, 1200, Qt::white).save(path("large.png")));
    const raster::Bitmap frame = ComposeOnBlack(path("large.png").toStdString(), 720, 576);
    ASSERT_EQ(frame.width(), 720);
    ASSERT_EQ(frame.height(), 576);
    // A 4:3 photo fills the 4:3 screen that a 720x576 frame is shown on.
    for (const int x : {0, 359, 719}) {
        EXPECT_EQ(frame.pixel(x, 0), 0xFFFFFFu) << x;
        EXPECT_EQ(frame.pixel(x, 575), 0xFFFFFFu) << x;
    }
    // Any other size has square pixels: 800x500 shows it 666 wide, centred.
    const raster::Bitmap wide = ComposeOnBlack(path("large.png").toStdString(), 800, 500);
    EXPECT_EQ(wide.pixel(66, 250), 0u);
    EXPECT_EQ(wide.pixel(67, 250), 0xFFFFFFu);
    EXPECT_EQ(wide.pixel(732, 250), 0xFFFFFFu);
    EXPECT_EQ(wide.pixel(733, 250), 0u);
    EXPECT_THROW(ComposeOnBlack(path("nothing-here.png").toStdString(), 720, 576),
                 std::runtime_error);
}

}  // namespace
}  // namespace cli
