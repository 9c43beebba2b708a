// Lengths of music files as the Music step shows them, and the length pass
// that measures the rows of the music list that have none yet.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "model/MediaLists.h"
#include "sound/TrackMeasure.h"

namespace music {

// H:MM:SS of the whole seconds (truncated); "0:00:00" below 1 ms. Hours keep
// counting past 24: a length is a duration, not a time of day.
std::string FormatMusicLength(int32_t milliseconds);

// A row has a length when it has both length fields and LengthMs is an
// integer other than the exact text "0" (the mark of a length not yet
// measured). -1, a file that could not be measured, counts as a length.
bool HasMusicLength(const model::TMusicEntry& entry);

// The length pass: visits the rows in list order and measures each row whose
// file exists and that has no length, or whose -1 was stored for a file of
// another size or time (or of none known): MP3 files through the shared
// player, the other formats through FFmpeg, and every file's loudness and
// beats (also of rows that have a length but no loudness or beats yet). A file that cannot be
// measured gets -1 and the reason in Fault. The row's path itself is left as
// it is, the file's stamp is kept with the length. Returns the number of
// lengths measured.
// Measuring closes what the shared player had open, so music playing from
// it stops at the first file measured.
int MeasureMusicLengths(model::MusicList& list);

// The length pass in three steps, so its slow middle can run on a thread of
// its own while the list stays in the window: one job per file that some row
// needs measured, in list order.
struct LengthJob {
    std::string listedPath;  // as the rows name it
    std::string path;        // the file itself
    std::string stamp;       // the file's stamp, taken before decoding
    // Decoded in full through FFmpeg (thread-safe); empty until then.
    std::optional<base::Result<sound::TrackFacts>> facts;
};
std::vector<LengthJob> PendingLengthJobs(const model::MusicList& list);
// Decodes the job's file; 'cancelled' ends a long file early, leaving the
// job undone.
void DecodeLengthJob(LengthJob& job, const std::function<bool()>& cancelled = {});
// Writes a decoded job into every row that names its file and still needs
// it (rows may have moved or gone since the job was planned); an MP3 file's
// length comes from the shared player here, so this runs where the player
// lives. Returns the number of lengths written.
int ApplyLengthJob(model::MusicList& list, const LengthJob& job);

}  // namespace music
