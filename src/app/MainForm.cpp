#include "app/MainForm.h"

MainForm::MainForm(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Vanto Slideshow"));
    resize(800, 600);
}
