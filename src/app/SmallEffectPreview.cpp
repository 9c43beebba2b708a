#include "app/SmallEffectPreview.h"

#include <QEvent>
#include <QImage>
#include <QPainter>

#include <utility>

#include "base/WorkQueue.h"
#include "model/MediaPaths.h"

namespace app {

namespace {

// Wide enough to look like the picture in the panels, small enough that a
// slow transition's frames stay a few megabytes.
constexpr int kFrameWidth = 240;

const raster::Bitmap& NoFrame() {
    static const raster::Bitmap none;
    return none;
}

}  // namespace

struct SmallEffectPreview::Job {
    model::Show show;
    std::vector<std::string> pictures;
    int style = 0;
    uint64_t number = 0;
    std::optional<video::TransitionPreview> drawn;
};

SmallEffectPreview::SmallEffectPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("effectPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Clicks and hints belong to the panel underneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    parent->installEventFilter(this);
    setGeometry(parent->rect());
    connect(&ticks_, &QTimer::timeout, this, &SmallEffectPreview::Tick);
    drawer_ = std::make_unique<base::WorkQueue<Job>>(
        "app::SmallEffectPreview",
        [](Job& job, const auto&) {
            const video::FrameFormat format =
                video::PreviewFrameFormat(job.show.settings, kFrameWidth);
            base::Result<video::TransitionPreview> drawn =
                video::DrawTransitionPreview(job.show, job.pictures, job.style, format);
            // A preview that cannot be drawn shows nothing; the step works on.
            if (drawn) job.drawn = std::move(*drawn);
        },
        [this] {
            QMetaObject::invokeMethod(this, &SmallEffectPreview::TakeFinished,
                                      Qt::QueuedConnection);
        });
}

SmallEffectPreview::~SmallEffectPreview() {
    // Waits for a loop being drawn; what it posts dies with the widget.
    drawer_.reset();
}

void SmallEffectPreview::Play(const model::Show& show, std::vector<std::string> pictures,
                              int style) {
    style_ = style;
    pictures_ = pictures;
    // A newer request makes the ones still waiting pointless.
    drawer_->DropPending();
    std::vector<Job> jobs(1);
    jobs[0].show = show;
    jobs[0].pictures = std::move(pictures);
    jobs[0].style = style;
    jobs[0].number = ++asked_;
    drawer_->Add(std::move(jobs));
}

const raster::Bitmap& SmallEffectPreview::ShownFrame() const {
    return loop_ ? loop_->frames[shown_] : NoFrame();
}

void SmallEffectPreview::TakeFinished() {
    for (Job& job : drawer_->TakeFinished()) {
        if (job.number != asked_) continue;
        loop_ = std::move(job.drawn);
        timing_.reset();
        if (loop_) timing_.emplace(loop_->steps(), loop_->rate);
        tick_ = 0;
        shown_ = 0;
        if (timing_) ticks_.setInterval(timing_->tickMs());
        if (timing_ && isVisible())
            ticks_.start();
        else
            ticks_.stop();
        update();
        emit LoopReady();
    }
}

void SmallEffectPreview::Tick() {
    if (!timing_) return;
    const size_t frame = timing_->FrameAt(++tick_);
    if (frame == shown_) return;
    shown_ = frame;
    update();
}

bool SmallEffectPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void SmallEffectPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const raster::Bitmap& frame = ShownFrame();
    if (frame.isEmpty()) return;
    const QImage image(frame.bits(), frame.width(), frame.height(),
                       static_cast<qsizetype>(frame.stride()), QImage::Format_BGR888);
    QSize placed = image.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - placed.width()) / 2, (height() - placed.height()) / 2),
                       placed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

void SmallEffectPreview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (timing_) ticks_.start();
}

void SmallEffectPreview::hideEvent(QHideEvent* event) {
    // Nothing to draw for while another step is shown.
    ticks_.stop();
    QWidget::hideEvent(event);
}

std::vector<std::string> PreviewPicturesOf(const model::Show& show) {
    const std::vector<std::string>& pictures = show.settings.Pictures;
    if (!pictures.empty())
        return {pictures.begin(), pictures.begin() + std::min<size_t>(pictures.size(), 2)};
    std::vector<std::string> samples = {"t1.jpg", "t2.jpg"};
    for (std::string& sample : samples) model::ResolveMediaPath(sample);
    return samples;
}

}  // namespace app
