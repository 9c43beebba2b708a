// How long each of the 172 effects takes to draw one 720x576 frame at 25, 50
// and 75 percent. The video build calls one entry per frame, so every member
// has to stay well inside a frame's time: 2 ms, and 6 ms for the members that
// work on every pixel. After the usual table it prints the ten slowest and
// every member over its target.
//
//   ./build-bench/bin/bench_effects                    # all, about a minute
//   ./build-bench/bin/bench_effects --benchmark_filter='^118_'
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/Random.h"
#include "effects/Effects.h"
#include "effects/SyntheticPictures.h"

namespace {

using effects::Effects;
using raster::Bitmap;

constexpr int kWidth = 720, kHeight = 576;
constexpr double kTargetMs = 2.0, kPixelTargetMs = 6.0;

// The members that touch every pixel on every call.
bool IsPixelMember(int style) {
    return style == 118 || (style >= 120 && style <= 123) || (style >= 168 && style <= 172);
}

std::string BenchmarkName(int style) {
    char number[8];
    std::snprintf(number, sizeof number, "%03d_", style);
    std::string name = number;
    for (const char* c = Effects[style].Name; *c; ++c) name += (*c == ' ' || *c == '/') ? '_' : *c;
    return name;
}

struct Figure {
    int style;
    int percent;
    double ms;
};

// The console table as usual, and the medians kept for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so a saved report stays plain text.
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!median && !single) continue;
            const std::string name = run.run_name.function_name;
            const int style = std::atoi(name.c_str());
            const int percent =
                std::atoi(run.run_name.args.c_str() + run.run_name.args.find(':') + 1);
            figures.push_back(
                {style, percent, ToMilliseconds(run.GetAdjustedCPUTime(), run.time_unit)});
        }
    }

    std::vector<Figure> figures;

private:
    static double ToMilliseconds(double value, benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return value / 1e6;
            case benchmark::kMicrosecond:
                return value / 1e3;
            case benchmark::kMillisecond:
                return value;
            case benchmark::kSecond:
                return value * 1e3;
        }
        return value;
    }
};

void PrintSummary(std::vector<Figure> figures) {
    std::cout.flush();  // the reporter's table first
    if (figures.empty()) return;
    std::sort(figures.begin(), figures.end(),
              [](const Figure& a, const Figure& b) { return a.ms > b.ms; });
    std::printf("\nSlowest ten (median CPU time per %dx%d frame):\n", kWidth, kHeight);
    for (size_t i = 0; i < std::min<size_t>(10, figures.size()); ++i)
        std::printf("  %3d  p=%-3d %7.3f ms  %s\n", figures[i].style, figures[i].percent,
                    figures[i].ms, Effects[figures[i].style].Name);
    int over = 0;
    for (const Figure& f : figures) {
        const double target = IsPixelMember(f.style) ? kPixelTargetMs : kTargetMs;
        if (f.ms < target) continue;
        if (over++ == 0) std::printf("\nOver target:\n");
        std::printf("  %3d  p=%-3d %7.3f ms (target %.0f ms)  %s\n", f.style, f.percent, f.ms,
                    target, Effects[f.style].Name);
    }
    double slowestRegular = 0, slowestPixel = 0;
    for (const Figure& f : figures) {
        double& slowest = IsPixelMember(f.style) ? slowestPixel : slowestRegular;
        slowest = std::max(slowest, f.ms);
    }
    std::printf(
        "\n%zu figures; slowest member %.3f ms (target %.0f), slowest pixel member %.3f ms "
        "(target %.0f); %s\n",
        figures.size(), slowestRegular, kTargetMs, slowestPixel, kPixelTargetMs,
        over == 0 ? "every target met" : "some targets missed");
}

}  // namespace

int main(int argc, char** argv) {
    // Medians of five short repetitions unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    auto given = [&](const char* flag) {
        for (int i = 1; i < argc; ++i)
            if (std::string(argv[i]).starts_with(flag)) return true;
        return false;
    };
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    std::string minTime = "--benchmark_min_time=0.02";
    if (!given("--benchmark_repetitions")) args.push_back(repetitions.data());
    if (!given("--benchmark_report_aggregates_only")) args.push_back(aggregates.data());
    if (!given("--benchmark_min_time")) args.push_back(minTime.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    const Bitmap outgoing = effects::test_support::SyntheticPicture(kWidth, kHeight, 0);
    const Bitmap incoming = effects::test_support::SyntheticPicture(kWidth, kHeight, 1);
    for (int style = 1; style <= effects::kEffectCount; ++style) {
        benchmark::RegisterBenchmark(
            BenchmarkName(style).c_str(),
            [style, &outgoing, &incoming](benchmark::State& state) {
                const int p = static_cast<int>(state.range(0));
                const auto size = effects::ProgressSizeOf(kWidth, kHeight, p);
                Bitmap frame = outgoing;
                base::SetRandSeed(1);
                // Each frame is drawn over the previous one, as
                // the video build does.
                for (auto _ : state) {
                    Effects[style].Proc(frame, incoming, kWidth, kHeight, size.w, size.h, p);
                    benchmark::DoNotOptimize(frame.bits());
                }
            })
            ->ArgName("p")
            ->Arg(25)
            ->Arg(50)
            ->Arg(75)
            ->Unit(benchmark::kMillisecond);
    }

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter.figures);
    benchmark::Shutdown();
    return 0;
}
