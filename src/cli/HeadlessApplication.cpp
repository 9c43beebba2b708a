#include "cli/HeadlessApplication.h"

#include <QGuiApplication>

extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>
#include <exception>

namespace cli {

namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

HeadlessApplication::HeadlessApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    // A desktop platform named in the environment (xcb, wayland) would end
    // the program when there is no display to connect to.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vantoshow";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QGuiApplication>(argc, argv);
}

HeadlessApplication::~HeadlessApplication() = default;

QuietQtNotes::QuietQtNotes() : previous_(qInstallMessageHandler(QuietQtMessages)) {}

QuietQtNotes::~QuietQtNotes() {
    qInstallMessageHandler(previous_);
}

void FailWith(const char* command, const std::string& message) {
    std::fprintf(stderr, "vantoshow %s: %s\n", command, message.c_str());
}

int RunHeadlessCommand(const char* command, const char* usage, const base::Status& parsed,
                       bool help, const std::function<int()>& run) {
    if (!parsed) return FailWith(command, parsed.message()), kExitUsage;
    if (help) {
        std::printf("%s", usage);
        return 0;
    }
    av_log_set_level(AV_LOG_ERROR);
    const QuietQtNotes quiet;
    const HeadlessApplication application;
    try {
        return run();
    } catch (const std::exception& error) {
        FailWith(command, error.what());
        return kExitFailed;
    }
}

}  // namespace cli
