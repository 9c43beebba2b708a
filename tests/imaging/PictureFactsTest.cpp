// When a picture was taken and its title, read from the EXIF block of a JPEG
// (big- or little-endian, alone or after a JFIF segment), else the file's
// time: what captions by date and sorting by date stand on.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include <QImage>
#include <map>
#include <optional>

#include "ExifPictures.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureFacts.h"
#include "imaging/PictureOrder.h"

namespace imaging::testing {
namespace {

using testing_exif::ExifBlock;
using testing_exif::WithExif;

Bytes PlainJpeg() {
    QImage image(32, 24, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG"));
    return Bytes(bytes.begin(), bytes.end());
}

TEST(PictureFacts, DateAndTitleFromExifElseTheFileTime) {
    TempDir dir;
    const Bytes jpeg = PlainJpeg();
    ASSERT_EQ(jpeg[3], 0xE0) << "Qt's JPEG starts with a JFIF segment";
    Bytes cut = WithExif(jpeg, ExifBlock({"2026:12:10 14:30:05", "Harbour"}));
    cut.resize(40);  // the segment runs past the end of the file
    struct Case {
        const char* name;
        Bytes file;
        const char* taken;  // as EXIF writes it, or nullptr for the file's time
        const char* title;
    };
    const Case cases[] = {
        {"little-endian after JFIF",
         WithExif(jpeg, ExifBlock({"2026:12:10 14:30:05", "Harbour at dusk"}), true),
         "2026:12:10 14:30:05", "Harbour at dusk"},
        {"big-endian, first segment", WithExif(jpeg, ExifBlock({"1999:01:31 23:59:59", ""}, true)),
         "1999:01:31 23:59:59", ""},
        {"title alone", WithExif(jpeg, ExifBlock({"", "  Grandma \xC3\xA9t\xC3\xA9  "})), nullptr,
         "Grandma \xC3\xA9t\xC3\xA9"},
        {"camera clock never set", WithExif(jpeg, ExifBlock({"0000:00:00 00:00:00", ""})), nullptr,
         ""},
        {"no EXIF", jpeg, nullptr, ""},
        {"cut off in the segment", cut, nullptr, ""},
    };
    const QDateTime fileTime(QDate(2025, 3, 4), QTime(12, 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("picture.jpg");
        WriteFile(path, c.file);
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(fileTime, QFileDevice::FileModificationTime));
        file.close();
        const PictureFacts facts = ReadPictureFacts(path);
        ASSERT_TRUE(facts.taken.has_value());
        EXPECT_EQ(facts.takenFromExif, c.taken != nullptr);
        if (c.taken)
            EXPECT_EQ(facts.taken->toString("yyyy:MM:dd HH:mm:ss").toStdString(), c.taken);
        else
            EXPECT_EQ(*facts.taken, fileTime);
        EXPECT_EQ(facts.title, c.title);
    }
    // A file that is gone has no time to sort by.
    EXPECT_FALSE(ReadPictureFacts(dir.file("gone.jpg")).taken.has_value());
}

// By date: the earliest first, ties and pictures without a time (files
// that are gone) in the order they had, the latter at the end. By name: the
// file name alone, letter case ignored, numbers as numbers.
TEST(PictureFacts, SortingByDateOrNameIsStable) {
    const QDateTime morning(QDate(2024, 7, 1), QTime(9, 0));
    const std::map<std::string, std::optional<QDateTime>> taken = {
        {"/b/IMG_10.jpg", morning.addDays(2)}, {"/a/img_9.jpg", morning},
        {"/c/IMG_2.jpg", std::nullopt},        {"/a/IMG_1.jpg", morning.addSecs(60)},
        {"/z/tie-first.jpg", morning},         {"/y/gone.jpg", std::nullopt},
    };
    const std::vector<std::string> listed = {"/b/IMG_10.jpg", "/c/IMG_2.jpg",     "/a/img_9.jpg",
                                             "/y/gone.jpg",   "/z/tie-first.jpg", "/a/IMG_1.jpg"};
    const auto facts = [&](const std::string& path) {
        PictureFacts f;
        f.taken = taken.at(path);
        return f;
    };
    struct Case {
        PictureOrder order;
        std::vector<std::string> sorted;
    };
    for (const Case& c : {
             Case{PictureOrder::Taken,
                  {"/a/img_9.jpg", "/z/tie-first.jpg", "/a/IMG_1.jpg", "/b/IMG_10.jpg",
                   "/c/IMG_2.jpg", "/y/gone.jpg"}},
             Case{PictureOrder::Name,
                  {"/y/gone.jpg", "/a/IMG_1.jpg", "/c/IMG_2.jpg", "/a/img_9.jpg", "/b/IMG_10.jpg",
                   "/z/tie-first.jpg"}},
             Case{PictureOrder::None, listed},
         }) {
        std::vector<std::string> paths = listed;
        SortPictures(paths, c.order, facts);
        EXPECT_EQ(paths, c.sorted) << static_cast<int>(c.order);
    }
}

}  // namespace
}  // namespace imaging::testing
