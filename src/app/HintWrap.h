// Long hints (a picture's full path, the reason a file is left out) broken
// into lines of a readable length. Qt shows a plain-text hint on one line as
// wide as the screen, so every hint of the program, whether a widget's, a
// list row's or a menu item's, goes through one application-wide filter that
// breaks the long ones before they are shown.
#pragma once

#include <QString>

class QApplication;

namespace app {

// The hint as shown: broken at spaces, else after a path's separators, else
// anywhere, into lines of at most kHintLineChars characters. Rich text and
// short hints are left as they are.
inline constexpr int kHintLineChars = 75;
QString WrappedHint(const QString& hint);

// Shows every hint of the application through WrappedHint.
void WrapLongHints(QApplication& application);

}  // namespace app
