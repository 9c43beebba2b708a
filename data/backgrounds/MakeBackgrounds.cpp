// Draws the background pictures that ship with the program: soft gradients,
// paper and linen textures, a dark vignette. They are made from code at build
// time so the program owns every pixel it installs. Usage: MakeBackgrounds DIR
// writes the JPEG files into DIR.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kQuality = 90;

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Smooth(double t) {
    t = std::fmin(1.0, std::fmax(0.0, t));
    return t * t * (3.0 - 2.0 * t);
}

// A repeatable hash of a lattice point to 0..1, so every build draws the
// same pixels.
double Hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

// Smoothly interpolated lattice noise, 0..1, features 'cell' pixels wide.
double ValueNoise(double x, double y, double cell, uint32_t seed) {
    const double fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
    const double top = Hash(ix, iy, seed) + (Hash(ix + 1, iy, seed) - Hash(ix, iy, seed)) * tx;
    const double bottom =
        Hash(ix, iy + 1, seed) + (Hash(ix + 1, iy + 1, seed) - Hash(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

// Several octaves of noise, 0..1.
double Clouds(double x, double y, double cell, uint32_t seed) {
    double sum = 0, weight = 0, amplitude = 1;
    for (int octave = 0; octave < 5; ++octave) {
        sum += amplitude * ValueNoise(x, y, cell, seed + octave);
        weight += amplitude;
        amplitude *= 0.5;
        cell *= 0.5;
    }
    return sum / weight;
}

// Distance from the centre, 0 there and 1 in the corners.
double FromCentre(int x, int y) {
    const double dx = (x - kWidth / 2.0) / (kWidth / 2.0);
    const double dy = (y - kHeight / 2.0) / (kHeight / 2.0);
    return std::sqrt((dx * dx + dy * dy) / 2.0);
}

using Painter = std::function<Rgb(int x, int y)>;

struct Background {
    const char* name;
    Painter paint;
};

const std::vector<Background>& Backgrounds() {
    static const std::vector<Background> kBackgrounds{
        {"dawn-gradient",
         [](int x, int y) {
             const double t = (y + 0.15 * x) / (kHeight + 0.15 * kWidth);
             return Mix({250, 214, 186}, {176, 204, 232}, Smooth(t));
         }},
        {"ocean-gradient",
         [](int x, int y) {
             const double t = (x + y * 1.2) / (kWidth + kHeight * 1.2);
             return Mix({12, 44, 92}, {38, 150, 160}, Smooth(t));
         }},
        {"sunset-glow",
         [](int x, int y) {
             const double dx = (x - kWidth * 0.5) / kWidth, dy = (y - kHeight * 0.85) / kHeight;
             const double t = std::sqrt(dx * dx + dy * dy) * 1.4;
             return Mix({255, 176, 92}, {72, 36, 96}, Smooth(t));
         }},
        {"linen",
         [](int x, int y) {
             // Threads across and down, each a little uneven, over a slow mottle.
             const double across = 0.5 + 0.5 * std::sin(y * 1.9 + 3.0 * ValueNoise(x, y, 60, 7));
             const double down = 0.5 + 0.5 * std::sin(x * 1.7 + 3.0 * ValueNoise(x, y, 60, 11));
             const double weave = 0.5 * (across + down) - 0.5;
             const double mottle = Clouds(x, y, 240, 21) - 0.5;
             const double grain = Hash(x, y, 31) - 0.5;
             const double light = 1.0 + 0.06 * weave + 0.05 * mottle + 0.03 * grain;
             return Rgb{226 * light, 214 * light, 190 * light};
         }},
        {"paper",
         [](int x, int y) {
             // Fibres: fine noise stretched along one direction, and soft blotches.
             const double fibres = ValueNoise(x, y * 4.0, 9, 41) - 0.5;
             const double blotches = Clouds(x, y, 320, 51) - 0.5;
             const double grain = Hash(x, y, 61) - 0.5;
             const double light = 1.0 + 0.035 * fibres + 0.05 * blotches + 0.025 * grain;
             const double edge = 1.0 - 0.10 * Smooth((FromCentre(x, y) - 0.55) / 0.45);
             return Rgb{246 * light * edge, 240 * light * edge, 226 * light * edge};
         }},
        {"dark-vignette",
         [](int x, int y) {
             const double t = Smooth((FromCentre(x, y) - 0.1) / 0.9);
             const double mottle = 0.06 * (Clouds(x, y, 400, 71) - 0.5);
             const Rgb c = Mix({70, 72, 80}, {6, 6, 8}, t);
             return Rgb{c.r * (1 + mottle), c.g * (1 + mottle), c.b * (1 + mottle)};
         }},
        {"slate",
         [](int x, int y) {
             const double stone = Clouds(x, y, 360, 81);
             const double grain = Hash(x, y, 91) - 0.5;
             const double light = 0.85 + 0.3 * stone + 0.04 * grain;
             return Rgb{58 * light, 66 * light, 74 * light};
         }},
    };
    return kBackgrounds;
}

uint8_t Channel(double value, double dither) {
    return static_cast<uint8_t>(std::fmin(255.0, std::fmax(0.0, std::floor(value + dither))));
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

struct Compressor {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    Compressor() {
        info.err = jpeg_std_error(&errors);  // reports and exits on failure
        jpeg_create_compress(&info);
    }
    ~Compressor() { jpeg_destroy_compress(&info); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

bool WriteJpeg(const std::filesystem::path& path, const Painter& paint) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.string().c_str(), "wb"));
    if (!file) {
        std::perror(path.string().c_str());
        return false;
    }
    Compressor jpeg;
    jpeg_stdio_dest(&jpeg.info, file.get());
    jpeg.info.image_width = kWidth;
    jpeg.info.image_height = kHeight;
    jpeg.info.input_components = 3;
    jpeg.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg.info);
    jpeg_set_quality(&jpeg.info, kQuality, TRUE);
    jpeg_start_compress(&jpeg.info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(kWidth) * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Dithered, so the soft gradients show no bands.
            const double dither = Hash(x, y, 1234);
            const Rgb c = paint(x, y);
            row[3 * x] = Channel(c.r, dither);
            row[3 * x + 1] = Channel(c.g, dither);
            row[3 * x + 2] = Channel(c.b, dither);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&jpeg.info, rows, 1);
    }
    jpeg_finish_compress(&jpeg.info);
    return std::fflush(file.get()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    for (const Background& background : Backgrounds())
        if (!WriteJpeg(folder / (std::string(background.name) + ".jpg"), background.paint))
            return 1;
    return 0;
}
