// The Qt application of a headless command. Captions and sheet labels are
// drawn with Qt's fonts, which need a QGuiApplication; the commands never
// open a window, so it runs on the offscreen platform whatever platform the
// environment names, and works without a display.
#pragma once

#include <memory>

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

}  // namespace cli
