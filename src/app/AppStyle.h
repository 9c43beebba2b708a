// The program's look: Qt's Fusion style, with hints that appear after
// 300 ms instead of Fusion's longer pause.
#pragma once

class QStyle;

namespace app {

// A new style object for QApplication::setStyle (which takes ownership).
QStyle* CreateAppStyle();

}  // namespace app
