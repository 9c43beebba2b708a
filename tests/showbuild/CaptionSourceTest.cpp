// What pictures without a caption of their own show, built through the
// driver: nothing, the file name, the date taken (from EXIF, else the
// file's time) in the show's date format, or the EXIF title; a caption of
// the picture's own wins over every source.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ExifPictures.h"
#include "model/CaptionSource.h"
#include "showbuild/BuildTestUtil.h"

namespace video::test {
namespace {

using Source = model::CaptionSource;
using Format = model::CaptionDate;

void AddExif(const std::string& path, const testing_exif::ExifTags& tags) {
    std::ifstream in(path, std::ios::binary);
    const testing_exif::Bytes jpeg{std::istreambuf_iterator<char>(in), {}};
    in.close();
    const testing_exif::Bytes out =
        testing_exif::WithExif(jpeg, testing_exif::ExifBlock(tags), true);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

// The captions in the order they came on screen, each once.
std::vector<std::string> CaptionsShown(const BuildResult& result,
                                       const std::vector<std::vector<CaptionLine>>& frames) {
    EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
    std::vector<std::string> shown;
    for (const std::vector<CaptionLine>& lines : frames) {
        std::string text;
        for (const CaptionLine& line : lines) text += line.text;
        if (shown.empty() || shown.back() != text) shown.push_back(text);
    }
    return shown;
}

TEST_F(BuildTest, PicturesWithoutACaptionShowTheShowsSource) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    show_.settings.VideoType = 0;
    QuickShow(0);
    show_.settings.ShowCaption = true;
    const std::string dated = File("IMG_0412.jpg");
    WriteSolidPicture(dated, 160, 120, 0x000000);
    AddExif(dated, {"2026:12:10 14:30:05", "Harbour at dusk"});
    const std::string plain = File("scan.jpg");
    WriteSolidPicture(plain, 160, 120, 0x000000);
    QFile file(QString::fromStdString(plain));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 3, 4), QTime(12, 0)),
                                 QFileDevice::FileModificationTime));
    file.close();
    const std::string own = File("own.jpg");
    WriteSolidPicture(own, 160, 120, 0x000000);
    show_.notes.WriteString("captions", "own.jpg", "Mine");
    show_.settings.Pictures = {dated, plain, own};

    struct Case {
        Source source;
        Format format;
        std::vector<std::string> shown;  // dated, plain, own; repeats merged
        bool inkOnTheFirstFrame;
    };
    const Case cases[] = {
        {Source::None, Format::Long, {"", "Mine"}, false},
        {Source::FileName, Format::Long, {"IMG_0412", "scan", "Mine"}, true},
        {Source::DateTaken, Format::Long, {"10 December 2026", "4 March 2025", "Mine"}, true},
        {Source::DateTaken, Format::Numeric, {"10/12/2026", "04/03/2025", "Mine"}, true},
        {Source::DateTaken, Format::Month, {"December 2026", "March 2025", "Mine"}, true},
        {Source::Title, Format::Long, {"Harbour at dusk", "", "Mine"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(model::kCaptionSourceNames[static_cast<size_t>(c.source)].name) +
                     " " + model::kCaptionDateNames[static_cast<size_t>(c.format)].name);
        show_.settings.CaptionSource = static_cast<uint8_t>(c.source);
        show_.settings.CaptionDate = static_cast<uint8_t>(c.format);
        std::vector<std::vector<CaptionLine>> frames;
        BuildHooks hooks;
        hooks.frameSent = [&](int64_t, const raster::Bitmap&,
                              const std::vector<CaptionLine>& captions) {
            frames.push_back(captions);
        };
        const BuildResult result = BuildShow(hooks);
        EXPECT_EQ(CaptionsShown(result, frames), c.shown);
        // The text is drawn into the video, not only laid out: bright ink
        // in the lower half of the black picture, where a caption goes.
        const std::vector<uint8_t> luma = DecodeFirstFrameLuma(result.videoFile, 352, 288);
        int bright = 0;
        for (int y = 288 / 2; y < 288; ++y)
            for (int x = 60; x < 292; ++x) bright += luma[static_cast<size_t>(y) * 352 + x] > 150;
        EXPECT_EQ(bright > 50, c.inkOnTheFirstFrame) << bright << " bright pixels";
    }
    QLocale::setDefault(QLocale::system());
}

}  // namespace
}  // namespace video::test
