#include "music/MPEGPlayer.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <atomic>
#include <utility>

#include "base/Swallow.h"
#include "music/MPEGError.h"

namespace music {

namespace {

struct PriorityPair {
    TPlayPriority priority;
    int32_t value;
};

constexpr PriorityPair kPriorities[] = {
    {TPlayPriority::Idle, -15},        {TPlayPriority::Lowest, -2},
    {TPlayPriority::BelowNormal, -1},  {TPlayPriority::Normal, 0},
    {TPlayPriority::AboveNormal, 1},   {TPlayPriority::Highest, 2},
    {TPlayPriority::TimeCritical, 15},
};

// The folder of the running executable, found without needing an
// application object.
QString ExecutableDir() {
    if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

template <typename Fn>
bool Resolve(void* library, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(dlsym(library, name));
    return target != nullptr;
}

}  // namespace

int32_t PriorityValue(TPlayPriority priority) {
    for (const auto& pair : kPriorities) {
        if (pair.priority == priority) return pair.value;
    }
    return 0;
}

TPlayPriority PriorityFromValue(int32_t value) {
    for (const auto& pair : kPriorities) {
        if (pair.value == value) return pair.priority;
    }
    return TPlayPriority::Normal;
}

TMPEGPlayer::TMPEGPlayer(QObject* owner) : QObject(owner) {}

TMPEGPlayer::~TMPEGPlayer() {
    // Nothing is left to report a failure to.
    if (library_ != nullptr && opened_)
        base::Swallow("music::TMPEGPlayer::~TMPEGPlayer", [&] { Close(); });
}

QString TMPEGPlayer::LibraryPathFor(const QString& pathToDLL) {
    QString path = pathToDLL;
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path + QStringLiteral(MPEGDLL_FILE_NAME);
}

void TMPEGPlayer::SetPlayerPriority(TPlayPriority value) {
    priority_ = PriorityValue(value);
    if (library_ == nullptr) return;
    fn_.SetPriority(priority_);
    checkError();
}

void TMPEGPlayer::SetTimerFreq(int value) {
    timerFreq_ = value;
    if (value == 0) useTimer_ = false;
    if (timer_ != nullptr) timer_->setInterval(useTimer_ ? timerFreq_ : 0);
}

void TMPEGPlayer::SetStreamName(const QString& value) {
    streamName_ = value;
    if (opened_) Close();
}

bool TMPEGPlayer::Ended() const {
    return std::atomic_ref<uint8_t>(const_cast<uint8_t&>(ended_)).load() != 0;
}

void TMPEGPlayer::setEnded(bool value) {
    std::atomic_ref<uint8_t>(ended_).store(value ? 1 : 0);
}

int32_t TMPEGPlayer::DeviceCode() const {
    if (outFilename_.isEmpty()) return MPEGDLL_DEVICE_DEFAULT;
    return outputDevice_ == TOutputDevice::pcmfile ? MPEGDLL_DEVICE_PCMFILE
                                                   : MPEGDLL_DEVICE_DEFAULT;
}

void TMPEGPlayer::LoadDLL() {
    if (library_ != nullptr) return;
    void* library = nullptr;
    if (pathToDLL_.isEmpty()) {
        // Beside the executable first, then the normal library search.
        const QString beside = LibraryPathFor(ExecutableDir());
        library = dlopen(QFile::encodeName(beside).constData(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) library = dlopen(MPEGDLL_FILE_NAME, RTLD_NOW | RTLD_LOCAL);
    } else {
        library = dlopen(QFile::encodeName(LibraryPathFor(pathToDLL_)).constData(),
                         RTLD_NOW | RTLD_LOCAL);
    }
    if (library == nullptr) throw TMPEGError("Can't load MPEG library", 0);

    Functions fn;
    const bool complete =
        Resolve(library, "init", fn.init) && Resolve(library, "deinit", fn.deinit) &&
        Resolve(library, "Open", fn.Open) && Resolve(library, "Pause", fn.Pause) &&
        Resolve(library, "Restart", fn.Restart) && Resolve(library, "Stop", fn.Stop) &&
        Resolve(library, "SetPriority", fn.SetPriority) &&
        Resolve(library, "SetOutputDevice", fn.SetOutputDevice) &&
        Resolve(library, "Play", fn.Play) && Resolve(library, "Close", fn.Close) &&
        Resolve(library, "GetFrequency", fn.GetFrequency) &&
        Resolve(library, "GetBitrate", fn.GetBitrate) &&
        Resolve(library, "GetLayer", fn.GetLayer) &&
        Resolve(library, "GetPlayerMode", fn.GetPlayerMode) &&
        Resolve(library, "GetCurrentPos", fn.GetCurrentPos) &&
        Resolve(library, "GetLength", fn.GetLength) &&
        Resolve(library, "ResetPlayerMode", fn.ResetPlayerMode) &&
        Resolve(library, "Seek", fn.Seek) && Resolve(library, "LastError", fn.LastError);
    if (!complete) {
        dlclose(library);
        throw MPEGErrorFor(0);
    }
    if ((fn.init() & 0xFF) == 0) {
        // The library stays mapped: a half-initialised library may have
        // threads or handlers that an unload would pull from under them.
        lastError_ = fn.LastError();
        throw MPEGErrorFor(lastError_);
    }
    library_ = library;
    fn_ = fn;

    if (timer_ == nullptr) {
        timer_ = new QTimer(this);
        connect(timer_, &QTimer::timeout, this, &TMPEGPlayer::onTimer);
    }
    timer_->stop();
    timer_->setInterval(useTimer_ ? timerFreq_ : 0);
    streamLength_ = 0;
}

void TMPEGPlayer::checkLoaded() const {
    if (library_ == nullptr) throw MPEGErrorFor(0);
}

void TMPEGPlayer::checkError() {
    const int32_t code = fn_.LastError();
    lastError_ = code;
    if (code > 0) throw MPEGErrorFor(code);
}

void TMPEGPlayer::Open() {
    checkLoaded();
    if (opened_) Close();
    opened_ = false;
    if (streamName_.isEmpty()) throw TMPEGError("Can't play non-specified stream", kErrorNoStream);

    // The whole name goes to the library: cutting a long path short could
    // open a different file.
    const QByteArray name = QFile::encodeName(streamName_);
    fn_.Open(name.constData(), fromStream_ ? 1 : 0, nullptr, nullptr, nullptr, nullptr, nullptr,
             nullptr, nullptr);
    checkError();
    opened_ = true;
    playedXTimes_ = 1;
    streamLength_ = GetLength();
    if (autoPlay_) Play();
}

void TMPEGPlayer::Play() {
    checkLoaded();
    if (paused_) {
        Pause(false);
        return;
    }
    if (playing_) return;
    if (!opened_) {
        Open();
        if (!opened_) return;
    }
    if (playedXTimes_ > 1) {
        Restart();
        return;
    }
    fn_.SetPriority(priority_);
    checkError();
    const QByteArray outName = QFile::encodeName(outFilename_);
    fn_.SetOutputDevice(DeviceCode(), outName.constData());
    checkError();

    // An end left over from an earlier stream must not end this one at the
    // first tick.
    setEnded(false);
    const int32_t result = fn_.Play(startPos_, endPos_, &ended_);
    lastError_ = fn_.LastError();
    if (lastError_ > 0 || result != 0) throw MPEGErrorFor(lastError_);
    playing_ = true;
    ++playedXTimes_;
    startPositionTimer();
}

void TMPEGPlayer::Pause(bool value) {
    checkLoaded();
    if (!playing_ || Ended()) {
        paused_ = false;
        if (value) throw MPEGErrorFor(MPEGDLL_ERR_MODE);
        return;
    }
    fn_.Pause(value ? 0 : 1);
    checkError();
    paused_ = value;
}

void TMPEGPlayer::Restart() {
    checkLoaded();
    if (!opened_) throw MPEGErrorFor(MPEGDLL_ERR_MODE);
    setEnded(false);
    fn_.Restart();
    checkError();
    playing_ = true;
    ++playedXTimes_;
    startPositionTimer();
}

void TMPEGPlayer::Stop() {
    if (!playing_ || Ended()) throw MPEGErrorFor(MPEGDLL_ERR_MODE);
    checkLoaded();
    fn_.Stop();
    checkError();
    playing_ = false;
    paused_ = false;
}

void TMPEGPlayer::Close() {
    checkLoaded();
    opened_ = false;
    paused_ = false;
    playing_ = false;
    playedXTimes_ = 0;
    fn_.Close();
    checkError();
}

int TMPEGPlayer::GetPlayerMode() {
    checkLoaded();
    const int mode = fn_.GetPlayerMode();
    checkError();
    return mode;
}

int TMPEGPlayer::GetCurrentPos() {
    checkLoaded();
    const int pos = fn_.GetCurrentPos();
    checkError();
    return pos;
}

int TMPEGPlayer::GetLength() {
    checkLoaded();
    const int length = fn_.GetLength();
    checkError();
    return length;
}

void TMPEGPlayer::startPositionTimer() {
    if (!useTimer_ || timer_ == nullptr) return;
    timer_->start();
    PositionTimerTick();
}

void TMPEGPlayer::PositionTimerTick() {
    if (!opened_ || !playing_) {
        if (timer_ != nullptr) timer_->stop();
        return;
    }
    int pos = GetCurrentPos();
    if (pos > streamLength_) pos = 0;
    if (OnPosUpdate) OnPosUpdate(pos, streamLength_);
    if (Ended()) {
        if (timer_ != nullptr) timer_->stop();
        playing_ = false;
        if (OnPlayEnd) {
            setEnded(false);
            OnPlayEnd(this);
        }
    }
}

// Exceptions must not unwind through Qt's event loop: a tick that fails
// stops the timer, and playback problems stay silent.
void TMPEGPlayer::onTimer() {
    if (!base::Swallow("music::TMPEGPlayer::onTimer", [&] { PositionTimerTick(); }) &&
        timer_ != nullptr)
        timer_->stop();
}

}  // namespace music
