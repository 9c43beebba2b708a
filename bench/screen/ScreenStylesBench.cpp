// Time per step of every transition style on the screen widget: the frame
// is rendered and painted, as in a preview, for a 720 x 576 picture.
//
//   bench_screen_styles [steps]   (default 25 steps per style, Step 4)
//
// Every step keeps its fastest of three runs. Prints the slowest styles by
// their worst step, and how many reach 10 ms.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/Random.h"
#include "screen/Vantoscreen.h"

namespace {

// A smooth picture with some detail, so region and pixel styles do real work.
raster::Bitmap MakePicture(int width, int height, int phase) {
    raster::Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>((x + phase) * 255 / width);
            row[3 * x + 1] = static_cast<uint8_t>((y * 3 + phase) ^ (x / 7));
            row[3 * x + 2] = static_cast<uint8_t>((x * y / 97 + phase) & 0xFF);
        }
    }
    return b;
}

struct StyleTime {
    int style;
    double worstMs;
    double meanMs;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int steps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;
    const int step = std::max(1, 100 / steps);

    screen::TVantoscreen view;
    view.SetAutoSize(false);
    view.resize(720, 576);
    view.SetThreaded(false);
    view.SetManual(true);
    view.SetStep(static_cast<uint16_t>(step));
    view.show();
    const raster::Bitmap pictures[] = {MakePicture(720, 576, 0), MakePicture(720, 576, 90)};
    base::SetRandSeed(12345);

    // Each transition runs several times and every step keeps its fastest
    // time, so that other processes on the machine do not count.
    constexpr int kRuns = 3;
    std::vector<StyleTime> results;
    for (int style = 0; style <= screen::kMaxShowStyle; ++style) {
        view.SetStyle(static_cast<screen::TShowStyle>(style));
        std::vector<double> fastest;
        for (int run = 0; run < kRuns; ++run) {
            view.SetPicture(&pictures[run % 2]);
            view.Play();
            size_t frame = 0;
            for (int p = step; p <= 100; p += step, ++frame) {
                QElapsedTimer timer;
                timer.start();
                view.SetProgress(p);
                // Table styles leave painting to the next repaint; include it.
                view.repaint();
                const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
                if (frame == fastest.size())
                    fastest.push_back(ms);
                else
                    fastest[frame] = std::min(fastest[frame], ms);
            }
            view.Stop();
            view.SetManual(false);  // back to Progress 0 for the next run
            view.SetManual(true);
        }
        double worst = 0, total = 0;
        for (double ms : fastest) {
            worst = std::max(worst, ms);
            total += ms;
        }
        results.push_back({style, worst, total / static_cast<double>(fastest.size())});
    }

    std::sort(results.begin(), results.end(),
              [](const StyleTime& a, const StyleTime& b) { return a.worstMs > b.worstMs; });
    const long over = std::count_if(results.begin(), results.end(),
                                    [](const StyleTime& r) { return r.worstMs >= 10.0; });
    std::printf("720x576, %d steps per style (Step %d), render + paint per step\n", steps, step);
    std::printf("%-6s %10s %10s\n", "style", "worst ms", "mean ms");
    for (size_t i = 0; i < std::min<size_t>(15, results.size()); ++i)
        std::printf("%-6d %10.2f %10.2f\n", results[i].style, results[i].worstMs,
                    results[i].meanMs);
    std::printf("styles with a step of 10 ms or more: %ld of %zu\n", over, results.size());
    return 0;
}
