#include "screen/PreviewMotion.h"

#include <algorithm>

#include "base/Swallow.h"
#include "imaging/PictureLoader.h"

namespace screen {

namespace {

// About the frame rate of the video, which is what the preview stands for.
constexpr int kTickMs = 40;

}  // namespace

PreviewMotion::PreviewMotion(TVantoscreen& view) : view_(&view) {
    ticker_ = new QTimer(&view);
    ticker_->setInterval(kTickMs);
    QObject::connect(ticker_, &QTimer::timeout, ticker_, [this] { Tick(); });
}

PreviewMotion::~PreviewMotion() {
    if (ticker_) ticker_->stop();
}

void PreviewMotion::Prepare(const std::string& fileName, const model::MotionSetting& setting,
                            const motion::Subject& subject) {
    Stop();
    picture_ = motion::MovingPicture();
    if (!view_ || setting.kind == model::MotionKind::None) return;
    base::Swallow("PreviewMotion::Prepare", [&] {
        const int width = view_->width(), height = view_->height();
        if (width <= 0 || height <= 0) return;
        // The screen's pixels are square: the frame shows in its own proportions.
        shape_ = motion::FrameShape{width, height, width, height};
        const int side = 2 * std::max(width, height);
        imaging::SourcePicture source =
            imaging::LoadSourcePicture(fileName, imaging::Size{side, side}, view_->GetColor());
        raster::Bitmap opacity;  // flattened onto the screen's colour already
        motion::ReduceForMotion(source.bitmap, opacity, source.natural.width, source.natural.height,
                                setting.strength, shape_);
        picture_ = motion::MovingPicture(motion::ResolveMotion(setting, subject), source.bitmap,
                                         opacity, source.natural.width, source.natural.height);
        if (!picture_.moving()) return;
        raster::Bitmap first(width, height);
        picture_.Draw(shape_, 0, first);
        view_->SetPicture(std::move(first));
    });
}

void PreviewMotion::Run(int milliseconds) {
    if (!picture_.moving() || !ticker_) return;
    duration_ = std::max(milliseconds, kTickMs);
    clock_.start();
    ticker_->start();
}

void PreviewMotion::Stop() {
    if (ticker_) ticker_->stop();
}

void PreviewMotion::Tick() {
    // A transition owns the frame; a screen that changed size shows the
    // picture as it stands.
    if (!view_ || view_->Running() || view_->ScreenBitmap.width() != shape_.width ||
        view_->ScreenBitmap.height() != shape_.height) {
        Stop();
        return;
    }
    const double t = std::min(1.0, static_cast<double>(clock_.elapsed()) / duration_);
    picture_.Draw(shape_, t, view_->ScreenBitmap);
    view_->update();
    if (t >= 1) Stop();
}

}  // namespace screen
