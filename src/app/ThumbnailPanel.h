// The picture panel beside the image list (and in the per-image dialog): a
// coloured panel with the selected picture centred in it, and an overlay
// that can cover it with a line of text. A click anywhere is announced.
#pragma once

#include <QPixmap>
#include "app/AspectFrame.h"

class QLabel;

namespace app {

class ThumbnailPanel : public AspectFrame {
    Q_OBJECT

public:
    // pictureName and overlayName are the object names of the picture and
    // the overlay; designWidth x designHeight gives the panel's proportions.
    ThumbnailPanel(const QString& pictureName, const QString& overlayName, int designWidth,
                   int designHeight, QWidget* parent = nullptr);

    void SetPanelColor(const QColor& color);
    // The box a thumbnail is loaded into, in device pixels.
    QSize PictureBox() const;
    void ShowPicture(const QPixmap& picture);
    void ClearPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    void SetPictureVisible(bool visible);
    void ShowOverlay(const QString& text);
    void HideOverlay();
    bool OverlayVisible() const;
    QString OverlayText() const;

signals:
    void Clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowScaled();

    QLabel* picture_label_;
    QLabel* overlay_;
    QPixmap picture_;
};

}  // namespace app
