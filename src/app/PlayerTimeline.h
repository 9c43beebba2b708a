// Where the preview player is in the show, apart from any window: the frame
// shown, where stepping and seeking land, the clock that moves the frame on
// while playing, and which frames to draw ahead of it. The window feeds it
// the time and shows what it says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace app {

class PlayerTimeline {
public:
    // A show of 'frameCount' frames at 'frameRate', its pictures starting at
    // 'pictureStarts' (the first at 0, ascending).
    PlayerTimeline(int64_t frameCount, double frameRate, std::vector<int64_t> pictureStarts);

    int64_t frame() const { return frame_; }
    int64_t frameCount() const { return frameCount_; }
    bool playing() const { return playing_; }
    // The picture frame 'frame' belongs to, from 0.
    size_t PictureOf(int64_t frame) const;
    // The show time of the frame shown, in seconds.
    double Seconds() const { return static_cast<double>(frame_) / rate_; }

    // Where the keys and the seek bar take the player. Seeking while playing
    // plays on from there; the frame steps pause first.
    void Seek(int64_t frame, double now);
    void StepFrame(int delta);
    void NextPicture(double now);
    // The start of the picture shown, or of the one before when at its start.
    void PreviousPicture(double now);

    void Play(double now);
    void Pause();

    // While playing: moves to the frame the clock has reached at monotonic
    // time 'now' (seconds) and gives it. 'musicSeconds' is where the music
    // is while it sounds: it drives the clock, which runs on between its
    // steps and stands still until it first moves. Past the last frame the
    // player stops there.
    int64_t Advance(double now, std::optional<double> musicSeconds);

    // The frames to have drawn next: the one shown and, while playing, up to
    // 'ahead' after it, less those in 'have'.
    std::vector<int64_t> Wanted(int ahead, const std::set<int64_t>& have) const;

    // "0:12 / 1:05 — picture 3 of 14".
    std::string StatusText() const;

private:
    void Anchor(double showSeconds, double now);
    int64_t Clamp(int64_t frame) const;

    int64_t frameCount_;
    double rate_;
    std::vector<int64_t> starts_;
    int64_t frame_ = 0;
    bool playing_ = false;
    // The clock: show time 'anchorShow_' at monotonic time 'anchorNow_'.
    double anchorShow_ = 0;
    double anchorNow_ = 0;
    // The music's time when the clock last took it, and whether it has moved
    // since playing began.
    std::optional<double> lastMusic_;
    bool musicMoved_ = false;
};

}  // namespace app
