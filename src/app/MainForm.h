// The main window of Vanto Slideshow.
#pragma once

#include <QMainWindow>

class MainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit MainForm(QWidget* parent = nullptr);
};
