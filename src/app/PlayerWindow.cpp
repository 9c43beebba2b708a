#include "app/PlayerWindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <utility>

namespace app {

namespace {

// Frames drawn ahead while playing: enough to ride out a picture's start,
// few enough that a seek is not held up behind them.
constexpr int kFramesAhead = 6;
// Often enough to meet every frame of a 30-frame show on time.
constexpr int kTickMs = 5;

// The picture, scaled into the area at its own proportions on black.
class FrameView : public QWidget {
public:
    explicit FrameView(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    void SetSize(const QSize& size) { hint_ = size; }
    QSize sizeHint() const override { return hint_.isValid() ? hint_ : QSize(640, 360); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (image_.isNull()) return;
        const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), fitted);
        target.moveCenter(rect().center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image_);
    }

private:
    const QImage& image_;
    QSize hint_;
};

}  // namespace

PlayerWindow::PlayerWindow(video::PreparedShow prepared, PlayerMusic music, QWidget* parent)
    : QDialog(parent),
      music_(std::move(music)),
      timeline_(prepared.VideoFrames(), prepared.FrameRate(), {}),
      frames_(std::make_unique<PlayerFrames>(std::move(prepared), [this] {
          QMetaObject::invokeMethod(
              this, [this] { Update(); }, Qt::QueuedConnection);
      })) {
    timeline_ =
        PlayerTimeline(frames_->frameCount(), frames_->frameRate(), frames_->pictureStarts());
    setWindowTitle(tr("Preview"));
    clock_.start();
    auto* view = new FrameView(painted_, this);
    view_ = view;
    playButton_ = new QPushButton(this);
    playButton_->setObjectName(QStringLiteral("playButton"));
    seekBar_ = new QSlider(Qt::Horizontal, this);
    seekBar_->setObjectName(QStringLiteral("seekBar"));
    seekBar_->setRange(0, static_cast<int>(timeline_.frameCount() - 1));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("playerStatus"));
    // The keys belong to the player, whatever was clicked last.
    for (QWidget* control : std::initializer_list<QWidget*>{playButton_, seekBar_})
        control->setFocusPolicy(Qt::NoFocus);

    auto* controls = new QHBoxLayout;
    controls->addWidget(playButton_);
    controls->addWidget(seekBar_, 1);
    // On a line of its own, so the controls fit the smallest format's width.
    status_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(view_, 1);
    layout->addLayout(controls);
    layout->addWidget(status_);

    connect(playButton_, &QPushButton::clicked, this,
            [this] { timeline_.playing() ? Pause() : Play(); });
    connect(seekBar_, &QSlider::valueChanged, this, [this](int value) {
        if (!updatingBar_) Seek(value);
    });
    // Dragged, the music waits for the bar to be let go.
    connect(seekBar_, &QSlider::sliderReleased, this, [this] {
        if (timeline_.playing()) StartMusic();
    });
    ticker_.setInterval(kTickMs);
    ticker_.setTimerType(Qt::PreciseTimer);
    connect(&ticker_, &QTimer::timeout, this, [this] { Tick(); });
    Update();
}

PlayerWindow::~PlayerWindow() {
    StopMusic();
}

void PlayerWindow::SetPictureSize(const QSize& size) {
    static_cast<FrameView*>(view_)->SetSize(size);
    // Not adjustSize, which keeps a window to part of the screen.
    resize(sizeHint());
}

double PlayerWindow::Now() const {
    return static_cast<double>(clock_.nsecsElapsed()) / 1e9;
}

void PlayerWindow::StartMusic() {
    if (music_.start) music_.start(timeline_.Seconds());
}

void PlayerWindow::StopMusic() {
    if (music_.stop) music_.stop();
}

void PlayerWindow::Play() {
    timeline_.Play(Now());
    StartMusic();
    ticker_.start();
    Update();
}

void PlayerWindow::Pause() {
    timeline_.Pause();
    ticker_.stop();
    StopMusic();
    Update();
}

void PlayerWindow::Seek(int64_t frame) {
    timeline_.Seek(frame, Now());
    if (timeline_.playing() && !seekBar_->isSliderDown()) StartMusic();
    Update();
}

void PlayerWindow::Tick() {
    timeline_.Advance(Now(), music_.position ? music_.position() : std::nullopt);
    if (!timeline_.playing()) Pause();
    Update();
}

void PlayerWindow::Update() {
    for (PlayerFrames::Drawn& drawn : frames_->Take()) {
        if (!drawn.fault.empty()) status_->setToolTip(QString::fromStdString(drawn.fault));
        if (drawn.frame >= 0 && !drawn.image.isNull()) ready_[drawn.frame] = std::move(drawn.image);
    }
    const int64_t due = timeline_.frame();
    // Playing, the newest frame drawn that is due is painted even when late;
    // paused, only the frame itself.
    auto shown = ready_.upper_bound(due);
    if (shown != ready_.begin()) {
        --shown;
        if ((shown->first == due || timeline_.playing()) && shown->first != paintedFrame_) {
            painted_ = shown->second;
            paintedFrame_ = shown->first;
            view_->update();
        }
    }
    // Frames the clock has passed are never shown; those far ahead of a
    // seek back are drawn again if wanted.
    std::erase_if(ready_, [due](const auto& entry) {
        return entry.first < due || entry.first > due + kFramesAhead;
    });
    std::set<int64_t> have;
    for (const auto& entry : ready_) have.insert(entry.first);
    const std::vector<int64_t> wanted = timeline_.Wanted(kFramesAhead, have);
    std::optional<size_t> ahead;
    if (timeline_.playing()) ahead = timeline_.PictureOf(due) + 1;
    if (!wanted.empty() || ahead) frames_->Want(wanted, ahead);

    updatingBar_ = true;
    if (!seekBar_->isSliderDown()) seekBar_->setValue(static_cast<int>(due));
    updatingBar_ = false;
    status_->setText(QString::fromStdString(timeline_.StatusText()));
    playButton_->setText(timeline_.playing() ? tr("Pause") : tr("Play"));
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const double now = Now();
    switch (event->key()) {
        case Qt::Key_Space:
            timeline_.playing() ? Pause() : Play();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const bool forward = event->key() == Qt::Key_Right;
            if (ctrl) {
                forward ? timeline_.NextPicture(now) : timeline_.PreviousPicture(now);
                Seek(timeline_.frame());
            } else {
                if (timeline_.playing()) Pause();
                timeline_.StepFrame(forward ? 1 : -1);
                Update();
            }
            return;
        }
        case Qt::Key_PageDown:
            timeline_.NextPicture(now);
            Seek(timeline_.frame());
            return;
        case Qt::Key_PageUp:
            timeline_.PreviousPicture(now);
            Seek(timeline_.frame());
            return;
        case Qt::Key_Home:
            Seek(0);
            return;
        case Qt::Key_End:
            Seek(timeline_.frameCount() - 1);
            return;
        case Qt::Key_F11:
            isFullScreen() ? showNormal() : showFullScreen();
            return;
        case Qt::Key_Escape:
            if (isFullScreen())
                showNormal();
            else
                reject();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void PlayerWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The preview plays as it opens.
    if (!timeline_.playing()) Play();
}

void PlayerWindow::done(int result) {
    Pause();
    QDialog::done(result);
}

}  // namespace app
