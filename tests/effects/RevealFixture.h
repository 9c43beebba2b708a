// Pictures and masks for testing reveal effects: a black outgoing frame and an
// incoming gradient with no black pixel, so a pixel of the drawn frame shows
// the incoming picture exactly when it equals it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "effects/Effects.h"
#include "raster/Bitmap.h"
#include "raster/Region.h"

namespace effects::testing {

struct NamedEffect {
    int style;
    const char* name;
    TEffectProc proc;
};

// A gradient whose channels are all at least 1.
inline Bitmap IncomingPicture(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(
                x, y,
                raster::RGB(static_cast<uint8_t>(1 + x % 255), static_cast<uint8_t>(1 + y % 255),
                            static_cast<uint8_t>(1 + (x + y) % 253)));
    return b;
}

// Which pixels show the incoming picture, row by row.
class RevealMask {
public:
    RevealMask(const Bitmap& frame, const Bitmap& incoming)
        : width_(frame.width()), height_(frame.height()) {
        bits_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        for (int y = 0; y < height_; ++y) {
            const uint8_t* a = frame.row(y);
            const uint8_t* b = incoming.row(y);
            for (int x = 0; x < width_; ++x)
                bits_[Index(x, y)] = a[3 * x] == b[3 * x] && a[3 * x + 1] == b[3 * x + 1] &&
                                     a[3 * x + 2] == b[3 * x + 2];
        }
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const { return bits_[Index(x, y)]; }
    long long count() const {
        long long n = 0;
        for (bool b : bits_) n += b;
        return n;
    }
    bool all() const { return count() == static_cast<long long>(bits_.size()); }
    bool none() const { return count() == 0; }
    // True when every pixel shown here is shown in 'other' too.
    bool within(const RevealMask& other) const {
        for (size_t i = 0; i < bits_.size(); ++i)
            if (bits_[i] && !other.bits_[i]) return false;
        return true;
    }
    bool operator==(const RevealMask& other) const { return bits_ == other.bits_; }

    // Runs of shown pixels along row y / column x, as [start, end) pairs.
    std::vector<std::pair<int, int>> rowRuns(int y) const {
        return Runs(width_, [&](int i) { return at(i, y); });
    }
    std::vector<std::pair<int, int>> columnRuns(int x) const {
        return Runs(height_, [&](int i) { return at(x, i); });
    }

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }
    template <typename Shown>
    static std::vector<std::pair<int, int>> Runs(int length, Shown&& shown) {
        std::vector<std::pair<int, int>> runs;
        for (int i = 0; i < length; ++i) {
            if (!shown(i)) continue;
            if (!runs.empty() && runs.back().second == i)
                runs.back().second = i + 1;
            else
                runs.push_back({i, i + 1});
        }
        return runs;
    }

    int width_, height_;
    std::vector<bool> bits_;
};

// Draws one frame of 'proc' at progress p over a black outgoing frame, with
// w and h computed as the callers compute them.
inline Bitmap DrawFrame(TEffectProc proc, const Bitmap& incoming, int p) {
    Bitmap frame(incoming.width(), incoming.height());
    const ProgressSize size = ProgressSizeOf(incoming.width(), incoming.height(), p);
    proc(frame, incoming, incoming.width(), incoming.height(), size.w, size.h, p);
    return frame;
}

inline RevealMask RevealOf(TEffectProc proc, const Bitmap& incoming, int p) {
    return RevealMask(DrawFrame(proc, incoming, p), incoming);
}

// Pixels of 'region' inside a width x height frame.
inline long long AreaWithin(const raster::Region& region, int width, int height) {
    raster::Region inside = region;
    inside.intersect(raster::Rect{0, 0, width, height});
    return inside.area();
}

// Every pixel of the drawn frame is either the outgoing (black) or the
// incoming one, and the frame is left without a clip region.
inline void ExpectOnlyRevealed(TEffectProc proc, const Bitmap& incoming, int p,
                               const std::string& what) {
    const Bitmap frame = DrawFrame(proc, incoming, p);
    EXPECT_EQ(frame.clip(), nullptr) << what;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const raster::Color c = frame.pixel(x, y);
            if (c != 0 && c != incoming.pixel(x, y)) {
                ADD_FAILURE() << what << ": stray pixel at " << x << "," << y;
                return;
            }
        }
}

}  // namespace effects::testing
