// The folder browser: the platform's folder dialog, used by "Add Folder".
#pragma once

#include <QString>

class QWidget;

namespace app {

// Lets the user pick a folder. title is shown with the dialog; the browser
// starts at root, or at the desktop folder when root is empty; folder is
// preselected when it names an existing folder and is cleared otherwise. On
// confirmation folder receives the chosen path, without a trailing "/"
// (except for "/" itself), and the result is true; on cancel the result is
// false and folder keeps its (possibly cleared) value.
bool SelectFolder(QWidget* parent, const QString& title, const QString& root, QString& folder);

// The user's desktop folder, or the home folder when there is no desktop.
QString DesktopFolder();

// The path as the browser returns it: absolute, without a trailing "/"
// except for the root.
QString BrowserResultPath(const QString& chosen);

}  // namespace app
