#include "music/MusicLength.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cmath>

#include "model/FileIo.h"
#include "model/LengthText.h"
#include "model/MediaPaths.h"
#include "model/MusicBeats.h"
#include "model/MusicMixSettings.h"
#include "model/Text.h"
#include "music/MusicService.h"
#include "sound/MusicFormats.h"
#include "sound/TrackMeasure.h"

namespace music {

std::string FormatMusicLength(int32_t milliseconds) {
    return model::FormatLengthText(milliseconds);
}

bool HasMusicLength(const model::TMusicEntry& entry) {
    // A garbled stored length is measured again rather than kept forever:
    // the show would never take the file.
    return entry.HasLength && entry.LengthMs != "0" && model::ParseInteger(entry.LengthMs);
}

namespace {

// A file that could not be measured may have been replaced or repaired
// since; one that has not changed would only fail again.
bool StoredLengthHolds(const model::TMusicEntry& entry, const std::string& path) {
    return entry.LengthMs != "-1" || entry.Stamp == model::FileStamp(path);
}

enum class Need { Nothing, Facts, Length };

// What a row still lacks: lengths measured before loudness or beats were
// kept get them once; a file that cannot be read has none to give.
Need NeedOf(const model::TMusicEntry& entry, std::string* path) {
    *path = entry.Path;
    if (!model::ResolveMediaPath(*path)) return Need::Nothing;
    if (!HasMusicLength(entry) || !StoredLengthHolds(entry, *path)) return Need::Length;
    const bool factsMissing = entry.Loudness.empty() || entry.Beats.empty();
    return factsMissing && entry.LengthMs != "-1" ? Need::Facts : Need::Nothing;
}

std::string LoudnessTextOf(const base::Result<sound::TrackFacts>& facts) {
    if (!facts || !std::isfinite(facts->lufs)) return model::LoudnessText(std::nullopt);
    return model::LoudnessText(model::StoredLoudness{facts->lufs, facts->peak});
}

std::string BeatsTextOf(const base::Result<sound::TrackFacts>& facts) {
    if (!facts) return model::BeatsText({});
    return model::BeatsText(model::StoredBeats{facts->beats.tempo, facts->beats.beatsMs});
}

// The length of a decoded file: MP3 lengths stay the MP3 library's, the
// other formats' come from decoding the file whole, as the show plays it.
void SetLengthOf(model::TMusicEntry& entry, const LengthJob& job,
                 std::optional<base::Result<int32_t>>& mpegLength) {
    const base::Result<sound::TrackFacts>& facts = *job.facts;
    const sound::MusicFormat* format = sound::MusicFormatOf(job.path);
    entry.Fault.clear();
    if (format && format->decoder == sound::MusicDecoder::MpegLibrary) {
        if (!mpegLength) mpegLength = GetMusicLength(QFile::decodeName(job.path.c_str()));
        entry.SetLength(*mpegLength ? **mpegLength : -1);
        if (!*mpegLength) entry.Fault = mpegLength->message();
    } else if (facts) {
        entry.SetLength(facts->lengthMs);
    } else {
        entry.SetLength(-1);
        entry.Fault = facts.message();
    }
    entry.Stamp = job.stamp;
}

}  // namespace

std::vector<LengthJob> PendingLengthJobs(const model::MusicList& list) {
    std::vector<LengthJob> jobs;
    for (const model::TMusicEntry& entry : list.Entries()) {
        std::string path;
        if (NeedOf(entry, &path) == Need::Nothing) continue;
        const bool planned = std::any_of(jobs.begin(), jobs.end(), [&](const LengthJob& job) {
            return job.listedPath == entry.Path;
        });
        if (!planned) jobs.push_back(LengthJob{entry.Path, path, {}, std::nullopt});
    }
    return jobs;
}

void DecodeLengthJob(LengthJob& job, const std::function<bool()>& cancelled) {
    // Taken before decoding: a file that changes meanwhile is measured again.
    job.stamp = model::FileStamp(job.path);
    base::Result<sound::TrackFacts> facts = sound::MeasureTrack(job.path, cancelled);
    if (cancelled && cancelled()) return;
    job.facts = std::move(facts);
}

int ApplyLengthJob(model::MusicList& list, const LengthJob& job) {
    if (!job.facts) return 0;
    int measured = 0;
    std::optional<base::Result<int32_t>> mpegLength;
    for (size_t row = 0; row < list.Count(); ++row) {
        model::TMusicEntry& entry = list.At(row);
        std::string path;
        if (entry.Path != job.listedPath) continue;
        const Need need = NeedOf(entry, &path);
        if (need == Need::Nothing || path != job.path) continue;
        entry.Loudness = LoudnessTextOf(*job.facts);
        entry.Beats = BeatsTextOf(*job.facts);
        if (need != Need::Length) continue;
        SetLengthOf(entry, job, mpegLength);
        ++measured;
    }
    return measured;
}

int MeasureMusicLengths(model::MusicList& list) {
    int measured = 0;
    for (LengthJob& job : PendingLengthJobs(list)) {
        DecodeLengthJob(job);
        measured += ApplyLengthJob(list, job);
    }
    return measured;
}

}  // namespace music
