#include "app/OptionsPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <numeric>
#include <vector>

#include "app/BackgroundPreview.h"
#include "app/CaptionSourceBox.h"
#include "app/CaptionStyleDialog.h"
#include "app/ColorComboBox.h"
#include "app/MediaListModels.h"
#include "app/Mp4OptionsBox.h"
#include "app/PresetChoice.h"
#include "app/Thumbnails.h"
#include "app/UserDialogs.h"
#include "app/WidgetFactory.h"
#include "base/Swallow.h"
#include "model/BackgroundMode.h"
#include "model/FileIo.h"
#include "model/LengthText.h"
#include "model/Settings.h"
#include "model/ShowPresets.h"
#include "showbuild/ShowTiming.h"

namespace app {

namespace {

// A radio group: a titled box with one radio button per item, numbered
// from 0 in the button group, in columns of 'rows' buttons (one column
// unless given).
QButtonGroup* RadioGroup(QGroupBox* box, const QStringList& items, const char* itemPrefix,
                         int rows = 0) {
    auto* group = new QButtonGroup(box);
    auto* layout = new QGridLayout(box);
    if (rows <= 0) rows = static_cast<int>(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QLatin1String(itemPrefix) + QString::number(i));
        group->addButton(radio, i);
        layout->addWidget(radio, i % rows, i / rows);
    }
    return group;
}

// Checks the radio button of a group by its number; a number no button
// has leaves every button unchecked.
void SetGroupIndex(QButtonGroup& group, int index) {
    if (QAbstractButton* button = group.button(index)) {
        button->setChecked(true);
        return;
    }
    const bool exclusive = group.exclusive();
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) button->setChecked(false);
    group.setExclusive(exclusive);
}

// The hold a picture gets on average once stretched to the music, in
// milliseconds; 0 with no pictures or no music, -1 when the music is too
// short for the transitions alone.
int64_t StretchedHoldMs(const video::ShowLengths& lengths, video::FrameRate rate) {
    const video::ShowTiming& timing = lengths.timing;
    if (timing.ImageFrames.empty() || lengths.MusicMs <= 0) return 0;
    const int64_t musicFrames = rate.FramesCovering(lengths.MusicMs);
    const std::vector<int32_t> holds =
        video::StretchedHolds(timing.ImageFrames, timing.TransitionFrames, musicFrames);
    const auto count = static_cast<int64_t>(holds.size());
    const int64_t held = std::accumulate(holds.begin(), holds.end(), int64_t{0});
    if (count * timing.TransitionFrames + held > musicFrames) return -1;
    return rate.MillisecondsOfFrames(held) / count;
}

}  // namespace

OptionsPage::OptionsPage(model::Show& show, QWidget* parent) : QWidget(parent), show_(show) {
    setObjectName(QStringLiteral("optionTab"));

    // First, so it is also first from the keyboard.
    presets_ = new PresetChoice;
    auto* videoBox = Named(new QGroupBox(tr("Video Format")), "VideoGroup");
    // The disc formats in one column, the MP4 ones beside them, and the
    // shape, quality and rate in one row under both, so the step is no taller
    // with the preset list above.
    videoGroup_ = RadioGroup(
        videoBox, {tr("VCD"), tr("SVCD"), tr("DVD"), tr("MP4 720p"), tr("MP4 1080p"), tr("MP4 4K")},
        "VideoGroup", 3);
    mp4Box_ = new Mp4OptionsBox;
    auto* videoGrid = static_cast<QGridLayout*>(videoBox->layout());
    videoGrid->addWidget(mp4Box_, 3, 0, 1, 2);
    // The MP4 column stays beside the disc formats; the room is left over.
    videoGrid->setColumnStretch(1, 1);
    auto* tvBox = Named(new QGroupBox(tr("Television Standards")), "tvGroup");
    tvGroup_ = RadioGroup(tvBox,
                          {tr("PAL (Europe, Australia, China, India...)"),
                           tr("NTSC (United States, Japan, Korea...)")},
                          "tvGroup");
    auto* syncBox = Named(new QGroupBox(tr("Video Synchronization")), "syncGroup");
    syncGroup_ = RadioGroup(syncBox,
                            {tr("Current length:"), tr("Fit to images:"), tr("Fit to music:"),
                             tr("Stretch to music:"), tr("On the beat:")},
                            "syncGroup");
    // Five choices in the room three had, so the step still fits the
    // smallest window: the rows close up, and so do the box's margins.
    auto* syncGrid = static_cast<QGridLayout*>(syncBox->layout());
    syncGrid->setVerticalSpacing(0);
    QMargins margins = syncGrid->contentsMargins();
    margins.setTop(margins.top() / 2);
    margins.setBottom(margins.bottom() / 2);
    syncGrid->setContentsMargins(margins);
    syncGroup_->button(3)->setToolTip(
        tr("Every picture stays longer or shorter by the same factor, so that the video ends "
           "with the music; no picture is repeated and the transitions keep their length"));
    syncGroup_->button(static_cast<int>(video::MusicSyncMode::OnTheBeat))
        ->setToolTip(tr("Pictures change on the music's beats, each staying a whole number of "
                        "beats near its interval (at least 1.5 s and the time to read its "
                        "caption), and the video ends with the music"));

    customize_ = Button("FlatButton5", tr("Customize caption and effects..."),
                        tr("Give pictures their own caption, interval and effects"));
    captionSource_ = new CaptionSourceBox;

    captionStyle_ = Button("captionStyleButton", tr("Caption st&yle..."),
                           tr("Font, size, colour, edge, box and place of the captions"));

    // The buttons sit under the radio groups, which leave room below them,
    // so the background box keeps the height its four choices need.
    // The radio groups' rows close up a little, so that both buttons fit
    // under them in the smallest window.
    for (QGroupBox* box : {videoBox, tvBox})
        static_cast<QGridLayout*>(box->layout())->setVerticalSpacing(1);
    auto* left = new QVBoxLayout;
    left->addWidget(presets_);
    left->addWidget(videoBox);
    left->addWidget(tvBox);
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(0);
    buttons->addWidget(captionStyle_);
    buttons->addWidget(customize_);
    left->addLayout(buttons);
    auto* right = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    top->addWidget(syncBox);
    top->addWidget(captionSource_);
    right->addLayout(top);
    right->addWidget(CreateBackground(), 1);

    // The radio groups need only their texts' width; the background and
    // its preview get what the window has to spare.
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(customize_, &QPushButton::clicked, this, &OptionsPage::CustomizeClicked);
    connect(captionStyle_, &QPushButton::clicked, this, &OptionsPage::EditCaptionStyle);
    QList<QAbstractButton*> radios = {backColorRadio_, backImageRadio_, backBlurRadio_,
                                      backTiledRadio_, backStretchRadio_};
    for (const QButtonGroup* group : {videoGroup_, tvGroup_, syncGroup_})
        radios << group->buttons();
    for (QAbstractButton* radio : radios)
        connect(radio, &QAbstractButton::toggled, this, &OptionsPage::Changed);
    connect(backcolorCb_, &ColorComboBox::ColorChanged, this, &OptionsPage::Changed);
    connect(mp4Box_, &Mp4OptionsBox::Changed, this, &OptionsPage::Changed);
    connect(mp4Box_, &Mp4OptionsBox::Changed, this, &OptionsPage::ReflectPreset);
    connect(captionSource_, &CaptionSourceBox::Changed, this, &OptionsPage::Changed);
    connect(videoGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked) return;
        mp4Box_->FollowFormat(id);
        ReflectPreset();
    });
    // The preset shown keeps its meaning under the other standard: "TV or
    // computer" takes the new standard's rate.
    connect(tvGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (!checked || settingControls_) return;
        if (const model::ShowPreset* shown = presets_->Shown())
            TakePreset(*shown);
        else
            ReflectPreset();
    });
    connect(presets_, &PresetChoice::Picked, this, &OptionsPage::TakePreset);
}

void OptionsPage::TakePreset(const model::ShowPreset& preset) {
    model::TslSettings s = show_.settings;
    CollectSettings(s);
    model::ApplyPreset(s, preset);
    settingControls_ = true;
    SetGroupIndex(*videoGroup_, s.VideoType);
    mp4Box_->RefreshFromSettings(s);
    settingControls_ = false;
    ReflectPreset();
    // A shape set alone (a DVD made widescreen) moves no signalling control.
    emit Changed();
}

void OptionsPage::ReflectPreset() {
    if (settingControls_) return;
    model::TslSettings s = show_.settings;
    CollectSettings(s);
    presets_->ShowPresetOf(s);
}

QWidget* OptionsPage::CreateBackground() {
    auto* background = Named(new QGroupBox(tr("Background")), "GroupBox1");
    backColorRadio_ = Named(new QRadioButton(tr("Use solid color: ")), "BackColorRadio");
    backcolorCb_ = Named(new ColorComboBox, "BackcolorCb", tr("Colour behind the pictures"));
    backImageRadio_ = Named(new QRadioButton(tr("Use Image: ")), "BackImageRadio");
    backBlurRadio_ = Named(new QRadioButton(tr("Blurred picture")), "BackBlurRadio",
                           tr("Each picture over an enlarged, blurred copy of itself"));
    auto* select = Button("FlatButton29", tr("Select..."), tr("Choose the background picture"));
    backImage_ = Named(new BackgroundPreview, "BackImage");
    backTiledRadio_ = Named(new QRadioButton(tr("Tiled")), "BackTiledRadio");
    backStretchRadio_ = Named(new QRadioButton(tr("Stretch")), "BackStretrchRadio");
    auto* modeGroup = new QButtonGroup(background);
    modeGroup->addButton(backColorRadio_);
    modeGroup->addButton(backImageRadio_);
    modeGroup->addButton(backBlurRadio_);
    auto* drawGroup = new QButtonGroup(background);
    drawGroup->addButton(backTiledRadio_);
    drawGroup->addButton(backStretchRadio_);

    auto* drawMode = new QHBoxLayout;
    drawMode->addWidget(Label("Label5", tr("Draw mode:")));
    drawMode->addWidget(backTiledRadio_);
    drawMode->addWidget(backStretchRadio_);
    drawMode->addStretch();

    // The controls keep their own widths on the left; the preview takes the
    // rest of the box, across and down, and draws itself in the proportions
    // of the screen within it.
    auto* grid = new QGridLayout(background);
    grid->addWidget(backColorRadio_, 0, 0);
    grid->addWidget(backcolorCb_, 0, 1);
    grid->addWidget(backImageRadio_, 1, 0);
    grid->addWidget(select, 1, 1);
    grid->addLayout(drawMode, 2, 0, 1, 2);
    grid->addWidget(backBlurRadio_, 3, 0, 1, 2);
    grid->addWidget(backImage_, 0, 2, 5, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);

    connect(select, &QPushButton::clicked, this, &OptionsPage::SelectBackgroundPicture);
    connect(backBlurRadio_, &QAbstractButton::toggled, this, &OptionsPage::UpdateBlurredPreview);
    return background;
}

void OptionsPage::EditCaptionStyle() {
    // The sample is drawn in the format chosen on the page now.
    model::TslSettings settings = show_.settings;
    CollectSettings(settings);
    CaptionStyleDialog dialog(settings, caption_, this);
    if (Dialogs().RunModal(dialog) != QDialog::Accepted) return;
    const std::optional<model::CaptionStyle> style = dialog.Style();
    if (!style || *style == caption_) return;
    caption_ = *style;
    emit Changed();
}

void OptionsPage::RefreshFromSettings(const model::TslSettings& s) {
    settingControls_ = true;
    caption_ = s.Caption;
    SetGroupIndex(*videoGroup_, s.VideoType);
    mp4Box_->RefreshFromSettings(s);
    captionSource_->RefreshFromSettings(s);
    SetGroupIndex(*tvGroup_, s.TVSet);
    settingControls_ = false;
    ReflectPreset();
    SetGroupIndex(*syncGroup_, s.MusicSync);
    backcolorCb_->SetColor(ColorFromSetting(s.BackgroundColor));

    const model::BackgroundMode mode = model::BackgroundModeOf(s);
    backColorRadio_->setChecked(mode == model::BackgroundMode::Colour);
    backImageRadio_->setChecked(mode == model::BackgroundMode::Picture);
    backBlurRadio_->setChecked(mode == model::BackgroundMode::Blurred);
    backTiledRadio_->setChecked(s.Back_Image_UseTiled);
    backStretchRadio_->setChecked(!backTiledRadio_->isChecked());

    backImage_->SetPath(QString::fromStdString(s.Back_Image_Filename));
    // A picture that cannot be shown leaves the preview empty; the build
    // names it when it is used.
    if (model::FileExists(s.Back_Image_Filename))
        base::IgnoreFault("app::OptionsPage::RefreshFromSettings", backImage_->LoadPicture());
    UpdateBlurredPreview();
}

void OptionsPage::CollectSettings(model::TslSettings& s) const {
    // A group without a checked button (a value no button has, read from the
    // file) keeps the value it had.
    if (videoGroup_->checkedId() >= 0) s.VideoType = static_cast<uint8_t>(videoGroup_->checkedId());
    if (tvGroup_->checkedId() >= 0) s.TVSet = tvGroup_->checkedId();
    if (syncGroup_->checkedId() >= 0) s.MusicSync = static_cast<uint8_t>(syncGroup_->checkedId());
    mp4Box_->CollectSettings(s);
    captionSource_->CollectSettings(s);
    s.BackgroundColor = SettingFromColor(backcolorCb_->Color());
    // With the blurred fill on, the colour-or-picture switch keeps its value.
    model::SetBackgroundMode(s, backBlurRadio_->isChecked()    ? model::BackgroundMode::Blurred
                                : backColorRadio_->isChecked() ? model::BackgroundMode::Colour
                                                               : model::BackgroundMode::Picture);
    s.Back_Image_UseTiled = backTiledRadio_->isChecked();
    s.Back_Image_Filename = backImage_->Path().toStdString();
    s.Caption = caption_;
}

void OptionsPage::TakePictureChecks(const ImageListModel& images) {
    images_ = &images;
    // A check back while the lengths are on screen may leave a picture out.
    connect(&images, &QAbstractItemModel::dataChanged, this, [this] {
        if (isVisible()) UpdateSyncTexts(musicOn_);
    });
}

void OptionsPage::UpdateSyncTexts(bool musicOn) {
    musicOn_ = musicOn;
    // Pictures the build would leave out do not count, as far as the image
    // list's checks know them.
    model::Show shown = show_;
    if (images_)
        shown.settings.Pictures = images_->UsablePictures(std::move(shown.settings.Pictures));
    const video::ShowLengths lengths = video::ComputeLengths(shown);
    showSeconds_ = lengths.timing.ShowSeconds;
    musicSeconds_ = lengths.MusicSeconds;
    stretchedHoldMs_ = StretchedHoldMs(lengths, video::RulesOf(shown.settings).rate);
    // The pictures the beat timing would show, as the build times them.
    model::Show onBeat = std::move(shown);
    onBeat.settings.MusicSync = static_cast<uint8_t>(video::MusicSyncMode::OnTheBeat);
    onBeat.settings.PlayMusic = true;
    video::ShowLengths beatLengths = lengths;
    video::ApplySettingsSync(beatLengths, onBeat);
    beatPictures_ = static_cast<int>(beatLengths.timing.ImageFrames.size());
    offBeatChanges_ = beatLengths.OffBeatChanges;
    ShowSyncTexts(musicOn);
}

void OptionsPage::ShowSyncTexts(bool musicOn) {
    const auto text = [](int seconds) {
        return QString::fromStdString(model::FormatSeconds(seconds));
    };
    // Music that is switched off is not in the video, whatever its length.
    const QString music =
        musicOn ? text(musicSeconds_) : tr("%1, but the music is off").arg(text(musicSeconds_));
    syncGroup_->button(0)->setText(tr("Current length:  ") + text(showSeconds_));
    syncGroup_->button(1)->setText(tr("Fit to images:    ") + text(showSeconds_));
    syncGroup_->button(2)->setText(tr("Fit to music:      ") + music);
    QString stretched;
    if (stretchedHoldMs_ > 0)
        stretched = tr("each picture about %1 s")
                        .arg(static_cast<double>(stretchedHoldMs_) / 1000, 0, 'f', 1);
    else if (stretchedHoldMs_ < 0)
        stretched = tr("the music is shorter than the transitions");
    if (!musicOn && !stretched.isEmpty()) stretched = tr("%1, but the music is off").arg(stretched);
    syncGroup_->button(3)->setText(tr("Stretch to music: ") + stretched);
    QString beats = musicSeconds_ > 0 ? tr("%n picture(s)", "", beatPictures_) : QString();
    if (offBeatChanges_ > 0) beats += tr(", %n change(s) off the beat", "", offBeatChanges_);
    if (!musicOn && !beats.isEmpty()) beats = tr("%1, but the music is off").arg(beats);
    syncGroup_->button(static_cast<int>(video::MusicSyncMode::OnTheBeat))
        ->setText(tr("On the beat:        ") + beats);
}

void OptionsPage::UpdateBlurredPreview() {
    const std::vector<std::string>& pictures = show_.settings.Pictures;
    backImage_->ShowBlurred(backBlurRadio_->isChecked() && !pictures.empty()
                                ? QString::fromStdString(pictures.front())
                                : QString());
}

void OptionsPage::SelectBackgroundPicture() {
    const std::string& initial = show_.settings.Back_Image_Path;
    const QString file = Dialogs().OpenPictureFile(
        window(), model::FolderExists(initial) ? QString::fromStdString(initial) : QString());
    if (file.isEmpty()) return;
    show_.settings.Back_Image_Path = FolderOfFile(file);
    backImage_->SetPath(file);
    emit Changed();
    if (const base::Status loaded = backImage_->LoadPicture(); !loaded) {
        Dialogs().ShowError(window(), QString::fromStdString(loaded.message()));
        return;
    }
    // Choosing a picture means using it.
    backImageRadio_->setChecked(true);
}

}  // namespace app
