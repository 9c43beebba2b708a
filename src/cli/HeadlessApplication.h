// The Qt application of a headless command. Captions and sheet labels are
// drawn with Qt's fonts, which need a QGuiApplication; the commands never
// open a window, so it runs on the offscreen platform whatever platform the
// environment names, and works without a display.
#pragma once

#include <memory>

#include <QtGlobal>

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

}  // namespace cli
