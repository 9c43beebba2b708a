// The About box: the program's icon, title and version, and a link to the
// manual installed with it (the program has no address of its own to give).
#pragma once

#include <QDialog>

class QLabel;

namespace app {

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

signals:
    // The manual's link was followed; the box has closed.
    void ManualWanted();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Takes the product strings, which a project may override.
    void RefreshContents();

    QLabel* image1_;
    QLabel* titleLabel_;
    QLabel* manual_;
};

}  // namespace app
