// The keys of the settings record in the options store: one row per key,
// naming its section, its name and the field it fills. The stored form
// follows from the field's type, and the default is the record's own (see
// ReadSettings). Loading and saving both walk these rows, so a key is read
// and written under one spelling, once per save.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "model/MotionSetting.h"
#include "model/Settings.h"
#include "model/StyleSet.h"
#include "model/VideoFormatKeys.h"

namespace model {

// A number stored by name ("mp4-1080p", "4:3"). A name this program does
// not know leaves the field as the rows before gave it, and a project
// holding one is refused (CheckVideoKeys). A number without a name (a
// hand-edited VideoType) deletes the key, so that the row storing the
// number alone still says what it said.
struct NamedField {
    uint8_t TslSettings::*field;
    std::span<const NamedValue> names;
    const char* what;  // in the refusal: "video format"
};

// The show's effect selection, read with the record but written only by the
// collect step from the effect tree (CollectWorkingState): a save from the
// record alone, "Undo and Exit" among them, keeps the stored selection.
struct CollectedStyles {
    StyleSet TslSettings::*field;
};

// Stored forms: int32_t as decimal; uint8_t as decimal, of which the low 8
// bits are kept; uint32_t (a colour 0x00BBGGRR) as its int32_t; bool as 1 or
// 0; text as it is; motion as MotionText and a caption style as
// CaptionStyleText (a show without motion, or with the default caption
// style, writes no key unless the store holds one); the fit by name (a show
// that fills writes no key unless the store holds one, so older files save
// unchanged).
using SettingsField =
    std::variant<int32_t TslSettings::*, uint8_t TslSettings::*, uint32_t TslSettings::*,
                 bool TslSettings::*, std::string TslSettings::*, MotionSetting TslSettings::*,
                 MotionFit TslSettings::*, CaptionStyle TslSettings::*, NamedField,
                 CollectedStyles>;

struct SettingsKey {
    // "Set", or "set" where that spelling has always been written; section
    // names ignore case, so both meet in one section.
    const char* section;
    const char* name;
    SettingsField field;
};

// Every row, in the order a save writes them.
std::span<const SettingsKey> SettingsKeys();

// Reads every row into a record that starts from the record's defaults,
// with the two that depend on the store and the installation: the
// background folder under ProgramDir(), and a music fade-out and motion for
// a store without settings (kNewShowFadeOutMs, kNewShowMotion,
// kNewShowMotionFit). The show
// lists are left as they are.
void ReadSettings(const IniFile& store, TslSettings& settings);
// Writes every row the save writes.
void WriteSettings(IniFile& store, const TslSettings& settings);

}  // namespace model
