#include "video/BuildTestUtil.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <filesystem>

#include "model/IniFile.h"

namespace video::test {

void WritePicture(const std::string& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(2, 2, width - 5, height - 5);
    painter.end();
    ASSERT_TRUE(image.save(QString::fromStdString(path))) << path;
}

void WriteSolidPicture(const std::string& path, int width, int height, unsigned rgb) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(rgb));
    ASSERT_TRUE(image.save(QString::fromStdString(path))) << path;
}

void BuildTest::SetUp() {
    model::SetUserDataDir(dir_.file("user-data"));
    model::SetProgramDir(dir_.path().string());
    model::Settings = model::TslSettings{};
    model::OpenOptionsStore();
    model::OptionsStore().Clear();
}

void BuildTest::TearDown() {
    model::Settings = model::TslSettings{};
    model::SetProgramDir("");
    model::SetUserDataDir("");
}

std::string BuildTest::AddPicture(const std::string& name, int width, int height) {
    const std::string path = File(name);
    WritePicture(path, width, height);
    model::Settings.Pictures.push_back(path);
    return path;
}

std::string BuildTest::AddMusic(const std::string& name, double seconds, int lengthMs) {
    const std::string path = File(name);
    MakeSineMp3(path, seconds);
    model::Settings.Music.push_back(path);
    model::OptionsStore().WriteInteger("Mp3Length", path, lengthMs);
    return path;
}

void ExpectStream(const FileInfo& info, int videoType, int tvSet, bool withAudio) {
    ASSERT_TRUE(info.video.has_value());
    static const int kWidths[] = {352, 480, 720};
    EXPECT_EQ(info.video->width, kWidths[videoType]);
    EXPECT_EQ(info.video->height,
              tvSet == 1 ? (videoType == 0 ? 240 : 480) : (videoType == 0 ? 288 : 576));
    EXPECT_NEAR(info.video->frameRate, tvSet == 1 ? 29.97 : 25.0, 0.01);
    EXPECT_EQ(info.video->codec, videoType == 0 ? "mpeg1video" : "mpeg2video");
    EXPECT_EQ(info.audio.has_value(), withAudio);
}

void ExpectEndsTogether(const FileInfo& info) {
    ASSERT_TRUE(info.video && info.audio);
    EXPECT_NEAR(info.audio->end, info.video->end, 1.0 / info.video->frameRate + 1e-6)
        << "audio ends at " << info.audio->end << " s, video at " << info.video->end << " s";
}

void ExpectAuthoringAccepts(const std::string& path, int videoType, int tvSet,
                            const ScratchDir& dir) {
    std::string output;
    if (videoType == 2) {
        const std::string env = tvSet == 1 ? "VIDEO_FORMAT=NTSC " : "VIDEO_FORMAT=PAL ";
        const std::string disc = dir.file("dvd");
        std::filesystem::remove_all(disc);
        ASSERT_EQ(RunCommand(env + "dvdauthor -o '" + disc + "' -t '" + path + "'", &output), 0)
            << output;
        EXPECT_EQ(output.find("ERR:"), std::string::npos) << output;
        ASSERT_EQ(RunCommand(env + "dvdauthor -o '" + disc + "' -T", &output), 0) << output;
        EXPECT_TRUE(std::filesystem::exists(disc + "/VIDEO_TS/VIDEO_TS.IFO"));
    } else {
        const char* type = videoType == 0 ? "vcd2" : "svcd";
        ASSERT_EQ(RunCommand("cd '" + dir.path().string() + "' && vcdimager -t " + type +
                                 " -c disc.cue -b disc.bin '" + path + "'",
                             &output),
                  0)
            << output;
        EXPECT_NE(output.find("finished ok"), std::string::npos) << output;
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    }
}

}  // namespace video::test
