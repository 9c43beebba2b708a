// "vantoshow build": builds the show of a project file, or of the working
// options file, into an MPEG file without a window.
//
// The project is read into the process's own working store and never
// written back, so the user's options.dat is untouched. The show is taken
// as the window takes it before a build: the lists from the store, music
// without a known length measured first, then the collect step.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "base/Result.h"
#include "cli/BuildCommand.h"
#include "cli/DiscOutput.h"
#include "cli/HeadlessApplication.h"
#include "cli/ShowOptions.h"
#include "model/FileIo.h"
#include "model/Show.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/ProgressText.h"

namespace cli {

namespace {

constexpr const char* kUsage =
    "Usage: vantoshow build [PROJECT.dvprj] -o OUT.mpg\n"
    "                       [--preset tv|phone|square|4k-tv|dvd|dvd-wide|svcd|vcd]\n"
    "                       [--format vcd|svcd|dvd|mp4-720p|mp4-1080p|mp4-4k]\n"
    "                       [--aspect 16:9|4:3|9:16|1:1|4:5] [--quality standard|high]\n"
    "                       [--fps tv|24|25|30|50|60|29.97|59.94]\n"
    "                       [--standard pal|ntsc]\n"
    "                       [--sync none|pictures|music|stretch|beats]\n"
    "                       [--disc mpeg|folder|iso|bincue] [--force]\n"
    "                       [--background blur|color|picture]\n"
    "                       [--motion none|auto|zoom-in|zoom-out|pan-left|pan-right|\n"
    "                                 pan-up|pan-down|random[:STRENGTH]]\n"
    "                       [--motion-fit auto|fill|whole]\n"
    "                       [--fade-in S] [--fade-out S] [--crossfade S]\n"
    "                       [--even-loudness on|off]\n"
    "                       [--caption-font NAME] [--caption-size PERCENT]\n"
    "                       [--caption-position bottom|top|centre]\n"
    "                       [--caption-align left|centre|right]\n"
    "                       [--captions own|none|name|date|title]\n"
    "                       [--sort taken|name|none] [--subtitles track|file|off]\n"
    "                       [--title TEXT]\n"
    "\n"
    "Builds the show of a project file, or of the working options file when no\n"
    "project is named, into an MPEG or MP4 video. The options override the\n"
    "project's video format, the shape of the MP4 formats (H.264 and AAC; 16:9\n"
    "unless stored; 4:5 is made at mp4-1080p only) or of a DVD (4:3 unless\n"
    "stored; 16:9 is anamorphic), the MP4 quality (standard unless stored) and\n"
    "frame rate (the television standard's unless stored; --fps also takes\n"
    "30000/1001 and 60000/1001), television standard (the rate of the discs:\n"
    "25 or 29.97 per second) and synchronisation (fit the music to the\n"
    "pictures, the pictures to the music, stretch every picture's interval\n"
    "by one factor so that the show ends with the music, or change pictures on\n"
    "the music's beats and end with it), and --background what\n"
    "lies behind pictures that do not fill the frame (each picture's own blurred\n"
    "copy, the colour, or the background picture). \".mpg\" (\".mp4\" for the MP4\n"
    "formats) is added to OUT unless it ends so. The output is written whole or\n"
    "not at all. --motion sets the pan and zoom of every picture without its own\n"
    "(STRENGTH 1..5, how far the view travels: 5% to 25% of the picture; 3 when\n"
    "not given). --motion-fit sets how a moving picture of other proportions\n"
    "than the frame's is shown, unless it has its own choice: cut to fill the\n"
    "frame (fill), whole on what lies behind it, as a still picture (whole), or\n"
    "whole where filling would cut a face or keep less than half of the\n"
    "picture (auto).\n"
    "\n"
    "--preset sets the format, shape and frame rate for where the video will be\n"
    "watched, as the Options step's list does: tv (MP4 1080p 16:9 at 50 frames a\n"
    "second under PAL, 60 under NTSC), phone (1080x1920 at 30), square (1080x1080\n"
    "at 30), 4k-tv (MP4 4K 16:9 at 50 or 60), dvd (4:3), dvd-wide (16:9), svcd,\n"
    "vcd; the names the window lists are taken too (\"Phone, vertical\"). It\n"
    "leaves the quality and the standard alone, and --format, --aspect and --fps\n"
    "change what it set, before or after it.\n"
    "\n"
    "--captions switches the captions off (none) or on: each picture's own, and\n"
    "for pictures without one nothing (own), the file name, the date taken (the\n"
    "camera's EXIF date, else the file's; written as the project says) or the\n"
    "EXIF title. --sort orders the pictures by date taken (the earliest first)\n"
    "or by file name before the build; ties keep the project's order. An MP4\n"
    "video carries its captions as a subtitle track (track, the default), or\n"
    "they are written to OUT.srt beside it (file), or neither (off). --title\n"
    "opens the show with a title card saying TEXT over a blurred copy of the\n"
    "first picture, for the show's interval, its words centred and shown\n"
    "whether or not captions are.\n"
    "\n"
    "A DVD build can also be written as a DVD-Video folder (--disc folder) or\n"
    "image (OUT.iso), a VCD or SVCD build as a CD image (OUT.cue with OUT.bin);\n"
    "the kind follows the output name unless --disc names it. A show too large for\n"
    "the disc is refused unless --force is given.\n"
    "\n"
    "The music options override the project's: a fade-in at the start of the show,\n"
    "a fade-out where the show cuts the music, a crossfade between tracks (seconds\n"
    "from 0 to 10; a crossfade of 0 joins them gaplessly) and even loudness.\n"
    "\n"
    "The caption options override the show's caption style (pictures with a style\n"
    "of their own keep it; captions are drawn when the project shows them): an\n"
    "installed font family (one that is not installed is named in a warning and\n"
    "the default font is used), the size as a percentage of the frame's height\n"
    "(2 to 20), and where captions stand inside the title-safe area.\n"
    "\n"
    "Exit status: 0 built, 1 the build failed, 2 wrong arguments, 130 interrupted.\n";

constexpr int kExitInterrupted = 130;

std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
    gInterrupted = true;
}

// SIGINT and SIGTERM end the build cleanly instead of leaving a half file.
class InterruptGuard {
public:
    InterruptGuard() {
        gInterrupted = false;
        oldInt_ = std::signal(SIGINT, OnInterrupt);
        oldTerm_ = std::signal(SIGTERM, OnInterrupt);
    }
    ~InterruptGuard() {
        std::signal(SIGINT, oldInt_);
        std::signal(SIGTERM, oldTerm_);
    }

private:
    void (*oldInt_)(int);
    void (*oldTerm_)(int);
};

struct Options {
    std::string project;
    std::string output;
    ShowOverrides show;
    std::optional<disc::DiscKind> disc;
    bool force = false;
};

void Fail(const std::string& message) {
    FailWith("build", message);
}

// Reads the arguments into options, or says which one is wrong.
base::Status ParseArguments(int argc, char** argv, Options& options, bool& help) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(options.output)) return Usage("option " + arg + " needs a value");
        } else if (const base::Result<bool> taken = TakeShowOption(arg, value, options.show);
                   !taken) {
            return taken.fault();
        } else if (*taken) {
            continue;
        } else if (arg == "--disc") {
            if (!value(text)) return Usage("option " + arg + " needs a value");
            options.disc = disc::ParseDiscKind(text);
            if (!options.disc) return Usage("--disc must be mpeg, folder, iso or bincue");
        } else if (arg == "--force") {
            options.force = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option " + arg + " (see vantoshow build --help)");
        } else if (options.project.empty()) {
            options.project = arg;
        } else {
            return Usage("more than one project named: " + arg);
        }
    }
    if (!help && options.output.empty())
        return Usage("no output named; use -o OUT.mpg (see vantoshow build --help)");
    return {};
}

class ProgressPrinter {
public:
    ProgressPrinter() : terminal_(isatty(STDERR_FILENO) == 1) {}
    ~ProgressPrinter() { EndLine(); }

    void Show(const video::BuildProgress& progress) {
        if (progress.kind != 3) return;
        Draw(progress.label, static_cast<int>(progress.fraction() * 100), progress.remaining);
    }
    // A stage after the encoding (authoring, imaging), on the same bar.
    void ShowStage(const std::string& stage, double fraction, const std::string& remaining) {
        if (stage != stage_) {
            EndLine();
            stage_ = stage;
            nextPercent_ = 0;
        }
        const int percent = static_cast<int>(fraction * 100);
        Draw(stage + ": " + std::to_string(percent) + "%", percent, remaining);
    }
    void EndLine() {
        if (open_) std::fputc('\n', stderr);
        open_ = false;
    }

private:
    void Draw(const std::string& label, int percent, const std::string& remaining) {
        if (terminal_) {
            constexpr int kWidth = 30;
            const int filled = percent * kWidth / 100;
            std::string line = "\r" + (stage_.empty() ? "" : stage_ + " ") + "[" +
                               std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
                               std::to_string(percent) + "%  " + remaining + " ";
            // Redrawn only when it changes, not for every frame.
            if (line == lastLine_) return;
            std::fputs(line.c_str(), stderr);
            std::fflush(stderr);
            lastLine_ = std::move(line);
            open_ = true;
        } else if (percent >= nextPercent_) {
            // Logs get a line every tenth, not one per frame.
            std::fprintf(stderr, "%s    %s\n", label.c_str(), remaining.c_str());
            nextPercent_ = percent / 10 * 10 + 10;
        }
    }

    bool terminal_;
    bool open_ = false;
    int nextPercent_ = 0;
    std::string lastLine_;
    std::string stage_;
};

void PrintProblems(const video::BuildResult& result) {
    for (const std::string& line : result.Problems())
        if (line != result.message) std::fprintf(stderr, "  %s\n", line.c_str());
}

// A name beside the output that nobody else uses, for the video while it is
// being encoded.
base::Result<std::string> ReserveTemporaryVideo(const std::string& output) {
    QTemporaryFile file(QString::fromStdString(output) + QStringLiteral(".XXXXXX.part"));
    file.setAutoRemove(false);
    if (!file.open())
        return base::MakeFault("cannot write \"" + output +
                               "\": " + file.errorString().toStdString());
    return file.fileName().toStdString();
}

int RunBuild(const Options& options) {
    // The show of the project or of the working options file, with the
    // options given on the command line.
    base::Result<model::IniFile> store = ShowStore(options.project);
    if (!store) return Fail(store.message()), kExitFailed;
    model::Show show = model::LoadShow(store.value());
    model::TslSettings& settings = show.settings;
    if (const base::Status applied = ApplyShowOverrides(options.show, settings); !applied)
        return Fail(applied.message()), kExitUsage;

    const disc::DiscKind kind = options.disc.value_or(disc::KindOfOutputName(options.output));
    if (const base::Status suits = disc::CheckKindForFormat(kind, settings.VideoType); !suits)
        return Fail(suits.message() + " (see --format)"), kExitUsage;
    DiscChoice discChoice{
        kind, disc::DiscOutputName(kind, options.output),
        QFileInfo(QString::fromStdString(options.project)).completeBaseName().toStdString(),
        options.force};
    // A folder named as the output would otherwise get a video beside it
    // ("folder.mpg") or a hidden one inside it (".mpg").
    const auto format = video::FrameFormatFor(settings.VideoType);
    const std::string output =
        kind == disc::DiscKind::Mpeg
            ? video::VideoFileName(options.output, format ? format->extension : ".mpg")
            : discChoice.output;
    for (const std::string& name : {options.output, output}) {
        // A disc folder is made whole and renamed into place: a free name or an empty folder.
        if (kind == disc::DiscKind::Folder) {
            const QFileInfo folder(QString::fromStdString(output));
            if (folder.exists() && !(folder.isDir() && QDir(folder.filePath()).isEmpty()))
                return Fail("\"" + output + "\" exists and is not an empty folder"), kExitFailed;
            break;
        }
        if (name.back() == '/' || QFileInfo(QString::fromStdString(name)).isDir())
            return Fail("\"" + name + "\" names a folder, not a video file"), kExitFailed;
    }
    const base::Result<std::string> temporary = ReserveTemporaryVideo(output);
    if (!temporary) return Fail(temporary.message()), kExitFailed;
    struct RemoveTemporary {
        const std::string& path;
        ~RemoveTemporary() { model::RemoveFile(path); }
    } removeTemporary{*temporary};

    ProgressPrinter printer;
    video::BuildDriver* running = nullptr;
    video::BuildHooks hooks;
    hooks.progress = [&](const video::BuildProgress& progress) {
        if (gInterrupted && running) running->Abort();
        printer.Show(progress);
    };
    if (kind != disc::DiscKind::Mpeg)
        hooks.approveLength = [&](double seconds) {
            return RefuseOversizedShow(discChoice, settings, seconds);
        };
    video::BuildDriver driver(std::move(hooks));
    running = &driver;
    CollectStoredShow(store.value(), show, options.show);
    video::BuildResult result = driver.Build(show, *temporary);
    printer.EndLine();

    if (gInterrupted) {
        Fail("interrupted; \"" + output + "\" was not written");
        return kExitInterrupted;
    }
    if (!result.hasVideo()) {
        Fail(result.message);
        PrintProblems(result);
        return kExitFailed;
    }
    if (kind != disc::DiscKind::Mpeg) {
        if (result.status != video::BuildResult::Status::Completed) {
            Fail(result.message.empty() ? "the video was not completed" : result.message);
            return kExitFailed;
        }
        PrintProblems(result);
        disc::AuthorHooks authorHooks;
        authorHooks.aborted = [] { return gInterrupted.load(); };
        authorHooks.progress = [&](const disc::AuthorProgress& progress) {
            printer.ShowStage(progress.stage, progress.fraction,
                              video::RemainingTimeText(progress.remainingSeconds));
        };
        const int code = AuthorBuiltShow(discChoice, result, *temporary, authorHooks);
        printer.EndLine();
        return code;
    }
    std::error_code error;
    std::filesystem::rename(*temporary, output, error);
    if (error) {
        Fail("cannot write \"" + output + "\": " + error.message());
        return kExitFailed;
    }
    if (const base::Status written = driver.WriteSubtitleFile(output); !written) {
        Fail(written.message());
        return kExitFailed;
    }
    if (!result.Problems().empty()) {
        std::fprintf(stderr, "vantoshow build: built with problems:\n");
        PrintProblems(result);
    }
    std::fprintf(stderr, "Wrote %s (%lld frames in %.1f s)\n", output.c_str(),
                 static_cast<long long>(result.framesEncoded), result.elapsedSeconds);
    return 0;
}

}  // namespace

int RunBuildCommand(int argc, char** argv) {
    Options options;
    bool help = false;
    const base::Status parsed = ParseArguments(argc, argv, options, help);
    return RunHeadlessCommand("build", kUsage, parsed, help, [&] {
        InterruptGuard interrupts;
        return RunBuild(options);
    });
}

}  // namespace cli
