// The show as a value: the settings record with everything kept beside it
// that a build, the show's timing, a preview or a disc plan reads (each
// picture's caption, interval, effects and motion; the measured length,
// loudness and faults of the music). Whoever uses a show owns one: the
// window its working show, the headless command the show of the project it
// builds, a test the show it made. A copy can be changed or handed to
// another thread without touching anyone else's.
//
// The store ("options.dat" or a project) is only where a show is kept
// between runs: LoadShow reads one out of it, StoreShow writes one back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/IniFile.h"
#include "model/MediaLists.h"
#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "model/MusicBeats.h"
#include "model/MusicMixSettings.h"
#include "model/PictureFocus.h"
#include "model/Settings.h"
#include "model/StyleSet.h"
#include "model/TitleCard.h"

namespace model {

struct Show {
    TslSettings settings;
    // The store sections kept with the show, as stored: the per-picture ones
    // (PerPictureSections), the title cards' (TitleCardSections) and the
    // music's measured facts (MusicNoteSections).
    IniFile notes;
    // Checked music the last collect step could not give the show, each with
    // why: files that are gone, and files without a usable length.
    std::vector<LeftOutMusic> leftOutMusic;

    // Seconds the picture stays on screen: its own interval, else (also when
    // the stored text is not a number) the show's.
    int32_t IntervalOf(std::string_view path) const;
    bool HasOwnInterval(std::string_view path) const;
    // The picture's own effect set, else the show's.
    StyleSet EffectsOf(std::string_view path) const;
    // The picture's own caption (which may be empty: no caption), if it has one.
    std::optional<std::string> OwnCaption(std::string_view path) const;
    // The picture's own caption, else CaptionDefault(path): the text the
    // per-picture dialog offers to edit; a title card's title.
    std::string CaptionOf(std::string_view path) const;
    // The picture's own motion when it can be read, else the show's.
    MotionSetting MotionOf(std::string_view path) const;
    // The picture's own fit when it can be read, else the show's.
    MotionFit MotionFitOf(std::string_view path) const;
    // The point the user chose in the picture, if any.
    std::optional<FocusPoint> FocusOf(std::string_view path) const;
    // The picture's own caption style when it can be read, else the show's.
    CaptionStyle CaptionStyleOf(std::string_view path) const;
    // The title card the path names, nullopt for a picture.
    std::optional<TitleCard> TitleCardOf(std::string_view path) const {
        return ReadTitleCard(notes, path);
    }
    // The measured length of a music file in milliseconds ("Mp3Length"), 0
    // when it was never measured.
    int64_t MusicLengthMs(const std::string& path) const;
    std::optional<StoredLoudness> LoudnessOf(const std::string& path) const;
    // The music file's beats, nullopt when not measured or unreadable.
    std::optional<StoredBeats> BeatsOf(const std::string& path) const;
};

// The show a store holds: the record from its settings, the pictures and
// music lists from its "Pictures" and "Music" sections (checked entries that
// exist, folders expanded; the pictures shuffled once when ImageSequence
// asks for it), and its notes.
Show LoadShow(const IniFile& store);

// Writes the record and the per-picture notes into a store; its music facts
// and lists are the collect step's to write (CollectWorkingState).
void StoreShow(const Show& show, IniFile& store);

// Writes the show into the working store and the store to disk; once when
// the program ends, however it ends (also on "Undo and Exit"). A store never
// opened is left alone. Never throws; returns whether the file was written.
bool SaveWorkingShow(const Show& show) noexcept;

// Replaces the show's notes of the music by the store's.
void TakeMusicNotes(const IniFile& store, Show& show);

}  // namespace model
