// The Music step's sound-track options under the list: fade-in, fade-out and
// crossfade in seconds (0 to 10) and even loudness, each a setting of the
// project.
#pragma once

#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class MusicMixControls : public QWidget {
    Q_OBJECT

public:
    explicit MusicMixControls(QWidget* parent = nullptr);

    void RefreshFromSettings(const model::TslSettings& s);
    void CollectSettings(model::TslSettings& s) const;

private:
    QDoubleSpinBox* fadeIn_ = nullptr;
    QDoubleSpinBox* fadeOut_ = nullptr;
    QDoubleSpinBox* crossfade_ = nullptr;
    QCheckBox* evenLoudness_ = nullptr;
};

}  // namespace app
