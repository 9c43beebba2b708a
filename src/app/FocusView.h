// The per-image dialog's view of what a picture shows: its thumbnail
// letterboxed, the faces and the striking region found in it outlined, and
// the point its motion aims at as a cross-hair, which a click, a drag or the
// arrow keys move and Delete clears. It only draws and reports; the dialog
// decides where the point is kept.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <optional>
#include <vector>

#include "model/PictureFocus.h"
#include "motion/Subject.h"

namespace app {

class FocusView : public QWidget {
    Q_OBJECT

public:
    // An arrow key moves the point by this share of the picture's side.
    static constexpr double kKeyStep = 0.02;

    explicit FocusView(QWidget* parent = nullptr);

    // A null pixmap shows nothing and takes no clicks.
    void SetPicture(const QPixmap& picture);
    // The faces and the striking region; a subject's own focus is ignored
    // (the point is the dialog's to give).
    void SetSubject(const motion::Subject& subject);
    void SetFocusPoint(const std::optional<model::FocusPoint>& point);
    const std::optional<model::FocusPoint>& FocusPoint() const { return point_; }

    // Where the picture and the outlines are drawn, in widget pixels.
    QRectF PictureRect() const;
    std::vector<QRectF> FaceOutlines() const;
    std::optional<QRectF> SalientOutline() const;

    QSize sizeHint() const override { return {175, 110}; }

signals:
    // The user moved or cleared the point.
    void FocusPointEdited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Edit(const std::optional<model::FocusPoint>& point);

    QPixmap picture_;
    motion::Subject subject_;
    std::optional<model::FocusPoint> point_;
};

}  // namespace app
