// How the build reads its pictures: a quick check that a picture can be
// read at all (so unreadable ones leave the show before it is timed), and
// the load of each picture at the size it is fitted to, one picture ahead
// of the frames, on a helper thread.
#pragma once

#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "raster/Bitmap.h"

namespace video {

struct BuildPicture {
    raster::Bitmap bitmap;  // may be a reduced decode
    int naturalWidth = 0;   // the picture's own size, for placing it
    int naturalHeight = 0;
    // Opacity of a picture with transparency (grey, bitmap's size); the
    // bitmap is then premultiplied by it. Empty for an opaque picture.
    raster::Bitmap opacity;
};

struct PictureBox {
    int width = 0;
    int height = 0;
};

// Reads a picture for a frame whose display box (square pixels) is 'box';
// throws std::exception with a message naming the file when it cannot.
using LoadPictureFunction = std::function<BuildPicture(const std::string& path, PictureBox box)>;
// Why a file of the show cannot be read (the fault's message), or ok when it can.
using ProbeFileFunction = std::function<base::Status(const std::string& path)>;

// The picture loaders (the picture decoders of the imaging module).
BuildPicture LoadBuildPicture(const std::string& path, PictureBox box);
// Whether the build can use a picture once its pixels are decoded: a file
// cut off or damaged past its header is found too (it is decoded whole, at a
// small size). A show leaves such pictures out before it is timed, so the
// preview and the video agree on what is shown when; the image list runs the
// same check off the window's thread.
[[nodiscard]] base::Status CheckWholePicture(const std::string& path);
// A background picture at its own size; throws like LoadBuildPicture.
raster::Bitmap LoadBackgroundPicture(const std::string& path);

// Hands out the show's pictures in order, reading the next one while the
// current one is on screen. Loads run on one helper thread and touch no
// shared state; failures come back to the caller as exceptions.
class PictureFeed {
public:
    PictureFeed(const std::vector<std::string>& pictures, PictureBox box, LoadPictureFunction load);
    ~PictureFeed();
    PictureFeed(const PictureFeed&) = delete;
    PictureFeed& operator=(const PictureFeed&) = delete;

    // Picture 'index', which must be the next one in order (the first call
    // takes 0); starts reading the one after it. Throws what the load threw.
    BuildPicture Take(size_t index);

private:
    void Start(size_t index);

    const std::vector<std::string>& pictures_;
    PictureBox box_;
    LoadPictureFunction load_;
    std::optional<size_t> pendingIndex_;
    std::future<BuildPicture> pending_;
};

}  // namespace video
