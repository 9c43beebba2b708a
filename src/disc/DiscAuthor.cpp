#include "disc/DiscAuthor.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace disc {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// One run of a disc tool. The tools say little about how far they are, so
// the progress is the size of what they have written against the size it
// will have.
struct ToolRun {
    QString program;
    QStringList arguments;
    QString workingDir;
    std::string stage;
    fs::path grows;            // the file or folder the tool writes
    double expectedBytes = 1;  // its size when done
};

int64_t SizeOnDisk(const fs::path& path) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) return static_cast<int64_t>(fs::file_size(path, error));
    int64_t total = 0;
    for (fs::recursive_directory_iterator it(path, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) total += static_cast<int64_t>(it->file_size(error));
    }
    return total;
}

// The tool's last words: the last line it wrote that says anything.
std::string LastLine(const QByteArray& output) {
    const QList<QByteArray> lines = output.split('\n');
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const QByteArray line = it->trimmed();
        if (!line.isEmpty()) return line.toStdString();
    }
    return {};
}

AuthorResult Failure(std::string message) {
    AuthorResult result;
    result.message = std::move(message);
    return result;
}

// Runs one tool to its end; nothing when it succeeded.
std::optional<AuthorResult> Run(const ToolRun& run, const AuthorHooks& hooks) {
    const std::string name = run.program.toStdString();
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(run.workingDir);
    process.start(run.program, run.arguments);
    if (!process.waitForStarted()) {
        // The disc tools are only recommended by the package, so a missing
        // one is the likely case and the user is told what to install; each
        // tool ships in the Debian package of its own name.
        if (process.error() == QProcess::FailedToStart &&
            QStandardPaths::findExecutable(run.program).isEmpty()) {
            return Failure(name + " is not installed; the disc needs it (sudo apt install " + name +
                           ").");
        }
        return Failure(name + " could not be started (" + process.errorString().toStdString() +
                       ").");
    }
    const Clock::time_point start = Clock::now();
    QByteArray output;
    while (!process.waitForFinished(100)) {
        if (process.state() == QProcess::NotRunning) break;
        output += process.readAll();
        if (hooks.aborted && hooks.aborted()) {
            process.kill();
            process.waitForFinished();
            AuthorResult aborted;
            aborted.status = AuthorResult::Status::Aborted;
            return aborted;
        }
        if (hooks.progress) {
            AuthorProgress progress;
            progress.stage = run.stage;
            progress.fraction =
                std::min(0.99, static_cast<double>(SizeOnDisk(run.grows)) / run.expectedBytes);
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            if (progress.fraction > 0.02)
                progress.remainingSeconds = elapsed / progress.fraction * (1 - progress.fraction);
            hooks.progress(progress);
        }
    }
    output += process.readAll();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::string last = LastLine(output);
        if (last.empty()) last = process.errorString().toStdString();
        return Failure(name + " failed: " + last);
    }
    if (hooks.progress) hooks.progress({run.stage, 1.0, 0});
    return std::nullopt;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string ChapterTime(double seconds) {
    const auto millis = static_cast<int64_t>(seconds * 1000 + 0.5);
    char text[32];
    std::snprintf(
        text, sizeof text, "%lld:%02lld:%02lld.%03lld", static_cast<long long>(millis / 3600000),
        static_cast<long long>(millis / 60000 % 60), static_cast<long long>(millis / 1000 % 60),
        static_cast<long long>(millis % 1000));
    return text;
}

bool WriteText(const fs::path& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

// Moves 'from' to 'to' over a file of that name or an empty folder.
base::Status MoveIntoPlace(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) return base::MakeFault("cannot write \"" + to.string() + "\": " + error.message());
    return {};
}

double FileBytes(const std::string& path) {
    return static_cast<double>(std::max<int64_t>(1, SizeOnDisk(path)));
}

}  // namespace

std::string DvdAuthorXml(const std::string& mpegFile, int tvSet, bool wide,
                         const std::vector<double>& chapters) {
    std::string points;
    for (double seconds : chapters) points += (points.empty() ? "" : ",") + ChapterTime(seconds);
    if (points.empty()) points = ChapterTime(0);
    // The frames are composed for the whole 16:9 picture, so a 4:3 set shows
    // it letterboxed rather than cutting its sides off (no pan and scan).
    const std::string video =
        std::string("<video format=\"") + (tvSet == 1 ? "ntsc" : "pal") +
        (wide ? "\" aspect=\"16:9\" widescreen=\"nopanscan\"/>" : "\" aspect=\"4:3\"/>");
    // The first-play command starts the title; its post command starts it
    // again. The disc has no menu, but its manager still needs a format.
    return "<dvdauthor>\n"
           "  <vmgm><menus>" +
           video +
           "</menus><fpc>jump title 1;</fpc></vmgm>\n"
           "  <titleset>\n"
           "    <titles>\n"
           "      " +
           video +
           "\n"
           "      <pgc>\n"
           "        <vob file=\"" +
           Escaped(mpegFile) + "\" chapters=\"" + points +
           "\"/>\n"
           "        <post>jump chapter 1;</post>\n"
           "      </pgc>\n"
           "    </titles>\n"
           "  </titleset>\n"
           "</dvdauthor>\n";
}

AuthorResult AuthorDisc(const AuthorRequest& request, const AuthorHooks& hooks) {
    if (request.kind == DiscKind::Mpeg) return Failure("no disc was asked for");
    const fs::path output = fs::absolute(request.output);
    std::error_code error;
    if (request.kind == DiscKind::Folder && fs::exists(output, error) &&
        !(fs::is_directory(output, error) && fs::is_empty(output, error)))
        return Failure("cannot write \"" + request.output +
                       "\": it exists and is not an empty folder");

    // The work folder sits beside the output so the last step is a rename.
    QTemporaryDir work(QString::fromStdString(output.string()) + QStringLiteral(".XXXXXX.part"));
    if (!work.isValid())
        return Failure("cannot write beside \"" + request.output +
                       "\": " + work.errorString().toStdString());
    const fs::path workDir = work.path().toStdString();
    const QString mpeg = QString::fromStdString(fs::absolute(request.mpegFile).string());
    const double mpegBytes = FileBytes(request.mpegFile);

    std::vector<ToolRun> runs;
    std::vector<std::pair<fs::path, fs::path>> moves;  // in order; the last one completes it
    const fs::path dvd = workDir / "DVD";
    if (request.kind == DiscKind::Folder || request.kind == DiscKind::Iso) {
        if (!WriteText(workDir / "dvd.xml", DvdAuthorXml(mpeg.toStdString(), request.tvSet,
                                                         request.wide, request.chapters)))
            return Failure("cannot write in \"" + workDir.string() + "\"");
        runs.push_back({"dvdauthor",
                        {"-o", QString::fromStdString(dvd.string()), "-x", "dvd.xml"},
                        work.path(),
                        "Authoring the DVD",
                        dvd,
                        mpegBytes});
    }
    if (request.kind == DiscKind::Folder) moves.emplace_back(dvd, output);
    if (request.kind == DiscKind::Iso) {
        const fs::path image = workDir / "image.iso";
        runs.push_back(
            {"genisoimage",
             {"-dvd-video", "-quiet", "-V", QString::fromStdString(request.label), "-o",
              QString::fromStdString(image.string()), QString::fromStdString(dvd.string())},
             work.path(),
             "Writing the disc image",
             image,
             mpegBytes});
        moves.emplace_back(image, output);
    }
    if (request.kind == DiscKind::BinCue) {
        const std::string cue = output.filename().string();
        const std::string bin = fs::path(BinNameOfCue(output.string())).filename().string();
        const bool vcd = request.videoType == 0;
        runs.push_back(
            {"vcdimager",
             {"-t", vcd ? "vcd2" : "svcd", "-l", QString::fromStdString(request.label), "-c",
              QString::fromStdString(cue), "-b", QString::fromStdString(bin), mpeg},
             work.path(),
             vcd ? "Writing the VCD image" : "Writing the SVCD image",
             workDir / bin,
             mpegBytes * 2352 / 2324});
        // The track first: a cue sheet in place always has its track.
        moves.emplace_back(workDir / bin, output.parent_path() / bin);
        moves.emplace_back(workDir / cue, output);
    }

    for (const ToolRun& run : runs)
        if (auto stopped = Run(run, hooks)) return *stopped;
    if (request.kind != DiscKind::BinCue) fs::create_directories(dvd / "AUDIO_TS", error);
    if (hooks.aborted && hooks.aborted()) {
        AuthorResult aborted;
        aborted.status = AuthorResult::Status::Aborted;
        return aborted;
    }
    for (const auto& [from, to] : moves) {
        if (const base::Status moved = MoveIntoPlace(from, to); !moved) {
            for (const auto& done : moves) {
                if (done.first == from) break;
                fs::remove_all(done.second, error);
            }
            return Failure(moved.message());
        }
    }
    AuthorResult result;
    result.status = AuthorResult::Status::Written;
    result.written = request.output;
    return result;
}

}  // namespace disc
