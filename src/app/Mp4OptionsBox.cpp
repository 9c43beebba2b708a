#include "app/Mp4OptionsBox.h"

#include <QComboBox>
#include <QHBoxLayout>

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

Mp4OptionsBox::Mp4OptionsBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Mp4Group"));
    aspect_ = Named(new QComboBox, "Mp4Aspect",
                    tr("The shape of the MP4 video: 16:9 for wide screens, or 4:3"));
    aspect_->addItems({tr("16:9"), tr("4:3")});
    quality_ = Named(new QComboBox, "Mp4Quality",
                     tr("The MP4 video's quality: High keeps more detail in a larger file"));
    quality_->addItems({tr("Standard"), tr("High")});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(aspect_);
    layout->addWidget(quality_);
    layout->addStretch();
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
