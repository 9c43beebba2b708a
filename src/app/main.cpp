// Program entry: headless subcommands run without a window; with no
// arguments the settings load, the main window opens, and the settings are
// written back when the program ends, however it ends.
#include <QApplication>

#include "app/AppStyle.h"
#include "app/Icons.h"
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
        QApplication::setStyle(app::CreateAppStyle());
        QApplication::setApplicationName(QString::fromStdString(model::Product().title));
        QApplication::setDesktopFileName(QStringLiteral("vantoshow"));
        QApplication::setWindowIcon(app::PaintedIcon(app::IconKind::Program));
        app::TMainForm window;
        window.show();
        result = QApplication::exec();
    }
    model::SaveSettingsAtShutdown();
    return result;
}
