#include "app/Mp4OptionsBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSignalBlocker>

#include "app/WidgetFactory.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"

namespace app {

namespace {

constexpr int kDvdType = 2;
constexpr uint8_t kFourThree = 1;

// Items in the order of their numbers in the record.
void SetChoice(QComboBox& box, int value) {
    if (value >= 0 && value < box.count()) box.setCurrentIndex(value);
}

}  // namespace

Mp4OptionsBox::Mp4OptionsBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Mp4Group"));
    aspect_ = Named(new QComboBox, "Mp4Aspect");
    aspect_->addItems({tr("16:9"), tr("4:3")});
    quality_ = Named(new QComboBox, "Mp4Quality",
                     tr("The MP4 video's quality: High keeps more detail in a larger file"));
    quality_->addItems({tr("Standard"), tr("High")});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(aspect_);
    layout->addWidget(quality_);
    layout->addStretch();
    connect(aspect_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::TakeAspect);
    connect(quality_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
}

void Mp4OptionsBox::RefreshFromSettings(const model::TslSettings& s) {
    mp4Aspect_ = s.VideoAspect;
    dvdAspect_ = s.DvdAspect;
    SetChoice(*quality_, s.VideoQuality);
    FollowFormat(s.VideoType);
}

void Mp4OptionsBox::CollectSettings(model::TslSettings& s) const {
    s.VideoAspect = mp4Aspect_;
    s.DvdAspect = dvdAspect_;
    s.VideoQuality = static_cast<uint8_t>(quality_->currentIndex());
}

void Mp4OptionsBox::FollowFormat(int videoType) {
    videoType_ = videoType;
    const bool mp4 = model::IsMp4Format(videoType);
    const bool dvd = videoType == kDvdType;
    {
        // Showing the format's own choice is no change of it.
        const QSignalBlocker quiet(aspect_);
        SetChoice(*aspect_, mp4 ? mp4Aspect_ : dvd ? dvdAspect_ : kFourThree);
    }
    aspect_->setEnabled(mp4 || dvd);
    aspect_->setToolTip(mp4 || dvd ? tr("The shape of the video: 16:9 for wide screens, or 4:3")
                                   : tr("VCD and SVCD are 4:3 only; choose DVD or MP4 for 16:9"));
    quality_->setEnabled(mp4);
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
