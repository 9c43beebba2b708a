#include "app/Mp4OptionsBox.h"

#include <QComboBox>
#include <QFormLayout>

#include "app/WidgetFactory.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"

namespace app {

namespace {

// Items in the order of their numbers in the record.
void SetChoice(QComboBox& box, int value) {
    if (value >= 0 && value < box.count()) box.setCurrentIndex(value);
}

}  // namespace

Mp4OptionsBox::Mp4OptionsBox(QWidget* parent) : QGroupBox(tr("MP4 Video"), parent) {
    setObjectName(QStringLiteral("Mp4Group"));
    aspect_ = Named(new QComboBox, "Mp4Aspect", tr("The shape of the video frame"));
    aspect_->addItems({tr("16:9 (wide screens, phones)"), tr("4:3")});
    quality_ = Named(new QComboBox, "Mp4Quality",
                     tr("High keeps more detail in a larger file, for large screens"));
    quality_->addItems({tr("Standard"), tr("High")});
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Aspect:"), aspect_);
    layout->addRow(tr("Quality:"), quality_);
    connect(aspect_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
    connect(quality_, &QComboBox::currentIndexChanged, this, &Mp4OptionsBox::Changed);
}

void Mp4OptionsBox::RefreshFromSettings(const model::TslSettings& s) {
    SetChoice(*aspect_, s.VideoAspect);
    SetChoice(*quality_, s.VideoQuality);
    FollowFormat(s.VideoType);
}

void Mp4OptionsBox::CollectSettings(model::TslSettings& s) const {
    s.VideoAspect = static_cast<uint8_t>(aspect_->currentIndex());
    s.VideoQuality = static_cast<uint8_t>(quality_->currentIndex());
}

void Mp4OptionsBox::FollowFormat(int videoType) {
    setEnabled(model::IsMp4Format(videoType));
}

}  // namespace app
