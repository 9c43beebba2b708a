// Draws a storyboard tile: the thumbnail (or why there is none), the tick
// box, the picture's number in the show, and badges for what it has of its
// own; a folder shows how many pictures it stands for. Badges and bad files
// explain themselves in tooltips.
#pragma once

#include <QStyledItemDelegate>

namespace app {

class StoryboardView;

class StoryboardDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit StoryboardDelegate(StoryboardView& view);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Where a tile's parts lie, for drawing and for the pointer.
    QRect PictureRect(const QRect& tile) const;
    QRect TickRect(const QRect& tile) const;
    QRect BadgeRect(const QRect& tile, int badge) const;
    // The tooltip at a point of a tile.
    QString TooltipAt(const QModelIndex& index, const QRect& tile, const QPoint& point) const;

private:
    StoryboardView& view_;
};

}  // namespace app
