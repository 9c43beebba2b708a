// How well pan, zoom and reframing keep the faces of real photographs, judged
// by a detector the motion never saw: OpenCV's cascade classifiers (the Haar
// frontal and profile cascades of opencv-data, and the LBP frontal cascade
// scikit-image ships, where it can be read: Debian's copy has a misspelt tag
// and OpenCV 4.6 cannot load it), where the motion aims with what dlib's HOG
// detector found. For every frame of every motion kind, fit and
// frame shape it measures the share of each independently found face box
// that lies inside the frame's view, with the build's own view geometry, and
// prints the worst case. With --frames it then builds a few shows with
// vantoshow, decodes frames with ffmpeg and checks that each shows the view
// the geometry gives (and not the centred view of a motion that does not aim).
//
//   cmake --build build --target bench_face_keep vantoshow
//   build/bin/bench_face_keep [--frames]
//
// The photographs are public domain or CC0 (python3-skimage: the astronaut,
// NASA, and the cameraman; python-matplotlib-data: Grace Hopper, US Navy),
// and rows of them side by side stand for a group. Faces the build's own
// detector missed, and filled frames too narrow for all the faces, are
// reported apart. Exits 1 when a face the motion knows and has room for
// keeps less than 95% of itself in some frame.
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "motion/MotionPath.h"
#include "subject/FindSubject.h"

namespace {

namespace fs = std::filesystem;
using model::MotionFit;
using model::MotionKind;

const std::string kSkimage = "/usr/lib/python3/dist-packages/skimage/data/";
const std::string kHopper = "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg";
const std::string kHaar = "/usr/share/opencv4/haarcascades/";
constexpr double kAim = 0.95;

struct Photo {
    std::string name;
    std::string path;
    int width = 0, height = 0;
    std::vector<motion::SubjectBox> faces;  // the independent detector's, in shares
    motion::Subject subject;                // what the build aims with
};

// Photos laid side by side at one height: a row of people, all real.
std::string Row(const std::vector<std::string>& paths, const fs::path& out) {
    constexpr int kHeight = 600;
    std::vector<QImage> images;
    int width = 0;
    for (const std::string& path : paths) {
        const QImage image(QString::fromStdString(path));
        images.push_back(image.scaledToHeight(kHeight, Qt::SmoothTransformation));
        width += images.back().width();
    }
    QImage row(width, kHeight, QImage::Format_RGB32);
    QPainter painter(&row);
    int x = 0;
    for (const QImage& image : images) painter.drawImage(x, 0, image), x += image.width();
    painter.end();
    row.save(QString::fromStdString(out.string()), "jpeg", 95);
    return out.string();
}

struct Cascade {
    const char* tag;
    std::string file;
    bool mirrored;  // the profile cascade finds faces turned one way only
};

// Every face box any cascade finds, unmerged: each is held to the aim.
std::vector<motion::SubjectBox> IndependentFaces(const QImage& photo) {
    static const Cascade kCascades[] = {
        {"lbp", kSkimage + "lbpcascade_frontalface_opencv.xml", false},
        {"haar", kHaar + "haarcascade_frontalface_alt2.xml", false},
        {"profile", kHaar + "haarcascade_profileface.xml", false},
        {"profile", kHaar + "haarcascade_profileface.xml", true},
    };
    const QImage grey = photo.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat mat(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                static_cast<size_t>(grey.bytesPerLine()));
    cv::Mat equalised, mirrored;
    cv::equalizeHist(mat, equalised);
    cv::flip(equalised, mirrored, 1);
    const int smallest = std::min(grey.width(), grey.height()) / 12;
    // Loaded once; a cascade that cannot be read is said once and left out.
    static std::vector<std::pair<const Cascade*, cv::CascadeClassifier>> classifiers = [] {
        std::vector<std::pair<const Cascade*, cv::CascadeClassifier>> loaded;
        for (const Cascade& cascade : kCascades) {
            cv::CascadeClassifier classifier;
            if (fs::exists(cascade.file) && classifier.load(cascade.file))
                loaded.emplace_back(&cascade, classifier);
            else
                std::printf("(cascade %s cannot be read: left out)\n", cascade.file.c_str());
        }
        return loaded;
    }();
    if (classifiers.empty()) {
        // With no detector every photograph would pass for want of faces.
        std::fprintf(stderr, "no face cascade can be read: install opencv-data\n");
        std::exit(2);
    }
    std::vector<motion::SubjectBox> faces;
    for (auto& [cascade, classifier] : classifiers) {
        std::vector<cv::Rect> found;
        classifier.detectMultiScale(cascade->mirrored ? mirrored : equalised, found, 1.1, 5, 0,
                                    cv::Size(smallest, smallest));
        for (cv::Rect r : found) {
            if (cascade->mirrored) r.x = grey.width() - r.x - r.width;
            std::printf("    %-7s face %4d,%4d %3dx%3d\n", cascade->tag, r.x, r.y, r.width,
                        r.height);
            faces.push_back({double(r.x) / grey.width(), double(r.y) / grey.height(),
                             double(r.width) / grey.width(), double(r.height) / grey.height()});
        }
    }
    return faces;
}

// The plan the build makes for a picture.
motion::MotionPlan PlanOf(const Photo& photo, model::MotionSetting setting, MotionFit fit,
                          int displayWidth, int displayHeight) {
    return motion::PlanMotion(setting, fit, photo.subject, photo.width, photo.height, displayWidth,
                              displayHeight);
}

double ShareInside(const motion::ViewRect& view, const motion::SubjectBox& face, const Photo& p) {
    const double left = std::max(view.x, face.x * p.width);
    const double right = std::min(view.x + view.width, face.right() * p.width);
    const double top = std::max(view.y, face.y * p.height);
    const double bottom = std::min(view.y + view.height, face.bottom() * p.height);
    const double area = face.width * p.width * face.height * p.height;
    return std::max(0.0, right - left) * std::max(0.0, bottom - top) / area;
}

// Whether a view of the frame's shape inside the picture can hold every
// face at once; a filled 9:16 frame over a wide row of people cannot.
bool RoomForFaces(const Photo& p, const motion::MotionPlan& plan, int dw, int dh) {
    if (plan.whole || p.faces.empty()) return true;
    double left = 1, right = 0, top = 1, bottom = 0;
    for (const motion::SubjectBox& f : p.faces) {
        left = std::min(left, f.x), right = std::max(right, f.right());
        top = std::min(top, f.y), bottom = std::max(bottom, f.bottom());
    }
    const motion::ViewRect cover = motion::CoverView(p.width, p.height, dw, dh);
    return (right - left) * p.width <= cover.width && (bottom - top) * p.height <= cover.height;
}

struct Shape {
    const char* name;
    int width, height;
};
constexpr Shape kShapes[] = {{"16:9", 1920, 1080}, {"9:16", 1080, 1920}};
constexpr MotionFit kFits[] = {MotionFit::Fill, MotionFit::Whole, MotionFit::Auto};
// The kinds measured: Auto at the default strength and at 5, each explicit
// kind at 5.
constexpr model::MotionSetting kSettings[] = {
    {MotionKind::Auto, 3},    {MotionKind::Auto, 5},    {MotionKind::ZoomIn, 5},
    {MotionKind::ZoomOut, 5}, {MotionKind::PanLeft, 5}, {MotionKind::PanRight, 5},
    {MotionKind::PanUp, 5},   {MotionKind::PanDown, 5},
};
// Frames on screen: a picture of 5 s with its transition at 25 frames a
// second. The view moves smoothly, so more frames find no worse case.
constexpr int64_t kFrames = 150;

// Whether the build's own detector found this face too: either box holds
// the other's middle.
bool KnownToTheBuild(const motion::SubjectBox& face, const motion::Subject& subject) {
    const auto holds = [](const motion::SubjectBox& box, const motion::SubjectBox& other) {
        const double x = other.x + other.width / 2, y = other.y + other.height / 2;
        return x >= box.x && x <= box.right() && y >= box.y && y <= box.bottom();
    };
    return std::any_of(subject.faces.begin(), subject.faces.end(),
                       [&](const auto& found) { return holds(found, face) || holds(face, found); });
}

// The worst share is kept apart for the faces the motion knows and has
// room for (held to the aim), the faces the build's detector missed, and
// filled frames too narrow for all the faces at once.
// A frame too narrow for all the faces should still hold one whole: the
// best-kept face of each such frame is the fourth figure.
enum Bucket { kKept, kMissed, kNoRoom, kBestNoRoom };
constexpr const char* kBucketNames[] = {
    "faces the motion knows, with room",
    "faces the build's detector missed",
    "filled frames too narrow for the faces",
    "  the best-kept face of such a frame",
};

struct Worst {
    double share = 2;
    std::string where;
    void Offer(double candidate, const std::string& place) {
        if (candidate < share) share = candidate, where = place;
    }
};

bool Measure(const std::vector<Photo>& photos) {
    Worst worst[4];
    std::printf("\n%-13s %-5s %-5s  %-28s %s\n", "picture", "shape", "fit",
                "worst kept face: kind, frame", "share");
    for (const Photo& p : photos)
        for (const Shape& shape : kShapes)
            for (const MotionFit fit : kFits) {
                Worst row;
                for (const model::MotionSetting& setting : kSettings) {
                    const motion::MotionPlan plan =
                        PlanOf(p, setting, fit, shape.width, shape.height);
                    const bool room = RoomForFaces(p, plan, shape.width, shape.height);
                    for (int64_t i = 0; i < kFrames; ++i) {
                        const motion::ViewRect view =
                            motion::ViewAt(plan, p.width, p.height, shape.width, shape.height,
                                           motion::MotionTime(i, kFrames));
                        const std::string kind = model::MotionText(setting) +
                                                 (plan.whole ? " whole" : " filled") + " frame " +
                                                 std::to_string(i);
                        const std::string where = p.name + " " + shape.name + " fit " +
                                                  model::MotionFitName(fit) + ", " + kind;
                        double best = 0;
                        for (const motion::SubjectBox& face : p.faces) {
                            const double share = ShareInside(view, face, p);
                            best = std::max(best, share);
                            const Bucket bucket = !room                              ? kNoRoom
                                                  : KnownToTheBuild(face, p.subject) ? kKept
                                                                                     : kMissed;
                            if (bucket == kKept) row.Offer(share, kind);
                            worst[bucket].Offer(share, where);
                        }
                        if (!room && !p.faces.empty()) worst[kBestNoRoom].Offer(best, where);
                    }
                }
                if (row.share <= 1)
                    std::printf("%-13s %-5s %-5s  %-28s %5.1f%%\n", p.name.c_str(), shape.name,
                                model::MotionFitName(fit), row.where.c_str(), 100 * row.share);
            }
    std::printf(
        "\nworst cases, of %zu pictures x 2 shapes x 3 fits x %zu motions x %lld "
        "frames:\n",
        photos.size(), std::size(kSettings), static_cast<long long>(kFrames));
    for (int bucket : {kKept, kMissed, kNoRoom, kBestNoRoom})
        if (worst[bucket].share <= 1)
            std::printf("  %-39s %5.1f%%  %s\n", kBucketNames[bucket], 100 * worst[bucket].share,
                        worst[bucket].where.c_str());
    std::printf("aim: at least %.0f%% of every face the motion knows and has room for\n",
                100 * kAim);
    return worst[kKept].share >= kAim;
}

// --- The built frames -------------------------------------------------------

struct BuiltCase {
    const char* photo;
    const char* motion;
    MotionFit fit;
    Shape shape;
};

// The frame the geometry says the video shows: the picture drawn through
// 'view', and the part of the frame it covers (the rest is the fill).
QImage Expected(const QImage& picture, const motion::ViewRect& view, int width, int height,
                QRect& covered) {
    QImage frame(width, height, QImage::Format_RGB32);
    frame.fill(Qt::black);
    const double sx = width / view.width, sy = height / view.height;
    const QRectF placed(-view.x * sx, -view.y * sy, picture.width() * sx, picture.height() * sy);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(placed, picture);
    covered = placed.toAlignedRect().intersected(frame.rect()).adjusted(6, 6, -6, -6);
    return frame;
}

// Mean difference of the grey levels over 'area', both reduced fourfold so
// the encoder's noise averages out.
double Difference(const QImage& a, const QImage& b, const QRect& area) {
    const QSize small(area.width() / 4, area.height() / 4);
    const QImage x = a.copy(area)
                         .scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_Grayscale8);
    const QImage y = b.copy(area)
                         .scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int row = 0; row < small.height(); ++row)
        for (int column = 0; column < small.width(); ++column)
            sum += std::abs(x.constScanLine(row)[column] - y.constScanLine(row)[column]);
    return sum / (small.width() * small.height());
}

int64_t VideoFrames(const std::string& video) {
    const std::string command =
        "ffprobe -v error -select_streams v:0 -count_packets "
        "-show_entries stream=nb_read_packets -of csv=p=0 '" +
        video + "'";
    FILE* pipe = popen(command.c_str(), "r");
    long long frames = 0;
    if (pipe && std::fscanf(pipe, "%lld", &frames) != 1) frames = 0;
    if (pipe) pclose(pipe);
    return frames;
}

bool CheckBuiltFrames(const std::vector<Photo>& photos, const fs::path& program,
                      const fs::path& folder) {
    const BuiltCase kCases[] = {
        {"row-of-three", "auto:5", MotionFit::Fill, {"9:16", 1080, 1920}},
        {"row-of-two", "auto:5", MotionFit::Whole, {"9:16", 1080, 1920}},
        {"hopper", "zoom-in:5", MotionFit::Auto, {"16:9", 1920, 1080}},
        {"astronaut", "pan-left:5", MotionFit::Fill, {"16:9", 1920, 1080}},
    };
    bool matched = true;
    std::printf(
        "\nbuilt frames (mp4-1080p, 25 fps) against the geometry: mean grey difference\n"
        "of the aimed view the build computes, and of the centred view of a motion\n"
        "that does not aim\n");
    for (const BuiltCase& c : kCases) {
        const auto photo = std::find_if(photos.begin(), photos.end(),
                                        [&](const Photo& p) { return p.name == c.photo; });
        const fs::path project = folder / (std::string(c.photo) + ".dvprj");
        const fs::path video = folder / (std::string(c.photo) + ".mp4");
        std::ofstream(project) << "[Set]\nImageInterval=5\nEffectSpeed2=4\nPlayMusic=0\n"
                                  "ShowCaption=0\n[Pictures]\n"
                               << photo->path << "=1\n";
        const std::string build =
            "'" + program.string() + "' build '" + project.string() + "' -o '" + video.string() +
            "' --format mp4-1080p --fps 25 --aspect " + c.shape.name + " --motion " + c.motion +
            " --motion-fit " + model::MotionFitName(c.fit) + " --background blur >/dev/null 2>&1";
        if (std::system(build.c_str()) != 0) {
            std::printf("  %s: the build failed: %s\n", c.photo, build.c_str());
            matched = false;
            continue;
        }
        // One picture: video frame k is its cycle position k, which shows
        // its motion at index k - 1 of the frames after the first.
        const int64_t total = VideoFrames(video.string());
        const int64_t count = total - 1;
        const model::MotionSetting setting = *model::ParseMotion(c.motion);
        const motion::MotionPlan plan =
            PlanOf(*photo, setting, c.fit, c.shape.width, c.shape.height);
        motion::MotionPlan centred = plan;
        centred.keep.reset(), centred.aim.reset();
        const QImage picture(QString::fromStdString(photo->path));
        for (const int64_t k : {total / 2, total - 1}) {
            const std::string png = (folder / "frame.png").string();
            const std::string extract = "ffmpeg -nostdin -v error -y -i '" + video.string() +
                                        "' -vf 'select=eq(n\\," + std::to_string(k) +
                                        ")' -vsync 0 -frames:v 1 '" + png + "'";
            QImage decoded;
            if (std::system(extract.c_str()) != 0 || !decoded.load(QString::fromStdString(png))) {
                std::printf("  %s: frame %lld could not be decoded\n", c.photo,
                            static_cast<long long>(k));
                matched = false;
                continue;
            }
            const double t = motion::MotionTime(k - 1, count);
            QRect area, centredArea;
            const QImage aimed = Expected(
                picture,
                motion::ViewAt(plan, photo->width, photo->height, c.shape.width, c.shape.height, t),
                c.shape.width, c.shape.height, area);
            const QImage plain = Expected(picture,
                                          motion::ViewAt(centred, photo->width, photo->height,
                                                         c.shape.width, c.shape.height, t),
                                          c.shape.width, c.shape.height, centredArea);
            const double own = Difference(decoded, aimed, area);
            const double other = Difference(decoded, plain, area);
            std::printf(
                "  %-13s %-4s %-10s %-5s frame %3lld of %3lld: %5.2f aimed, %6.2f "
                "centred\n",
                c.photo, c.shape.name, c.motion, model::MotionFitName(c.fit),
                static_cast<long long>(k), static_cast<long long>(total), own, other);
            // The encoder's loss stays within a few grey levels; a view a
            // few percent off moves every edge.
            if (own > 4 || own * 2 > other) matched = false;
        }
    }
    std::printf("the built frames %s the geometry\n", matched ? "match" : "do NOT match");
    return matched;
}

}  // namespace

int main(int argc, char** argv) {
    const bool frames = argc > 1 && std::string(argv[1]) == "--frames";
    const fs::path folder = fs::temp_directory_path() / "vanto-bench-face-keep";
    fs::create_directories(folder);
    const std::string astronaut = kSkimage + "astronaut.png", camera = kSkimage + "camera.png";
    if (!fs::exists(astronaut) || !fs::exists(kHopper)) {
        std::fprintf(stderr, "install python3-skimage and python-matplotlib-data\n");
        return 2;
    }
    const std::pair<const char*, std::string> kPhotos[] = {
        {"astronaut", astronaut},
        {"cameraman", camera},
        {"hopper", kHopper},
        {"row-of-two", Row({astronaut, kHopper}, folder / "row-of-two.jpg")},
        {"row-of-three", Row({astronaut, kHopper, camera}, folder / "row-of-three.jpg")},
    };
    std::vector<Photo> photos;
    for (const auto& [name, path] : kPhotos) {
        Photo& p = photos.emplace_back();
        p.name = name, p.path = path;
        const QImage image(QString::fromStdString(p.path));
        p.width = image.width(), p.height = image.height();
        std::printf("%s (%dx%d)\n", p.name.c_str(), p.width, p.height);
        p.faces = IndependentFaces(image);
        const auto found = subject::DetectSubject(p.path);
        if (found) p.subject = found.value();
        for (const motion::SubjectBox& f : p.subject.faces)
            std::printf("    dlib    face %4.0f,%4.0f %3.0fx%3.0f\n", f.x * p.width, f.y * p.height,
                        f.width * p.width, f.height * p.height);
    }
    bool ok = Measure(photos);
    if (frames)
        ok = CheckBuiltFrames(photos, fs::path(argv[0]).parent_path() / "vantoshow", folder) && ok;
    return ok ? 0 : 1;
}
