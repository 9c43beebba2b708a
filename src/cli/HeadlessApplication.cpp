#include "cli/HeadlessApplication.h"

#include <QGuiApplication>

#include <cstdio>

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

}  // namespace cli
