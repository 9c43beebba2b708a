// The aspect and quality of the MP4 formats on the Options step, a row of
// two lists below the video formats; usable only while an MP4 format is
// chosen (the disc formats have neither).
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
    // Enables the choices for an MP4 format, disables them for a disc.
    void FollowFormat(int videoType);

signals:
    void Changed();

private:
    QComboBox* aspect_ = nullptr;
    QComboBox* quality_ = nullptr;
};

}  // namespace app
