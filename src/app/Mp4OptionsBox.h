// The shape, quality and frame rate of the video on the Options step, a row
// of lists below the video formats. The shape is live for the MP4
// formats and DVD, each keeping its own choice (VideoAspect, DvdAspect), a
// shape the chosen format is not made in greyed (4:5 is 1080 wide only, a
// DVD 16:9 or 4:3), and greyed at 4:3 for VCD and SVCD; the quality and rate
// are the MP4 formats' only.
#pragma once

#include <QWidget>

#include <cstdint>

class QComboBox;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class Mp4OptionsBox : public QWidget {
    Q_OBJECT

public:
    explicit Mp4OptionsBox(QWidget* parent = nullptr);

    void RefreshFromSettings(const model::TslSettings& s);
    void CollectSettings(model::TslSettings& s) const;
    // Shows and enables the choices the format takes.
    void FollowFormat(int videoType);

signals:
    void Changed();

private:
    void TakeAspect(int index);

    QComboBox* aspect_ = nullptr;
    QComboBox* quality_ = nullptr;
    QComboBox* rate_ = nullptr;
    int videoType_ = -1;
    uint8_t mp4Aspect_ = 0;
    uint8_t dvdAspect_ = 1;
};

}  // namespace app
