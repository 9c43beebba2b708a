#include "app/CaptionStyleDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ColorComboBox.h"
#include "showbuild/CaptionLayout.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/FrameImage.h"

namespace app {

namespace {

// The sample is drawn this high; wide enough for a 16:9 frame in the dialog.
constexpr int kSampleHeight = 216;

QColor ToColor(uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}
uint32_t FromColor(const QColor& colour) {
    return colour.rgb() & 0xFFFFFFu;
}

QComboBox* Choices(QWidget* parent, const char* name, std::initializer_list<QString> items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const QString& item : items) box->addItem(item);
    return box;
}

}  // namespace

CaptionStyleDialog::CaptionStyleDialog(const model::TslSettings& settings,
                                       const model::CaptionStyle& showStyle, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      showStyle_(showStyle),
      sampleText_(tr("Holiday at the lake").toStdString()) {
    setWindowTitle(tr("Caption Style"));
    Build(false);
    Show(showStyle);
    Redraw();
}

CaptionStyleDialog::CaptionStyleDialog(const model::TslSettings& settings,
                                       const model::CaptionStyle& showStyle,
                                       const std::optional<model::CaptionStyle>& own,
                                       const std::string& pictureCaption, QWidget* parent)
    : QDialog(parent), settings_(settings), showStyle_(showStyle), sampleText_(pictureCaption) {
    setWindowTitle(tr("Caption Style of the Picture"));
    if (sampleText_.empty()) sampleText_ = tr("Holiday at the lake").toStdString();
    Build(true);
    followShow_->setChecked(!own.has_value());
    controls_->setEnabled(own.has_value());
    Show(own.value_or(showStyle));
    Redraw();
}

void CaptionStyleDialog::Build(bool forPicture) {
    setObjectName(QStringLiteral("CaptionStyleDialog"));
    auto* layout = new QVBoxLayout(this);
    if (forPicture) {
        followShow_ = new QCheckBox(tr("Use the &show's caption style"), this);
        followShow_->setObjectName(QStringLiteral("followShow"));
        layout->addWidget(followShow_);
    }

    controls_ = new QWidget(this);
    auto* form = new QFormLayout(controls_);
    form->setContentsMargins(0, 0, 0, 0);

    font_ = new QFontComboBox(controls_);
    font_->setObjectName(QStringLiteral("captionFont"));
    defaultFont_ = new QCheckBox(tr("&Default"), controls_);
    defaultFont_->setObjectName(QStringLiteral("defaultFont"));
    defaultFont_->setToolTip(tr("The program's own caption font"));
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(font_, 1);
    fontRow->addWidget(defaultFont_);
    auto* fontLabel = new QLabel(tr("&Font:"), controls_);
    fontLabel->setBuddy(font_);
    form->addRow(fontLabel, fontRow);

    size_ = new QDoubleSpinBox(controls_);
    size_->setObjectName(QStringLiteral("captionSize"));
    // The lowest value stands for the format's own size.
    size_->setRange(model::kMinCaptionSizePercent - 0.5, model::kMaxCaptionSizePercent);
    size_->setSingleStep(0.5);
    size_->setDecimals(1);
    size_->setSuffix(tr(" % of the height"));
    size_->setSpecialValueText(tr("The format's own"));
    auto* sizeLabel = new QLabel(tr("Si&ze:"), controls_);
    sizeLabel->setBuddy(size_);
    form->addRow(sizeLabel, size_);

    colour_ = new ColorComboBox(controls_);
    colour_->setObjectName(QStringLiteral("captionColour"));
    auto* colourLabel = new QLabel(tr("&Colour:"), controls_);
    colourLabel->setBuddy(colour_);
    form->addRow(colourLabel, colour_);

    edge_ = Choices(controls_, "captionEdge", {tr("Shadow"), tr("Outline"), tr("None")});
    edgeColour_ = new ColorComboBox(controls_);
    edgeColour_->setObjectName(QStringLiteral("edgeColour"));
    auto* edgeRow = new QHBoxLayout;
    edgeRow->addWidget(edge_);
    edgeRow->addWidget(edgeColour_, 1);
    auto* edgeLabel = new QLabel(tr("&Edge:"), controls_);
    edgeLabel->setBuddy(edge_);
    form->addRow(edgeLabel, edgeRow);

    box_ = new QCheckBox(tr("&Box behind the text"), controls_);
    box_->setObjectName(QStringLiteral("captionBox"));
    boxColour_ = new ColorComboBox(controls_);
    boxColour_->setObjectName(QStringLiteral("boxColour"));
    boxOpacity_ = new QSpinBox(controls_);
    boxOpacity_->setObjectName(QStringLiteral("boxOpacity"));
    boxOpacity_->setRange(0, 100);
    boxOpacity_->setSuffix(tr(" % opaque"));
    auto* boxRow = new QHBoxLayout;
    boxRow->addWidget(box_);
    boxRow->addWidget(boxColour_, 1);
    boxRow->addWidget(boxOpacity_);
    form->addRow(QString(), boxRow);

    position_ = Choices(controls_, "captionPosition", {tr("Bottom"), tr("Top"), tr("Centre")});
    align_ = Choices(controls_, "captionAlign", {tr("Left"), tr("Centre"), tr("Right")});
    auto* placeRow = new QHBoxLayout;
    placeRow->addWidget(position_);
    auto* alignLabel = new QLabel(tr("&Alignment:"), controls_);
    alignLabel->setBuddy(align_);
    placeRow->addWidget(alignLabel);
    placeRow->addWidget(align_);
    placeRow->addStretch();
    auto* positionLabel = new QLabel(tr("&Position:"), controls_);
    positionLabel->setBuddy(position_);
    form->addRow(positionLabel, placeRow);

    fade_ = new QCheckBox(tr("Fade &in and out with the picture"), controls_);
    fade_->setObjectName(QStringLiteral("captionFade"));
    form->addRow(QString(), fade_);
    layout->addWidget(controls_);

    sample_ = new QLabel(this);
    sample_->setObjectName(QStringLiteral("captionSample"));
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setToolTip(
        tr("As the video draws it; the dashed line is the edge of the area "
           "every television shows"));
    layout->addWidget(sample_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const auto redraw = [this] { Redraw(); };
    if (followShow_)
        connect(followShow_, &QCheckBox::toggled, this, [this](bool follow) {
            controls_->setEnabled(!follow);
            if (follow) Show(showStyle_);
            Redraw();
        });
    connect(font_, &QFontComboBox::currentFontChanged, this, [this] {
        defaultFont_->setChecked(false);
        Redraw();
    });
    connect(defaultFont_, &QCheckBox::toggled, this, redraw);
    connect(size_, &QDoubleSpinBox::valueChanged, this, redraw);
    for (ColorComboBox* colour : {colour_, edgeColour_, boxColour_})
        connect(colour, &ColorComboBox::ColorChanged, this, redraw);
    for (QComboBox* choice : {edge_, position_, align_})
        connect(choice, &QComboBox::currentIndexChanged, this, redraw);
    for (QCheckBox* check : {box_, fade_}) connect(check, &QCheckBox::toggled, this, redraw);
    connect(boxOpacity_, &QSpinBox::valueChanged, this, redraw);
}

void CaptionStyleDialog::Show(const model::CaptionStyle& style) {
    const QSignalBlocker blockFont(font_);
    if (!style.font.empty()) font_->setCurrentFont(QFont(QString::fromStdString(style.font)));
    defaultFont_->setChecked(style.font.empty());
    size_->setValue(style.sizePercent > 0 ? style.sizePercent : size_->minimum());
    colour_->SetColor(ToColor(style.colour));
    edge_->setCurrentIndex(static_cast<int>(style.edge));
    edgeColour_->SetColor(ToColor(style.edgeColour));
    box_->setChecked(style.box);
    boxColour_->SetColor(ToColor(style.boxColour));
    boxOpacity_->setValue(style.boxOpacity);
    position_->setCurrentIndex(static_cast<int>(style.position));
    align_->setCurrentIndex(static_cast<int>(style.align));
    fade_->setChecked(style.fade);
}

model::CaptionStyle CaptionStyleDialog::Read() const {
    model::CaptionStyle style;
    if (!defaultFont_->isChecked()) style.font = font_->currentFont().family().toStdString();
    style.sizePercent = size_->value() < model::kMinCaptionSizePercent ? 0 : size_->value();
    style.colour = FromColor(colour_->Color());
    style.edge = static_cast<model::CaptionEdge>(edge_->currentIndex());
    style.edgeColour = FromColor(edgeColour_->Color());
    style.box = box_->isChecked();
    style.boxColour = FromColor(boxColour_->Color());
    style.boxOpacity = boxOpacity_->value();
    style.position = static_cast<model::CaptionPosition>(position_->currentIndex());
    style.align = static_cast<model::CaptionAlign>(align_->currentIndex());
    style.fade = fade_->isChecked();
    return style;
}

std::optional<model::CaptionStyle> CaptionStyleDialog::Style() const {
    if (followShow_ && followShow_->isChecked()) return std::nullopt;
    return Read();
}

QImage CaptionStyleDialog::Sample() const {
    return sample_->pixmap().toImage();
}

void CaptionStyleDialog::Redraw() {
    const std::optional<video::FrameFormat> format = video::FrameFormatOf(settings_);
    if (!format) return;
    sample_->setPixmap(QPixmap::fromImage(video::CaptionSample(
        *format, settings_.TVSet, Style().value_or(showStyle_), sampleText_, kSampleHeight)));
}

}  // namespace app
