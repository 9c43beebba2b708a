#include "app/StoryboardView.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "app/MediaListModels.h"
#include "app/StoryboardDelegate.h"
#include "app/ThumbnailService.h"
#include "model/MediaPaths.h"

namespace app {

namespace {

// Rows dragged inside the storyboard; only this view reads them.
const QString kRowsMime = QStringLiteral("application/x-vanto-storyboard-rows");

}  // namespace

StoryboardView::StoryboardView(const model::Show& show, ThumbnailService& thumbnails,
                               QWidget* parent)
    : QListView(parent), show_(show), thumbnails_(thumbnails) {
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    // Tiles keep their places in the grid; a drag moves them in the model.
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSpacing(2);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    // The view's own indicator marks rows of a list; the grid draws its bar
    // between tiles (DropMarker).
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new StoryboardDelegate(*this));

    visibleChanged_.setSingleShot(true);
    visibleChanged_.setInterval(50);
    connect(&visibleChanged_, &QTimer::timeout, this,
            [this] { thumbnails_.KeepOnly(VisiblePaths()); });
    connect(&thumbnails_, &ThumbnailService::Ready, viewport(), qOverload<>(&QWidget::update));
}

void StoryboardView::SetTileSize(int pixels) {
    tileSize_ = std::clamp(pixels, kMinTile, kMaxTile);
    // Uniform sizes are cached by the view: a new size needs a new layout.
    scheduleDelayedItemsLayout();
    viewport()->update();
    visibleChanged_.start();
}

void StoryboardView::SetNumbers(StoryNumbers numbers) {
    numbers_ = std::move(numbers);
    viewport()->update();
}

int StoryboardView::DropRow(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    if (!model()) return 0;
    if (!index.isValid()) {
        // Beside the tiles: before the first tile of the grid that comes
        // after the point, else at the end.
        for (int row = 0; row < model()->rowCount(); ++row) {
            const QRect rect = visualRect(model()->index(row, 0));
            if (rect.top() > point.y() || (rect.bottom() >= point.y() && rect.left() > point.x()))
                return row;
        }
        return model()->rowCount();
    }
    const QRect rect = visualRect(index);
    return point.x() > rect.center().x() ? index.row() + 1 : index.row();
}

QSet<QString> StoryboardView::VisiblePaths() const {
    QSet<QString> paths;
    if (!model()) return paths;
    const QRect shown = viewport()->rect();
    for (int row = 0; row < model()->rowCount(); ++row) {
        const QModelIndex index = model()->index(row, 0);
        if (!visualRect(index).intersects(shown)) continue;
        std::string path = index.data(Qt::DisplayRole).toString().toStdString();
        model::ResolveMediaPath(path);
        paths.insert(QString::fromStdString(path));
    }
    return paths;
}

QByteArray StoryboardView::Token() const {
    return QByteArray::number(reinterpret_cast<quintptr>(this), 16);
}

QMimeData* StoryboardView::RowsDragData() const {
    QByteArray rows = Token();
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows += ' ' + QByteArray::number(index.row());
    auto* data = new QMimeData;
    data->setData(kRowsMime, rows);
    return data;
}

bool StoryboardView::OwnRows(const QMimeData* data) const {
    return data->hasFormat(kRowsMime) && data->data(kRowsMime).split(' ').value(0) == Token();
}

void StoryboardView::startDrag(Qt::DropActions) {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(RowsDragData());
    const QRect first = visualRect(selected.first());
    drag->setPixmap(viewport()->grab(first).scaledToWidth(std::min(first.width(), 96)));
    drag->exec(Qt::MoveAction);
}

void StoryboardView::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void StoryboardView::dragMoveEvent(QDragMoveEvent* event) {
    const int was = dropRow_;
    if (OwnRows(event->mimeData()) || event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        dropRow_ = DropRow(event->position().toPoint());
    } else {
        event->ignore();
        dropRow_ = -1;
    }
    if (dropRow_ != was) viewport()->update();
}

void StoryboardView::dragLeaveEvent(QDragLeaveEvent* event) {
    QListView::dragLeaveEvent(event);
    dropRow_ = -1;
    viewport()->update();
}

QRect StoryboardView::DropMarker() const {
    if (dropRow_ < 0 || !model()) return {};
    const int rows = model()->rowCount();
    const int width = std::max(3, spacing() + 2);
    if (rows == 0) return {0, 0, width, tileSize_};
    // Before a tile, or after the last one; a row's first tile has its bar
    // at the left edge of the grid.
    const bool after = dropRow_ >= rows;
    const QRect tile = visualRect(model()->index(after ? rows - 1 : dropRow_, 0));
    const int x = after ? tile.right() + 1 : tile.left();
    return {std::max(0, x - width / 2 - 1), tile.top(), width, tile.height()};
}

void StoryboardView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    const QRect marker = DropMarker();
    if (marker.isEmpty()) return;
    QPainter painter(viewport());
    painter.fillRect(marker, palette().color(QPalette::Highlight));
}

void StoryboardView::dropEvent(QDropEvent* event) {
    dropRow_ = -1;
    viewport()->update();
    const int row = DropRow(event->position().toPoint());
    const QMimeData* data = event->mimeData();
    if (OwnRows(data)) {
        auto* rows = qobject_cast<PathDropModel*>(model());
        std::vector<int> moving;
        const QList<QByteArray> words = data->data(kRowsMime).split(' ');
        for (qsizetype word = 1; word < words.size(); ++word) moving.push_back(words[word].toInt());
        if (rows == nullptr || moving.empty()) return event->ignore();
        const std::vector<int> moved = rows->MoveRows(moving, row);
        // The moved tiles stay selected where they landed.
        QItemSelection selection;
        for (const int at : moved) selection.select(model()->index(at, 0), model()->index(at, 0));
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        if (!moved.empty())
            selectionModel()->setCurrentIndex(model()->index(moved.front(), 0),
                                              QItemSelectionModel::NoUpdate);
        // The model has moved the rows itself: the drag must not remove them.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    int notLocal = 0;
    const QStringList paths = DroppedPaths(data, &notLocal);
    if (paths.isEmpty() && notLocal == 0) return event->ignore();
    emit FilesDropped(paths, notLocal, row);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void StoryboardView::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    visibleChanged_.start();
}

void StoryboardView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    visibleChanged_.start();
}

}  // namespace app
