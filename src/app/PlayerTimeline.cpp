#include "app/PlayerTimeline.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/LengthText.h"

namespace app {

PlayerTimeline::PlayerTimeline(int64_t frameCount, double frameRate,
                               std::vector<int64_t> pictureStarts)
    : frameCount_(std::max<int64_t>(frameCount, 1)),
      rate_(frameRate),
      starts_(std::move(pictureStarts)) {
    if (starts_.empty()) starts_.push_back(0);
}

int64_t PlayerTimeline::Clamp(int64_t frame) const {
    return std::clamp<int64_t>(frame, 0, frameCount_ - 1);
}

size_t PlayerTimeline::PictureOf(int64_t frame) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), frame);
    return after == starts_.begin() ? 0 : static_cast<size_t>(after - starts_.begin() - 1);
}

void PlayerTimeline::Anchor(double showSeconds, double now) {
    anchorShow_ = showSeconds;
    anchorNow_ = now;
    lastMusic_.reset();
    musicMoved_ = false;
}

void PlayerTimeline::Seek(int64_t frame, double now) {
    frame_ = Clamp(frame);
    Anchor(Seconds(), now);
}

void PlayerTimeline::StepFrame(int delta) {
    Pause();
    frame_ = Clamp(frame_ + delta);
}

void PlayerTimeline::NextPicture(double now) {
    const size_t picture = PictureOf(frame_);
    Seek(picture + 1 < starts_.size() ? starts_[picture + 1] : frameCount_ - 1, now);
}

void PlayerTimeline::PreviousPicture(double now) {
    const size_t picture = PictureOf(frame_);
    if (frame_ > starts_[picture] || picture == 0)
        Seek(starts_[picture], now);
    else
        Seek(starts_[picture - 1], now);
}

void PlayerTimeline::Play(double now) {
    // Played to the end, play starts over.
    if (frame_ >= frameCount_ - 1) frame_ = 0;
    playing_ = true;
    Anchor(Seconds(), now);
}

void PlayerTimeline::Pause() {
    playing_ = false;
}

int64_t PlayerTimeline::Advance(double now, std::optional<double> musicSeconds) {
    if (!playing_) return frame_;
    if (musicSeconds) {
        // The card takes the music in blocks: each new value is the start
        // of the block now sounding, and the clock runs on from it.
        if (lastMusic_ && *musicSeconds != *lastMusic_) musicMoved_ = true;
        if (!lastMusic_ || *musicSeconds != *lastMusic_) {
            anchorShow_ = *musicSeconds;
            anchorNow_ = now;
        }
        lastMusic_ = musicSeconds;
        if (!musicMoved_) anchorNow_ = now;  // waits for the first sound
    } else if (lastMusic_) {
        // The music ended: the clock goes on from where it was.
        Anchor(anchorShow_ + (now - anchorNow_), now);
    }
    const double seconds = anchorShow_ + (now - anchorNow_);
    const double due = std::floor(seconds * rate_ + 1e-9);
    if (due >= static_cast<double>(frameCount_ - 1)) {
        frame_ = frameCount_ - 1;
        playing_ = false;
    } else {
        frame_ = Clamp(static_cast<int64_t>(due));
    }
    return frame_;
}

std::vector<int64_t> PlayerTimeline::Wanted(int ahead, const std::set<int64_t>& have) const {
    std::vector<int64_t> wanted;
    const int64_t last = playing_ ? std::min(frame_ + ahead, frameCount_ - 1) : frame_;
    for (int64_t frame = frame_; frame <= last; ++frame)
        if (!have.contains(frame)) wanted.push_back(frame);
    return wanted;
}

std::string PlayerTimeline::StatusText() const {
    const auto whole = [this](int64_t frames) {
        return static_cast<int64_t>(static_cast<double>(frames) / rate_);
    };
    return model::FormatClock(whole(frame_)) + " / " + model::FormatClock(whole(frameCount_)) +
           " \u2014 picture " + std::to_string(PictureOf(frame_) + 1) + " of " +
           std::to_string(starts_.size());
}

}  // namespace app
