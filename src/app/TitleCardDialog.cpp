#include "app/TitleCardDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CaptionStyleDialog.h"
#include "app/ColorComboBox.h"
#include "app/UserDialogs.h"

namespace app {

namespace {

QColor ToQColor(uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFF));
}

}  // namespace

TitleCardDialog::TitleCardDialog(const model::TslSettings& settings, const model::TitleCard& card,
                                 const std::optional<model::CaptionStyle>& own, QWidget* parent)
    : QDialog(parent), settings_(settings), style_(own) {
    setObjectName(QStringLiteral("TitleCardDialog"));
    setWindowTitle(tr("Title card"));
    title_ = new QLineEdit(QString::fromStdString(card.title));
    title_->setObjectName(QStringLiteral("TitleEdit"));
    title_->setPlaceholderText(tr("Summer 2026"));
    line2_ = new QLineEdit(QString::fromStdString(card.line2));
    line2_->setObjectName(QStringLiteral("SecondLineEdit"));
    line2_->setPlaceholderText(tr("Optional, smaller, under the title"));
    backdrop_ = new QComboBox;
    backdrop_->setObjectName(QStringLiteral("BackdropBox"));
    // In the order of model::TitleBackdrop.
    backdrop_->addItems({tr("A colour"), tr("A blurred copy of a picture"), tr("A picture")});
    backdrop_->setCurrentIndex(static_cast<int>(card.backdrop));
    colour_ = new ColorComboBox;
    colour_->setObjectName(QStringLiteral("CardColourBox"));
    colour_->SetColor(ToQColor(card.colour));
    picture_ = new QLineEdit(QString::fromStdString(card.picture));
    picture_->setObjectName(QStringLiteral("CardPictureEdit"));
    choose_ = new QPushButton(tr("Choose..."));
    choose_->setObjectName(QStringLiteral("CardPictureButton"));
    auto* style = new QPushButton(tr("Style..."));
    style->setObjectName(QStringLiteral("CardStyleButton"));
    style->setToolTip(tr("The font, size and colours of the card's words"));

    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(picture_, 1);
    pictureRow->addWidget(choose_);
    auto* form = new QFormLayout;
    form->addRow(tr("&Title:"), title_);
    form->addRow(tr("&Second line:"), line2_);
    form->addRow(tr("&Behind the words:"), backdrop_);
    form->addRow(tr("&Colour:"), colour_);
    form->addRow(tr("&Picture:"), pictureRow);
    form->addRow(QString(), style);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(backdrop_, &QComboBox::currentIndexChanged, this, &TitleCardDialog::ShowBackdrop);
    connect(choose_, &QPushButton::clicked, this, &TitleCardDialog::ChoosePicture);
    connect(style, &QPushButton::clicked, this, &TitleCardDialog::EditStyle);
    ShowBackdrop();
}

model::TitleCard TitleCardDialog::Card() const {
    model::TitleCard card;
    card.title = title_->text().trimmed().toStdString();
    card.line2 = line2_->text().trimmed().toStdString();
    card.backdrop = static_cast<model::TitleBackdrop>(backdrop_->currentIndex());
    card.colour = colour_->Color().rgb() & 0xFFFFFF;
    if (card.backdrop != model::TitleBackdrop::Colour)
        card.picture = picture_->text().trimmed().toStdString();
    return card;
}

void TitleCardDialog::ShowBackdrop() {
    // The colour stays offered: it shows should the picture go missing.
    const bool picture =
        backdrop_->currentIndex() != static_cast<int>(model::TitleBackdrop::Colour);
    picture_->setEnabled(picture);
    choose_->setEnabled(picture);
}

void TitleCardDialog::ChoosePicture() {
    const QString current = picture_->text();
    const QString chosen = Dialogs().OpenPictureFile(
        this, current.isEmpty() ? QString::fromStdString(settings_.PicturePath)
                                : QFileInfo(current).absolutePath());
    if (!chosen.isEmpty()) picture_->setText(chosen);
}

void TitleCardDialog::EditStyle() {
    CaptionStyleDialog dialog(settings_, settings_.Caption, style_, Card().title, this);
    if (Dialogs().RunModal(dialog) == QDialog::Accepted) style_ = dialog.Style();
}

}  // namespace app
