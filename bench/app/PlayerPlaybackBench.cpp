// Whether the preview player keeps up with a 1080p show as it plays: twenty
// 3000 x 2000 photos with captions, the blurred fill and random pan and zoom,
// played for 60 s in a player on the offscreen platform. The window is
// looked at every 2 ms; a frame is on time when it was on screen at some
// look during its own slot, and late otherwise (shown after its slot, or
// dropped). Prints the share of late frames and the load.
//
//   cmake -S . -B build -G Ninja -DVANTO_BUILD_BENCH=ON
//   cmake --build build --target bench_player_playback && build/bin/bench_player_playback [seconds]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "app/PlayerWindow.h"
#include "bench/BenchShow.h"
#include "model/Show.h"
#include "showbuild/ShowPreparation.h"

namespace {

// Turns the event loop for a while, as a window does between looks.
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
    QTemporaryDir dir;
    const model::Show show = MakeBenchShow(dir, 20);
    video::PreparedShow prepared = video::PrepareShow(show, video::ShowLoaders{});
    if (prepared.outcome != video::PreparedShow::Outcome::Ready) {
        std::fprintf(stderr, "%s\n", prepared.message.c_str());
        return 1;
    }
    const double rate = prepared.FrameRate();
    const double length = static_cast<double>(prepared.VideoFrames()) / rate;
    app::PlayerWindow player(std::move(prepared), {});
    player.SetPictureSize(QSize(960, 540));
    player.show();
    // Playing starts with the window; the first picture is read first.
    Wait(500);
    player.Seek(0);
    player.Play();

    std::set<int64_t> due, onTime;
    QElapsedTimer clock;
    clock.start();
    const double played = std::min(seconds, length - 1);
    while (clock.elapsed() < played * 1000) {
        Wait(2);
        const int64_t now = player.Timeline().frame();
        due.insert(now);
        if (player.PaintedFrame() == now) onTime.insert(now);
    }
    player.Pause();
    // Every frame of the stretch played was due, looked at or not.
    const int64_t first = due.empty() ? 0 : *due.begin();
    const int64_t last = due.empty() ? 0 : *due.rbegin();
    const int64_t frames = last - first + 1;
    const auto late = static_cast<double>(frames - static_cast<int64_t>(onTime.size()));
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf(
        "1080p at %.2f fps, %.0f s played: %lld frames, %lld on time, %.2f%% late (load %s)\n",
        rate, played, static_cast<long long>(frames), static_cast<long long>(onTime.size()),
        100.0 * late / static_cast<double>(frames), load.c_str());
    return 0;
}
