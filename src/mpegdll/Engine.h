// The library's one player: the open stream, its playback and the error code
// of the last call. The exported C functions are thin wrappers around it.
//
// Every call takes the engine's lock, so the library may be driven from any
// thread; playback itself runs on the Playback's own thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "mpegdll/Decoder.h"
#include "mpegdll/Playback.h"

namespace mpegdll {

class Engine {
public:
    static Engine& Instance();
    ~Engine();

    bool init();
    void deinit();
    void open(const char* fileName, int32_t streamFlag, bool hasStreamPointers);
    void pause(bool resume);
    void restart();
    void stop();
    void setPriority(int32_t priority);
    void setOutputDevice(int32_t device, const char* fileName);
    int32_t play(int32_t startPos, int32_t endPos, uint8_t* ended);
    void close();
    int32_t frequency();
    int32_t bitrate();
    int32_t layer();
    int32_t playerMode();
    int32_t currentPos();
    int32_t length();
    void resetPlayerMode();
    int32_t seek(int32_t position);
    int32_t lastError();

    // Records an error of a call that failed in an unexpected way.
    void fail(int32_t code);

private:
    Engine() = default;
    int32_t modeLocked() const;
    int32_t startLocked(int64_t startSample, bool paused);
    void closeLocked();
    int32_t setError(int32_t code) { return lastError_ = code; }

    std::mutex mutex_;
    int32_t lastError_ = 0;
    Decoder decoder_;
    std::unique_ptr<Playback> playback_;
    int32_t device_ = 0;
    std::string pcmPath_;
    int32_t priority_ = 0;
    // The last Play on the open stream, repeated by Restart.
    bool played_ = false;
    int64_t startSample_ = 0;
    int64_t endSample_ = 0;
    uint8_t* ended_ = nullptr;
};

}  // namespace mpegdll
