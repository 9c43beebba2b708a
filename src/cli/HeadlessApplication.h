// The Qt application of a headless command. Captions and sheet labels are
// drawn with Qt's fonts, which need a QGuiApplication; the commands never
// open a window, so it runs on the offscreen platform whatever platform the
// environment names, and works without a display.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QtGlobal>

#include "base/Result.h"

class QGuiApplication;

namespace cli {

class HeadlessApplication {
public:
    // Creates the application unless one exists already (a caller inside
    // the window's process, or a test).
    HeadlessApplication();
    ~HeadlessApplication();
    HeadlessApplication(const HeadlessApplication&) = delete;
    HeadlessApplication& operator=(const HeadlessApplication&) = delete;

private:
    std::unique_ptr<QGuiApplication> application_;
};

// While it lives, Qt's note about a missing runtime folder, which every
// headless start on a plain server prints, is dropped; everything else
// goes through.
class QuietQtNotes {
public:
    QuietQtNotes();
    ~QuietQtNotes();
    QuietQtNotes(const QuietQtNotes&) = delete;
    QuietQtNotes& operator=(const QuietQtNotes&) = delete;

private:
    QtMessageHandler previous_;
};

// The exit statuses every headless command shares.
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints "vantoshow COMMAND: MESSAGE" on the error stream.
void FailWith(const char* command, const std::string& message);

// A headless command's frame around its work: a fault in its arguments is
// printed and exits kExitUsage; --help prints 'usage'; otherwise 'run' runs
// in a headless application with FFmpeg's notes cut to its errors (our own
// messages say what matters), and an exception ends it with kExitFailed and
// its reason.
int RunHeadlessCommand(const char* command, const char* usage, const base::Status& parsed,
                       bool help, const std::function<int()>& run);

}  // namespace cli
