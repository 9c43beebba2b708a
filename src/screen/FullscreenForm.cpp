#include "screen/FullscreenForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

#include "base/Swallow.h"

namespace screen {

TFullscreenForm::TFullscreenForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Preview"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    SetOuterSize(720, 480);
}

TFullscreenForm::~TFullscreenForm() {
    // The runner releases its screen, a child of this window, while the
    // window still exists.
    runner_.reset();
}

void TFullscreenForm::SetOuterSize(int width, int height) {
    setFixedSize(width, height);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFullscreenForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFullscreenForm::FormShow() {
    // Every showing plays the show as it is now, from its first picture: a
    // runner kept from the last one would keep its settings and position.
    runner_.reset();
    runner_ = std::make_unique<TRunVantoscreen>(this, RunnerOptions{}, show_);
    // Starts nothing until the first picture is loaded; the runner's timer
    // brings it.
    // A show that cannot start leaves the window empty, not the program ended.
    if (runner_->View)
        base::Swallow("screen::TFullscreenForm play", [&] { runner_->View->Play(); });
}

void TFullscreenForm::FormClose() {
    if (runner_ && runner_->View) runner_->View->Stop();
}

void TFullscreenForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

void TFullscreenForm::done(int result) {
    // Escape and accept close a dialog without a close event.
    FormClose();
    QDialog::done(result);
}

}  // namespace screen
