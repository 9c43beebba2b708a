#include "screen/Vantoscreen.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QThread>

#include "base/Swallow.h"
#include "imaging/PictureLoader.h"
#include "imaging/ScreenPreparation.h"
#include "screen/AnimateThread.h"

namespace screen {

namespace {

QThread::Priority ToQtPriority(TThreadPriority priority) {
    switch (priority) {
        case tpIdle:
            return QThread::IdlePriority;
        case tpLowest:
            return QThread::LowestPriority;
        case tpLower:
            return QThread::LowPriority;
        case tpNormal:
            return QThread::NormalPriority;
        case tpHigher:
            return QThread::HighPriority;
        case tpHighest:
            return QThread::HighestPriority;
        case tpTimeCritical:
            return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

// The composed client image as the painter sees it, without a copy.
QImage ImageOf(const Bitmap& bitmap) {
    return QImage(bitmap.bits(), bitmap.width(), bitmap.height(),
                  static_cast<qsizetype>(bitmap.stride()), QImage::Format_BGR888);
}

// A copy in which pixels of the transparent colour have no opacity.
QImage WithTransparentColor(const Bitmap& bitmap, Color transparent) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_ARGB32);
    const uint8_t tb = raster::BlueOf(transparent), tg = raster::GreenOf(transparent),
                  tr = raster::RedOf(transparent);
    for (int y = 0; y < bitmap.height(); ++y) {
        const uint8_t* in = bitmap.row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x, in += 3) {
            const bool clear = in[0] == tb && in[1] == tg && in[2] == tr;
            out[x] = clear ? 0u : qRgb(in[2], in[1], in[0]);
        }
    }
    return image;
}

}  // namespace

TCustomVantoscreen::TCustomVantoscreen(QWidget* parent) : QWidget(parent) {
    // The screen paints every pixel of its area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(100, 100);
    ClientResized(width(), height());
}

TCustomVantoscreen::~TCustomVantoscreen() {
    BeginDestroy();
    if (thread_) {
        thread_->Terminate();
        thread_->Detach();
        thread_ = nullptr;
    }
    if (align_ == alClient && parentWidget()) parentWidget()->removeEventFilter(this);
}

void TCustomVantoscreen::SetAlign(TAlign align) {
    if (align == align_) return;
    if (align_ == alClient && parentWidget()) parentWidget()->removeEventFilter(this);
    align_ = align;
    if (align_ == alClient && parentWidget()) {
        parentWidget()->installEventFilter(this);
        FollowParent();
    }
}

void TCustomVantoscreen::FollowParent() {
    if (!parentWidget()) return;
    setGeometry(parentWidget()->rect());
    ClientResized(width(), height());
}

bool TCustomVantoscreen::eventFilter(QObject* watched, QEvent* event) {
    if (align_ == alClient && watched == parentWidget() && event->type() == QEvent::Resize)
        FollowParent();
    return QWidget::eventFilter(watched, event);
}

void TCustomVantoscreen::SetTransparentMode(bool value) {
    TransparentMode = value;
    // A transparent screen lets its parent paint beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    setAttribute(Qt::WA_NoSystemBackground, !value);
    update();
}

void TCustomVantoscreen::SetTransparentColor(Color color) {
    TransparentColor = color;
    if (TransparentMode) update();
}

// --- Painting ---

void TCustomVantoscreen::paintEvent(QPaintEvent* event) {
    if (Painting() || QThread::currentThread() != QCoreApplication::instance()->thread()) return;
    SetPainting(true);
    struct ClearPainting {
        TCustomVantoscreen* screen;
        ~ClearPainting() { screen->SetPainting(false); }
    } clear{this};
    UpdateClientSize();
    ComposePaintBuffer();
    if (PaintBuffer.isEmpty()) return;
    QPainter painter(this);
    const QImage image = TransparentMode ? WithTransparentColor(PaintBuffer, TransparentColor)
                                         : ImageOf(PaintBuffer);
    for (const QRect& r : event->region()) painter.drawImage(r, image, r);
}

void TCustomVantoscreen::InvalidateControl() {
    if (Destroying()) return;
    update();
}

void TCustomVantoscreen::InvalidateClientRect(const Rect& r) {
    update(QRect(r.left, r.top, r.width(), r.height()));
}

// --- Loading ---

void TCustomVantoscreen::LoadPictureFile(Bitmap& picture, const std::string& fileName) {
    imaging::LoadPictureFile(picture, fileName, GetColor());
}

void TCustomVantoscreen::LoadFromFile(const std::string& fileName) {
    // On a failure the screen keeps the picture it holds.
    base::Swallow("screen::TCustomVantoscreen::LoadFromFile", [&] {
        // A hidden host may have changed size without telling the screen.
        UpdateClientSize();
        imaging::ScreenPictureSettings settings;
        settings.Width = width();
        settings.Height = height();
        settings.SizeMode = SizeMode;
        settings.FrameBackground = FrameBackground;
        settings.FrameBackgroundPicture =
            FrameBackgroundPicture ? &*FrameBackgroundPicture : nullptr;
        settings.Color = GetColor();
        settings.FullFrame = FullFrame;
        settings.ClientRect = ClientRect();
        settings.Aim = CutAim;
        Bitmap picture = Picture();
        imaging::LoadAndPreparePicture(picture, LastPicture, settings, fileName);
        // One replacement, and none when nothing could be loaded.
        if (!picture.samePixels(Picture())) SetPicture(std::move(picture));
    });
}

// --- Size and mouse ---

void TCustomVantoscreen::RequestClientSize(int width, int height) {
    resize(width, height);
    ClientResized(this->width(), this->height());
}

void TCustomVantoscreen::UpdateClientSize() {
    // Hidden widgets change size without resize events until they are shown.
    if (align_ == alClient && parentWidget() && size() != parentWidget()->size()) FollowParent();
    if (ClientWidth() != width() || ClientHeight() != height()) ClientResized(width(), height());
}

void TCustomVantoscreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ClientResized(width(), height());
}

void TCustomVantoscreen::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter(*this);
}

void TCustomVantoscreen::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (OnMouseLeave) OnMouseLeave(*this);
}

void TCustomVantoscreen::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove)
        OnMouseMove(*this, event);
    else
        QWidget::mouseMoveEvent(event);
}

void TCustomVantoscreen::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown)
        OnMouseDown(*this, event);
    else
        QWidget::mousePressEvent(event);
}

void TCustomVantoscreen::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp)
        OnMouseUp(*this, event);
    else
        QWidget::mouseReleaseEvent(event);
}

// --- The animation thread ---

bool TCustomVantoscreen::StartThread() {
    thread_ = new TAnimateThread(this);
    thread_->start(ToQtPriority(ThreadPriority()));
    return true;
}

void TCustomVantoscreen::AskThreadToTerminate() {
    if (thread_) thread_->Terminate();
}

void TCustomVantoscreen::ForgetThread() {
    if (thread_) thread_->Detach();
    thread_ = nullptr;
}

void TCustomVantoscreen::ApplyThreadPriority() {
    if (thread_ && thread_->isRunning()) thread_->setPriority(ToQtPriority(ThreadPriority()));
}

void TCustomVantoscreen::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Between steps the loop only waits; a short sleep keeps it from
    // spinning a core while nothing is pending.
    QThread::msleep(1);
}

}  // namespace screen
