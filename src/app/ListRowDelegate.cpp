#include "app/ListRowDelegate.h"

#include <algorithm>

namespace app {

ListRowDelegate::ListRowDelegate(bool keepIconColumn, QObject* parent)
    : QStyledItemDelegate(parent), keepIconColumn_(keepIconColumn) {}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), kMinimumRowHeight));
    return size;
}

void ListRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                      const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // The style lays out an empty icon like a real one and paints nothing.
    if (keepIconColumn_ && index.column() == 0)
        option->features |= QStyleOptionViewItem::HasDecoration;
}

}  // namespace app
