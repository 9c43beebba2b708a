// The preview of the background picture on the Options step: the picture
// stretched over a grey cross-hatched field in the proportions of the
// television screen, as large as the widget allows; or, for the blurred
// fill, a picture of the show over its own blurred copy. Its tooltip is the
// picture's path, which is also where the settings take the path from.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "base/Result.h"

namespace app {

class BackgroundPreview : public QWidget {
    Q_OBJECT

public:
    explicit BackgroundPreview(QWidget* parent = nullptr);

    QString Path() const { return path_; }
    // Sets the path and empties the preview until LoadPicture.
    void SetPath(const QString& path);
    // Loads the picture at Path(); on failure the preview stays empty and
    // the fault says why.
    base::Status LoadPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    // Shows the picture at 'picturePath' fitted over its blurred fill in
    // place of the background picture; an empty or unreadable path shows the
    // background picture again.
    void ShowBlurred(const QString& picturePath);
    bool ShowsBlurred() const { return !blurred_.isNull(); }

    QSize sizeHint() const override;
    // Where the field is drawn: the largest 4:3 rectangle that fits,
    // centred across and at the top.
    QRect FieldRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString path_;
    QPixmap picture_;
    QPixmap blurred_;
};

}  // namespace app
