// The picture panel beside the image list (and in the per-image dialog): a
// coloured panel with the selected picture centred in it, and an overlay
// that can cover it with a line of text. A click anywhere is announced.
#pragma once

#include <QDateTime>
#include <QPixmap>

#include <cstdint>
#include <memory>

#include "app/ProportionalFrame.h"

class QLabel;

namespace base {
template <class Job>
class WorkQueue;
}  // namespace base

namespace app {

class ThumbnailPanel : public ProportionalFrame {
    Q_OBJECT

public:
    // pictureName and overlayName are the object names of the picture and
    // the overlay; designWidth x designHeight gives the panel's proportions.
    ThumbnailPanel(const QString& pictureName, const QString& overlayName, int designWidth,
                   int designHeight, QWidget* parent = nullptr);
    ~ThumbnailPanel() override;

    void SetPanelColor(const QColor& color);
    // The box a thumbnail is loaded into, in device pixels.
    QSize PictureBox() const;
    // Shows the picture of a file, shrunk into the panel and flattened onto
    // fill (0x00BBGGRR). The file is read only when it, the panel's size or
    // the fill changed since it was last shown: a row announced twice, by
    // its selection and by the click, is read once. A big file is read on a
    // thread of its own, the picture before covered by a line that says so
    // until it is there; only the newest request is shown. A file that
    // cannot be read leaves the picture as it was, covered by a line that
    // says so.
    void ShowPictureOf(const QString& path, uint32_t fill);
    // Whether a picture asked for is still being read.
    bool Reading() const { return unread_ > 0; }
    void ClearPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    // The picture shown last and the file it was read from.
    const QPixmap& Picture() const { return picture_; }
    const QString& PicturePath() const { return source_.path; }
    void SetPictureVisible(bool visible);
    void ShowOverlay(const QString& text);
    void HideOverlay();
    bool OverlayVisible() const;
    QString OverlayText() const;

signals:
    void Clicked();
    // A picture asked for is shown (read now, or shown already).
    void PictureShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What a shown picture was read from.
    struct Source {
        QString path;
        QDateTime modified;
        qint64 bytes = -1;
        QSize box;
        uint32_t fill = 0;
        bool operator==(const Source&) const = default;
    };

    struct Load {
        Source source;
        QImage picture;
    };

    void ShowScaled();
    void SetOverlay(const QString& text);
    void ShowLoaded(const Source& source, const QImage& picture);
    void TakeLoaded();

    QLabel* picture_label_;
    QLabel* overlay_;
    QPixmap picture_;
    Source source_;
    // The newest picture given to the background read, until it is back; it
    // is shown when it comes only if nothing else was asked for since.
    Source reading_;
    bool readingWanted_ = false;
    int unread_ = 0;  // background reads not yet taken
    std::unique_ptr<base::WorkQueue<Load>> loader_;
};

}  // namespace app
