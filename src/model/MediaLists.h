// The image list and the music list as the user edits them, and the steps
// that move them between the working store and the show's own lists.
//
// Plain ordered lists with a check mark per entry and one selected row; the
// main window binds its controls to them. The store keeps them in the
// "Pictures" and "Music" sections (path = 1 or 0) and the measured lengths
// in "Mp3Length" (any music format; the key kept its first name), with the
// file's size and time at measuring in "Mp3Stamp", the loudness in
// "MusicLoudness" and why a file could not be measured in "MusicFault".
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/IniFile.h"
#include "model/MediaPaths.h"

namespace model {

// The sections that hold what the length pass measured of each music file.
std::span<const char* const> MusicNoteSections();

struct TImageEntry {
    std::string Path;  // a picture file, or a folder ending with "/"
    bool Checked = true;
    friend bool operator==(const TImageEntry&, const TImageEntry&) = default;
};

struct TMusicEntry {
    std::string Path;
    bool Checked = true;
    // A freshly added file has no length fields until it is measured.
    bool HasLength = false;
    std::string LengthText;
    std::string LengthMs;  // decimal milliseconds; "0" while unknown
    // The file's size and time when it was measured (FileStamp); empty when
    // not known, as in lists stored before it was kept.
    std::string Stamp;
    // The loudness text of model::LoudnessText; empty until measured.
    std::string Loudness;
    // Why the file could not be measured (LengthMs "-1"); empty otherwise or
    // when not known.
    std::string Fault;
    // The beats text of model::BeatsText; empty until measured.
    std::string Beats;

    void SetLength(int32_t milliseconds);
    friend bool operator==(const TMusicEntry&, const TMusicEntry&) = default;
};

// An ordered list of entries with check marks and one selected row (-1 for
// none). Removing the selected row selects the row that takes its place, or
// the new last row; moving a row carries its selection with it.
template <class Entry>
class EntryList {
public:
    const std::vector<Entry>& Entries() const { return entries_; }
    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const Entry& At(size_t index) const { return entries_.at(index); }
    Entry& At(size_t index) { return entries_.at(index); }

    void Append(Entry entry) { entries_.push_back(std::move(entry)); }
    void Insert(size_t index, Entry entry);
    void Remove(size_t index);
    void Clear() {
        entries_.clear();
        selected_ = -1;
    }
    // Moves the entry at from to position to; false when either is out of range.
    bool Move(size_t from, size_t to);
    // Puts the entries in a new order: 'order' names, for each position, the
    // position its entry had. The selection stays with its entry. False, and
    // nothing moved, unless 'order' names every position once.
    bool Reorder(const std::vector<size_t>& order);
    void SetChecked(size_t index, bool checked) { entries_.at(index).Checked = checked; }

    int Selected() const { return selected_; }
    void Select(int index) { selected_ = index >= 0 && index < Size() ? index : -1; }

protected:
    int Size() const { return static_cast<int>(entries_.size()); }
    std::vector<Entry> entries_;
    int selected_ = -1;
};

class ImageList : public EntryList<TImageEntry> {
public:
    // Entries of "Pictures" in file order, as stored, checked by their value
    // (default checked); the first one selected.
    void FillFromStore(const IniFile& store);
    // Rewrites "Pictures": resolved paths of existing entries and the title
    // cards; entries that no longer exist drop out.
    void WriteToStore(IniFile& store) const;
    // The show's picture list: checked, existing entries and title cards,
    // folders expanded.
    void CollectInto(std::vector<std::string>& pictures, FolderTypes types) const;
};

struct LeftOutMusic {
    std::string path;  // resolved
    std::string reason;
};

class MusicList : public EntryList<TMusicEntry> {
public:
    // Entries of "Music" in file order with their lengths from "Mp3Length";
    // unchecked unless stored as checked.
    void FillFromStore(const IniFile& store);
    // Rewrites "Music" with the resolved paths of existing entries.
    void WriteToStore(IniFile& store) const;
    // The show's music list: checked, existing entries longer than 10 ms.
    // Every known length is written to "Mp3Length" (and its stamp to
    // "Mp3Stamp") under the entry's text, checked or not; a length that is
    // not an integer counts as unknown.
    void CollectInto(std::vector<std::string>& music, IniFile& store) const;
};

// Checked entries of "Music" whose files exist but that CollectInto leaves
// out of the show for want of a usable length in "Mp3Length", each with why.
std::vector<LeftOutMusic> MusicWithoutLength(const IniFile& store);

// Checked entries whose files are gone (moved or deleted since they were
// added), each once: CollectInto leaves them out, and writing the list drops
// them from "Music", so the build learns of them here.
std::vector<LeftOutMusic> MissingMusic(const MusicList& list);

// --- template members ---

template <class Entry>
void EntryList<Entry>::Insert(size_t index, Entry entry) {
    if (index > entries_.size()) index = entries_.size();
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    if (selected_ >= static_cast<int>(index)) ++selected_;
}

template <class Entry>
void EntryList<Entry>::Remove(size_t index) {
    if (index >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    const int removed = static_cast<int>(index);
    if (selected_ > removed)
        --selected_;
    else if (selected_ == removed)
        selected_ = std::min(removed, Size() - 1);
}

template <class Entry>
bool EntryList<Entry>::Move(size_t from, size_t to) {
    if (from >= entries_.size() || to >= entries_.size()) return false;
    Entry entry = std::move(entries_[from]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(from));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(to), std::move(entry));
    const int f = static_cast<int>(from), t = static_cast<int>(to);
    if (selected_ == f)
        selected_ = t;
    else if (f < selected_ && selected_ <= t)
        --selected_;
    else if (t <= selected_ && selected_ < f)
        ++selected_;
    return true;
}

template <class Entry>
bool EntryList<Entry>::Reorder(const std::vector<size_t>& order) {
    if (order.size() != entries_.size()) return false;
    std::vector<bool> seen(order.size(), false);
    for (const size_t from : order) {
        if (from >= order.size() || seen[from]) return false;
        seen[from] = true;
    }
    std::vector<Entry> arranged;
    arranged.reserve(order.size());
    int selected = -1;
    for (size_t to = 0; to < order.size(); ++to) {
        arranged.push_back(std::move(entries_[order[to]]));
        if (static_cast<int>(order[to]) == selected_) selected = static_cast<int>(to);
    }
    entries_ = std::move(arranged);
    selected_ = selected;
    return true;
}

}  // namespace model
