// The preview window: plays the show's pictures with their transitions on a
// screen that fills the window. The main window sizes it by the video
// format, plays the music and shows it modally.
#pragma once

#include <QDialog>
#include <memory>
#include <utility>

#include "screen/PreviewRunner.h"

namespace screen {

class TFullscreenForm : public QDialog {
    Q_OBJECT

public:
    explicit TFullscreenForm(QWidget* parent = nullptr);
    ~TFullscreenForm() override;

    // The window's outer size; the user cannot resize it.
    void SetOuterSize(int width, int height);
    // The show the next showing plays.
    void SetShow(model::Show show) { show_ = std::move(show); }

    // Created anew each time the window is shown, from the show of that
    // moment; lives until the next showing or the window's end.
    TRunVantoscreen* Runner() const { return runner_.get(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();

    model::Show show_;
    std::unique_ptr<TRunVantoscreen> runner_;
};

}  // namespace screen
