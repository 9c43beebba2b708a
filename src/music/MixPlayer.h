// Plays the show's sound track as the video will have it: the music files
// through the mixer (joins, crossfades, fades, even loudness) to the sound
// card through SDL, on a thread of its own. The preview plays the show's
// list with it, and the Play button the formats the MP3 library does not
// read. No sound card: nothing plays, and the player says why.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/Result.h"
#include "sound/MixRules.h"

namespace music {

struct ShowMix {
    sound::MixOptions options;
    int64_t cutEndMs = -1;  // where the show cuts the music; -1 never
    std::function<double(const std::string& path)> gainOf;
};

class SoundDevice;

class MixPlayer {
public:
    // Opens the sound card and starts playing on a thread of its own, from
    // 'startMs' into the mixed track (a preview seeking); without a card
    // nothing plays and Output says why.
    MixPlayer(std::vector<std::string> files, ShowMix mix, int64_t startMs = 0);
    // Stops the sound at once and waits for the thread.
    ~MixPlayer();
    MixPlayer(const MixPlayer&) = delete;
    MixPlayer& operator=(const MixPlayer&) = delete;

    // Whether sound is still going to the card.
    bool Playing() const { return playing_; }
    // Ok while sound goes to a card; else the reason there is none.
    const base::Status& Output() const { return output_; }
    // Where in the track the card is, in milliseconds: the start, then the
    // start of the block the card took from its queue last, which is the one
    // sounding. It moves in the card's blocks, so a clock that follows it
    // extrapolates between changes.
    int64_t PlayedMs() const;

private:
    void run(std::vector<std::string> files, ShowMix mix, int64_t start);

    base::Status output_;
    // Opened before the thread starts, closed after it ends.
    std::unique_ptr<SoundDevice> device_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> playing_{true};
    // Samples from the track's start to the first one queued, and the
    // samples queued since; what the card still holds is asked of it.
    std::atomic<int64_t> startSample_{0};
    std::atomic<int64_t> queuedSamples_{0};
    std::thread thread_;
};

}  // namespace music
