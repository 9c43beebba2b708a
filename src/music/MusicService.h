// The music service: one process-wide MP3 player shared by the Play button,
// the preview window and the length measurement. Playback problems never
// reach the user: every operation swallows its errors.
#pragma once

#include <QString>

#include <cstdint>

#include "music/MPEGPlayer.h"

namespace music {

// The shared player, created and configured on first use (its library load
// is tried once; a failure leaves a player without a library).
TMPEGPlayer& SharedPlayer();
// The shared player if it exists, else null.
TMPEGPlayer* SharedPlayerIfAny();

// Opens the file on the shared player and starts playing it from the start.
void PlayMusicFile(const QString& path);

// Stops and closes the stream when the library reports it playing; with
// `destroy` the shared player is destroyed too (the next use creates a new
// one and loads the library again).
void StopMusic(bool destroy);

// The length of an MP3 file in milliseconds, -1 on any failure. Closes the
// stream the shared player had open, ending any music playing from it.
int32_t GetMusicLength(const QString& path);

}  // namespace music
