#include "app/Mp4OptionsBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QStandardItemModel>

#include <array>
#include <span>

#include "app/WidgetFactory.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"
#include "video/EncoderPresets.h"

namespace app {

namespace {

constexpr int kDvdType = 2;
constexpr uint8_t kSixteenNine = 0;
constexpr uint8_t kFourThree = 1;

// Items in the order of their numbers in the record.
void SetChoice(QComboBox& box, int value) {
    if (value >= 0 && value < box.count()) box.setCurrentIndex(value);
}

// The rates in the order a user reads them, each with its record number.
struct RateItem {
    video::RateChoice choice;
    const char* label;
};
constexpr std::array kRateItems{
    RateItem{video::RateChoice::OfStandard, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "TV rate")},
    RateItem{video::RateChoice::Fps24, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "24")},
    RateItem{video::RateChoice::Fps25, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "25")},
    RateItem{video::RateChoice::Fps30Ntsc, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "29.97")},
    RateItem{video::RateChoice::Fps30, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "30")},
    RateItem{video::RateChoice::Fps50, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "50")},
    RateItem{video::RateChoice::Fps60Ntsc, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "59.94")},
    RateItem{video::RateChoice::Fps60, QT_TRANSLATE_NOOP("app::Mp4OptionsBox", "60")},
};

}  // namespace

Mp4OptionsBox::Mp4OptionsBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Mp4Group"));
    aspect_ = Named(new QComboBox, "Mp4Aspect");
    // Short names keep the Options step within the smallest window; each
    // item's tooltip says what it is for.
    aspect_->addItems({tr("16:9"), tr("4:3"), tr("9:16"), tr("1:1"), tr("4:5")});
    const QString uses[] = {tr("Wide: televisions and computers"), tr("Older televisions"),
                            tr("Vertical: phones and stories"), tr("Square: social feeds"),
                            tr("Portrait: social feeds, at MP4 1080p only")};
    for (int i = 0; i < aspect_->count(); ++i) aspect_->setItemData(i, uses[i], Qt::ToolTipRole);
    quality_ = Named(new QComboBox, "Mp4Quality",
                     tr("The MP4 video's quality: High keeps more detail in a larger file"));
    quality_->addItems({tr("Standard"), tr("High")});
    rate_ = Named(new QComboBox, "Mp4Rate",
                  tr("Frames a second of the MP4 video: 50 or 60 make pan and zoom smoother; "
                     "the TV standard's is 25 for PAL and 29.97 for NTSC"));
    for (const RateItem& item : kRateItems)
        rate_->addItem(tr(item.label), static_cast<int>(item.choice));
    // One row under both columns of formats, so the Options step keeps the
    // height it has on a small screen with the preset list above it.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(aspect_);
    layout->addWidget(quality_);
    layout->addWidget(rate_);
    layout->addStretch();
    connect(aspect_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::TakeAspect);
    connect(quality_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
    connect(rate_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
}

void Mp4OptionsBox::RefreshFromSettings(const model::TslSettings& s) {
    mp4Aspect_ = s.VideoAspect;
    dvdAspect_ = s.DvdAspect;
    SetChoice(*quality_, s.VideoQuality);
    const int rate = rate_->findData(static_cast<int>(s.VideoRate));
    if (rate >= 0) rate_->setCurrentIndex(rate);
    FollowFormat(s.VideoType);
}

void Mp4OptionsBox::CollectSettings(model::TslSettings& s) const {
    s.VideoAspect = mp4Aspect_;
    s.DvdAspect = dvdAspect_;
    s.VideoQuality = static_cast<uint8_t>(quality_->currentIndex());
    s.VideoRate = static_cast<uint8_t>(rate_->currentData().toInt());
}

void Mp4OptionsBox::FollowFormat(int videoType) {
    videoType_ = videoType;
    const bool mp4 = model::IsMp4Format(videoType);
    const bool dvd = videoType == kDvdType;
    // A shape the format is not offered in (4:5 is 1080 wide only, a DVD is
    // 16:9 or 4:3) is greyed, and a chosen MP4 shape gives way to 16:9.
    const std::span<const model::NamedValue> offered = model::ShapesOf(videoType);
    const auto isOffered = [&](int shape) { return model::NameOfValue(offered, shape) != nullptr; };
    if (mp4 && !isOffered(mp4Aspect_)) mp4Aspect_ = kSixteenNine;
    auto* items = static_cast<QStandardItemModel*>(aspect_->model());
    for (int shape = 0; shape < aspect_->count(); ++shape)
        items->item(shape)->setEnabled(isOffered(shape));
    {
        // Showing the format's own choice is no change of it.
        const QSignalBlocker quiet(aspect_);
        SetChoice(*aspect_, mp4 ? mp4Aspect_ : dvd ? dvdAspect_ : kFourThree);
    }
    aspect_->setEnabled(mp4 || dvd);
    aspect_->setToolTip(
        mp4   ? tr("The shape of the MP4 video: 16:9 for wide screens, 4:3, 9:16 for a phone "
                     "held upright, 1:1 or 4:5 for social feeds (4:5 at 1080p only)")
        : dvd ? tr("The shape of the DVD: 16:9 for wide screens, or 4:3")
              : tr("VCD and SVCD are 4:3 only; choose DVD or MP4 for 16:9"));
    quality_->setEnabled(mp4);
    rate_->setEnabled(mp4);
}

void Mp4OptionsBox::TakeAspect(int index) {
    if (index < 0) return;
    if (model::IsMp4Format(videoType_))
        mp4Aspect_ = static_cast<uint8_t>(index);
    else if (videoType_ == kDvdType)
        dvdAspect_ = static_cast<uint8_t>(index);
    emit Changed();
}

}  // namespace app
