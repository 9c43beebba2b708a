#include "app/Mp4OptionsBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <array>

#include "app/WidgetFactory.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"
#include "video/EncoderPresets.h"

namespace app {

namespace {

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
    aspect_ = Named(new QComboBox, "Mp4Aspect",
                    tr("The shape of the MP4 video: 16:9 for wide screens, 4:3, 9:16 for a "
                       "phone held upright, 1:1 or 4:5 for social feeds (4:5 at 1080p only)"));
    aspect_->addItems(
        {tr("16:9"), tr("4:3"), tr("9:16 vertical"), tr("1:1 square"), tr("4:5 portrait")});
    quality_ = Named(new QComboBox, "Mp4Quality",
                     tr("The MP4 video's quality: High keeps more detail in a larger file"));
    quality_->addItems({tr("Standard"), tr("High")});
    rate_ = Named(new QComboBox, "Mp4Rate",
                  tr("Frames a second of the MP4 video: 50 or 60 make pan and zoom smoother; "
                     "the TV standard's is 25 for PAL and 29.97 for NTSC"));
    for (const RateItem& item : kRateItems)
        rate_->addItem(tr(item.label), static_cast<int>(item.choice));
    // Two rows, so the Options step keeps the width it has on a small screen.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* first = new QHBoxLayout;
    first->addWidget(aspect_);
    first->addWidget(quality_);
    first->addStretch();
    auto* second = new QHBoxLayout;
    second->addWidget(rate_);
    second->addStretch();
    layout->addLayout(first);
    layout->addLayout(second);
    connect(aspect_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
    connect(quality_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
    connect(rate_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
}

void Mp4OptionsBox::RefreshFromSettings(const model::TslSettings& s) {
    SetChoice(*aspect_, s.VideoAspect);
    SetChoice(*quality_, s.VideoQuality);
    const int rate = rate_->findData(static_cast<int>(s.VideoRate));
    if (rate >= 0) rate_->setCurrentIndex(rate);
    FollowFormat(s.VideoType);
}

void Mp4OptionsBox::CollectSettings(model::TslSettings& s) const {
    s.VideoAspect = static_cast<uint8_t>(aspect_->currentIndex());
    s.VideoQuality = static_cast<uint8_t>(quality_->currentIndex());
    s.VideoRate = static_cast<uint8_t>(rate_->currentData().toInt());
}

void Mp4OptionsBox::FollowFormat(int videoType) {
    const bool mp4 = model::IsMp4Format(videoType);
    setEnabled(mp4);
    if (!mp4) return;
    // The shapes come from the encoder's table; one the size is not made in
    // is greyed, and a chosen one gives way to 16:9.
    auto* items = static_cast<QStandardItemModel*>(aspect_->model());
    for (int shape = 0; shape < aspect_->count(); ++shape)
        items->item(shape)->setEnabled(video::FindShape(videoType, shape) != nullptr);
    if (!video::FindShape(videoType, aspect_->currentIndex()))
        aspect_->setCurrentIndex(static_cast<int>(video::FrameAspect::Wide));
}

}  // namespace app
