// Program entry: headless subcommands run without a window; otherwise the
// settings load, the main window opens (with the project a file manager
// handed over, if any), and the settings are written back when the program
// ends, however it ends.
#include <QApplication>

#include <string>

#include "app/AppStyle.h"
#include "app/HintWrap.h"
#include "app/Icons.h"
#include "app/MainForm.h"
#include "app/PictureFormats.h"
#include "cli/Cli.h"
#include "model/Show.h"

int main(int argc, char** argv) {
    // Folders may stand for every type the decoders read, in the build too.
    app::HandOverFolderPictureTypes();

    const int commandResult = cli::RunCommandLine(argc, argv);
    if (commandResult >= 0) return commandResult;
    // Read before QApplication, which takes its own options out of argv.
    const std::string project = cli::ProjectArgument(argc, argv);

    // Before any window exists: the window loads its show from this store.
    model::OpenOptionsStore();
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setStyle(app::CreateAppStyle());
        app::WrapLongHints(application);
        QApplication::setApplicationName(QString::fromStdString(model::Product().title));
        QApplication::setDesktopFileName(QStringLiteral("vantoshow"));
        QApplication::setWindowIcon(app::PaintedIcon(app::IconKind::Program));
        app::TMainForm window;
        window.show();
        if (!project.empty()) window.OfferProject(QString::fromLocal8Bit(project.c_str()));
        result = QApplication::exec();
        // However the window was left, its show is the working state kept.
        model::SaveWorkingShow(window.WorkingShow());
    }
    return result;
}
