#include "showbuild/BuildTestUtil.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <utility>

#include "model/IniFile.h"
#include "model/MediaLists.h"
#include "model/Settings.h"
#include "model/WorkingState.h"
#include "showbuild/BuildDriver.h"

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
}

void BuildTest::TearDown() {
    model::SetProgramDir("");
    model::SetUserDataDir("");
}

void BuildTest::QuickShow(int32_t interval) {
    show_.settings.EffectSpeed2 = 1;
    show_.settings.ImageInterval = interval;
}

BuildResult BuildTest::BuildShow(const BuildHooks& hooks) const {
    BuildDriver driver(hooks);
    return driver.Build(show_);
}

std::vector<raster::Bitmap> BuildTest::BuiltFrames() const {
    std::vector<raster::Bitmap> shown;
    BuildHooks hooks;
    hooks.frameShown = [&](const raster::Bitmap& frame) { shown.push_back(frame); };
    const BuildResult result = BuildShow(hooks);
    EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
    return shown;
}

std::string BuildTest::AddPicture(const std::string& name, int width, int height) {
    const std::string path = File(name);
    WritePicture(path, width, height);
    show_.settings.Pictures.push_back(path);
    return path;
}

std::string BuildTest::AddMusic(const std::string& name, double seconds, int lengthMs) {
    const std::string path = File(name);
    MakeSineMp3(path, seconds);
    show_.settings.Music.push_back(path);
    show_.notes.WriteInteger("Mp3Length", path, lengthMs);
    return path;
}

void BuildTest::CollectShow(model::IniFile store) {
    for (const std::string& path : show_.settings.Pictures) store.WriteBool("Pictures", path, true);
    for (const std::string& path : show_.settings.Music) {
        store.WriteBool("Music", path, true);
        store.WriteInteger("Mp3Length", path, show_.MusicLengthMs(path));
    }
    model::ImageList images;
    model::MusicList music;
    images.FillFromStore(store);
    music.FillFromStore(store);
    model::CollectWorkingState(images, music, nullptr, false, store, show_);
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

std::vector<Entries> ProbeSections(const std::string& path, const std::string& what) {
    std::string output;
    EXPECT_EQ(RunCommand("ffprobe -v error " + what + " -of compact '" + path + "'", &output), 0)
        << output;
    std::vector<Entries> sections;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        Entries entries;
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, entries["section"], '|');
        while (std::getline(fields, field, '|')) {
            const size_t equals = field.find('=');
            if (equals != std::string::npos)
                entries[field.substr(0, equals)] = field.substr(equals + 1);
        }
        sections.push_back(std::move(entries));
    }
    return sections;
}

Entries StreamOfType(const std::vector<Entries>& sections, const std::string& type) {
    for (const Entries& s : sections)
        if (s.at("section") == "stream" && s.count("codec_type") && s.at("codec_type") == type)
            return s;
    ADD_FAILURE() << "no " << type << " stream";
    return {};
}

std::vector<Entries> ChaptersOf(const std::vector<Entries>& sections) {
    std::vector<Entries> chapters;
    std::copy_if(sections.begin(), sections.end(), std::back_inserter(chapters),
                 [](const Entries& s) { return s.at("section") == "chapter"; });
    return chapters;
}

}  // namespace video::test
