// Where a point or box given in shares (0..1) of a picture lands on a widget
// that shows the picture letterboxed, and back: the per-image dialog's focus
// view draws the found faces and takes the user's clicks through these, so
// what is drawn and what is stored agree whatever the widget's shape.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "model/PictureFocus.h"
#include "motion/Subject.h"

namespace app {

// The picture of size 'picture' as large as 'area' allows in its own
// proportions, centred there; empty for an empty picture.
QRectF LetterboxRect(QSizeF picture, const QRectF& area);

QPointF PixelOfShare(const QRectF& shown, const model::FocusPoint& share);
QRectF PixelsOfBox(const QRectF& shown, const motion::SubjectBox& box);
// A point outside the picture (on the bars) is taken to its nearest edge:
// a drag past the picture keeps the point on it.
model::FocusPoint ShareOfPixel(const QRectF& shown, QPointF pixel);

}  // namespace app
