// The Options step: where the video will be watched (a preset of format,
// shape and rate, reflecting the detailed controls under it), video format
// (with the MP4 formats' aspect and quality), television standard, synchronisation mode
// with the show's and the music's lengths beside it (and, stretched to the
// music, how long each picture then stays; on the beat, how many pictures
// it shows), and the background
// (a colour, a picture tiled or stretched, or each picture's blurred copy),
// the show's caption style, and where the captions of pictures without
// their own come from.
#pragma once

#include <QWidget>

#include <cstdint>

#include "model/Show.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace model {
struct ShowPreset;
struct TslSettings;
}  // namespace model

namespace app {

class BackgroundPreview;
class CaptionSourceBox;
class ColorComboBox;
class ImageListModel;
class Mp4OptionsBox;
class PresetChoice;

class OptionsPage : public QWidget {
    Q_OBJECT

public:
    // The page reads and changes the window's working show.
    explicit OptionsPage(model::Show& show, QWidget* parent = nullptr);

    // The hand-over with the settings record: a new option of this step is
    // read in the first and written in the second.
    void RefreshFromSettings(const model::TslSettings& s);
    void CollectSettings(model::TslSettings& s) const;

    // The image list whose checks tell which pictures the build would leave
    // out of the show's length; the lengths follow the checks as they come.
    void TakePictureChecks(const ImageListModel& images);
    // Computes the show's and the music's lengths from the settings record
    // and writes them beside the sync modes.
    void UpdateSyncTexts(bool musicOn);
    // Writes the lengths last computed beside the sync modes.
    void ShowSyncTexts(bool musicOn);
    int ShowSeconds() const { return showSeconds_; }
    int MusicSeconds() const { return musicSeconds_; }

    // The button that opens the per-picture dialog; it waits while a build runs.
    QPushButton& CustomizeButton() const { return *customize_; }
    // Opens the caption style dialog for the show's style.
    QPushButton& CaptionStyleButton() const { return *captionStyle_; }

signals:
    // The user changed an option of the project.
    void Changed();
    // The per-picture dialog was asked for.
    void CustomizeClicked();

private:
    model::Show& show_;
    QWidget* CreateBackground();
    void SelectBackgroundPicture();
    void EditCaptionStyle();
    // The preview follows the blurred-fill choice with the show's first picture.
    void UpdateBlurredPreview();
    // Sets the detailed video controls as the preset sets them.
    void TakePreset(const model::ShowPreset& preset);
    // The preset list shows what the detailed controls say.
    void ReflectPreset();

    PresetChoice* presets_ = nullptr;
    // Set while the page sets its own controls: no preset is taken again
    // or reflected halfway.
    bool settingControls_ = false;
    QButtonGroup* videoGroup_ = nullptr;
    Mp4OptionsBox* mp4Box_ = nullptr;
    QButtonGroup* tvGroup_ = nullptr;
    QButtonGroup* syncGroup_ = nullptr;
    QRadioButton* backColorRadio_ = nullptr;
    QRadioButton* backImageRadio_ = nullptr;
    QRadioButton* backBlurRadio_ = nullptr;
    QRadioButton* backTiledRadio_ = nullptr;
    QRadioButton* backStretchRadio_ = nullptr;
    ColorComboBox* backcolorCb_ = nullptr;
    BackgroundPreview* backImage_ = nullptr;
    QPushButton* customize_ = nullptr;
    QPushButton* captionStyle_ = nullptr;
    model::CaptionStyle caption_;
    CaptionSourceBox* captionSource_ = nullptr;
    const ImageListModel* images_ = nullptr;
    bool musicOn_ = true;
    int showSeconds_ = 0;
    int musicSeconds_ = 0;
    // See StretchedHoldMs: 0 none, -1 music too short.
    int64_t stretchedHoldMs_ = 0;
    // On the beat: the pictures shown and the changes that found no beat.
    int beatPictures_ = 0;
    int offBeatChanges_ = 0;
};

}  // namespace app
