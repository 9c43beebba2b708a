#include "app/CaptionSourceBox.h"

#include <QComboBox>
#include <QDate>
#include <QVBoxLayout>

#include "app/WidgetFactory.h"
#include "model/CaptionSource.h"
#include "model/Settings.h"

namespace app {

CaptionSourceBox::CaptionSourceBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CaptionSourceGroup"));
    source_ = Named(new QComboBox, "CaptionSource",
                    tr("What pictures without a caption of their own show when captions are on"));
    // In the order of the record's numbers (kCaptionSourceNames).
    source_->addItems({tr("No caption"), tr("File name"), tr("Date taken"), tr("Title (EXIF)")});
    date_ = Named(new QComboBox, "CaptionDate",
                  tr("How the date taken is written: from the camera's record, else the file's "
                     "date"));
    // Each format shown as it writes today's date in the user's language.
    const QDate today = QDate::currentDate();
    for (const model::NamedValue& format : model::kCaptionDateNames)
        date_->addItem(QString::fromStdString(model::FormatCaptionDate(today, format.value)));

    // Stacked beside the synchronisation choices, which are taller, so the
    // step needs no more room than before.
    // Narrow lists: the smallest window has no width to spare on this step.
    for (QComboBox* box : {source_, date_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(5);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label("CaptionSourceLabel", tr("Captions:")));
    layout->addWidget(source_);
    layout->addWidget(date_);
    layout->addStretch();

    connect(source_, &QComboBox::currentIndexChanged, this, [this] {
        FollowSource();
        emit Changed();
    });
    connect(date_, &QComboBox::currentIndexChanged, this, &CaptionSourceBox::Changed);
}

void CaptionSourceBox::RefreshFromSettings(const model::TslSettings& s) {
    const QSignalBlocker sourceBlock(source_);
    const QSignalBlocker dateBlock(date_);
    if (s.CaptionSource < source_->count()) source_->setCurrentIndex(s.CaptionSource);
    if (s.CaptionDate < date_->count()) date_->setCurrentIndex(s.CaptionDate);
    FollowSource();
}

void CaptionSourceBox::CollectSettings(model::TslSettings& s) const {
    s.CaptionSource = static_cast<uint8_t>(source_->currentIndex());
    s.CaptionDate = static_cast<uint8_t>(date_->currentIndex());
}

void CaptionSourceBox::FollowSource() {
    date_->setEnabled(source_->currentIndex() == static_cast<int>(model::CaptionSource::DateTaken));
}

}  // namespace app
