// Shows of a few seconds built into discs by the program, as a user runs it,
// and read back with the players' own readers: lsdvd for the DVD title,
// xorriso for the image's files and label, vcd-info for the CD images.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>

#include "disc/DiscAuthor.h"
#include "showbuild/ShowTiming.h"

namespace disc {
namespace {

struct ToolOutput {
    int code = -1;
    QString output;
};

class DiscBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_disc";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) static QCoreApplication application(argc, argv);
        ASSERT_TRUE(dir_.isValid());
        environment_ = QProcessEnvironment::systemEnvironment();
        // The program keeps its options and temporary video in here.
        environment_.insert("HOME", dir_.path());
        environment_.insert("XDG_DATA_HOME", dir_.filePath("data"));
        environment_.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
    }

    QString File(const QString& name) const { return dir_.filePath(name); }

    // A project of 'count' pictures of one second each with the fastest
    // transition, in the format and standard given, with more [Set] lines.
    QString WriteProject(const QString& name, int videoType, int tvSet, int count, int interval = 1,
                         const QString& moreSettings = {}) {
        QString text = QString(
                           "[Set]\nVideoType=%1\nTVSet=%2\nImageInterval=%3\nEffectSpeed2=1\n%4"
                           "[Pictures]\n")
                           .arg(videoType)
                           .arg(tvSet)
                           .arg(interval)
                           .arg(moreSettings);
        const Qt::GlobalColor colours[] = {Qt::darkCyan, Qt::yellow, Qt::magenta, Qt::blue};
        for (int i = 0; i < count; ++i) {
            QImage picture(96, 72, QImage::Format_RGB32);
            picture.fill(colours[i % 4]);
            const QString path = File(QString("p%1.png").arg(i));
            EXPECT_TRUE(picture.save(path));
            text += path + "=1\n";
        }
        QFile project(File(name));
        EXPECT_TRUE(project.open(QIODevice::WriteOnly));
        project.write(text.toUtf8());
        return project.fileName();
    }

    ToolOutput Execute(const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& environment) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir_.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(300000)) << program.toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAll())};
    }
    ToolOutput Vantoshow(const QStringList& arguments) {
        return Execute(VANTO_PROGRAM, QStringList{"build"} + arguments, environment_);
    }
    ToolOutput Reader(const QString& program, const QStringList& arguments) {
        return Execute(program, arguments, QProcessEnvironment::systemEnvironment());
    }
    // Everything in the scratch folder whose name starts so.
    QStringList Left(const QString& prefix) const {
        return QDir(dir_.path()).entryList({prefix + "*"}, QDir::AllEntries | QDir::Hidden);
    }

    QTemporaryDir dir_;
    QProcessEnvironment environment_;
};

// lsdvd's title line: "Title: 01, Length: 00:00:05.040 Chapters: 03, ...".
struct TitleLine {
    int titles = 0;
    double seconds = 0;
    int chapters = 0;
};
TitleLine ReadTitles(const QString& lsdvdOutput) {
    TitleLine line;
    static const QRegularExpression title(
        R"(Title: \d+, Length: (\d+):(\d+):([\d.]+) Chapters: (\d+))");
    for (auto it = title.globalMatch(lsdvdOutput); it.hasNext();) {
        const auto match = it.next();
        ++line.titles;
        line.seconds = match.captured(1).toInt() * 3600 + match.captured(2).toInt() * 60 +
                       match.captured(3).toDouble();
        line.chapters = match.captured(4).toInt();
    }
    return line;
}

TEST_F(DiscBuildTest, DvdFolderAndImageHoldOneTitleWithAChapterPerPicture) {
    struct Case {
        int tvSet;
        QString stored;      // more [Set] lines of the project
        QStringList output;  // the output arguments
        QString read;        // what lsdvd reads
        double fps;
        QString aspect;  // as lsdvd and ffprobe name it
    };
    for (const Case& c : {
             Case{0,
                  "",
                  {"-o", "holiday_dvd/", "--disc", "folder", "--aspect", "16:9"},
                  "holiday_dvd",
                  25.0,
                  "16:9"},
             // The MP4 formats' shape, stored by every save, is not the DVD's.
             Case{1,
                  "VideoAspect=16:9\n",
                  {"-o", "holiday", "--disc", "iso"},
                  "holiday.iso",
                  30000.0 / 1001,
                  "4:3"},
             Case{1,
                  "VideoAspect=4:3\nDvdAspect=16:9\n",
                  {"-o", "wide_dvd/", "--disc", "folder"},
                  "wide_dvd",
                  30000.0 / 1001,
                  "16:9"},
         }) {
        SCOPED_TRACE(c.read.toStdString());
        const QString project = WriteProject("Holiday 2024.dvprj", 2, c.tvSet, 3, 1, c.stored);
        const auto start = std::chrono::steady_clock::now();
        const ToolOutput built = Vantoshow(QStringList{project} + c.output);
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_EQ(built.code, 0) << built.output.toStdString();
        RecordProperty(c.read.toStdString() + "_seconds", std::to_string(took));

        const ToolOutput listed = Reader("lsdvd", {File(c.read)});
        const TitleLine titles = ReadTitles(listed.output);
        EXPECT_EQ(titles.titles, 1) << listed.output.toStdString();
        EXPECT_EQ(titles.chapters, 3) << listed.output.toStdString();
        // Three pictures of one second plus the fastest transition each.
        const video::FrameRate rate = c.tvSet == 1 ? video::kNtscRate : video::kPalRate;
        const double show =
            3.0 * (video::ImageFrameCount(1, rate) + video::TransitionFrameCount(1, rate)) / c.fps;
        EXPECT_NEAR(titles.seconds, show, 1.0) << listed.output.toStdString();
        const ToolOutput video = Reader("lsdvd", {"-v", File(c.read)});
        EXPECT_TRUE(video.output.contains("Aspect ratio: " + QString(c.aspect).replace(':', '/')))
            << video.output.toStdString();
        if (!c.read.endsWith(".iso")) {
            const ToolOutput stream =
                Reader("ffprobe", {"-v", "error", "-select_streams", "v", "-show_entries",
                                   "stream=width,height,display_aspect_ratio", "-of",
                                   "default=nw=1:nk=1", File(c.read + "/VIDEO_TS/VTS_01_1.VOB")});
            EXPECT_EQ(stream.output.trimmed(),
                      QString("720\n%1\n%2").arg(c.tvSet == 1 ? 480 : 576).arg(c.aspect));
        }
        EXPECT_TRUE(Left("holiday").filter("part").isEmpty())
            << Left("holiday").join(' ').toStdString();
    }
    EXPECT_TRUE(QFile::exists(File("holiday_dvd/AUDIO_TS")));
    const ToolOutput files = Reader("xorriso", {"-indev", File("holiday.iso"), "-find", "/"});
    EXPECT_TRUE(files.output.contains("/VIDEO_TS/VIDEO_TS.IFO")) << files.output.toStdString();
    EXPECT_TRUE(files.output.contains("/VIDEO_TS/VTS_01_1.VOB")) << files.output.toStdString();
    EXPECT_TRUE(files.output.contains("'HOLIDAY_2024'")) << files.output.toStdString();
}

TEST_F(DiscBuildTest, VcdAndSvcdImagesHoldTheTrack) {
    for (const int videoType : {0, 1}) {
        SCOPED_TRACE(videoType);
        const QString name = videoType == 0 ? "vcd" : "svcd";
        const ToolOutput built =
            Vantoshow({WriteProject(name + ".dvprj", videoType, 0, 2), "-o", File(name + ".cue")});
        ASSERT_EQ(built.code, 0) << built.output.toStdString();
        EXPECT_TRUE(QFile::exists(File(name + ".bin")));
        const ToolOutput info = Reader("vcd-info", {"--cue-file", File(name + ".cue"), "-B"});
        EXPECT_EQ(info.code, 0) << info.output.toStdString();
        EXPECT_TRUE(info.output.contains(videoType == 0 ? "VCD 2.0" : "SVCD"))
            << info.output.toStdString();
        EXPECT_TRUE(info.output.contains(QRegularExpression(
            R"(\bTRACK\b|track\s*#?\s*0?1\b)", QRegularExpression::CaseInsensitiveOption)))
            << info.output.toStdString();
        EXPECT_TRUE(info.output.contains(name.toUpper())) << "label: " << info.output.toStdString();
        EXPECT_EQ(Left(name).size(), 3) << Left(name).join(' ').toStdString();
    }
}

// A show too large for its disc is refused before anything is encoded, and
// a disc that does not suit the format is a wrong argument.
TEST_F(DiscBuildTest, TheCommandRefusesWhatDoesNotFit) {
    const QString longVcd = WriteProject("long.dvprj", 0, 0, 1, 6000);
    const auto start = std::chrono::steady_clock::now();
    ToolOutput run = Vantoshow({longVcd, "-o", "long.cue"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.output.contains("CD (700 MB)")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("--force")) << run.output.toStdString();
    EXPECT_TRUE(Left("long.").filter(QRegularExpression("cue|bin|mpg|part")).isEmpty())
        << Left("long.").join(' ').toStdString();

    run = Vantoshow({WriteProject("dvd.dvprj", 2, 0, 1, 9000), "-o", "long.iso"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.output.contains("DVD-9 (8.5 GB)")) << run.output.toStdString();

    // A folder that holds something is not filled, and nothing is built for it.
    QDir().mkpath(File("full/keep"));
    run = Vantoshow({WriteProject("short.dvprj", 2, 0, 1), "-o", "full", "--disc", "folder"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.output.contains("not an empty folder")) << run.output.toStdString();
    EXPECT_EQ(Left("full"), QStringList{"full"});

    EXPECT_EQ(Vantoshow({longVcd, "-o", "x.iso"}).code, 2);
    EXPECT_EQ(Vantoshow({longVcd, "-o", "x", "--disc", "dvd"}).code, 2);
    EXPECT_TRUE(Left("x").isEmpty());
}

// A missing or failing tool is named with its own last message and the video
// is kept; an aborted authoring leaves neither the folder nor the image nor
// its work folder.
TEST_F(DiscBuildTest, FailedOrAbortedAuthoringLeavesNoDisc) {
    QProcessEnvironment noTools = environment_;
    const QString bin = File("bin");
    QDir().mkpath(bin);
    ASSERT_TRUE(QFile::link(VANTO_PROGRAM, bin + "/vantoshow"));
    noTools.insert("PATH", bin);
    const QString project = WriteProject("show.dvprj", 2, 0, 2);
    const ToolOutput run = Execute(VANTO_PROGRAM, {"build", project, "-o", "show.iso"}, noTools);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(
        run.output.contains("dvdauthor is not installed; the disc needs it (sudo apt "
                            "install dvdauthor)"))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("show.mpg")) << run.output.toStdString();
    EXPECT_EQ(Left("show."), QStringList({"show.dvprj", "show.mpg"}));

    // A tool that fails (here one that finds the disk full) is quoted.
    QFile tool(bin + "/dvdauthor");
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write(
        "#!/bin/sh\necho 'STAT: VOBU 1 at 0MB'\necho 'ERR: No space left on device'\nexit 1\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const ToolOutput full = Execute(VANTO_PROGRAM, {"build", project, "-o", "full.iso"}, noTools);
    EXPECT_EQ(full.code, 1);
    EXPECT_TRUE(full.output.contains("dvdauthor failed: ERR: No space left on device"))
        << full.output.toStdString();
    EXPECT_EQ(Left("full"), QStringList{"full.mpg"});

    for (const DiscKind kind : {DiscKind::Folder, DiscKind::Iso}) {
        AuthorRequest request;
        request.kind = kind;
        request.mpegFile = File("show.mpg").toStdString();
        request.output = File(kind == DiscKind::Folder ? "cut" : "cut.iso").toStdString();
        request.label = "CUT";
        request.chapters = {0, 1.2};
        // Abort is pressed once the first stage has reported: the DVD folder
        // is then made in the work folder, and for the image the second tool runs.
        bool reported = false;
        AuthorHooks hooks;
        hooks.progress = [&](const AuthorProgress&) { reported = true; };
        hooks.aborted = [&] { return reported; };
        EXPECT_EQ(AuthorDisc(request, hooks).status, AuthorResult::Status::Aborted);
        EXPECT_TRUE(Left("cut").isEmpty()) << Left("cut").join(' ').toStdString();
    }
}

}  // namespace
}  // namespace disc
