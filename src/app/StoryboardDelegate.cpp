#include "app/StoryboardDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "app/Icons.h"
#include "app/StoryboardView.h"
#include "app/ThumbnailService.h"
#include "model/MediaPaths.h"

namespace app {

namespace {

constexpr int kPad = 6;
constexpr int kLine = 20;  // the tick, number and badge line under the picture
constexpr int kTick = 14;
constexpr int kBadgeWidth = 16;

bool IsFolder(const QString& path) {
    return path.endsWith(QLatin1Char('/'));
}

// The file a tile shows, names in the sample folder resolved.
QString ShownFile(const QString& path) {
    std::string resolved = path.toStdString();
    model::ResolveMediaPath(resolved);
    return QString::fromStdString(resolved);
}

}  // namespace

StoryboardDelegate::StoryboardDelegate(StoryboardView& view)
    : QStyledItemDelegate(&view), view_(view) {}

QSize StoryboardDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {view_.TileSize() + 2 * kPad, view_.TileSize() + 2 * kPad + kLine};
}

QRect StoryboardDelegate::PictureRect(const QRect& tile) const {
    return {tile.x() + kPad, tile.y() + kPad, view_.TileSize(), view_.TileSize()};
}

QRect StoryboardDelegate::TickRect(const QRect& tile) const {
    const QRect picture = PictureRect(tile);
    return {picture.left(), picture.bottom() + 1 + (kLine - kTick) / 2, kTick, kTick};
}

QRect StoryboardDelegate::BadgeRect(const QRect& tile, int badge) const {
    const QRect picture = PictureRect(tile);
    return {picture.right() + 1 - (badge + 1) * (kBadgeWidth + 2),
            picture.bottom() + 1 + (kLine - kTick) / 2, kBadgeWidth, kTick};
}

void StoryboardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const int row = index.row();
    const QString path = index.data(Qt::DisplayRole).toString();
    const QRect tile = option.rect;
    const QPalette& palette = option.palette;
    painter->save();
    if (option.state & QStyle::State_Selected)
        painter->fillRect(tile.adjusted(1, 1, -1, -1), palette.highlight());
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(palette.highlight().color().darker(130), 1, Qt::DashLine));
        painter->drawRect(tile.adjusted(1, 1, -2, -2));
    }

    const QRect pictureRect = PictureRect(tile);
    const auto& numbers = view_.Numbers();
    const bool known = row < static_cast<int>(numbers.number.size());
    if (IsFolder(path)) {
        const int iconSide = pictureRect.width() / 2;
        PaintedIcon(IconKind::Folder)
            .paint(painter, pictureRect.adjusted(iconSide / 2, iconSide / 3, -iconSide / 2,
                                                 -iconSide * 2 / 3));
        painter->setPen(palette.text().color());
        const int count = known ? numbers.pictures[static_cast<size_t>(row)] : 0;
        painter->drawText(pictureRect.adjusted(2, 0, -2, -4), Qt::AlignHCenter | Qt::AlignBottom,
                          PictureCount(count));
    } else {
        const ThumbnailService::Answer answer =
            view_.Thumbnails().Request(ShownFile(path), view_.TileSize());
        if (!answer.picture.isNull()) {
            QSize size = answer.picture.size().scaled(pictureRect.size(), Qt::KeepAspectRatio);
            // A smaller thumbnail stands in unenlarged only where it fits.
            if (answer.picture.width() <= pictureRect.width() &&
                answer.picture.height() <= pictureRect.height() && answer.final)
                size = answer.picture.size();
            QRect target(QPoint(), size);
            target.moveCenter(pictureRect.center());
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(target, answer.picture);
        } else if (!answer.problem.isEmpty()) {
            painter->fillRect(pictureRect.adjusted(8, 8, -8, -8), palette.mid());
            painter->setPen(palette.text().color());
            painter->drawText(pictureRect, Qt::AlignCenter,
                              QApplication::translate("app::StoryboardDelegate", "Cannot show"));
        } else {
            painter->fillRect(pictureRect.adjusted(8, 8, -8, -8), palette.alternateBase());
        }
    }

    // The tick box, drawn as the list view draws its check boxes.
    QStyleOptionButton tick;
    tick.rect = TickRect(tile);
    tick.state =
        QStyle::State_Enabled |
        (index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On
                                                                               : QStyle::State_Off);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &tick, painter, widget);

    painter->setPen(option.state & QStyle::State_Selected ? palette.highlightedText().color()
                                                          : palette.text().color());
    const int number = known ? numbers.number[static_cast<size_t>(row)] : 0;
    if (number > 0) {
        const QRect text(tick.rect.right() + 4, tick.rect.top() - 2, pictureRect.width() / 2,
                         kTick + 4);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QString::number(number));
    }
    if (!IsFolder(path)) {
        const std::vector<Badge> badges =
            BadgesOf(view_.WorkingShow(), ShownFile(path).toStdString());
        QFont small = painter->font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        small.setBold(true);
        painter->setFont(small);
        for (size_t i = 0; i < badges.size(); ++i) {
            const QRect badge = BadgeRect(tile, static_cast<int>(badges.size() - 1 - i));
            painter->setPen(Qt::NoPen);
            painter->setBrush(palette.highlight().color().darker(110));
            painter->drawRoundedRect(badge, 3, 3);
            painter->setPen(palette.highlightedText().color());
            painter->drawText(badge, Qt::AlignCenter, badges[i].letter);
        }
    }
    painter->restore();
}

QString StoryboardDelegate::TooltipAt(const QModelIndex& index, const QRect& tile,
                                      const QPoint& point) const {
    const QString path = index.data(Qt::DisplayRole).toString();
    if (IsFolder(path)) return path;
    const std::vector<Badge> badges = BadgesOf(view_.WorkingShow(), ShownFile(path).toStdString());
    for (size_t i = 0; i < badges.size(); ++i)
        if (BadgeRect(tile, static_cast<int>(badges.size() - 1 - i)).contains(point))
            return badges[i].tooltip;
    const ThumbnailService::Answer answer =
        view_.Thumbnails().Request(ShownFile(path), view_.TileSize());
    if (!answer.problem.isEmpty()) return path + QLatin1Char('\n') + answer.problem;
    return index.data(Qt::ToolTipRole).toString();
}

bool StoryboardDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), TooltipAt(index, option.rect, event->pos()), view);
    return true;
}

bool StoryboardDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton ||
        !TickRect(option.rect).contains(mouse->position().toPoint()))
        return false;
    // The tick box takes its clicks whole: they neither select nor open.
    if (type == QEvent::MouseButtonRelease) {
        const bool ticked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    return true;
}

}  // namespace app
