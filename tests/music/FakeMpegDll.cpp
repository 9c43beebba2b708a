// A stand-in decoder library for the player's state machine: it records the
// calls it receives and answers with values the test sets, through a few
// extra exports (Fake_*). Built twice: complete, and without "Seek".
#include <cstring>
#include <map>
#include <string>

#include "mpegdll/MpegDll.h"

namespace {

struct FakeState {
    std::string calls;
    mpegdll_bool initResult = 1;
    int32_t initError = 0;
    std::map<std::string, int32_t> failures;
    int32_t lastError = 0;
    int32_t position = 0;
    int32_t length = 0;
    int32_t mode = MPEGDLL_MODE_CLOSED;
    uint8_t* ended = nullptr;
};

FakeState& State() {
    static FakeState state;
    return state;
}

void Record(const std::string& call, const char* name) {
    FakeState& state = State();
    state.calls += call + ";";
    auto failure = state.failures.find(name);
    state.lastError = failure != state.failures.end() ? failure->second : 0;
}

}  // namespace

extern "C" {

MPEGDLL_API void Fake_Reset(void) {
    State() = FakeState();
}
MPEGDLL_API const char* Fake_Calls(void) {
    return State().calls.c_str();
}
MPEGDLL_API void Fake_ClearCalls(void) {
    State().calls.clear();
}
MPEGDLL_API void Fake_SetInit(mpegdll_bool result, int32_t error) {
    State().initResult = result;
    State().initError = error;
}
MPEGDLL_API void Fake_SetFailure(const char* function, int32_t code) {
    State().failures[function] = code;
}
MPEGDLL_API void Fake_SetPosition(int32_t position, int32_t length) {
    State().position = position;
    State().length = length;
}
MPEGDLL_API void Fake_SetMode(int32_t mode) {
    State().mode = mode;
}
// Plays the library's part at the end of a stream.
MPEGDLL_API void Fake_SignalEnd(void) {
    if (State().ended != nullptr) *State().ended = 1;
}
MPEGDLL_API uint8_t* Fake_EndedAddress(void) {
    return State().ended;
}

mpegdll_bool init(void) {
    Record("init", "init");
    State().lastError = State().initError;
    return State().initResult;
}
void deinit(void) {
    Record("deinit", "deinit");
}
void Open(const char* fileName, int32_t streamFlag, mpegdll_callback, mpegdll_callback,
          mpegdll_callback, mpegdll_callback, mpegdll_callback, mpegdll_callback, void*) {
    Record("Open(" + std::string(fileName) + "," + std::to_string(streamFlag) + ")", "Open");
}
void Pause(mpegdll_bool resume) {
    Record("Pause(" + std::to_string(resume) + ")", "Pause");
}
void Restart(void) {
    Record("Restart", "Restart");
}
void Stop(void) {
    Record("Stop", "Stop");
}
void SetPriority(int32_t priority) {
    Record("SetPriority(" + std::to_string(priority) + ")", "SetPriority");
}
void SetOutputDevice(int32_t device, const char* fileName) {
    Record("SetOutputDevice(" + std::to_string(device) + "," + fileName + ")", "SetOutputDevice");
}
int32_t Play(int32_t startPos, int32_t endPos, uint8_t* ended) {
    Record("Play(" + std::to_string(startPos) + "," + std::to_string(endPos) + ")", "Play");
    State().ended = ended;
    return State().lastError;
}
void Close(void) {
    Record("Close", "Close");
    State().ended = nullptr;
}
int32_t GetFrequency(void) {
    return Record("GetFrequency", "GetFrequency"), 44100;
}
int32_t GetBitrate(void) {
    return Record("GetBitrate", "GetBitrate"), 128;
}
int32_t GetLayer(void) {
    return Record("GetLayer", "GetLayer"), 3;
}
int32_t GetPlayerMode(void) {
    return Record("GetPlayerMode", "GetPlayerMode"), State().mode;
}
int32_t GetCurrentPos(void) {
    return Record("GetCurrentPos", "GetCurrentPos"), State().position;
}
int32_t GetLength(void) {
    return Record("GetLength", "GetLength"), State().length;
}
void ResetPlayerMode(void) {
    Record("ResetPlayerMode", "ResetPlayerMode");
}
#ifndef FAKE_WITHOUT_SEEK
int32_t Seek(int32_t position) {
    return Record("Seek(" + std::to_string(position) + ")", "Seek"), State().lastError;
}
#endif
int32_t LastError(void) {
    return State().lastError;
}

}  // extern "C"
