// The About box: the program's icon, title, version and home page.
#pragma once

#include <QDialog>

class QLabel;

namespace app {

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Takes the product strings, which a project may override.
    void RefreshContents();

    QLabel* image1_;
    QLabel* titleLabel_;
    QLabel* website1_;
};

}  // namespace app
