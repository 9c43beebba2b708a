#include "app/FocusView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "app/ShareGeometry.h"

namespace app {

FocusView::FocusView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setMinimumSize(120, 76);
    setToolTip(
        tr("Pan and zoom aim here: click or drag to set the point, arrow keys move it, "
           "Delete clears it"));
}

void FocusView::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void FocusView::SetSubject(const motion::Subject& subject) {
    subject_ = {subject.faces, subject.salient, std::nullopt};
    update();
}

void FocusView::SetFocusPoint(const std::optional<model::FocusPoint>& point) {
    point_ = point;
    update();
}

QRectF FocusView::PictureRect() const {
    // Logical pixels: a thumbnail loaded for a high-density screen is as
    // large on screen as any other.
    const QSizeF size = picture_.deviceIndependentSize();
    return LetterboxRect(size, QRectF(rect()).adjusted(2, 2, -2, -2));
}

std::vector<QRectF> FocusView::FaceOutlines() const {
    const QRectF shown = PictureRect();
    std::vector<QRectF> outlines;
    if (shown.isEmpty()) return outlines;
    for (const motion::SubjectBox& face : subject_.faces)
        outlines.push_back(PixelsOfBox(shown, face));
    return outlines;
}

std::optional<QRectF> FocusView::SalientOutline() const {
    const QRectF shown = PictureRect();
    if (shown.isEmpty() || !subject_.salient) return std::nullopt;
    return PixelsOfBox(shown, *subject_.salient);
}

void FocusView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QRectF shown = PictureRect();
    if (shown.isEmpty()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(shown, picture_, QRectF(picture_.rect()));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    if (const auto salient = SalientOutline()) {
        painter.setPen(QPen(QColor(255, 200, 0), 1, Qt::DashLine));
        painter.drawRect(*salient);
    }
    painter.setPen(QPen(QColor(80, 220, 80), 1.5));
    for (const QRectF& face : FaceOutlines()) painter.drawRect(face);

    if (!point_) return;
    // A dark line under a light one, so the cross shows on any picture.
    const QPointF at = PixelOfShare(shown, *point_);
    for (const auto& [color, width] : {std::pair{QColor(0, 0, 0, 160), 3.0}, {Qt::white, 1.0}}) {
        painter.setPen(QPen(color, width));
        painter.drawEllipse(at, 6, 6);
        painter.drawLine(at - QPointF(10, 0), at - QPointF(3, 0));
        painter.drawLine(at + QPointF(3, 0), at + QPointF(10, 0));
        painter.drawLine(at - QPointF(0, 10), at - QPointF(0, 3));
        painter.drawLine(at + QPointF(0, 3), at + QPointF(0, 10));
    }
}

void FocusView::Edit(const std::optional<model::FocusPoint>& point) {
    if (point == point_) return;
    SetFocusPoint(point);
    emit FocusPointEdited();
}

void FocusView::mousePressEvent(QMouseEvent* event) {
    const QRectF shown = PictureRect();
    if (event->button() != Qt::LeftButton || shown.isEmpty())
        return QWidget::mousePressEvent(event);
    Edit(ShareOfPixel(shown, event->position()));
}

void FocusView::mouseMoveEvent(QMouseEvent* event) {
    const QRectF shown = PictureRect();
    if (!(event->buttons() & Qt::LeftButton) || shown.isEmpty())
        return QWidget::mouseMoveEvent(event);
    Edit(ShareOfPixel(shown, event->position()));
}

void FocusView::keyPressEvent(QKeyEvent* event) {
    if (picture_.isNull()) return QWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        Edit(std::nullopt);
        return;
    }
    double dx = 0, dy = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            dx = -kKeyStep;
            break;
        case Qt::Key_Right:
            dx = kKeyStep;
            break;
        case Qt::Key_Up:
            dy = -kKeyStep;
            break;
        case Qt::Key_Down:
            dy = kKeyStep;
            break;
        default:
            return QWidget::keyPressEvent(event);
    }
    // Without a point yet, the keys start from the middle.
    const model::FocusPoint from = point_.value_or(model::FocusPoint{});
    Edit(model::FocusPoint{std::clamp(from.x + dx, 0.0, 1.0), std::clamp(from.y + dy, 0.0, 1.0)});
}

}  // namespace app
