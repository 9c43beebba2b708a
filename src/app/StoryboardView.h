// The Images step's storyboard: the image list as a grid of tiles that wraps
// with the window, over the same model (and selection) as the list view.
// Tiles are dragged to reorder the show, several at once; files dropped from
// the file manager are announced with the row they were dropped at. Only
// the tiles on screen ask for their thumbnails, and requests of tiles that
// scrolled away are dropped.
#pragma once

#include <QListView>
#include <QMimeData>
#include <QRect>
#include <QTimer>

#include "app/StoryTiles.h"

namespace app {

class ThumbnailService;

class StoryboardView : public QListView {
    Q_OBJECT

public:
    static constexpr int kMinTile = 64;
    static constexpr int kMaxTile = 256;

    StoryboardView(const model::Show& show, ThumbnailService& thumbnails,
                   QWidget* parent = nullptr);

    void SetTileSize(int pixels);
    int TileSize() const { return tileSize_; }
    // The numbers the tiles show, recounted by the page when the list changes.
    void SetNumbers(StoryNumbers numbers);
    const StoryNumbers& Numbers() const { return numbers_; }
    const model::Show& WorkingShow() const { return show_; }
    ThumbnailService& Thumbnails() { return thumbnails_; }

    // The row a drop at a point of the viewport lands before.
    int DropRow(const QPoint& point) const;
    // What a drag of the selected tiles carries: their rows, and which view
    // they come from, so only this view takes them as a move.
    QMimeData* RowsDragData() const;
    // The paths of the tiles on screen.
    QSet<QString> VisiblePaths() const;
    // Where the bar showing a drag's landing place is drawn, in viewport
    // coordinates; empty while nothing is dragged over the view.
    QRect DropMarker() const;

signals:
    void FilesDropped(const QStringList& paths, int notLocal, int row);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Names this view in its drags.
    QByteArray Token() const;
    bool OwnRows(const QMimeData* data) const;

    const model::Show& show_;
    ThumbnailService& thumbnails_;
    StoryNumbers numbers_;
    int tileSize_ = 128;
    // The row a drag over the view would land before, or -1.
    int dropRow_ = -1;
    // Collects the scrolling of a moment into one pass over the visible tiles.
    QTimer visibleChanged_;
};

}  // namespace app
