// The shape, quality and frame rate of the MP4 formats on the Options step,
// a row of three lists below the video formats; usable only while an MP4
// format is chosen (the disc formats have none of them). A shape the chosen
// size is not made in (4:5 is 1080 wide only) cannot be picked.
#pragma once

#include <QWidget>

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
    // Enables the choices for an MP4 format, disables them for a disc, and
    // offers the shapes the format's size is made in.
    void FollowFormat(int videoType);

signals:
    void Changed();

private:
    QComboBox* aspect_ = nullptr;
    QComboBox* quality_ = nullptr;
    QComboBox* rate_ = nullptr;
};

}  // namespace app
