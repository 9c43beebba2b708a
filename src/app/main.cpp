// Program entry: headless subcommands run without a window; with no
// arguments the main window opens.
#include <QApplication>

#include "app/MainForm.h"
#include "cli/Cli.h"

int main(int argc, char** argv) {
    const int commandResult = cli::RunCommandLine(argc, argv);
    if (commandResult >= 0) return commandResult;

    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Vanto Slideshow"));
    MainForm window;
    window.show();
    return QApplication::exec();
}
