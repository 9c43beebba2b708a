// The title card editor: the title and its second line, the backdrop (a
// colour, a blurred copy of a picture, or a picture filling the frame) and
// the card's caption style, through the caption style dialog. Opened by
// "Add title" on the Images step and on a card of the list or storyboard.
#pragma once

#include <QDialog>

#include <optional>

#include "model/CaptionStyle.h"
#include "model/Settings.h"
#include "model/TitleCard.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace app {

class ColorComboBox;

class TitleCardDialog : public QDialog {
    Q_OBJECT

public:
    // 'card' as it stands; 'own' is its own caption style, nullopt while it
    // follows the show's; 'settings' give the show's style and format.
    TitleCardDialog(const model::TslSettings& settings, const model::TitleCard& card,
                    const std::optional<model::CaptionStyle>& own, QWidget* parent = nullptr);

    model::TitleCard Card() const;
    std::optional<model::CaptionStyle> Style() const { return style_; }

    QLineEdit& TitleEdit() { return *title_; }
    QLineEdit& SecondLineEdit() { return *line2_; }
    QComboBox& BackdropBox() { return *backdrop_; }
    QLineEdit& PictureEdit() { return *picture_; }

private:
    void ChoosePicture();
    void EditStyle();
    void ShowBackdrop();

    model::TslSettings settings_;
    std::optional<model::CaptionStyle> style_;
    QLineEdit* title_ = nullptr;
    QLineEdit* line2_ = nullptr;
    QComboBox* backdrop_ = nullptr;
    ColorComboBox* colour_ = nullptr;
    QLineEdit* picture_ = nullptr;
    QPushButton* choose_ = nullptr;
};

}  // namespace app
