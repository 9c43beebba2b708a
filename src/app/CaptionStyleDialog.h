// The caption style dialog: font, size, colour, outline or shadow, a box
// behind the text, place and alignment, and the fade, with a sample drawn
// by the video's own caption layout and text layers on a frame of the
// show's format. Opened from the Options step for the show's style and from
// the per-image dialog for one picture's, which may follow the show's.
#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

#include "model/CaptionStyle.h"
#include "model/Settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QSpinBox;

namespace app {

class ColorComboBox;

class CaptionStyleDialog : public QDialog {
    Q_OBJECT

public:
    // For the show's style ('ownStyle' unset) or, with 'pictureCaption'
    // given, for one picture's: then 'own' is its own style, or nullopt while
    // it follows the show's 'showStyle'. 'settings' give the format the
    // sample is drawn in.
    CaptionStyleDialog(const model::TslSettings& settings, const model::CaptionStyle& showStyle,
                       QWidget* parent = nullptr);
    CaptionStyleDialog(const model::TslSettings& settings, const model::CaptionStyle& showStyle,
                       const std::optional<model::CaptionStyle>& own,
                       const std::string& pictureCaption, QWidget* parent = nullptr);

    // The style as set; for a picture, nullopt while it follows the show's.
    std::optional<model::CaptionStyle> Style() const;
    // The sample as last drawn.
    QImage Sample() const;

    QFontComboBox& FontBox() { return *font_; }
    QDoubleSpinBox& SizeBox() { return *size_; }
    QComboBox& EdgeBox() { return *edge_; }
    QCheckBox& BoxCheck() { return *box_; }
    QComboBox& PositionBox() { return *position_; }
    QComboBox& AlignBox() { return *align_; }
    QCheckBox* FollowShowCheck() { return followShow_; }

private:
    void Build(bool forPicture);
    void Show(const model::CaptionStyle& style);
    model::CaptionStyle Read() const;
    void Redraw();

    model::TslSettings settings_;
    model::CaptionStyle showStyle_;
    std::string sampleText_;
    QCheckBox* followShow_ = nullptr;
    QWidget* controls_ = nullptr;
    QFontComboBox* font_ = nullptr;
    QCheckBox* defaultFont_ = nullptr;
    QDoubleSpinBox* size_ = nullptr;
    ColorComboBox* colour_ = nullptr;
    QComboBox* edge_ = nullptr;
    ColorComboBox* edgeColour_ = nullptr;
    QCheckBox* box_ = nullptr;
    ColorComboBox* boxColour_ = nullptr;
    QSpinBox* boxOpacity_ = nullptr;
    QComboBox* position_ = nullptr;
    QComboBox* align_ = nullptr;
    QCheckBox* fade_ = nullptr;
    QLabel* sample_ = nullptr;
};

}  // namespace app
