#include "model/MediaLists.h"

#include <algorithm>

#include "model/FileIo.h"
#include "model/LengthText.h"
#include "model/MediaPaths.h"
#include "model/Text.h"
#include "model/TitleCard.h"

namespace model {

namespace {

constexpr const char* kPictures = "Pictures";
constexpr const char* kMusic = "Music";
constexpr const char* kMp3Length = "Mp3Length";
constexpr const char* kMp3Stamp = "Mp3Stamp";
constexpr const char* kMusicLoudness = "MusicLoudness";
constexpr const char* kMusicFault = "MusicFault";
constexpr const char* kMusicBeats = "MusicBeats";

// Music shorter than this is treated as unmeasured and left out of the show.
constexpr int32_t kShortestMusicMs = 10;

}  // namespace

std::span<const char* const> MusicNoteSections() {
    static const char* const sections[] = {kMp3Length, kMp3Stamp, kMusicLoudness, kMusicFault,
                                           kMusicBeats};
    return sections;
}

void TMusicEntry::SetLength(int32_t milliseconds) {
    HasLength = true;
    LengthMs = std::to_string(milliseconds);
    LengthText = FormatLengthText(milliseconds);
}

void ImageList::FillFromStore(const IniFile& store) {
    Clear();
    for (const std::string& key : store.ReadSection(kPictures))
        Append({key, store.ReadBool(kPictures, key, true)});
    Select(Empty() ? -1 : 0);
}

void ImageList::WriteToStore(IniFile& store) const {
    store.EraseSection(kPictures);
    for (const TImageEntry& entry : entries_) {
        std::string path = entry.Path;
        if (IsTitleCard(path) || ResolveMediaPath(path))
            store.WriteBool(kPictures, path, entry.Checked);
        else if (FolderExists(entry.Path))
            store.WriteBool(kPictures, entry.Path, entry.Checked);
    }
}

void ImageList::CollectInto(std::vector<std::string>& pictures, FolderTypes types) const {
    pictures.clear();
    for (const TImageEntry& entry : entries_) {
        if (!entry.Checked) continue;
        std::string path = entry.Path;
        if (IsTitleCard(path)) {
            pictures.push_back(std::move(path));
            continue;
        }
        if (!ResolveMediaPath(path)) continue;
        if (FolderExists(path))
            ExpandImageFolder(path, pictures, types);
        else
            pictures.push_back(std::move(path));
    }
}

void MusicList::FillFromStore(const IniFile& store) {
    Clear();
    for (const std::string& key : store.ReadSection(kMusic)) {
        TMusicEntry entry;
        entry.Path = key;
        entry.Checked = store.ReadBool(kMusic, key, false);
        entry.HasLength = true;
        entry.LengthMs = store.ReadString(kMp3Length, key, "0");
        entry.LengthText = FormatLengthText(store.ReadInteger(kMp3Length, key, 0));
        entry.Stamp = store.ReadString(kMp3Stamp, key, "");
        entry.Loudness = store.ReadString(kMusicLoudness, key, "");
        entry.Fault = store.ReadString(kMusicFault, key, "");
        entry.Beats = store.ReadString(kMusicBeats, key, "");
        Append(std::move(entry));
    }
}

void MusicList::WriteToStore(IniFile& store) const {
    store.EraseSection(kMusic);
    for (const TMusicEntry& entry : entries_) {
        std::string path = entry.Path;
        if (ResolveMediaPath(path)) store.WriteBool(kMusic, path, entry.Checked);
    }
}

void MusicList::CollectInto(std::vector<std::string>& music, IniFile& store) const {
    music.clear();
    for (const TMusicEntry& entry : entries_) {
        if (!entry.HasLength) continue;
        const auto lengthMs = ParseInteger(entry.LengthMs);
        if (!lengthMs) continue;
        std::string path = entry.Path;
        const bool exists = ResolveMediaPath(path);
        if (entry.Checked && exists && *lengthMs > kShortestMusicMs) music.push_back(path);
        // The build sums lengths under the resolved path, so a relative
        // entry keeps its length there too.
        const auto keep = [&](const std::string& key) {
            store.WriteInteger(kMp3Length, key, *lengthMs);
            if (!entry.Stamp.empty()) store.WriteString(kMp3Stamp, key, entry.Stamp);
            if (!entry.Loudness.empty()) store.WriteString(kMusicLoudness, key, entry.Loudness);
            if (!entry.Fault.empty()) store.WriteString(kMusicFault, key, entry.Fault);
            if (!entry.Beats.empty()) store.WriteString(kMusicBeats, key, entry.Beats);
        };
        keep(entry.Path);
        if (exists && path != entry.Path) keep(path);
    }
}

std::vector<LeftOutMusic> MusicWithoutLength(const IniFile& store) {
    std::vector<LeftOutMusic> leftOut;
    for (const std::string& key : store.ReadSection(kMusic)) {
        std::string path = key;
        if (!store.ReadBool(kMusic, key, false) || !ResolveMediaPath(path)) continue;
        const auto lengthMs = ParseInteger(store.ReadString(kMp3Length, key, ""));
        if (lengthMs && *lengthMs > kShortestMusicMs) continue;
        std::string reason;
        if (!lengthMs || *lengthMs == 0)
            reason = "its length is not known";
        else if (*lengthMs < 0)
            reason = store.ReadString(kMusicFault, key, "it could not be read as MP3 music");
        else
            reason = "it lasts only " + std::to_string(*lengthMs) + " ms";
        leftOut.push_back({std::move(path), std::move(reason)});
    }
    return leftOut;
}

std::vector<LeftOutMusic> MissingMusic(const MusicList& list) {
    std::vector<LeftOutMusic> missing;
    for (const TMusicEntry& entry : list.Entries()) {
        std::string path = entry.Path;
        if (!entry.Checked || ResolveMediaPath(path)) continue;
        const auto named = [&](const LeftOutMusic& left) { return left.path == path; };
        if (std::any_of(missing.begin(), missing.end(), named)) continue;
        missing.push_back({std::move(path), "the file is missing (moved or deleted)"});
    }
    return missing;
}

}  // namespace model
