// The caption source on the Options step, beside the synchronisation: what a picture without a
// caption of its own shows (nothing, its file name, the date it was taken, its EXIF title) and how
// a date is written, the second list live for the date alone.
#pragma once

#include <QWidget>

class QComboBox;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class CaptionSourceBox : public QWidget {
    Q_OBJECT

public:
    explicit CaptionSourceBox(QWidget* parent = nullptr);

    void RefreshFromSettings(const model::TslSettings& s);
    void CollectSettings(model::TslSettings& s) const;

signals:
    void Changed();

private:
    void FollowSource();

    QComboBox* source_ = nullptr;
    QComboBox* date_ = nullptr;
};

}  // namespace app
