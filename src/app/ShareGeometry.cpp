#include "app/ShareGeometry.h"

#include <algorithm>

namespace app {

QRectF LetterboxRect(QSizeF picture, const QRectF& area) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    const QSizeF fitted = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return {area.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted};
}

QPointF PixelOfShare(const QRectF& shown, const model::FocusPoint& share) {
    return {shown.left() + share.x * shown.width(), shown.top() + share.y * shown.height()};
}

QRectF PixelsOfBox(const QRectF& shown, const motion::SubjectBox& box) {
    return {PixelOfShare(shown, {box.x, box.y}),
            QSizeF(box.width * shown.width(), box.height * shown.height())};
}

model::FocusPoint ShareOfPixel(const QRectF& shown, QPointF pixel) {
    if (shown.isEmpty()) return {};
    return {std::clamp((pixel.x() - shown.left()) / shown.width(), 0.0, 1.0),
            std::clamp((pixel.y() - shown.top()) / shown.height(), 0.0, 1.0)};
}

}  // namespace app
