// Program entry: headless subcommands run without a window; with no
// arguments the settings load, the main window opens, and the settings are
// written back when the program ends.
#include <QApplication>

#include "app/MainForm.h"
#include "cli/Cli.h"
#include "model/Settings.h"

int main(int argc, char** argv) {
    const int commandResult = cli::RunCommandLine(argc, argv);
    if (commandResult >= 0) return commandResult;

    // Before any window exists, as the settings unit's start-up.
    model::LoadAllSettings();
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setApplicationName(QString::fromStdString(model::Product().title));
        MainForm window;
        window.show();
        result = QApplication::exec();
    }
    model::SaveSettingsAtShutdown();
    return result;
}
