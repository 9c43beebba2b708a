// The nineteen exported C functions. No exception may cross the C boundary:
// anything unexpected (out of memory, a thread that cannot start) becomes an
// internal decoder error for LastError.
#include <utility>

#include "mpegdll/Engine.h"
#include "mpegdll/MpegDll.h"

using mpegdll::Engine;

namespace {

template <typename Call, typename Result = std::invoke_result_t<Call>>
Result Guarded(Call&& call, Result fallback = Result()) {
    try {
        return std::forward<Call>(call)();
    } catch (...) {
        Engine::Instance().fail(MPEGDLL_ERR_INTERNAL);
        return fallback;
    }
}

template <typename Call>
void GuardedVoid(Call&& call) {
    try {
        std::forward<Call>(call)();
    } catch (...) {
        Engine::Instance().fail(MPEGDLL_ERR_INTERNAL);
    }
}

}  // namespace

extern "C" {

mpegdll_bool init(void) {
    return Guarded([] { return static_cast<mpegdll_bool>(Engine::Instance().init() ? 1 : 0); });
}

void deinit(void) {
    GuardedVoid([] { Engine::Instance().deinit(); });
}

void Open(const char* fileName, int32_t streamFlag, mpegdll_callback onOpen,
          mpegdll_callback onClose, mpegdll_callback onRestart, mpegdll_callback onGetSize,
          mpegdll_callback onSeek, mpegdll_callback onRead, void* user) {
    const bool hasStreamPointers =
        onOpen || onClose || onRestart || onGetSize || onSeek || onRead || user;
    GuardedVoid([&] { Engine::Instance().open(fileName, streamFlag, hasStreamPointers); });
}

void Pause(mpegdll_bool resume) {
    GuardedVoid([=] { Engine::Instance().pause(resume != 0); });
}

void Restart(void) {
    GuardedVoid([] { Engine::Instance().restart(); });
}

void Stop(void) {
    GuardedVoid([] { Engine::Instance().stop(); });
}

void SetPriority(int32_t priority) {
    GuardedVoid([=] { Engine::Instance().setPriority(priority); });
}

void SetOutputDevice(int32_t device, const char* fileName) {
    GuardedVoid([=] { Engine::Instance().setOutputDevice(device, fileName); });
}

int32_t Play(int32_t startPos, int32_t endPos, uint8_t* ended) {
    return Guarded([=] { return Engine::Instance().play(startPos, endPos, ended); },
                   static_cast<int32_t>(MPEGDLL_ERR_INTERNAL));
}

void Close(void) {
    GuardedVoid([] { Engine::Instance().close(); });
}

int32_t GetFrequency(void) {
    return Guarded([] { return Engine::Instance().frequency(); });
}

int32_t GetBitrate(void) {
    return Guarded([] { return Engine::Instance().bitrate(); });
}

int32_t GetLayer(void) {
    return Guarded([] { return Engine::Instance().layer(); });
}

int32_t GetPlayerMode(void) {
    return Guarded([] { return Engine::Instance().playerMode(); });
}

int32_t GetCurrentPos(void) {
    return Guarded([] { return Engine::Instance().currentPos(); });
}

int32_t GetLength(void) {
    return Guarded([] { return Engine::Instance().length(); });
}

void ResetPlayerMode(void) {
    GuardedVoid([] { Engine::Instance().resetPlayerMode(); });
}

int32_t Seek(int32_t position) {
    return Guarded([=] { return Engine::Instance().seek(position); },
                   static_cast<int32_t>(MPEGDLL_ERR_INTERNAL));
}

int32_t LastError(void) {
    return Guarded([] { return Engine::Instance().lastError(); },
                   static_cast<int32_t>(MPEGDLL_ERR_INTERNAL));
}

}  // extern "C"
