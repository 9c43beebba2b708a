// "vantoshow frame" against the built video, and its refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "video/EncoderTestUtil.h"

namespace {

class FrameCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // Two captioned pictures on the blurred fill, two seconds each after
        // a ten-frame transition: DVD PAL, 120 frames, 4.8 s.
        for (const char* name : {"a.png", "b.png"}) {
            QImage picture(400, 300, QImage::Format_RGB32);
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 400; ++x)
                    picture.setPixel(x, y,
                                     qRgb(x * 255 / 400, y * 255 / 300, name[0] == 'a' ? 40 : 200));
            ASSERT_TRUE(picture.save(dir_.filePath(name)));
        }
        QFile project(Project());
        ASSERT_TRUE(project.open(QIODevice::WriteOnly));
        project.write(QStringLiteral("[Set]\nVideoType=2\nImageInterval=2\nEffectSpeed2=1\n"
                                     "ShowCaption=1\nBack_Mode_UseColor=0\nBack_Mode_Blurred=1\n"
                                     "[Pictures]\n%1=1\n%2=1\n")
                          .arg(dir_.filePath("a.png"), dir_.filePath("b.png"))
                          .toUtf8());
    }

    QString Project() const { return dir_.filePath("show.dvprj"); }

    std::pair<int, std::string> Run(const QStringList& arguments) const {
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        process.start(QStringLiteral(VANTO_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitCode(), process.readAllStandardError().toStdString()};
    }

    QTemporaryDir dir_;
};

TEST_F(FrameCommand, MatchesTheBuiltVideoAtAPicturesMiddle) {
    const auto [built, buildErrors] = Run({"build", Project(), "-o", dir_.filePath("show.mpg")});
    ASSERT_EQ(built, 0) << buildErrors;
    // The middle of the second picture's hold: frame 60 + 10 + 25.
    const auto [code, errors] =
        Run({"frame", Project(), "--at", "3.8", "-o", dir_.filePath("f.png")});
    ASSERT_EQ(code, 0) << errors;
    const QImage shown(dir_.filePath("f.png"));
    ASSERT_EQ(shown.size(), QSize(768, 576));
    // Compared at the stream's size, as the decoder gives it.
    const QImage frame = shown.scaled(720, 576, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const std::vector<uint8_t> decoded =
        video::test::DecodeFrameLuma(dir_.filePath("show.mpg").toStdString(), 720, 576, 95);
    ASSERT_EQ(decoded.size(), size_t{720 * 576});
    double difference = 0;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x) {
            const QRgb rgb = frame.pixel(x, y);
            // ffmpeg hands the luma out at full range.
            const double luma = 0.299 * qRed(rgb) + 0.587 * qGreen(rgb) + 0.114 * qBlue(rgb);
            difference += std::abs(luma - decoded[static_cast<size_t>(y) * 720 + x]);
        }
    EXPECT_LT(difference / (720 * 576), 3.0);
}

TEST_F(FrameCommand, RefusesBadInputWithOneLine) {
    const struct {
        QStringList arguments;
        int code;
        const char* reason;
    } cases[] = {
        {{"--at", "9", "-o", "f.png"}, 1, "the show lasts 0:04"},
        {{"--at", "-1", "-o", "f.png"}, 2, "--at must be a time in seconds"},
        {{"--at", "soon", "-o", "f.png"}, 2, "--at must be a time in seconds"},
        {{"--at", "1", "-o", "missing/f.png"}, 1, "cannot write \"missing/f.png\""},
        {{"--at", "1"}, 2, "no output named"},
    };
    for (const auto& c : cases) {
        const auto [code, errors] = Run(QStringList{"frame", Project()} + c.arguments);
        EXPECT_EQ(code, c.code) << errors;
        EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    }
    const auto [code, errors] = Run({"frame", "gone.dvprj", "--at", "1", "-o", "f.png"});
    EXPECT_EQ(code, 1);
    EXPECT_NE(errors.find("cannot open project"), std::string::npos) << errors;
}

}  // namespace
