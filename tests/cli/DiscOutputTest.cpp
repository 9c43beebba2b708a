// The disc half of the build: a built video goes onto its disc in the format
// it was built in, whatever the show says by the time it is authored.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

#include "cli/DiscOutput.h"
#include "model/Settings.h"
#include "model/Show.h"
#include "showbuild/BuildDriver.h"

namespace cli {
namespace {

// The format is changed once the video is built, and the working store keeps
// the change, as the window does: the disc still plays the video as built
// (a DVD of NTSC video says NTSC; a VCD track is written as a VCD).
TEST(DiscOutput, AuthorsTheVideoInTheFormatItWasBuiltIn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    model::SetUserDataDir(dir.filePath("user-data").toStdString());
    model::SetProgramDir(dir.path().toStdString());
    model::OpenOptionsStore();
    QImage picture(96, 72, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(dir.filePath("a.png")));
    ASSERT_TRUE(picture.save(dir.filePath("b.png")));

    const struct {
        uint8_t videoType;
        int32_t tvSet;
        uint8_t laterType;  // the format chosen afterwards
        int32_t laterTvSet;
        disc::DiscKind kind;
        const char* output;
        const char* reader;
        QStringList readerOptions;  // before the disc's name
        const char* says;
    } cases[] = {
        {2, 1, 2, 0, disc::DiscKind::Folder, "dvd_dvd", "lsdvd", {"-v"}, "Format: NTSC"},
        {0,
         1,
         1,
         0,
         disc::DiscKind::BinCue,
         "vcd.cue",
         "vcd-info",
         {"-B", "--cue-file"},
         "VCD 2.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        model::Show show;
        show.settings.VideoType = c.videoType;
        show.settings.TVSet = c.tvSet;
        show.settings.ImageInterval = 1;
        show.settings.EffectSpeed2 = 1;
        show.settings.Pictures = {dir.filePath("a.png").toStdString(),
                                  dir.filePath("b.png").toStdString()};
        video::BuildDriver driver;
        const video::BuildResult built =
            driver.Build(show, dir.filePath(c.output).toStdString() + ".mpg");
        ASSERT_EQ(built.status, video::BuildResult::Status::Completed) << built.message;

        show.settings.VideoType = c.laterType;
        show.settings.TVSet = c.laterTvSet;
        ASSERT_TRUE(model::SaveWorkingShow(show));
        const DiscChoice choice{c.kind, dir.filePath(c.output).toStdString(), "Show", false};
        ASSERT_EQ(AuthorBuiltShow(choice, built, built.videoFile, {}), 0);

        QProcess reader;
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.start(c.reader, c.readerOptions + QStringList{dir.filePath(c.output)});
        ASSERT_TRUE(reader.waitForFinished(60000)) << c.reader;
        const QString read = QString::fromLocal8Bit(reader.readAll());
        EXPECT_TRUE(read.contains(c.says)) << read.toStdString();
    }
    model::SetProgramDir("");
    model::SetUserDataDir("");
}

}  // namespace
}  // namespace cli
