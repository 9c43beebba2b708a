#include "app/ColorComboBox.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace app {

namespace {

struct NamedColor {
    const char* name;
    QRgb rgb;
};

// The sixteen basic colours, in the order people know them from colour pickers.
constexpr NamedColor kNamedColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

QIcon Swatch(const QColor& color) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(color);
    painter.drawRect(2, 6, 27, 19);
    return QIcon(pixmap);
}

}  // namespace

ColorComboBox::ColorComboBox(QWidget* parent) : QComboBox(parent) {
    for (const NamedColor& named : kNamedColors)
        AddColor(tr(named.name), QColor::fromRgb(named.rgb), count());
    addItem(tr("Custom..."));
    customIndex_ = count() - 1;
    SetColor(Qt::black);
    connect(this, &QComboBox::activated, this, &ColorComboBox::OnActivated);
}

void ColorComboBox::AddColor(const QString& name, const QColor& color, int position) {
    insertItem(position, Swatch(color), name, color);
}

int ColorComboBox::IndexOf(const QColor& color) const {
    for (int i = 0; i < count(); ++i) {
        const QVariant data = itemData(i);
        if (data.isValid() && data.value<QColor>().rgb() == color.rgb()) return i;
    }
    return -1;
}

void ColorComboBox::SetColor(const QColor& color) {
    int index = IndexOf(color);
    if (index < 0) {
        AddColor(color.name(QColor::HexRgb).toUpper(), color, customIndex_);
        index = customIndex_++;
    }
    color_ = color;
    setCurrentIndex(index);
}

void ColorComboBox::OnActivated(int index) {
    if (index == customIndex_) {
        const QColor chosen = QColorDialog::getColor(color_, this, tr("Background Color"));
        // Cancelled: show the colour that still applies.
        if (!chosen.isValid()) {
            setCurrentIndex(IndexOf(color_));
            return;
        }
        SetColor(chosen);
    } else {
        color_ = itemData(index).value<QColor>();
    }
    emit ColorChanged(color_);
}

}  // namespace app
