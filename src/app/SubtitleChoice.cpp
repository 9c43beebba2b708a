#include "app/SubtitleChoice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "app/WidgetFactory.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"

namespace app {

SubtitleChoice::SubtitleChoice(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SubtitleGroup"));
    box_ = Named(new QComboBox, "SubtitleChoice");
    // In the order of model::SubtitleMode.
    box_->addItem(tr("In the video"), static_cast<int>(model::SubtitleMode::Track));
    box_->addItem(tr("As an .srt file beside it"), static_cast<int>(model::SubtitleMode::File));
    box_->addItem(tr("None"), static_cast<int>(model::SubtitleMode::Off));
    auto* label = Label("SubtitleLabel", tr("&Captions as subtitles:"));
    label->setBuddy(box_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(label);
    layout->addWidget(box_);
    layout->addStretch();
    connect(box_, &QComboBox::activated, this, [this](int index) {
        emit Chosen(static_cast<uint8_t>(box_->itemData(index).toInt()));
    });
}

void SubtitleChoice::Follow(const model::TslSettings& s) {
    {
        const QSignalBlocker quiet(box_);
        const int index = box_->findData(static_cast<int>(s.Subtitles));
        box_->setCurrentIndex(index >= 0 ? index : 0);
    }
    const bool mp4 = model::IsMp4Format(s.VideoType);
    setEnabled(mp4 && s.ShowCaption);
    if (!mp4)
        setToolTip(tr("A disc has no subtitles: captions are drawn into its pictures."));
    else if (!s.ShowCaption)
        setToolTip(tr("Captions are off: switch them on in the per-image dialog."));
    else
        setToolTip(
            tr("Where a video player or site finds the captions as subtitles; they are "
               "drawn into the pictures as well."));
}

}  // namespace app
