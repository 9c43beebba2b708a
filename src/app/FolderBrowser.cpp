#include "app/FolderBrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

QString DesktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (QFileInfo(desktop).isDir()) return desktop;
    return QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
}

QString BrowserResultPath(const QString& chosen) {
    QString path = QDir::cleanPath(QFileInfo(chosen).absoluteFilePath());
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

bool SelectFolder(QWidget* parent, const QString& title, const QString& root, QString& folder) {
    if (!QFileInfo(folder).isDir()) folder.clear();

    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(!root.isEmpty() ? root : DesktopFolder());
    if (!folder.isEmpty()) {
        // Open its parent with the folder itself highlighted.
        dialog.setDirectory(QFileInfo(folder).absolutePath());
        dialog.selectFile(folder);
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
    folder = BrowserResultPath(chosen.first());
    return true;
}

}  // namespace app
