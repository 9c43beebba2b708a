// The show-wide settings record, and the options store over "options.dat"
// with the folders it lives in.
//
// The record is a plain value, part of a model::Show; its keys are rows of
// one table (SettingsKeys.h). The working store is the window's and the
// headless command's hand-over point: the show is loaded out of it and saved
// back into it, on the user-interface thread, so nothing is locked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/CaptionStyle.h"
#include "model/IniFile.h"
#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "model/StyleSet.h"

namespace model {

struct TslSettings {
    uint8_t VideoType = 2;     // 0 VCD, 1 SVCD, 2 DVD, 3 MP4 720p, 4 MP4 1080p, 5 MP4 4K
    uint8_t VideoAspect = 0;   // MP4 only: 0 16:9, 1 4:3, 2 9:16, 3 1:1, 4 4:5
    uint8_t VideoRate = 0;     // MP4 only: 0 the TV standard's, else kVideoRateNames
    uint8_t VideoQuality = 0;  // MP4 only: 0 Standard, 1 High
    uint8_t Subtitles = 0;     // MP4 only: SubtitleMode, a track in the file unless chosen
    uint8_t DvdAspect = 1;     // DVD only, numbered as VideoAspect: 4:3 unless chosen
    int32_t TVSet = 0;         // 1 is NTSC; every other value times as PAL
    // 0 none, 1 fit music to pictures, 2 fit pictures to music, 3 stretch the
    // pictures to the music (a value older programs build as 0 and keep)
    uint8_t MusicSync = 0;
    std::vector<std::string> Pictures;  // the show's pictures, folders expanded
    uint8_t ImageSize = 2;
    bool ClearOldImage = false;
    int32_t ImageInterval = 2;     // seconds per picture
    uint32_t BackgroundColor = 0;  // 0x00BBGGRR
    std::string PicturePath;
    bool TransparentMode = false;
    uint32_t TransparentModeColor = 0;
    uint8_t ImageSequence = 0;       // 0 list order, 1 random in the preview, 2 shuffled at load
    std::vector<std::string> Music;  // the show's music files
    bool PlayMusic = true;
    int32_t MusicFadeInMs = 0;     // fade-in at the start of the show
    int32_t MusicFadeOutMs = 0;    // fade-out where the show cuts the music
    int32_t MusicCrossfadeMs = 0;  // between tracks; 0 joins them gaplessly
    bool EvenLoudness = false;
    bool RandomMusic = false;
    bool LoopMusic = true;
    std::string MusicPath;
    int32_t EffectSpeed2 = 4;  // 1 fastest .. 5 slowest
    StyleSet useeffects = DefaultStyleSet();
    bool ShowCaption = false;
    CaptionStyle Caption;  // the look of every caption without its own
    // Pictures without a caption of their own show this (CaptionSource.h):
    // the file name in a show stored before the choice, nothing in a new one.
    uint8_t CaptionSource = 1;
    uint8_t CaptionDate = 0;  // how a date taken is written (CaptionDate)
    bool Back_Mode_UseColor = true;
    // Each picture over a blurred, enlarged copy of itself; overrides the
    // colour and the background picture.
    bool Back_Mode_Blurred = false;
    // Folders stand for every picture type the program reads, not only
    // their JPEG, GIF and BMP files.
    bool FolderAllTypes = false;
    bool Back_Image_UseTiled = true;
    std::string Back_Image_Filename;
    std::string Back_Image_Path;  // ProgramDir + "background/" unless stored
    MotionSetting Motion;         // pan and zoom of every picture without its own
    // A moving picture of another shape than the frame's cut to fill it, or whole.
    model::MotionFit MotionFit = model::MotionFit::Fill;

    friend bool operator==(const TslSettings&, const TslSettings&) = default;
};

// ImageSequence 2: the pictures are shuffled once, as the show is loaded.
inline bool ShuffledAtLoad(const TslSettings& settings) {
    return settings.ImageSequence == 2;
}

// Product strings; the store's "Set" section may override them.
struct ProductStrings {
    std::string title;
    std::string homepage;
    std::string email;
};
extern const ProductStrings kDefaultProductStrings;
const ProductStrings& Product();

// A file the installation puts in the program folder: the folder belongs to
// every user of the machine and the program never writes in it.
inline constexpr const char* kSharedInstallMarker = "shared-install";

// Folder of the running executable, ending with "/".
const std::string& ProgramDir();
// Folder that holds "options.dat" and the build's temporary video: the
// program folder when it is writable and not an installed copy (one that
// holds kSharedInstallMarker), else the per-user data folder.
const std::string& DataDir();
// DataDir() + "options.dat".
const std::string& OptionsFileName();

// Points the unit at other folders (tests, portable installs). An empty
// text restores the automatic choice. Both close the open stores.
void SetProgramDir(const std::string& folder);
void SetUserDataDir(const std::string& folder);

// The working store; opened over OptionsFileName() on first use.
IniFile& OptionsStore();
bool OptionsStoreOpen();
// Frees the working store; the next use reopens it from disk.
void CloseOptionsStore();

// The effect catalogue ProgramDir() + "VantoSaver.001", opened on first use.
IniFile& CatalogueStore();

// Start-up, and after a project replaced "options.dat": re-seeds the random
// generator, fixes the folders, opens the working store unless it is open
// and reads the product strings from it.
void OpenOptionsStore();

// Shuffles a list: re-seeds from the clock, then takes entries out at
// random indices one at a time.
void ShuffleList(std::vector<std::string>& list);

}  // namespace model
