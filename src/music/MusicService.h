// The music service: one process-wide MP3 player shared by the Play button
// and the length measurement, and one player of mixed music (MixPlayer) for
// the preview and the formats other than MP3; only one of them sounds at a
// time. Playback problems never reach the user, every operation swallows its
// errors, save one: a missing sound card, which Play and the preview report
// since the music would otherwise play unheard.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "music/MPEGPlayer.h"
#include "music/MixPlayer.h"

namespace music {

// The shared player, created and configured on first use (its library load
// is tried once; a failure leaves a player without a library).
TMPEGPlayer& SharedPlayer();
// The shared player if it exists, else null.
TMPEGPlayer* SharedPlayerIfAny();

// Plays the file from the start: an MP3 file on the shared player, any
// other music through FFmpeg. A fault when no sound card can be opened.
[[nodiscard]] base::Status PlayMusicFile(const QString& path);

// Plays the show's music list as the video has it, from 'startMs' into its
// track; a fault likewise.
[[nodiscard]] base::Status PlayShowMusic(std::vector<std::string> files, ShowMix mix,
                                         int64_t startMs = 0);
// Where the show's music is in its track, in milliseconds, while it sounds.
std::optional<int64_t> ShowMusicPlayedMs();

// Stops the mixed music, and stops and closes the MP3 stream when the
// library reports it playing; with `destroy` the shared player is destroyed
// too (the next use creates a new one and loads the library again).
void StopMusic(bool destroy);

// The length of a music file in milliseconds, or why it has none: an MP3
// file's from the shared player (closing the stream it had open, ending any
// music playing from it), another format's from decoding it.
[[nodiscard]] base::Result<int32_t> GetMusicLength(const QString& path);

}  // namespace music
