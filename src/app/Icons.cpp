#include "app/Icons.h"

#include <algorithm>
#include <cmath>

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {

namespace {

// All shapes are drawn on a 32 x 32 design grid and scaled to the target.
constexpr qreal kGrid = 32.0;

void RoundedTile(QPainter& p, const QColor& top, const QColor& bottom) {
    QLinearGradient fill(0, 2, 0, 30);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 6, 6);
}

// A small landscape: sky, sun and two hills, clipped to the rectangle.
void Landscape(QPainter& p, const QRectF& r) {
    p.save();
    p.setClipRect(r);
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x8e, 0xd1, 0xfc));
    sky.setColorAt(1, QColor(0xe3, 0xf4, 0xff));
    p.fillRect(r, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xc8, 0x3d));
    const qreal s = r.width() / 20.0;
    p.drawEllipse(QPointF(r.right() - 5 * s, r.top() + 5 * s), 2.6 * s, 2.6 * s);
    QPainterPath far;
    far.moveTo(r.left(), r.bottom());
    far.lineTo(r.left() + 7 * s, r.top() + 7 * s);
    far.lineTo(r.left() + 14 * s, r.bottom());
    p.setBrush(QColor(0x4f, 0x9d, 0x5a));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(r.left() + 5 * s, r.bottom());
    near.lineTo(r.left() + 13 * s, r.top() + 9.5 * s);
    near.lineTo(r.right() + 2 * s, r.bottom());
    p.setBrush(QColor(0x2e, 0x7d, 0x4f));
    p.drawPath(near);
    p.restore();
}

void DrawImages(QPainter& p) {
    // Two stacked photographs.
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.0));
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.save();
    p.translate(16, 16);
    p.rotate(-10);
    p.drawRect(QRectF(-12, -10, 22, 18));
    p.restore();
    p.drawRect(QRectF(7.5, 9.5, 22, 18));
    Landscape(p, QRectF(9.5, 11.5, 18, 14));
}

void DrawMusic(QPainter& p) {
    RoundedTile(p, QColor(0xb3, 0x8c, 0xf7), QColor(0x6a, 0x3d, 0xc2));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    // Two beamed eighth notes.
    p.save();
    p.translate(11.5, 22.5);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 3.4, 2.5);
    p.restore();
    p.save();
    p.translate(21.5, 20.5);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 3.4, 2.5);
    p.restore();
    p.drawRect(QRectF(13.6, 9.5, 1.6, 13));
    p.drawRect(QRectF(23.6, 7.5, 1.6, 13));
    QPainterPath beam;
    beam.moveTo(13.6, 9.5);
    beam.lineTo(25.2, 7.5);
    beam.lineTo(25.2, 10.8);
    beam.lineTo(13.6, 12.8);
    beam.closeSubpath();
    p.drawPath(beam);
}

void DrawEffects(QPainter& p) {
    // A picture being wiped into another, with a sparkle.
    const QRectF frame(3.5, 6.5, 25, 19);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x3a, 0x52));
    p.drawRect(frame);
    Landscape(p, QRectF(frame.left(), frame.top(), 14, frame.height()));
    p.setPen(QPen(Qt::white, 1.4));
    p.drawLine(QPointF(17.5, 6.5), QPointF(17.5, 25.5));
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    QPainterPath star;
    const QPointF c(24, 11);
    for (int i = 0; i < 8; ++i) {
        const qreal radius = i % 2 == 0 ? 5.0 : 1.4;
        const qreal angle = i * 3.14159265 / 4 - 3.14159265 / 2;
        const QPointF point(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0xc7, 0x8a, 0x00), 0.6));
    p.setBrush(QColor(0xff, 0xd6, 0x3a));
    p.drawPath(star);
}

void DrawOptions(QPainter& p) {
    // Three sliders.
    RoundedTile(p, QColor(0x9a, 0xa6, 0xb4), QColor(0x55, 0x61, 0x70));
    const qreal knobs[3] = {11, 20, 14};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 10 + i * 6;
        p.setPen(QPen(QColor(0x2b, 0x31, 0x3a), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, y), QPointF(25, y));
        p.setPen(QPen(QColor(0x2b, 0x31, 0x3a), 0.8));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawEllipse(QPointF(knobs[i], y), 2.6, 2.6);
    }
}

void DrawFilmStrip(QPainter& p, const QRectF& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x26, 0x26, 0x2b));
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(QColor(0xee, 0xee, 0xee));
    const int holes = 5;
    const qreal step = r.width() / holes;
    for (int i = 0; i < holes; ++i) {
        const qreal x = r.left() + i * step + step / 2 - 1.2;
        p.drawRect(QRectF(x, r.top() + 1.2, 2.4, 2.0));
        p.drawRect(QRectF(x, r.bottom() - 3.2, 2.4, 2.0));
    }
    Landscape(p, QRectF(r.left() + 2, r.top() + 4.5, r.width() - 4, r.height() - 9));
}

void DrawBuild(QPainter& p) {
    DrawFilmStrip(p, QRectF(2.5, 4.5, 22, 18));
    // A disc being written.
    QRadialGradient disc(QPointF(22, 22), 8.5);
    disc.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
    disc.setColorAt(0.6, QColor(0xc9, 0xd6, 0xe8));
    disc.setColorAt(1.0, QColor(0x8d, 0xa4, 0xc4));
    p.setPen(QPen(QColor(0x4a, 0x5b, 0x75), 0.8));
    p.setBrush(disc);
    p.drawEllipse(QPointF(22, 22), 8, 8);
    p.setBrush(QColor(0xf4, 0xf4, 0xf4));
    p.drawEllipse(QPointF(22, 22), 2.2, 2.2);
}

void DrawProgram(QPainter& p) {
    QLinearGradient fill(0, 1, 0, 31);
    fill.setColorAt(0, QColor(0x3d, 0x7b, 0xd9));
    fill.setColorAt(1, QColor(0x1c, 0x3f, 0x8f));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
    DrawFilmStrip(p, QRectF(5, 7, 22, 18));
    // A play mark over the strip.
    QPainterPath play;
    play.moveTo(13.5, 11.5);
    play.lineTo(21.5, 16);
    play.lineTo(13.5, 20.5);
    play.closeSubpath();
    p.setPen(QPen(QColor(0x1c, 0x3f, 0x8f), 0.8));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawPath(play);
}

void DrawFolder(QPainter& p) {
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(15, 11);
    back.lineTo(29, 11);
    back.lineTo(29, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.setPen(QPen(QColor(0xb0, 0x7d, 0x12), 1.0));
    p.setBrush(QColor(0xf0, 0xb4, 0x2c));
    p.drawPath(back);
    QLinearGradient front(0, 14, 0, 27);
    front.setColorAt(0, QColor(0xff, 0xd9, 0x6a));
    front.setColorAt(1, QColor(0xf5, 0xbd, 0x3a));
    p.setBrush(front);
    p.drawRect(QRectF(3, 14, 26, 13));
}

void Draw(QPainter& p, IconKind kind) {
    switch (kind) {
        case IconKind::Program:
            DrawProgram(p);
            break;
        case IconKind::Images:
            DrawImages(p);
            break;
        case IconKind::Music:
            DrawMusic(p);
            break;
        case IconKind::Effects:
            DrawEffects(p);
            break;
        case IconKind::Options:
            DrawOptions(p);
            break;
        case IconKind::Build:
            DrawBuild(p);
            break;
        case IconKind::Folder:
            DrawFolder(p);
            break;
    }
}

class PaintedIconEngine : public QIconEngine {
public:
    explicit PaintedIconEngine(IconKind kind) : kind_(kind) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal side = std::min(rect.width(), rect.height());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.x() + (rect.width() - side) / 2.0,
                           rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / kGrid, side / kGrid);
        if (mode == QIcon::Disabled) painter->setOpacity(0.4);
        Draw(*painter, kind_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), size * scale), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(kind_); }

private:
    IconKind kind_;
};

}  // namespace

QIcon PaintedIcon(IconKind kind) {
    return QIcon(new PaintedIconEngine(kind));
}

}  // namespace app
