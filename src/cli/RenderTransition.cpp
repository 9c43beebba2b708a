// vantoshow render-transition: draws one frame of a table entry, or a
// labelled contact sheet of all of them, from two picture files. It lets
// anyone look at any effect without opening the window.
#include "cli/RenderTransition.h"

#include <QByteArray>
#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QString>

#include <charconv>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "base/Random.h"
#include "base/Result.h"
#include "cli/HeadlessApplication.h"
#include "effects/Effects.h"
#include "imaging/PictureLoader.h"
#include "raster/Blit.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/PictureComposer.h"

namespace cli {

namespace {

constexpr const char* kCommand = "vantoshow render-transition";
constexpr int kMaxSide = 4096;

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: %s --style N --progress P --from A --to B [--size WxH] -o frame.png\n"
                 "       %s --sheet [--progress P] --from A --to B [--size WxH] -o sheet.png\n"
                 "Draws frame P (0-100) of transition N (1-%d) from picture A to picture B,\n"
                 "or with --sheet every transition at P (default 50) on one labelled sheet.\n"
                 "Both pictures are fitted into the frame (default 720x576) on black.\n",
                 kCommand, kCommand, effects::kEffectCount);
}

struct Options {
    int style = 0;
    std::optional<int> progress;
    bool sheet = false;
    std::string from, to, output;
    int width = 720, height = 576;
};

// A whole decimal number within [low, high], nothing before or after it.
std::optional<int> ParseNumber(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// A wrong argument: the command prints the reason and its usage.
base::Fault Usage(std::string reason) {
    return base::MakeFault(std::move(reason), base::FaultKind::Refused);
}

// Parses the arguments, or says which one is wrong.
base::Result<Options> ParseOptions(int argc, char** argv) {
    Options options;
    bool haveStyle = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--sheet") {
            options.sheet = true;
            continue;
        }
        const bool takesValue = arg == "--style" || arg == "--progress" || arg == "--from" ||
                                arg == "--to" || arg == "--size" || arg == "-o" ||
                                arg == "--output";
        if (!takesValue) return Usage("unknown argument '" + std::string(arg) + "'");
        if (i + 1 >= argc) return Usage(std::string(arg) + " needs a value");
        const std::string_view value = argv[++i];
        if (arg == "--style") {
            const auto style = ParseNumber(value, 1, effects::kEffectCount);
            if (!style) return Usage("--style must be a number from 1 to 172");
            options.style = *style;
            haveStyle = true;
        } else if (arg == "--progress") {
            options.progress = ParseNumber(value, 0, 100);
            if (!options.progress) return Usage("--progress must be a number from 0 to 100");
        } else if (arg == "--from") {
            options.from = value;
        } else if (arg == "--to") {
            options.to = value;
        } else if (arg == "--size") {
            const size_t x = value.find('x');
            const auto w = x == std::string_view::npos
                               ? std::nullopt
                               : ParseNumber(value.substr(0, x), 1, kMaxSide);
            const auto h = x == std::string_view::npos
                               ? std::nullopt
                               : ParseNumber(value.substr(x + 1), 1, kMaxSide);
            if (!w || !h) return Usage("--size must be WIDTHxHEIGHT, each from 1 to 4096");
            options.width = *w;
            options.height = *h;
        } else {
            options.output = value;
        }
    }
    if (options.sheet && haveStyle) return Usage("--sheet draws every style; leave out --style");
    if (!options.sheet && !haveStyle) return Usage("--style is missing");
    if (!options.sheet && !options.progress) return Usage("--progress is missing");
    if (options.from.empty() || options.to.empty()) return Usage("--from and --to are both needed");
    if (options.output.empty()) return Usage("-o is missing");
    return options;
}

// Sends stderr to /dev/null while it lives. Some decoders print their own
// complaints about a damaged file; the command reports one line of its own.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

// Wraps a bitmap's pixels; valid while the bitmap lives and is not resized.
QImage ViewOf(const raster::Bitmap& bitmap) {
    return QImage(bitmap.bits(), bitmap.width(), bitmap.height(),
                  static_cast<qsizetype>(bitmap.stride()), QImage::Format_BGR888);
}

// Writes the image whole or not at all: an existing file is replaced only
// once the new one is complete.
void SaveImage(const QImage& image, const std::string& path) {
    QString format = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (format.isEmpty()) format = QStringLiteral("png");
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write '" + path +
                                 "': " + file.errorString().toStdString());
    QImageWriter writer(&file, format.toLatin1());
    if (!writer.write(image)) {
        file.cancelWriting();
        throw std::runtime_error("cannot write '" + path +
                                 "': " + writer.errorString().toStdString());
    }
    if (!file.commit())
        throw std::runtime_error("cannot write '" + path +
                                 "': " + file.errorString().toStdString());
}

bool CanWriteFormatOf(const std::string& path) {
    const QByteArray suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
    return suffix.isEmpty() || QImageWriter::supportedImageFormats().contains(suffix);
}

// One frame as both callers of the table draw it: Dest holds the outgoing
// picture, Source is the incoming one. The shared generator starts from the
// same state for every frame, so the unseeded edges come out the same on
// every run.
raster::Bitmap DrawFrame(int style, const raster::Bitmap& outgoing, const raster::Bitmap& incoming,
                         int progress) {
    raster::Bitmap frame = outgoing;
    const base::ScopedRandSeed seed(1);
    effects::DrawEffect(style, frame, incoming, progress);
    return frame;
}

QImage RenderSheet(const raster::Bitmap& outgoing, const raster::Bitmap& incoming, int progress) {
    constexpr int kColumns = 12, kGap = 8, kMargin = 16, kThumbWidth = 144;
    const int thumbHeight = std::max(
        1, static_cast<int>((int64_t{kThumbWidth} * outgoing.height() + outgoing.width() / 2) /
                            outgoing.width()));
    const int rows = (effects::kEffectCount + kColumns - 1) / kColumns;

    QFont labelFont;
    labelFont.setPixelSize(11);
    QFont titleFont;
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    const int labelHeight = 3 * QFontMetrics(labelFont).lineSpacing() + 2;
    const int titleHeight = QFontMetrics(titleFont).lineSpacing() + kGap;
    const int cellHeight = thumbHeight + labelHeight;

    QImage sheet(2 * kMargin + kColumns * kThumbWidth + (kColumns - 1) * kGap,
                 2 * kMargin + titleHeight + rows * cellHeight + (rows - 1) * kGap,
                 QImage::Format_RGB32);
    sheet.fill(QColor(32, 32, 36));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(235, 235, 235));
    painter.setFont(titleFont);
    painter.drawText(QRect(kMargin, kMargin, sheet.width() - 2 * kMargin, titleHeight),
                     Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Vanto Slideshow: the %1 transitions at %2 %")
                         .arg(effects::kEffectCount)
                         .arg(progress));
    painter.setFont(labelFont);
    for (int style = 1; style <= effects::kEffectCount; ++style) {
        const int column = (style - 1) % kColumns, row = (style - 1) / kColumns;
        const int x = kMargin + column * (kThumbWidth + kGap);
        const int y = kMargin + titleHeight + row * (cellHeight + kGap);
        const raster::Bitmap frame = DrawFrame(style, outgoing, incoming, progress);
        const raster::Bitmap thumb = raster::ResampleArea(frame, kThumbWidth, thumbHeight);
        painter.drawImage(x, y, ViewOf(thumb));
        painter.drawText(QRect(x, y + thumbHeight + 2, kThumbWidth, labelHeight - 2),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         QStringLiteral("%1  %2").arg(style).arg(
                             QString::fromUtf8(effects::Effects[style].Name)));
    }
    painter.end();
    return sheet;
}

void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

raster::Bitmap ComposeOnBlack(const std::string& path, int width, int height) {
    // A frame of one of the video formats is shown on a 4:3 screen, so it is
    // composed in display proportions exactly as the build does; any other
    // size is taken as square pixels.
    video::FrameFormat format{0, "custom", width, height, width, height, ".mpg"};
    for (int videoType = 0; videoType <= 2; ++videoType) {
        const auto known = video::FrameFormatFor(videoType);
        if (known && known->width == width && known->height == height) format = *known;
    }
    const video::DisplayBox box = video::DisplayBoxOf(format);
    imaging::SourcePicture picture;
    {
        // Some decoders complain on stderr about a damaged file; the
        // command's own one-line message says it better.
        const QuietStderr quiet;
        picture = imaging::LoadSourcePicture(path, imaging::Size{box.width, box.height});
    }
    const raster::Bitmap black(width, height);
    raster::Bitmap frame(width, height);
    if (picture.bitmap.isEmpty()) return frame;
    video::ComposePicture(frame, black, picture.bitmap, picture.natural.width,
                          picture.natural.height, format);
    return frame;
}

int RunRenderTransition(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        }
    }
    const base::Result<Options> parsed = ParseOptions(argc, argv);
    if (!parsed) {
        std::fprintf(stderr, "%s: %s\n", kCommand, parsed.message().c_str());
        PrintUsage(stderr);
        return 2;
    }
    const Options& options = *parsed;
    if (!CanWriteFormatOf(options.output)) {
        std::fprintf(stderr, "%s: cannot write pictures of the kind '%s'\n", kCommand,
                     options.output.c_str());
        PrintUsage(stderr);
        return 2;
    }

    // Qt's own notes about the session (no runtime folder and the like)
    // would only bury the one line this command prints when something fails.
    qInstallMessageHandler(KeepQtQuiet);
    const HeadlessApplication application;

    try {
        const raster::Bitmap outgoing = ComposeOnBlack(options.from, options.width, options.height);
        const raster::Bitmap incoming = ComposeOnBlack(options.to, options.width, options.height);
        if (options.sheet) {
            SaveImage(RenderSheet(outgoing, incoming, options.progress.value_or(50)),
                      options.output);
        } else {
            const raster::Bitmap frame =
                DrawFrame(options.style, outgoing, incoming, *options.progress);
            SaveImage(ViewOf(frame), options.output);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", kCommand, error.what());
        return 1;
    }
    return 0;
}

}  // namespace cli
