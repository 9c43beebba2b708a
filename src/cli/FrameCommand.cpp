// "vantoshow frame": the frame a project's video shows at a time, written as
// a PNG picture at the display's proportions, without building the video.
//
// The show is taken as "vantoshow build" takes it (the same project, working
// store and overriding options), and the frame is drawn by the build's own
// code, so it is the frame the built video holds there.
#include <QImageWriter>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Result.h"
#include "cli/FrameCommand.h"
#include "cli/HeadlessApplication.h"
#include "cli/ShowOptions.h"
#include "model/LengthText.h"
#include "model/Show.h"
#include "showbuild/FrameImage.h"
#include "showbuild/FrameRenderer.h"
#include "showbuild/ShowPreparation.h"

namespace cli {

namespace {

constexpr const char* kUsage =
    "Usage: vantoshow frame [PROJECT.dvprj] --at SECONDS -o FRAME.png\n"
    "                       [--format vcd|svcd|dvd|mp4-720p|mp4-1080p|mp4-4k]\n"
    "                       [any other option of vantoshow build that changes the show]\n"
    "\n"
    "Writes the frame the video of the show would show SECONDS after its start\n"
    "(frame floor(SECONDS x rate)) as a PNG picture, without building the video:\n"
    "the show of a project file, or of the working options file when no project\n"
    "is named, with the options overriding the project's settings as for\n"
    "vantoshow build. The picture has the video's display proportions: a disc\n"
    "frame's pixels are not square (a PAL DVD frame becomes 768 x 576).\n"
    "\n"
    "Exit status: 0 written, 1 the frame could not be drawn or written, 2 wrong\n"
    "arguments.\n";

struct Options {
    std::string project;
    std::string output;
    std::optional<double> seconds;
    ShowOverrides show;
};

void Fail(const std::string& message) {
    FailWith("frame", message);
}

// Seconds written as a plain decimal number, 0 or more.
std::optional<double> ParseSeconds(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(seconds)) return std::nullopt;
    return seconds;
}

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
        } else if (arg == "--at") {
            if (!value(text)) return Usage("option --at needs a value");
            options.seconds = ParseSeconds(text);
            if (!options.seconds)
                return Usage("--at must be a time in seconds, 0 or more, not \"" + text + "\"");
        } else if (const base::Result<bool> taken = TakeShowOption(arg, value, options.show);
                   !taken) {
            return taken.fault();
        } else if (*taken) {
            continue;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option " + arg + " (see vantoshow frame --help)");
        } else if (options.project.empty()) {
            options.project = arg;
        } else {
            return Usage("more than one project named: " + arg);
        }
    }
    if (help) return {};
    if (!options.seconds) return Usage("no time named; use --at SECONDS");
    if (options.output.empty()) return Usage("no output named; use -o FRAME.png");
    return {};
}

int RunFrame(const Options& options) {
    base::Result<model::IniFile> store = ShowStore(options.project);
    if (!store) return Fail(store.message()), kExitFailed;
    model::Show show = model::LoadShow(store.value());
    if (const base::Status applied = ApplyShowOverrides(options.show, show.settings); !applied)
        return Fail(applied.message()), kExitUsage;
    CollectStoredShow(store.value(), show, options.show);

    video::PreparedShow prepared = video::PrepareShow(std::move(show), video::ShowLoaders{});
    if (prepared.outcome != video::PreparedShow::Outcome::Ready)
        return Fail(prepared.message), kExitFailed;
    video::FrameRenderer renderer(std::move(prepared));
    const double seconds = *options.seconds;
    if (std::floor(seconds * renderer.frameRate()) >= static_cast<double>(renderer.frameCount())) {
        const auto length =
            static_cast<int64_t>(static_cast<double>(renderer.frameCount()) / renderer.frameRate());
        return Fail("--at " + QString::number(seconds).toStdString() +
                    " is past the end: the show lasts " + model::FormatClock(length)),
               kExitFailed;
    }
    const base::Result<video::ShowFrame> frame = renderer.FrameAtSeconds(seconds);
    if (!frame) return Fail(frame.message()), kExitFailed;

    QImageWriter writer(QString::fromStdString(options.output), "png");
    if (!writer.write(video::DisplayImage(*frame, renderer)))
        return Fail("cannot write \"" + options.output +
                    "\": " + writer.errorString().toStdString()),
               kExitFailed;
    return 0;
}

}  // namespace

int RunFrameCommand(int argc, char** argv) {
    Options options;
    bool help = false;
    const base::Status parsed = ParseArguments(argc, argv, options, help);
    return RunHeadlessCommand("frame", kUsage, parsed, help, [&] { return RunFrame(options); });
}

}  // namespace cli
