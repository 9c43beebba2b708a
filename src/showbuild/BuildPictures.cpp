#include "showbuild/BuildPictures.h"

#include <utility>

#include "base/Result.h"
#include "imaging/PictureError.h"
#include "imaging/PictureLoader.h"

namespace video {

BuildPicture LoadBuildPicture(const std::string& path, PictureBox box) {
    imaging::SourcePicture source =
        imaging::LoadSourcePicture(path, imaging::Size{box.width, box.height});
    if (source.bitmap.isEmpty() || source.natural.width <= 0 || source.natural.height <= 0)
        throw imaging::PictureError(imaging::PictureError::Kind::Empty, path,
                                    "the picture has no pixels");
    return BuildPicture{std::move(source.bitmap), source.natural.width, source.natural.height,
                        std::move(source.opacity)};
}

namespace {

// Small enough that a JPEG is decoded at its smallest scale, which still
// reads every scan to its end.
constexpr PictureBox kWholeCheckBox{160, 120};

}  // namespace

base::Status CheckWholePicture(const std::string& path) {
    try {
        LoadBuildPicture(path, kWholeCheckBox);
        return {};
    } catch (const imaging::PictureError& error) {
        const bool missing = error.kind() == imaging::PictureError::Kind::NotFound;
        return base::MakeFault(error.what(),
                               missing ? base::FaultKind::NotFound : base::FaultKind::BadData);
    } catch (const std::exception& error) {
        return base::MakeFault(error.what());
    }
}

raster::Bitmap LoadBackgroundPicture(const std::string& path) {
    return std::move(imaging::LoadSourcePicture(path).bitmap);
}

PictureFeed::PictureFeed(const std::vector<std::string>& pictures, PictureBox box,
                         LoadPictureFunction load)
    : pictures_(pictures), box_(box), load_(std::move(load)) {}

PictureFeed::~PictureFeed() {
    // The helper reads only its own file; wait for it so nothing outlives us.
    if (pending_.valid()) pending_.wait();
}

void PictureFeed::Start(size_t index) {
    pendingIndex_.reset();
    if (index >= pictures_.size()) return;
    pending_ = std::async(std::launch::async, [load = load_, path = pictures_[index], box = box_] {
        return load(path, box);
    });
    pendingIndex_ = index;
}

BuildPicture PictureFeed::Take(size_t index) {
    if (pendingIndex_ != index) {
        if (pending_.valid()) pending_.wait();
        Start(index);
    }
    std::future<BuildPicture> current = std::move(pending_);
    Start(index + 1);
    return current.get();
}

}  // namespace video
