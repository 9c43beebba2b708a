// The open dialog for pictures: every readable format in its filter, and a
// preview of the highlighted file beside the file list.
#pragma once

#include <QFileDialog>

class QLabel;

namespace app {

class PictureFileDialog : public QFileDialog {
    Q_OBJECT

public:
    PictureFileDialog(QWidget* parent, const QString& initialFolder, bool severalFiles);

private:
    void ShowPreview(const QString& path);

    QLabel* preview_;
};

}  // namespace app
