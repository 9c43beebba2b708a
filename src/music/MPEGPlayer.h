// The MP3 player component: loads the decoder library (libmpegdll.so) at run
// time, holds its function table, tracks the playback state (Opened, Playing,
// Paused, Ended), turns the library's error codes into TMPEGError and polls
// the playing position with a timer.
//
// The library plays on its own thread and reports the end of a stream only
// by setting the Ended byte whose address Play hands it; PositionTimerTick
// reads that byte on the user-interface thread. Use the component on one
// thread only.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

#include "mpegdll/MpegDll.h"

class QTimer;

namespace music {

enum class TPlayPriority { Idle, Lowest, BelowNormal, Normal, AboveNormal, Highest, TimeCritical };

enum class TOutputDevice { wavemapper, pcmfile };

// The platform thread priority value handed to the library, and back; any
// value without a name reads as Normal.
int32_t PriorityValue(TPlayPriority priority);
TPlayPriority PriorityFromValue(int32_t value);

class TMPEGPlayer : public QObject {
    Q_OBJECT

public:
    // The library's function table, resolved by name in this order.
    struct Functions {
        mpegdll_init_fn init = nullptr;
        mpegdll_deinit_fn deinit = nullptr;
        mpegdll_open_fn Open = nullptr;
        mpegdll_pause_fn Pause = nullptr;
        mpegdll_void_fn Restart = nullptr;
        mpegdll_void_fn Stop = nullptr;
        mpegdll_set_priority_fn SetPriority = nullptr;
        mpegdll_set_output_device_fn SetOutputDevice = nullptr;
        mpegdll_play_fn Play = nullptr;
        mpegdll_void_fn Close = nullptr;
        mpegdll_int_fn GetFrequency = nullptr;
        mpegdll_int_fn GetBitrate = nullptr;
        mpegdll_int_fn GetLayer = nullptr;
        mpegdll_int_fn GetPlayerMode = nullptr;
        mpegdll_int_fn GetCurrentPos = nullptr;
        mpegdll_int_fn GetLength = nullptr;
        mpegdll_void_fn ResetPlayerMode = nullptr;
        mpegdll_seek_fn Seek = nullptr;
        mpegdll_int_fn LastError = nullptr;
    };

    explicit TMPEGPlayer(QObject* owner = nullptr);
    // Closes an open stream first, so the library never writes to the Ended
    // byte of a destroyed player.
    ~TMPEGPlayer() override;

    // Where LoadDLL looks for the library: the folder, "/" unless the folder
    // is empty or already ends with "/", then the library's file name.
    static QString LibraryPathFor(const QString& pathToDLL);

    // Published properties.
    bool Seekable() const { return seekable_; }
    void SetSeekable(bool value) { seekable_ = value; }
    // Stream mode; stored and handed to the library, which plays files only.
    bool FromStream() const { return fromStream_; }
    void SetFromStream(bool value) { fromStream_ = value; }
    TPlayPriority PlayerPriority() const { return PriorityFromValue(priority_); }
    void SetPlayerPriority(TPlayPriority value);
    bool UseTimer() const { return useTimer_; }
    void SetUseTimer(bool value) { useTimer_ = value; }
    int TimerFreq() const { return timerFreq_; }
    // 0 also turns UseTimer off.
    void SetTimerFreq(int value);
    bool AutoPlay() const { return autoPlay_; }
    void SetAutoPlay(bool value) { autoPlay_ = value; }
    QString StreamName() const { return streamName_; }
    // Closes the open stream.
    void SetStreamName(const QString& value);
    TOutputDevice OutputDevice() const { return outputDevice_; }
    void SetOutputDevice(TOutputDevice value) { outputDevice_ = value; }
    QString OutFilename() const { return outFilename_; }
    void SetOutFilename(const QString& value) { outFilename_ = value; }
    QString PathToDLL() const { return pathToDLL_; }
    void SetPathToDLL(const QString& value) { pathToDLL_ = value; }
    int StartPos() const { return startPos_; }
    void SetStartPos(int value) { startPos_ = value; }
    int EndPos() const { return endPos_; }
    void SetEndPos(int value) { endPos_ = value; }
    int PlayedXTimes() const { return playedXTimes_; }

    // Events.
    std::function<void(int pos, int len)> OnPosUpdate;
    std::function<void(TMPEGPlayer* sender)> OnPlayEnd;

    // Operations; every one raises TMPEGError.
    void LoadDLL();
    void Open();
    void Play();
    void Pause(bool value);
    void Restart();
    void Stop();
    void Close();
    int GetPlayerMode();
    int GetCurrentPos();
    int GetLength();

    // The position timer's handler.
    virtual void PositionTimerTick();

    // State, for callers and tests.
    bool Loaded() const { return library_ != nullptr; }
    bool Opened() const { return opened_; }
    bool Playing() const { return playing_; }
    bool Paused() const { return paused_; }
    bool Ended() const;
    // The length read at Open, in milliseconds.
    int StreamLength() const { return streamLength_; }
    int32_t LastErrorCode() const { return lastError_; }
    // The device code handed to the library: 0 whenever OutFilename is empty.
    int32_t DeviceCode() const;
    QTimer* PositionTimer() const { return timer_; }

private:
    void checkLoaded() const;
    void checkError();
    void setEnded(bool value);
    void startPositionTimer();
    void onTimer();

    void* library_ = nullptr;
    Functions fn_;
    QTimer* timer_ = nullptr;

    bool seekable_ = false;
    bool fromStream_ = false;
    int32_t priority_ = 0;
    bool useTimer_ = true;
    int timerFreq_ = 1000;
    bool autoPlay_ = false;
    QString streamName_;
    TOutputDevice outputDevice_ = TOutputDevice::wavemapper;
    QString outFilename_;
    QString pathToDLL_;
    int startPos_ = 0;
    int endPos_ = 0;
    int playedXTimes_ = 0;

    bool opened_ = false;
    bool playing_ = false;
    bool paused_ = false;
    // Written by the library's thread, read and cleared here.
    uint8_t ended_ = 0;
    int streamLength_ = 0;
    int32_t lastError_ = 0;
};

}  // namespace music
