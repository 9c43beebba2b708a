// The Build step's choice of how an MP4 video carries its captions: as a
// subtitle track in the file, as an .srt file beside it, or not at all
// (the record's Subtitles). A disc format has no place for either, and a show
// without captions has none to carry, so the choice is greyed then with a
// tooltip that says why; the value chosen is kept for when it applies again.
#pragma once

#include <QWidget>

#include <cstdint>

class QComboBox;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class SubtitleChoice : public QWidget {
    Q_OBJECT

public:
    explicit SubtitleChoice(QWidget* parent = nullptr);

    // Shows the record's choice, greyed unless it applies to its format and captions.
    void Follow(const model::TslSettings& s);

signals:
    // The user chose a model::SubtitleMode.
    void Chosen(uint8_t mode);

private:
    QComboBox* box_ = nullptr;
};

}  // namespace app
