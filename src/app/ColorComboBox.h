// A drop-down of named colours with a swatch each, and "Custom..." for any
// other colour. A colour that is not among the names is listed by its
// hexadecimal value.
#pragma once

#include <QColor>
#include <QComboBox>

namespace app {

class ColorComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit ColorComboBox(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

signals:
    void ColorChanged(const QColor& color);

private:
    void OnActivated(int index);
    int IndexOf(const QColor& color) const;
    void AddColor(const QString& name, const QColor& color, int position);

    QColor color_;
    int customIndex_ = -1;  // the "Custom..." entry
};

}  // namespace app
