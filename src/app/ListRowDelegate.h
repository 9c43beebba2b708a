// Draws the rows of the image and music lists: every row at least 16 pixels
// high, so a check box and a small icon fit whatever the font, and, where
// some rows carry an icon (the folders of the image list), an icon column
// kept for every row so file names start where folder names start.
#pragma once

#include <QStyledItemDelegate>

namespace app {

class ListRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kMinimumRowHeight = 16;

    // keepIconColumn: rows without an icon leave its place empty.
    explicit ListRowDelegate(bool keepIconColumn, QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Public, so where a row's parts go can be asked of the style.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    bool keepIconColumn_;
};

}  // namespace app
