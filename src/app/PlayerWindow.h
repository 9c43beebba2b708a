// The preview window: a player of the show whose every frame is the video's.
// Frames come from PlayerFrames (the build's renderer on its own thread), the
// position from PlayerTimeline; the window keeps the frames drawn ahead,
// paints the newest one due, scaled to the window at the video's display
// proportions, and drops those the clock has passed. The clock is the
// music's while it sounds. Space plays and pauses, Left and Right step a
// frame, PageUp and PageDown (or Ctrl with Left and Right) a picture, Home
// and End go to the ends, F11 fills the screen and Escape leaves it, or
// closes the window.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/PlayerFrames.h"
#include "app/PlayerTimeline.h"

class QLabel;
class QPushButton;
class QSlider;

namespace app {

// The show's music as the player drives it; empty functions play none.
struct PlayerMusic {
    // Plays the music from 'seconds' into the show.
    std::function<void(double seconds)> start;
    std::function<void()> stop;
    // Where the music is while it sounds, in seconds of the show.
    std::function<std::optional<double>()> position;
};

class PlayerWindow : public QDialog {
    Q_OBJECT

public:
    // 'prepared' must be ready.
    PlayerWindow(video::PreparedShow prepared, PlayerMusic music, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // The size the picture takes when the window opens.
    void SetPictureSize(const QSize& size);

    const PlayerTimeline& Timeline() const { return timeline_; }
    // The frame painted, and its picture at the display's proportions.
    int64_t PaintedFrame() const { return paintedFrame_; }
    const QImage& PaintedImage() const { return painted_; }
    QWidget& PictureArea() const { return *view_; }
    QSlider& SeekBar() const { return *seekBar_; }
    QLabel& Status() const { return *status_; }
    QPushButton& PlayButton() const { return *playButton_; }

    void Play();
    void Pause();
    void Seek(int64_t frame);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    double Now() const;
    void StartMusic();
    void StopMusic();
    // Takes the frames drawn, paints the one due, asks for the next ones and
    // shows where the player is.
    void Update();
    void Tick();

    PlayerMusic music_;
    PlayerTimeline timeline_;
    std::map<int64_t, QImage> ready_;
    QImage painted_;
    int64_t paintedFrame_ = -1;
    QElapsedTimer clock_;
    QTimer ticker_;
    bool updatingBar_ = false;
    QWidget* view_;
    QSlider* seekBar_;
    QLabel* status_;
    QPushButton* playButton_;
    // Last: its thread ends before the rest goes.
    std::unique_ptr<PlayerFrames> frames_;
};

}  // namespace app
