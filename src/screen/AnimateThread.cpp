#include "screen/AnimateThread.h"

#include <chrono>

#include "base/Swallow.h"
#include "screen/Vantoscreen.h"

namespace screen {

namespace {
std::atomic<int> liveThreads{0};
}

TAnimateThread::TAnimateThread(TCustomVantoscreen* control) : control_(control) {
    ++liveThreads;
    // Emitted by the worker as it ends; served on the user-interface thread.
    connect(this, &QThread::finished, this, &TAnimateThread::EndOnGuiThread, Qt::QueuedConnection);
}

TAnimateThread::~TAnimateThread() {
    --liveThreads;
}

int TAnimateThread::LiveCount() {
    return liveThreads.load();
}

void TAnimateThread::run() {
    using Clock = std::chrono::steady_clock;
    while (!terminated_.load()) {
        const Clock::time_point t0 = Clock::now();
        StepReport report;
        const bool delivered = QMetaObject::invokeMethod(
            this, [this, &report] { report = StepOnGuiThread(); }, Qt::BlockingQueuedConnection);
        // Not delivered: the user-interface thread's event loop is gone.
        if (!delivered || report.stop) break;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
        if (elapsed < report.delay) msleep(static_cast<unsigned long>(report.delay - elapsed));
    }
}

TAnimateThread::StepReport TAnimateThread::StepOnGuiThread() {
    StepReport report;
    if (!control_ || terminated_.load()) {
        report.stop = true;
        return report;
    }
    report.delay = control_->Delay();
    // A failed step is skipped; the run goes on with the next one.
    base::Swallow("screen::TAnimateThread step", [&] {
        switch (control_->ThreadStep()) {
            case ScreenEngine::ThreadStepResult::Continue:
                break;
            case ScreenEngine::ThreadStepResult::Done:
                terminated_.store(true);
                report.stop = true;
                break;
            case ScreenEngine::ThreadStepResult::Quit:
                report.stop = true;
                break;
        }
    });
    return report;
}

void TAnimateThread::EndOnGuiThread() {
    TCustomVantoscreen* control = control_;
    control_ = nullptr;
    // The end handler has no caller to report to.
    if (control && control->AnimateThread() == this)
        base::Swallow("screen::TAnimateThread end", [&] { control->FinishTransition(); });
    deleteLater();
}

}  // namespace screen
