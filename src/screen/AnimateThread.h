// The animation thread of one running screen transition. It only measures
// time and sleeps: every step runs on the user-interface thread through a
// blocking queued call, and the end of the run is handled there too.
//
// How it stays clear of a destroyed screen, and of deadlocks:
//  - The blocking calls go to the thread object itself, which lives on the
//    user-interface thread and outlives the worker (it deletes itself only
//    after the worker has finished). The worker never calls the screen.
//  - The screen pointer is read and cleared only on the user-interface
//    thread. A screen that goes away detaches itself (Detach) instead of
//    waiting for the worker, so the user-interface thread never blocks on
//    the worker while the worker blocks on it.
//  - A detached or terminated thread's next step finds no screen (or the
//    stop request) and ends the worker; its end handler then only deletes
//    the thread object.
#pragma once

#include <QThread>
#include <atomic>

namespace screen {

class TCustomVantoscreen;

class TAnimateThread : public QThread {
    Q_OBJECT

public:
    // Created for a screen on the user-interface thread; start() it. It
    // deletes itself when the worker has ended.
    explicit TAnimateThread(TCustomVantoscreen* control);
    ~TAnimateThread() override;

    // Asks the worker to end after the step it may be in. Any thread.
    void Terminate() { terminated_.store(true); }
    bool Terminated() const { return terminated_.load(); }
    // The screen forgets this thread (it is being destroyed, or a newer
    // thread steps its transition). User-interface thread only.
    void Detach() { control_ = nullptr; }

    // Number of thread objects alive, for leak checks.
    static int LiveCount();

protected:
    void run() override;

private:
    struct StepReport {
        bool stop = false;  // the worker ends
        int delay = 0;      // minimum milliseconds per step
    };
    StepReport StepOnGuiThread();
    void EndOnGuiThread();

    TCustomVantoscreen* control_;  // user-interface thread only
    std::atomic<bool> terminated_{false};
};

}  // namespace screen
