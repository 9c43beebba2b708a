#include "app/ThumbnailPanel.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

#include "app/Thumbnails.h"
#include "base/WorkQueue.h"

namespace app {

namespace {

// Smaller files are read in well under the moment a click may take (a big
// picture of a kind without reduced decoding, or a camera's RAW file, takes
// a second or more).
constexpr qint64 kBackgroundBytes = 1 << 20;

}  // namespace

ThumbnailPanel::ThumbnailPanel(const QString& pictureName, const QString& overlayName,
                               int designWidth, int designHeight, QWidget* parent)
    : ProportionalFrame(designWidth, designHeight, parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);

    picture_label_ = new QLabel(this);
    picture_label_->setObjectName(pictureName);
    picture_label_->setAlignment(Qt::AlignCenter);
    picture_label_->setMinimumSize(1, 1);
    picture_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    overlay_ = new QLabel(this);
    overlay_->setObjectName(overlayName);
    overlay_->setAlignment(Qt::AlignCenter);
    overlay_->setWordWrap(true);
    overlay_->setAutoFillBackground(true);
    QPalette overlayPalette = overlay_->palette();
    overlayPalette.setColor(QPalette::Window, Qt::black);
    overlayPalette.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));
    overlay_->setPalette(overlayPalette);
    overlay_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    overlay_->hide();

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(picture_label_, 0, 0);
    layout->addWidget(overlay_, 0, 0);
    picture_label_->installEventFilter(this);
    overlay_->installEventFilter(this);
}

ThumbnailPanel::~ThumbnailPanel() = default;

void ThumbnailPanel::SetPanelColor(const QColor& color) {
    QPalette panelPalette = palette();
    panelPalette.setColor(QPalette::Window, color);
    setPalette(panelPalette);
}

QSize ThumbnailPanel::PictureBox() const {
    QSize box = picture_label_->size();
    if (!picture_label_->isVisible() || box.width() < 8 || box.height() < 8)
        box = contentsRect().size();
    return (box * devicePixelRatioF()).expandedTo(QSize(1, 1));
}

void ThumbnailPanel::ShowPictureOf(const QString& path, uint32_t fill) {
    const QFileInfo file(path);
    const Source source{path, file.lastModified(), file.size(), PictureBox(), fill};
    if (source == reading_) {
        readingWanted_ = true;
        SetOverlay(tr("Reading the picture..."));
        return;
    }
    readingWanted_ = false;
    if (source == source_ && !picture_.isNull()) {
        overlay_->hide();
        picture_label_->show();
        emit PictureShown();
        return;
    }
    if (source.bytes < kBackgroundBytes) {
        ShowLoaded(source, LoadThumbnailImage(path, source.box, fill));
        return;
    }
    if (!loader_) {
        loader_ = std::make_unique<base::WorkQueue<Load>>(
            "app::ThumbnailPanel",
            [](Load& load, const auto&) {
                load.picture =
                    LoadThumbnailImage(load.source.path, load.source.box, load.source.fill);
            },
            [this] {
                // Posted to the panel: dropped unread if the panel is gone.
                QMetaObject::invokeMethod(
                    this, [this] { TakeLoaded(); }, Qt::QueuedConnection);
            });
    }
    unread_ -= loader_->DropPending();
    reading_ = source;
    readingWanted_ = true;
    ++unread_;
    loader_->Add({{source, {}}});
    SetOverlay(tr("Reading the picture..."));
}

void ThumbnailPanel::ShowLoaded(const Source& source, const QImage& picture) {
    if (picture.isNull()) {
        SetOverlay(tr("The picture cannot be read."));
        return;
    }
    picture_ = QPixmap::fromImage(picture);
    source_ = source;
    ShowScaled();
    overlay_->hide();
    picture_label_->show();
    emit PictureShown();
}

void ThumbnailPanel::TakeLoaded() {
    for (const Load& load : loader_->TakeFinished()) {
        --unread_;
        if (load.source != reading_) continue;
        reading_ = Source();
        if (std::exchange(readingWanted_, false)) ShowLoaded(load.source, load.picture);
    }
}

void ThumbnailPanel::ClearPicture() {
    readingWanted_ = false;
    picture_ = QPixmap();
    source_ = Source();
    picture_label_->clear();
}

void ThumbnailPanel::SetPictureVisible(bool visible) {
    picture_label_->setVisible(visible);
}

void ThumbnailPanel::ShowOverlay(const QString& text) {
    readingWanted_ = false;
    SetOverlay(text);
}

void ThumbnailPanel::SetOverlay(const QString& text) {
    overlay_->setText(text);
    overlay_->show();
    overlay_->raise();
}

void ThumbnailPanel::HideOverlay() {
    overlay_->hide();
}

bool ThumbnailPanel::OverlayVisible() const {
    return !overlay_->isHidden();
}

QString ThumbnailPanel::OverlayText() const {
    return overlay_->text();
}

void ThumbnailPanel::ShowScaled() {
    if (picture_.isNull()) {
        picture_label_->clear();
        return;
    }
    // The picture was loaded for a box; when the panel has become smaller,
    // shrink it to fit, never enlarge it.
    const QSize box = PictureBox();
    QPixmap shown = picture_;
    if (shown.width() > box.width() || shown.height() > box.height())
        shown = shown.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(devicePixelRatioF());
    picture_label_->setPixmap(shown);
}

bool ThumbnailPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == picture_label_ || watched == overlay_) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit Clicked();
        return true;
    }
    return ProportionalFrame::eventFilter(watched, event);
}

void ThumbnailPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit Clicked();
    ProportionalFrame::mouseReleaseEvent(event);
}

void ThumbnailPanel::resizeEvent(QResizeEvent* event) {
    ProportionalFrame::resizeEvent(event);
    ShowScaled();
}

}  // namespace app
