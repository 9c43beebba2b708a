// A picture drawn as large as the widget allows, in its display proportions
// and centred on a dark field: the Build step's view of the video frames.
#pragma once

#include <QImage>
#include <QWidget>

namespace app {

class PictureView : public QWidget {
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent = nullptr);

    // displayAspect is width / height as the picture should appear (video
    // frames are not stored in square pixels); 0 keeps the image's own.
    void SetPicture(const QImage& picture, double displayAspect = 0);
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    double aspect_ = 0;
};

}  // namespace app
