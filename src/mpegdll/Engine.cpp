#include "mpegdll/Engine.h"

#include <mpg123.h>

#include <algorithm>
#include <limits>

#include "mpegdll/MpegDll.h"

namespace mpegdll {

namespace {

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

Engine& Engine::Instance() {
    static Engine engine;
    return engine;
}

// At process exit a stream may still be playing; its thread must be stopped
// before the decoder it reads goes away.
Engine::~Engine() {
    closeLocked();
}

bool Engine::init() {
    std::lock_guard lock(mutex_);
    // Before 1.27 libmpg123 needed this; later it always succeeds.
    if (mpg123_init() != MPG123_OK) {
        setError(MPEGDLL_ERR_INTERNAL);
        return false;
    }
    setError(MPEGDLL_OK);
    return true;
}

void Engine::deinit() {
    std::lock_guard lock(mutex_);
    closeLocked();
    ShutdownSdlAudio();
    setError(MPEGDLL_OK);
}

void Engine::open(const char* fileName, int32_t streamFlag, bool hasStreamPointers) {
    std::lock_guard lock(mutex_);
    closeLocked();
    // Stream mode (reading through callbacks) is not offered; files only.
    if (streamFlag != 0 || hasStreamPointers || fileName == nullptr || *fileName == '\0') {
        setError(MPEGDLL_ERR_INPUT);
        return;
    }
    setError(decoder_.open(fileName));
}

void Engine::pause(bool resume) {
    std::lock_guard lock(mutex_);
    if (!playback_) {
        setError(MPEGDLL_ERR_MODE);
        return;
    }
    // Once the stream has played out there is nothing left to hold back.
    if (!playback_->finished()) playback_->setPaused(!resume);
    setError(MPEGDLL_OK);
}

void Engine::restart() {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen() || !played_) {
        setError(MPEGDLL_ERR_MODE);
        return;
    }
    playback_.reset();
    setError(startLocked(startSample_, false));
}

void Engine::stop() {
    std::lock_guard lock(mutex_);
    if (!playback_) {
        setError(MPEGDLL_ERR_MODE);
        return;
    }
    playback_.reset();
    setError(MPEGDLL_OK);
}

void Engine::setPriority(int32_t priority) {
    std::lock_guard lock(mutex_);
    priority_ = priority;
    if (playback_) playback_->setPriority(priority);
    setError(MPEGDLL_OK);
}

void Engine::setOutputDevice(int32_t device, const char* fileName) {
    std::lock_guard lock(mutex_);
    std::string path = fileName != nullptr ? fileName : "";
    const bool known =
        device == MPEGDLL_DEVICE_DEFAULT || (device == MPEGDLL_DEVICE_PCMFILE && !path.empty());
    if (!known) {
        setError(MPEGDLL_ERR_OUTPUT);
        return;
    }
    device_ = device;
    pcmPath_ = std::move(path);
    setError(MPEGDLL_OK);
}

int32_t Engine::play(int32_t startPos, int32_t endPos, uint8_t* ended) {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen()) return setError(MPEGDLL_ERR_MODE);
    playback_.reset();
    const int64_t length = decoder_.lengthSamples();
    const int64_t start = std::clamp<int64_t>(decoder_.msToSamples(startPos), 0, length);
    // An end at or before the start means "to the end of the stream".
    const int64_t end = endPos > startPos
                            ? std::clamp<int64_t>(decoder_.msToSamples(endPos), start, length)
                            : length;
    startSample_ = start;
    endSample_ = end;
    ended_ = ended;
    played_ = true;
    return setError(startLocked(start, false));
}

void Engine::close() {
    std::lock_guard lock(mutex_);
    closeLocked();
    setError(MPEGDLL_OK);
}

int32_t Engine::frequency() {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen()) return setError(MPEGDLL_ERR_MODE), 0;
    setError(MPEGDLL_OK);
    return static_cast<int32_t>(decoder_.rate());
}

int32_t Engine::bitrate() {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen()) return setError(MPEGDLL_ERR_MODE), 0;
    setError(MPEGDLL_OK);
    return decoder_.bitrateKbps();
}

int32_t Engine::layer() {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen()) return setError(MPEGDLL_ERR_MODE), 0;
    setError(MPEGDLL_OK);
    return decoder_.layer();
}

int32_t Engine::playerMode() {
    std::lock_guard lock(mutex_);
    setError(MPEGDLL_OK);
    return modeLocked();
}

int32_t Engine::currentPos() {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen()) return setError(MPEGDLL_ERR_MODE), 0;
    setError(MPEGDLL_OK);
    if (!playback_) return 0;
    return ClampToInt32(decoder_.samplesToMs(playback_->positionSamples()));
}

int32_t Engine::length() {
    std::lock_guard lock(mutex_);
    if (!decoder_.isOpen()) return setError(MPEGDLL_ERR_MODE), 0;
    setError(MPEGDLL_OK);
    return ClampToInt32(decoder_.lengthMs());
}

void Engine::resetPlayerMode() {
    std::lock_guard lock(mutex_);
    if (playback_ && playback_->finished()) playback_.reset();
    setError(MPEGDLL_OK);
}

int32_t Engine::seek(int32_t position) {
    std::lock_guard lock(mutex_);
    if (!playback_ || playback_->finished()) return setError(MPEGDLL_ERR_MODE);
    const bool paused = playback_->paused();
    playback_.reset();
    const int64_t target =
        std::clamp<int64_t>(decoder_.msToSamples(position), startSample_, endSample_);
    return setError(startLocked(target, paused));
}

int32_t Engine::lastError() {
    std::lock_guard lock(mutex_);
    return lastError_;
}

void Engine::fail(int32_t code) {
    std::lock_guard lock(mutex_);
    setError(code);
}

int32_t Engine::modeLocked() const {
    if (!decoder_.isOpen()) return MPEGDLL_MODE_CLOSED;
    if (!playback_) return MPEGDLL_MODE_STOPPED;
    if (playback_->finished()) return MPEGDLL_MODE_ENDED;
    if (playback_->paused()) return MPEGDLL_MODE_PAUSED;
    return MPEGDLL_MODE_PLAYING;
}

int32_t Engine::startLocked(int64_t startSample, bool paused) {
    PlaybackRequest request;
    request.device = device_;
    request.pcmPath = pcmPath_;
    request.startSample = startSample;
    request.endSample = endSample_;
    request.ended = ended_;
    request.priority = priority_;
    request.paused = paused;
    int error = MPEGDLL_OK;
    playback_ = Playback::Start(decoder_, request, &error);
    return error;
}

void Engine::closeLocked() {
    playback_.reset();
    decoder_.close();
    played_ = false;
    startSample_ = 0;
    endSample_ = 0;
    ended_ = nullptr;
}

}  // namespace mpegdll
