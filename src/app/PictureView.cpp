#include "app/PictureView.h"

#include <QPainter>

namespace app {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureView::SetPicture(const QImage& picture, double displayAspect) {
    picture_ = picture;
    aspect_ =
        displayAspect > 0
            ? displayAspect
            : (picture.height() > 0 ? static_cast<double>(picture.width()) / picture.height() : 0);
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x20, 0x22, 0x28));
    if (picture_.isNull() || aspect_ <= 0) return;
    QSizeF size(width(), width() / aspect_);
    if (size.height() > height()) size = QSizeF(height() * aspect_, height());
    const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                        size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

}  // namespace app
