#include "cli/HeadlessApplication.h"

#include <QGuiApplication>

namespace cli {

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

}  // namespace cli
