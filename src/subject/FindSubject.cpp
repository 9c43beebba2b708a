#include "subject/FindSubject.h"

#include <dlib/image_processing/frontal_face_detector.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/saliency.hpp>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "imaging/PictureError.h"
#include "imaging/PictureLoader.h"
#include "raster/Blit.h"
#include "subject/SubjectCache.h"

namespace subject {

namespace {

// Side of the box the file is decoded into before the exact reduction: a
// JPEG's DCT scaling lands between it and twice it.
constexpr int kDecodeBox = 1200;

// The salient region is looked for on a copy this wide; spectral residual
// saliency works on a 64-pixel copy anyway.
constexpr int kSaliencyWidth = 256;

// The detector's score a face needs. At its own threshold (0) it finds
// faces in fractals and fabric now and then; real faces score from about
// 0.5 to 2, and a false face turning the motion is worse than a true one
// missed, which only leaves the motion where it was.
constexpr double kFaceScore = 0.3;

// What counts as salient: this share of the map's peak, after smoothing.
constexpr double kSalientShare = 0.5;

raster::Bitmap Reduced(const raster::Bitmap& picture) {
    const double pixels = static_cast<double>(picture.width()) * picture.height();
    if (pixels <= kSearchPixels) return picture;
    const double scale = std::sqrt(kSearchPixels / pixels);
    return raster::ResampleArea(picture, std::max(1, static_cast<int>(picture.width() * scale)),
                                std::max(1, static_cast<int>(picture.height() * scale)));
}

// Luma of the blue-green-red rows, as the detector and the saliency take it.
cv::Mat Grey(const raster::Bitmap& picture) {
    cv::Mat grey(picture.height(), picture.width(), CV_8UC1);
    for (int y = 0; y < picture.height(); ++y) {
        const uint8_t* in = picture.row(y);
        uint8_t* out = grey.ptr<uint8_t>(y);
        for (int x = 0; x < picture.width(); ++x, in += 3)
            out[x] = static_cast<uint8_t>((29 * in[0] + 150 * in[1] + 77 * in[2] + 128) >> 8);
    }
    return grey;
}

motion::SubjectBox Share(double x, double y, double width, double height, const cv::Mat& grey) {
    const double w = grey.cols, h = grey.rows;
    const double left = std::clamp(x / w, 0.0, 1.0), top = std::clamp(y / h, 0.0, 1.0);
    const double right = std::clamp((x + width) / w, 0.0, 1.0);
    const double bottom = std::clamp((y + height) / h, 0.0, 1.0);
    return {left, top, right - left, bottom - top};
}

std::vector<motion::SubjectBox> Faces(const cv::Mat& grey) {
    // Building a detector unpacks its compiled-in model; each thread keeps
    // one, since a detector is not safe to share while it runs.
    thread_local dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    dlib::array2d<unsigned char> image(grey.rows, grey.cols);
    for (int y = 0; y < grey.rows; ++y) std::copy_n(grey.ptr<uint8_t>(y), grey.cols, &image[y][0]);
    const std::vector<dlib::rectangle> found = detector(image, kFaceScore);
    std::vector<motion::SubjectBox> faces;
    for (const dlib::rectangle& face : found) {
        if (faces.size() > motion::kMaxSubjectFaces) break;
        const motion::SubjectBox box =
            Share(face.left(), face.top(), face.width(), face.height(), grey);
        if (box.width > 0 && box.height > 0) faces.push_back(box);
    }
    return faces;
}

std::optional<motion::SubjectBox> Salient(const cv::Mat& grey) {
    // The queues that run detections are the parallelism; OpenCV's own
    // threads would only compete with them.
    static std::once_flag single;
    std::call_once(single, [] { cv::setNumThreads(1); });
    cv::Mat small;
    const int height = std::max(1, grey.rows * kSaliencyWidth / std::max(1, grey.cols));
    cv::resize(grey, small, cv::Size(kSaliencyWidth, height), 0, 0, cv::INTER_AREA);
    cv::Ptr<cv::saliency::StaticSaliencySpectralResidual> saliency =
        cv::saliency::StaticSaliencySpectralResidual::create();
    cv::Mat map;
    if (!saliency->computeSaliency(small, map) || map.empty()) return std::nullopt;
    cv::GaussianBlur(map, map, cv::Size(0, 0), kSaliencyWidth / 32.0);
    double peak = 0;
    cv::minMaxLoc(map, nullptr, &peak);
    if (!(peak > 0)) return std::nullopt;
    cv::Mat mask = map >= peak * kSalientShare;
    // The region around the peak: the largest connected part of what is
    // salient.
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids);
    int best = 0;
    for (int label = 1; label < count; ++label)
        if (best == 0 ||
            stats.at<int>(label, cv::CC_STAT_AREA) > stats.at<int>(best, cv::CC_STAT_AREA))
            best = label;
    if (best == 0) return std::nullopt;
    return Share(stats.at<int>(best, cv::CC_STAT_LEFT), stats.at<int>(best, cv::CC_STAT_TOP),
                 stats.at<int>(best, cv::CC_STAT_WIDTH), stats.at<int>(best, cv::CC_STAT_HEIGHT),
                 small);
}

}  // namespace

motion::Subject FindSubject(const raster::Bitmap& picture) {
    motion::Subject subject;
    if (picture.isEmpty()) return subject;
    const cv::Mat grey = Grey(Reduced(picture));
    subject.faces = Faces(grey);
    if (subject.faces.empty()) subject.salient = Salient(grey);
    return subject;
}

base::Result<motion::Subject> DetectSubject(const std::string& path) {
    try {
        const imaging::SourcePicture source =
            imaging::LoadSourcePicture(path, imaging::Size{kDecodeBox, kDecodeBox});
        return FindSubject(source.bitmap);
    } catch (const imaging::PictureError& error) {
        return base::MakeFault(error.what(), base::FaultKind::BadData);
    } catch (const std::bad_alloc&) {
        return base::MakeFault(path + ": not enough memory to look for faces",
                               base::FaultKind::OutOfMemory);
    } catch (const cv::Exception& error) {
        return base::MakeFault(path + ": " + error.what(), base::FaultKind::BadData);
    }
}

motion::Subject SubjectOf(const std::string& folder, const std::string& picturePath) {
    if (std::optional<motion::Subject> cached = ReadCachedSubject(folder, picturePath))
        return std::move(*cached);
    base::Result<motion::Subject> found = DetectSubject(picturePath);
    if (!found) return {};
    // A cache that cannot be written costs only the next build's time.
    WriteCachedSubject(folder, picturePath, *found);
    return std::move(found).value();
}

}  // namespace subject
