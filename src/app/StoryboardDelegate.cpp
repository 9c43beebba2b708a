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
#include "model/TitleCard.h"

namespace app {

namespace {

constexpr int kPad = 6;
constexpr int kLine = 20;  // the tick, number and badge line under the picture
constexpr int kTick = 14;
constexpr int kBadgeWidth = 16;

bool IsFolder(const QString& path) {
    return path.endsWith(QLatin1Char('/'));
}

// The file a tile shows, names in the sample folder resolved; a title card
// keeps its name, which its notes are found by.
QString ShownFile(const QString& path) {
    std::string resolved = path.toStdString();
    if (!model::IsTitleCard(resolved)) model::ResolveMediaPath(resolved);
    return QString::fromStdString(resolved);
}

// A title card as its tile shows it: the backdrop in the video's 16:9 shape
// (the picture's thumbnail, dimmed when the card blurs it) and the words
// centred on it.
void PaintTitleCard(QPainter& painter, const QRect& tile, const model::TitleCard& card,
                    ThumbnailService& thumbnails, int tileSize) {
    QRect card16(QPoint(), QSize(16, 9).scaled(tile.size(), Qt::KeepAspectRatio));
    card16.moveCenter(tile.center());
    painter.fillRect(card16, QColor::fromRgb(static_cast<QRgb>(card.colour)));
    if (card.backdrop != model::TitleBackdrop::Colour && !card.picture.empty()) {
        const ThumbnailService::Answer answer =
            thumbnails.Request(QString::fromStdString(card.picture), tileSize);
        if (!answer.picture.isNull()) {
            // Cropped to the card's shape, as the video fills its frame.
            const QSize cover = card16.size().scaled(answer.picture.size(), Qt::KeepAspectRatio);
            QRect source(QPoint(), cover);
            source.moveCenter(answer.picture.rect().center());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(card16, answer.picture, source);
            if (card.backdrop == model::TitleBackdrop::Blurred)
                painter.fillRect(card16, QColor(0, 0, 0, 90));
        }
    }
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(8, card16.height() / 6));
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect words = card16.adjusted(4, 4, -4, -4);
    QString text = QFontMetrics(font).elidedText(QString::fromStdString(card.title), Qt::ElideRight,
                                                 words.width());
    if (!card.line2.empty())
        text +=
            QLatin1Char('\n') + QFontMetrics(font).elidedText(QString::fromStdString(card.line2),
                                                              Qt::ElideRight, words.width());
    painter.drawText(words, Qt::AlignCenter, text);
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
    if (const std::optional<model::TitleCard> card =
            view_.WorkingShow().TitleCardOf(path.toStdString())) {
        PaintTitleCard(*painter, pictureRect, *card, view_.Thumbnails(), view_.TileSize());
    } else if (IsFolder(path)) {
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
    if (const auto card = view_.WorkingShow().TitleCardOf(path.toStdString()))
        return QApplication::translate("app::StoryboardDelegate", "Title card: %1")
            .arg(QString::fromStdString(model::TitleCardText(*card)));
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
