// A framed panel that keeps the proportions of its design size: its height
// follows its width, so previews and thumbnails keep their shape however the
// window is sized.
#pragma once

#include <QFrame>

namespace app {

class ProportionalFrame : public QFrame {
    Q_OBJECT

public:
    ProportionalFrame(int designWidth, int designHeight, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // The panel took a new size (after its height followed the width).
    void Resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize design_;
};

}  // namespace app
