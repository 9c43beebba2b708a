#include "model/Settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <tuple>
#include <variant>

#include "model/CaptionSource.h"
#include "model/FileIo.h"
#include "model/MediaLists.h"
#include "model/MediaPaths.h"
#include "model/ModelTestUtil.h"
#include "model/PerImage.h"
#include "model/SettingsKeys.h"
#include "model/TitleCard.h"

namespace {

using model::IniFile;
using model_test::ReadText;
using model_test::WriteText;

class SettingsTest : public model_test::ShowFolderTest {};

// Options files as the program writes them, which every later version must
// load to the same record and save byte for byte: the first save of a new
// store ({dir} is the program folder) and a store a user worked in.
constexpr const char* kFirstSave = R"([Set]
ImageSize=2
ImageSequence=0
ClearOldImage=0
PlayMusic=1
RandomMusic=0
LoopMusic=1
ImageInterval=2
BackgroundColor=0
EffectSpeed2=4
PicturePath=
MusicPath=
Back_Mode_UseColor=1
Back_Mode_Blurred=0
FolderAllTypes=0
Back_Image_UseTiled=1
Back_Image_Filename=
Back_Image_Path={dir}background/
TransparentMode=0
TransparentModeColor=0
MusicSync=0
VideoType=2
VideoFormat=dvd
VideoAspect=16:9
VideoShape=16:9
VideoQuality=standard
VideoRate=tv
Subtitles=track
DvdAspect=4:3
TVSet=0
ShowCaption=0
CaptionSource=none
CaptionDate=long
Motion=auto:3
MotionFit=auto
MusicFadeInMs=0
MusicFadeOutMs=2000
MusicCrossfadeMs=0
EvenLoudness=0
)";
constexpr const char* kWorkedIn = R"([Set]
useeffects=5,59,118,
ImageSize=1
ImageSequence=1
ClearOldImage=1
PlayMusic=0
RandomMusic=1
LoopMusic=0
ImageInterval=7
BackgroundColor=1122867
EffectSpeed2=2
PicturePath=/photos/
MusicPath=/music/
Back_Mode_UseColor=0
Back_Mode_Blurred=1
FolderAllTypes=1
Back_Image_UseTiled=0
Back_Image_Filename=sky.jpg
Back_Image_Path=/backgrounds/
TransparentMode=1
TransparentModeColor=16711935
MusicSync=2
VideoType=4
VideoFormat=mp4-1080p
VideoAspect=4:3
VideoShape=4:3
VideoQuality=high
VideoRate=50
Subtitles=track
DvdAspect=16:9
TVSet=1
ShowCaption=1
CaptionSource=date
CaptionDate=month
Motion=zoom-in:4
CaptionStyle=font=DejaVu Serif;size=5.5;colour=#ffff00;edge=outline#000080;box=#101010/40;position=top;align=left;fade=on
MusicFadeInMs=1500
MusicFadeOutMs=2500
MusicCrossfadeMs=3000
EvenLoudness=1
[Pictures]
/photos/a.jpg=1
/photos/b.jpg=0
[Music]
/music/song.mp3=1
[captions]
a.jpg=Beach
)";

// A section's entries in their order, each as "key=value".
std::vector<std::string> Entries(const IniFile& store, std::string_view section) {
    std::vector<std::string> entries;
    for (const std::string& key : store.ReadSection(section))
        entries.push_back(key + "=" + store.ReadString(section, key, ""));
    return entries;
}

// Gives one field of the record a value other than the one it holds.
struct ChangeField {
    model::TslSettings& s;
    void operator()(int32_t model::TslSettings::*field) const { s.*field += 7; }
    void operator()(uint8_t model::TslSettings::*field) const { s.*field ^= 0x81; }
    // A colour with the top bit set also crosses the int32_t it is stored as.
    void operator()(uint32_t model::TslSettings::*field) const { s.*field ^= 0x80A1B2C3; }
    void operator()(bool model::TslSettings::*field) const { s.*field = !(s.*field); }
    void operator()(std::string model::TslSettings::*field) const { s.*field += "/a=b [c]/"; }
    void operator()(model::MotionSetting model::TslSettings::*field) const {
        s.*field = (s.*field).kind == model::MotionKind::PanUp
                       ? model::MotionSetting{}
                       : model::MotionSetting{model::MotionKind::PanUp, 5};
    }
    void operator()(model::MotionFit model::TslSettings::*field) const {
        s.*field =
            s.*field == model::MotionFit::Whole ? model::MotionFit::Fill : model::MotionFit::Whole;
    }
    void operator()(model::CaptionStyle model::TslSettings::*field) const {
        (s.*field).fade = !(s.*field).fade;
    }
    void operator()(const model::NamedField& named) const {
        // The first other value: a default that is not the table's first
        // name must not be changed back by a later one.
        for (const model::NamedValue& value : named.names)
            if (value.value != s.*named.field) {
                s.*named.field = value.value;
                return;
            }
    }
    void operator()(const model::CollectedStyles& styles) const { (s.*styles.field).flip(0); }
};

TEST_F(SettingsTest, FirstStartWithoutOptionsFileHoldsExactlyTheDefaults) {
    LoadWorkingShow();
    const model::TslSettings& s = show_.settings;
    EXPECT_EQ(model::OptionsFileName(), Path("options.dat"));
    EXPECT_EQ(s.VideoType, 2);
    EXPECT_EQ(s.TVSet, 0);
    EXPECT_EQ(s.MusicSync, 0);
    EXPECT_EQ(s.ImageSize, 2);
    EXPECT_FALSE(s.ClearOldImage);
    EXPECT_EQ(s.ImageInterval, 2);
    EXPECT_EQ(s.BackgroundColor, 0u);
    EXPECT_EQ(s.PicturePath, "");
    EXPECT_FALSE(s.TransparentMode);
    EXPECT_EQ(s.TransparentModeColor, 0u);
    EXPECT_EQ(s.ImageSequence, 0);
    EXPECT_TRUE(s.PlayMusic);
    EXPECT_FALSE(s.RandomMusic);
    EXPECT_TRUE(s.LoopMusic);
    EXPECT_EQ(s.MusicPath, "");
    EXPECT_EQ(s.EffectSpeed2, 4);
    EXPECT_FALSE(s.ShowCaption);
    EXPECT_TRUE(s.Back_Mode_UseColor);
    EXPECT_FALSE(s.Back_Mode_Blurred);
    EXPECT_FALSE(s.FolderAllTypes);
    EXPECT_TRUE(s.Back_Image_UseTiled);
    EXPECT_EQ(s.Back_Image_Filename, "");
    EXPECT_EQ(s.Back_Image_Path, Path("background/"));
    EXPECT_TRUE(s.Pictures.empty());
    EXPECT_TRUE(s.Music.empty());
    EXPECT_EQ(s.useeffects.count(), 105u);
    for (int style : {59, 58, 6, 144, 128}) EXPECT_TRUE(s.useeffects.test(style));
    for (int style : {0, 1, 2, 3, 4, 145, 172}) EXPECT_FALSE(s.useeffects.test(style));
    EXPECT_EQ(model::Product().title, "Vanto Slideshow");
    EXPECT_FALSE(model::FileExists(Path("options.dat")));

    // The save at shutdown writes every key of the record once, into one
    // section, as the program has always written a first options file.
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    std::string expected = kFirstSave;
    expected.replace(expected.find("{dir}"), 5, dir_);
    EXPECT_EQ(ReadText(Path("options.dat")), expected);
}

// A store a user has worked in: the lists, the collect step's effect
// selection, every option changed in the window, then saved.
TEST_F(SettingsTest, AWorkedInOptionsFileLoadsWholeAndSavesUnchanged) {
    WriteText(Path("options.dat"), kWorkedIn);
    LoadWorkingShow();
    model::TslSettings expected;
    expected.VideoType = 4;
    expected.VideoAspect = 1;
    expected.VideoQuality = 1;
    expected.VideoRate = 4;
    expected.DvdAspect = 0;
    expected.TVSet = 1;
    expected.MusicSync = 2;
    expected.ImageSize = 1;
    expected.ClearOldImage = true;
    expected.ImageInterval = 7;
    expected.BackgroundColor = 0x00112233;
    expected.PicturePath = "/photos/";
    expected.TransparentMode = true;
    expected.TransparentModeColor = 0x00FF00FF;
    expected.ImageSequence = 1;
    expected.PlayMusic = false;
    expected.MusicFadeInMs = 1500;
    expected.MusicFadeOutMs = 2500;
    expected.MusicCrossfadeMs = 3000;
    expected.EvenLoudness = true;
    expected.RandomMusic = true;
    expected.LoopMusic = false;
    expected.MusicPath = "/music/";
    expected.EffectSpeed2 = 2;
    expected.useeffects = model::ParseStyleSet("5,59,118,");
    expected.ShowCaption = true;
    expected.CaptionSource = 2;
    expected.CaptionDate = 2;
    expected.Back_Mode_UseColor = false;
    expected.Back_Mode_Blurred = true;
    expected.FolderAllTypes = true;
    expected.Back_Image_UseTiled = false;
    expected.Back_Image_Filename = "sky.jpg";
    expected.Back_Image_Path = "/backgrounds/";
    expected.Motion = {model::MotionKind::ZoomIn, 4};
    expected.Caption = {"DejaVu Serif",
                        5.5,
                        0xFFFF00,
                        model::CaptionEdge::Outline,
                        0x000080,
                        true,
                        0x101010,
                        40,
                        model::CaptionPosition::Top,
                        model::CaptionAlign::Left,
                        true};
    // The lists depend on the files that exist; other tests cover them.
    expected.Pictures = show_.settings.Pictures;
    expected.Music = show_.settings.Music;
    EXPECT_TRUE(show_.settings == expected);
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    EXPECT_EQ(ReadText(Path("options.dat")), kWorkedIn);
}

// A show holds every picture's entries as its store held them: under path
// keys, under the file-name keys of older files, and an own empty effect set
// (cuts only). Put into an empty store it brings them all; put back into a
// store whose entries changed meanwhile, its own replace them, each section
// where it stood rather than erased and added again at the end.
TEST_F(SettingsTest, AShowKeepsEveryPictureEntryThroughLoadAndStore) {
    IniFile stored;
    stored.SetText(
        "[Pictures]\n/photos/=1\n"
        "[motion]\n/photos/^Harbour%3D1.jpg=zoom-in:3\nIMG_0001.jpg=pan-left:2\n"
        "[Set]\nImageInterval=4\n"
        "[captions]\nIMG_0001.jpg=Beach day\n/photos/^Harbour%3D1.jpg=Harbour at dusk\n"
        "[Music]\n"
        "[intervals]\n/photos/^Harbour%3D1.jpg=9\n"
        "[effects]\nIMG_0002.jpg=7,8,\n/photos/^Harbour%3D1.jpg=\n");
    const model::Show show = model::LoadShow(stored);
    ASSERT_EQ(show.CaptionOf("/photos/Harbour=1.jpg"), "Harbour at dusk");

    IniFile fresh;
    model::StoreShow(show, fresh);
    for (const char* section : model::PerPictureSections())
        EXPECT_EQ(Entries(fresh, section), Entries(stored, section)) << section;

    IniFile changed = stored;
    changed.WriteString("captions", "IMG_0001.jpg", "Edited elsewhere");
    changed.DeleteKey("intervals", "/photos/^Harbour%3D1.jpg");
    changed.WriteString("effects", "IMG_0003.jpg", "1,");
    model::StoreShow(show, changed);
    EXPECT_EQ(changed.ReadSections(), stored.ReadSections());
    for (const char* section : model::PerPictureSections())
        EXPECT_EQ(Entries(changed, section), Entries(stored, section)) << section;
}

// The music's measured facts and the lists are the collect step's to write;
// storing a show leaves them as the store holds them, whatever the show has.
TEST_F(SettingsTest, StoringAShowLeavesTheStoresMusicFactsAndListsAlone) {
    IniFile store;
    store.SetText(
        "[Pictures]\n/photos/=1\n/photos/off.jpg=0\n[Music]\n/music/a.mp3=1\n/music/b.mp3=0\n"
        "[Mp3Length]\n/music/a.mp3=185000\n[Mp3Stamp]\n/music/a.mp3=1700000000:4096\n"
        "[MusicLoudness]\n/music/a.mp3=-18.5\n[MusicFault]\n/music/b.mp3=unreadable\n");
    const IniFile before = store;
    model::Show show;
    show.settings.Pictures = {"/photos/a.jpg"};
    show.settings.Music = {"/music/c.mp3"};
    for (const char* section : model::MusicNoteSections())
        show.notes.WriteString(section, "/music/c.mp3", "1");
    model::StoreShow(show, store);
    for (const char* section :
         {"Pictures", "Music", "Mp3Length", "Mp3Stamp", "MusicLoudness", "MusicFault"})
        EXPECT_EQ(Entries(store, section), Entries(before, section)) << section;
}

// What the value is for: a build or a preview plays its copy while the
// window goes on editing its show, and neither reaches the store until a
// show is stored; nor does a later change of the store reach a loaded show.
// The store is the working one, where lookups that read through to it, as
// before the show was a value, would find the later change.
TEST_F(SettingsTest, AChangeToACopyOfAShowReachesNeitherTheOriginalNorTheStore) {
    IniFile& store = model::OptionsStore();
    store.SetText(
        "[Set]\nImageInterval=4\nMotion=pan-left:2\n[captions]\nIMG_0001.jpg=Beach day\n"
        "[intervals]\nIMG_0001.jpg=9\n[Mp3Length]\n/music/a.mp3=185000\n");
    const std::string text = store.Text();
    const std::string picture = "/photos/IMG_0001.jpg";
    const model::MotionSetting panLeft{model::MotionKind::PanLeft, 2};
    const model::Show original = model::LoadShow(store);

    model::Show copy = original;
    copy.settings.ImageInterval = 7;
    copy.settings.Motion = {};
    model::SetOwnEntry(copy.notes, model::kCaptionsSection, picture, "Harbour");
    model::SetOwnEntry(copy.notes, model::kIntervalsSection, picture, std::nullopt);
    model::SetOwnMotion(copy.notes, picture, model::MotionSetting{model::MotionKind::Random, 5});
    copy.notes.WriteString("Mp3Length", "/music/a.mp3", "1000");
    EXPECT_EQ(copy.CaptionOf(picture), "Harbour");
    EXPECT_EQ(copy.IntervalOf(picture), 7);
    EXPECT_EQ(copy.MusicLengthMs("/music/a.mp3"), 1000);

    EXPECT_EQ(original.settings.ImageInterval, 4);
    EXPECT_EQ(original.CaptionOf(picture), "Beach day");
    EXPECT_EQ(original.IntervalOf(picture), 9);
    EXPECT_EQ(original.MotionOf(picture), panLeft);
    EXPECT_EQ(original.MusicLengthMs("/music/a.mp3"), 185000);
    EXPECT_EQ(store.Text(), text);

    store.WriteString("captions", "IMG_0001.jpg", "Edited in the store");
    store.WriteString("Mp3Length", "/music/a.mp3", "2000");
    EXPECT_EQ(original.CaptionOf(picture), "Beach day");
    EXPECT_EQ(original.MusicLengthMs("/music/a.mp3"), 185000);
}

// Every row of the key table: a value other than the one a new store
// gives is saved and read back into a fresh record, and nothing else moves.
TEST_F(SettingsTest, EveryKeyKeepsAChangedValueThroughSaveAndLoad) {
    model::TslSettings fresh;
    model::ReadSettings(IniFile{}, fresh);
    for (const model::SettingsKey& key : model::SettingsKeys()) {
        SCOPED_TRACE(key.name);
        model::TslSettings changed = fresh;
        std::visit(ChangeField{changed}, key.field);
        ASSERT_FALSE(changed == fresh);
        IniFile saved;
        model::WriteSettings(saved, changed);
        IniFile reopened;
        reopened.SetText(saved.Text());
        model::TslSettings loaded;
        model::ReadSettings(reopened, loaded);
        if (std::holds_alternative<model::CollectedStyles>(key.field)) {
            // Left to the collect step: the save neither writes nor changes it.
            EXPECT_FALSE(reopened.ValueExists(key.section, key.name));
            EXPECT_TRUE(loaded == fresh);
        } else {
            EXPECT_TRUE(loaded == changed);
            EXPECT_TRUE(reopened.ValueExists(key.section, key.name));
        }
    }
}

TEST_F(SettingsTest, OddStoredValuesReadAsTheProgramExpects) {
    WriteText(Path("options.dat"),
              "[Set]\nVideoType=258\nPlayMusic=maybe\nLoopMusic=7\nImageSize=-1\n"
              "BackgroundColor=16777215\nImageInterval=abc\nEffectSpeed2=3\n"
              "useeffects=3,200,x,,7\nTVSet=2\nMotion=zoom-in:9\n"
              "CaptionStyle=position=top;size=99\n");
    LoadWorkingShow();
    const model::TslSettings& s = show_.settings;
    EXPECT_EQ(s.TVSet, 2);  // not 1, so frames are timed as PAL
    EXPECT_EQ(s.VideoType, 2);
    EXPECT_TRUE(s.PlayMusic);
    EXPECT_TRUE(s.LoopMusic);
    EXPECT_EQ(s.ImageSize, 255);
    EXPECT_EQ(s.BackgroundColor, 0x00FFFFFFu);
    EXPECT_EQ(s.ImageInterval, 2);
    EXPECT_EQ(s.EffectSpeed2, 3);
    EXPECT_EQ(model::StyleSetText(s.useeffects), "3,");
    EXPECT_EQ(s.Motion, model::MotionSetting{});  // no motion rather than a wild one
    EXPECT_EQ(s.Caption, model::CaptionStyle{});  // all of a damaged style is left out
}

// Each field of a caption style read alone leaves the others at their
// defaults; a value out of its range or of the wrong form refuses the style.
TEST(CaptionStyleTextTest, ReadsEachFieldAndRefusesBadValues) {
    struct Case {
        const char* text;
        bool readable;
    };
    const Case cases[] = {
        {"font=Noto Sans CJK", true},
        {"size=12.5", true},
        {"size=0", true},
        {"size=1", false},
        {"size=21", false},
        {"size=big", false},
        {"colour=#00ff7f", true},
        {"colour=00ff7f", false},
        {"colour=#00ff7", false},
        {"edge=none", true},
        {"edge=shadow#123456", true},
        {"edge=glow", false},
        {"box=#000000", true},
        {"box=#000000/101", false},
        {"box=none", true},
        {"position=center", true},
        {"position=middle", false},
        {"align=right", true},
        {"align=justify", false},
        {"fade=on", true},
        {"fade=yes", false},
        {"shape=round", false},
        {"font", false},
        {"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<model::CaptionStyle> style = model::ParseCaptionStyle(c.text);
        ASSERT_EQ(style.has_value(), c.readable);
        if (!style) continue;
        // Written back, only the field read differs from the default, and it reads the same.
        const std::string text = model::CaptionStyleText(*style);
        EXPECT_EQ(model::ParseCaptionStyle(text), style);
        EXPECT_EQ(text.find(';'), std::string::npos) << text;
    }
}

TEST_F(SettingsTest, MotionIsKeptForTheShowAndForEachPicture) {
    WriteText(Path("options.dat"), "[Set]\nMotion=pan-left:2\n[motion]\na.jpg=zoom-out\nb.jpg=?\n");
    LoadWorkingShow();
    const model::MotionSetting show{model::MotionKind::PanLeft, 2};
    EXPECT_EQ(show_.settings.Motion, show);
    // A picture's own motion, the show's for one without, and for an
    // entry that cannot be read.
    EXPECT_EQ(show_.MotionOf("/photos/a.jpg"),
              (model::MotionSetting{model::MotionKind::ZoomOut, 3}));
    EXPECT_EQ(show_.MotionOf("/photos/b.jpg"), show);
    EXPECT_EQ(show_.MotionOf("/photos/c.jpg"), show);
    model::SetOwnMotion(show_.notes, "/photos/c.jpg",
                        model::MotionSetting{model::MotionKind::Random, 5});
    // Given the show's motion again, the file-name entry no longer applies.
    model::SetOwnMotion(show_.notes, "/photos/a.jpg", std::nullopt);
    EXPECT_EQ(show_.MotionOf("/photos/a.jpg"), show);
    // Switched off, the show's motion stays in the file as "none".
    show_.settings.Motion = model::MotionSetting{};
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    const IniFile saved(Path("options.dat"));
    EXPECT_EQ(saved.ReadString("Set", "Motion", ""), "none");
    const std::string ownKey = model::ImagePathKey("/photos/c.jpg");
    EXPECT_EQ(saved.ReadSection("motion"), (std::vector<std::string>{"b.jpg", ownKey}));
    EXPECT_EQ(saved.ReadString("motion", ownKey, ""), "random:5");
}

// A new show fades its music out where the pictures cut it, aims its
// motion at the faces, moves pictures of other shapes whole where filling
// would cut them and captions nothing it is not given; a store written
// before these existed keeps the hard cut, the still pictures, the filled
// frames and the file names its videos always had. A new project keeps the
// dialogs' folders and still captions nothing.
TEST_F(SettingsTest, NewShowDefaultsKeepTodaysOutputForStoresWrittenBefore) {
    using model::MotionFit;
    using model::MotionKind;
    struct Case {
        const char* text;
        int32_t fadeIn, fadeOut, crossfade;
        bool even;
        model::MotionSetting motion;
        MotionFit fit;
        model::CaptionSource captions;
    };
    using Source = model::CaptionSource;
    const Case cases[] = {
        {"", 0, 2000, 0, false, {MotionKind::Auto, 3}, MotionFit::Auto, Source::None},
        {"[Music]\n", 0, 2000, 0, false, {MotionKind::Auto, 3}, MotionFit::Auto, Source::None},
        {"[Set]\nPicturePath=/photos/\nMusicPath=/music/\n",
         0,
         0,
         0,
         false,
         {},
         MotionFit::Fill,
         Source::None},
        {"[Set]\nVideoType=1\n", 0, 0, 0, false, {}, MotionFit::Fill, Source::FileName},
        {"[Set]\nMusicFadeInMs=1500\nMusicFadeOutMs=0\nMusicCrossfadeMs=3000\nEvenLoudness=1\n"
         "Motion=zoom-in:5\nCaptionSource=date\n",
         1500,
         0,
         3000,
         true,
         {MotionKind::ZoomIn, 5},
         MotionFit::Fill,
         Source::DateTaken},
        {"[Set]\nMotion=auto:2\nMotionFit=whole\nCaptionSource=none\n",
         0,
         0,
         0,
         false,
         {MotionKind::Auto, 2},
         MotionFit::Whole,
         Source::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        model::CloseOptionsStore();
        WriteText(Path("options.dat"), c.text);
        LoadWorkingShow();
        EXPECT_EQ(show_.settings.MusicFadeInMs, c.fadeIn);
        EXPECT_EQ(show_.settings.MusicFadeOutMs, c.fadeOut);
        EXPECT_EQ(show_.settings.MusicCrossfadeMs, c.crossfade);
        EXPECT_EQ(show_.settings.EvenLoudness, c.even);
        EXPECT_EQ(show_.settings.Motion, c.motion);
        EXPECT_EQ(show_.MotionFitOf("/photos/a.jpg"), c.fit);
        EXPECT_EQ(show_.settings.CaptionSource, static_cast<uint8_t>(c.captions));
        // Written once, the values stay what they were read as.
        ASSERT_TRUE(model::SaveWorkingShow(show_));
        model::CloseOptionsStore();
        LoadWorkingShow();
        EXPECT_EQ(show_.settings.MusicFadeOutMs, c.fadeOut);
        EXPECT_EQ(show_.settings.MusicCrossfadeMs, c.crossfade);
        EXPECT_EQ(show_.settings.Motion, c.motion);
        EXPECT_EQ(show_.MotionFitOf("/photos/a.jpg"), c.fit);
        EXPECT_EQ(show_.settings.CaptionSource, static_cast<uint8_t>(c.captions));
    }
}

// A picture's own fit and the point the user chose in it are kept under
// its path, read back as written, and an entry that cannot be read counts
// as none: the show's fit, no focus.
TEST_F(SettingsTest, APicturesFitAndFocusPointAreKeptAndReadBack) {
    WriteText(Path("options.dat"),
              "[Set]\nMotionFit=fill\n[motionfit]\na.jpg=whole\nb.jpg=wide\n"
              "[focus]\na.jpg=0.25,0.75\nb.jpg=1.5,0.2\nc.jpg=0.3\n");
    LoadWorkingShow();
    EXPECT_EQ(show_.MotionFitOf("/photos/a.jpg"), model::MotionFit::Whole);
    EXPECT_EQ(show_.MotionFitOf("/photos/b.jpg"), model::MotionFit::Fill);
    EXPECT_EQ(show_.FocusOf("/photos/a.jpg"), (model::FocusPoint{0.25, 0.75}));
    for (const char* path : {"/photos/b.jpg", "/photos/c.jpg", "/photos/d.jpg"})
        EXPECT_EQ(show_.FocusOf(path), std::nullopt) << path;
    model::SetOwnFocus(show_.notes, "/photos/d.jpg", model::FocusPoint{0.123456, 0.9});
    model::SetOwnMotionFit(show_.notes, "/photos/d.jpg", model::MotionFit::Auto);
    model::SetOwnFocus(show_.notes, "/photos/a.jpg", std::nullopt);
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    model::CloseOptionsStore();
    LoadWorkingShow();
    EXPECT_EQ(show_.FocusOf("/photos/a.jpg"), std::nullopt);
    EXPECT_EQ(show_.FocusOf("/photos/d.jpg"), (model::FocusPoint{0.1235, 0.9}));
    EXPECT_EQ(show_.MotionFitOf("/photos/d.jpg"), model::MotionFit::Auto);
}

TEST_F(SettingsTest, VideoFormatShapeQualityAndRateHaveKeysOfTheirOwn) {
    struct Case {
        const char* stored;
        uint8_t type, aspect, quality, rate;
        const char* format;
        const char* oldAspect;  // the VideoAspect written beside the shape, or none
        const char* storedRate;
    };
    for (const Case& c : {
             // Written before the MP4 formats: VideoType alone, as it always read.
             Case{"VideoType=1\n", 1, 0, 0, 0, "svcd", "16:9", "tv"},
             // Written before the other shapes and rates: the aspect alone, at
             // the standard's rate.
             Case{"VideoType=4\nVideoFormat=mp4-1080p\nVideoAspect=4:3\nVideoQuality=high\n", 4, 1,
                  1, 0, "mp4-1080p", "4:3", "tv"},
             // The name wins over the number; letter case does not matter.
             Case{"VideoType=2\nVideoFormat=MP4-4K\n", 5, 0, 0, 0, "mp4-4k", "16:9", "tv"},
             // A name this program does not know leaves the older key in charge.
             Case{"VideoType=0\nVideoFormat=mp4-8k\nVideoAspect=21:9\nVideoRate=120\n", 0, 0, 0, 0,
                  "vcd", "16:9", "tv"},
             // A shape the older key cannot name leaves it out, so an older
             // program builds the show at its default 16:9; the exact NTSC
             // rates are stored by the names they are known by.
             Case{"VideoFormat=mp4-720p\nVideoAspect=4:3\nVideoShape=9:16\nVideoRate=60000/1001\n",
                  3, 2, 0, 7, "mp4-720p", "", "59.94"},
             Case{"VideoFormat=mp4-1080p\nVideoShape=4:5\nVideoRate=24\n", 4, 4, 0, 1, "mp4-1080p",
                  "", "24"},
         }) {
        WriteText(Path("options.dat"), std::string("[Set]\n") + c.stored);
        model::CloseOptionsStore();
        LoadWorkingShow();
        EXPECT_EQ(show_.settings.VideoType, c.type) << c.stored;
        EXPECT_EQ(show_.settings.VideoAspect, c.aspect) << c.stored;
        EXPECT_EQ(show_.settings.VideoQuality, c.quality) << c.stored;
        EXPECT_EQ(show_.settings.VideoRate, c.rate) << c.stored;
        ASSERT_TRUE(model::SaveWorkingShow(show_));
        const IniFile saved(Path("options.dat"));
        EXPECT_EQ(saved.ReadInteger("Set", "VideoType", -1), c.type);
        EXPECT_EQ(saved.ReadString("Set", "VideoFormat", ""), c.format);
        EXPECT_EQ(saved.ReadString("Set", "VideoAspect", ""), c.oldAspect) << c.stored;
        EXPECT_EQ(saved.ReadString("Set", "VideoRate", ""), c.storedRate) << c.stored;
    }
}

// Each format is built in the shape of its own key: a DVD never follows the
// MP4 formats' VideoAspect, which every save writes (16:9 by default).
TEST_F(SettingsTest, TheShapeBuiltIsTheFormatsOwnAndADvdIsFourThreeUnlessChosen) {
    struct Case {
        const char* stored;
        uint8_t built;  // 0 16:9, 1 4:3
    };
    for (const Case& c : {
             Case{"VideoType=2\nVideoAspect=16:9\n", 1},
             Case{"VideoFormat=dvd\nVideoAspect=4:3\nDvdAspect=16:9\n", 0},
             Case{"VideoFormat=mp4-720p\nVideoAspect=16:9\nDvdAspect=4:3\n", 0},
             Case{"VideoFormat=mp4-4k\nVideoAspect=4:3\nDvdAspect=16:9\n", 1},
             Case{"VideoFormat=svcd\nVideoAspect=16:9\nDvdAspect=16:9\n", 1},
         }) {
        WriteText(Path("options.dat"), std::string("[Set]\n") + c.stored);
        model::CloseOptionsStore();
        LoadWorkingShow();
        EXPECT_EQ(model::BuildAspect(show_.settings), c.built) << c.stored;
    }

    // Choosing a shape sets the chosen format's key alone; VCD and SVCD
    // take none but 4:3.
    model::TslSettings s;
    s.VideoType = 2;
    EXPECT_TRUE(model::SetBuildAspect(s, 0));
    EXPECT_EQ(s.DvdAspect, 0);
    EXPECT_EQ(s.VideoAspect, 0);
    s.VideoType = 4;
    EXPECT_TRUE(model::SetBuildAspect(s, 1));
    EXPECT_EQ(s.VideoAspect, 1);
    EXPECT_EQ(s.DvdAspect, 0);
    s.VideoType = 0;
    EXPECT_FALSE(model::SetBuildAspect(s, 0));
    EXPECT_TRUE(model::SetBuildAspect(s, 1));
    EXPECT_EQ(model::BuildAspect(s), 1);

    // Each format takes the shapes it is made in and no other: the upright
    // ones are MP4's, 4:5 at 1080p only.
    for (const auto& [type, shape, taken] : {std::tuple{3, 2, true},
                                             {3, 4, false},
                                             {4, 4, true},
                                             {5, 3, true},
                                             {5, 4, false},
                                             {2, 2, false},
                                             {1, 3, false}}) {
        s.VideoType = static_cast<uint8_t>(type);
        const int before = model::BuildAspect(s);
        EXPECT_EQ(model::SetBuildAspect(s, static_cast<uint8_t>(shape)), taken) << type << shape;
        EXPECT_EQ(model::BuildAspect(s), taken ? shape : before) << type << shape;
    }
}

TEST_F(SettingsTest, CapitalisedSettingsSectionIsReadAndWrittenInPlace) {
    WriteText(Path("options.dat"), "[Pictures]\n[SET]\nVideoType=1\nMusicSync=2\n");
    LoadWorkingShow();
    EXPECT_EQ(show_.settings.VideoType, 1);
    EXPECT_EQ(show_.settings.MusicSync, 2);
    show_.settings.TVSet = 1;
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    const IniFile saved(Path("options.dat"));
    EXPECT_EQ(saved.ReadSections(), (std::vector<std::string>{"Pictures", "SET"}));
    EXPECT_EQ(saved.ReadString("SET", "TVSet", ""), "1");
}

TEST_F(SettingsTest, ProductStringsMayBeOverriddenButAreNeverWritten) {
    WriteText(Path("options.dat"), "[set]\ntitle=My Show\n");
    LoadWorkingShow();
    EXPECT_EQ(model::Product().title, "My Show");
    EXPECT_EQ(model::Product().homepage, "https://vantoshow.example.org/");
    EXPECT_EQ(model::Product().email, "support@vantoshow.example.org");
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    const IniFile saved(Path("options.dat"));
    EXPECT_FALSE(saved.ValueExists("Set", "homepage"));
    EXPECT_EQ(saved.ReadString("Set", "title", ""), "My Show");  // kept as it was
}

TEST_F(SettingsTest, ShutdownWithoutAStoreWritesNothing) {
    EXPECT_TRUE(model::SaveWorkingShow(show_));
    EXPECT_FALSE(model::FileExists(model::OptionsFileName()));
}

TEST_F(SettingsTest, UnwritableProgramFolderKeepsSettingsInTheUserFolder) {
    // A path below a plain file can never be written to, not even by root.
    WriteText(Path("install"), "");
    model::SetProgramDir(Path("install/bin"));
    LoadWorkingShow();
    EXPECT_EQ(model::ProgramDir(), Path("install/bin/"));
    EXPECT_EQ(model::OptionsFileName(), Path("user-data/options.dat"));
    show_.settings.VideoType = 0;
    ASSERT_TRUE(model::SaveWorkingShow(show_));

    model::CloseOptionsStore();
    LoadWorkingShow();
    EXPECT_EQ(show_.settings.VideoType, 0);
}

// A folder the program may not write in, by its permissions or because the
// installation marked it (which binds root too), keeps the working state in
// the user's folder, seeded once from the options left in the program folder.
TEST_F(SettingsTest, SharedProgramFolderSeedsTheUserCopyFromItsOptions) {
    struct Case {
        const char* folder;
        bool marked;  // else read-only
    };
    for (const Case& c : {Case{"installed", true}, Case{"ro", false}}) {
        SCOPED_TRACE(c.folder);
        const std::string folder = Path(c.folder);
        const std::string user = Path(std::string("user-") + c.folder + "/");
        QDir().mkpath(QString::fromStdString(folder));
        WriteText(folder + "/options.dat", "[Set]\nVideoType=1\n");
        if (c.marked) WriteText(folder + "/" + model::kSharedInstallMarker, "");
        if (!c.marked)
            QFile::setPermissions(QString::fromStdString(folder),
                                  QFile::ReadOwner | QFile::ExeOwner);
        struct Restore {
            std::string folder;
            ~Restore() {
                QFile::setPermissions(QString::fromStdString(folder),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
        } restore{folder};
        model::SetUserDataDir(user);
        model::SetProgramDir(folder);
        if (model::DataDir() == model::ProgramDir()) {
            EXPECT_FALSE(c.marked) << "an installed folder is written in";
            continue;  // permissions do not bind root
        }

        LoadWorkingShow();
        EXPECT_EQ(show_.settings.VideoType, 1);
        show_.settings.TVSet = 1;
        ASSERT_TRUE(model::SaveWorkingShow(show_));
        EXPECT_EQ(IniFile(user + "options.dat").ReadInteger("Set", "TVSet", 0), 1);
        EXPECT_EQ(ReadText(folder + "/options.dat"), "[Set]\nVideoType=1\n");
        model::CloseOptionsStore();
    }
}

TEST_F(SettingsTest, SaveWorkingShowSwallowsAFailedWrite) {
    LoadWorkingShow();
    model::SetOwnEntry(show_.notes, model::kCaptionsSection, "a.jpg", "kept in memory");
    QDir().mkpath(QString::fromStdString(Path("options.dat")));  // a folder blocks the file
    EXPECT_FALSE(model::SaveWorkingShow(show_));
    // The store holds the show all the same, for the next save to write.
    EXPECT_EQ(model::OwnEntry(model::OptionsStore(), model::kCaptionsSection, "a.jpg"),
              "kept in memory");
}

}  // namespace

namespace {

// Title cards in a store: the list entry in its place, the words and
// backdrop in their sections, the card's own interval and style beside a
// picture's. The list entry is not a file, so a reader without cards finds
// nothing there and leaves it out as it does a picture that is gone.
constexpr const char* kCards = R"([titletext]
./title:1=Summer 2026
./title:2=Fin
[titleline]
./title:1=At the lake; all of us
[titleback]
./title:1=blur #102030 /photos/a b;c.jpg
./title:2=colour #ff8000
[intervals]
./title:2=9
)";

TEST_F(SettingsTest, TitleCardsKeepTheirPlaceWordsAndBackdropThroughLoadAndSave) {
    const std::string text = std::string(kWorkedIn) + kCards;
    std::string withEntries = text;
    withEntries.replace(withEntries.find("/photos/b.jpg=0\n"), 16,
                        "/photos/b.jpg=0\ntitle:2=1\ntitle:1=1\n");
    WriteText(Path("options.dat"), withEntries);
    LoadWorkingShow();
    // The pictures of the fixture are not on this machine; the cards are no
    // files. The fixture's show is shuffled at load.
    std::vector<std::string> pictures = show_.settings.Pictures;
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(pictures, (std::vector<std::string>{"title:1", "title:2"}));
    model::TitleCard first{"Summer 2026", "At the lake; all of us", model::TitleBackdrop::Blurred,
                           0x102030, "/photos/a b;c.jpg"};
    EXPECT_EQ(show_.TitleCardOf("title:1"), first);
    EXPECT_EQ(show_.TitleCardOf("title:2"),
              (model::TitleCard{"Fin", "", model::TitleBackdrop::Colour, 0xFF8000, ""}));
    EXPECT_EQ(show_.TitleCardOf("/photos/a.jpg"), std::nullopt);
    EXPECT_EQ(show_.IntervalOf("title:2"), 9);
    EXPECT_EQ(show_.IntervalOf("title:1"), 7);

    // The image list keeps the cards where they stand.
    model::ImageList list;
    list.FillFromStore(model::OptionsStore());
    IniFile written;
    list.WriteToStore(written);
    EXPECT_EQ(Entries(written, "Pictures"), (std::vector<std::string>{"title:2=1", "title:1=1"}));
    ASSERT_TRUE(model::SaveWorkingShow(show_));
    EXPECT_EQ(ReadText(Path("options.dat")), withEntries);

    // What a reader without cards makes of the entry: a file that is not there.
    std::string entry = "title:1";
    EXPECT_FALSE(model::ResolveMediaPath(entry));

    // Every backdrop reads back as written; a new card takes a name no card
    // in the list or the notes has.
    for (const model::TitleBackdrop backdrop :
         {model::TitleBackdrop::Colour, model::TitleBackdrop::Blurred,
          model::TitleBackdrop::Picture}) {
        model::TitleCard card = first;
        card.backdrop = backdrop;
        if (backdrop == model::TitleBackdrop::Colour) card.picture.clear();
        const std::string path = model::NewTitleCardPath(show_.notes, show_.settings.Pictures);
        EXPECT_EQ(model::ReadTitleCard(show_.notes, path), model::TitleCard{});
        model::WriteTitleCard(show_.notes, path, card);
        EXPECT_EQ(show_.TitleCardOf(path), card);
    }
    EXPECT_EQ(model::NewTitleCardPath(show_.notes, {}), "title:6");
}

}  // namespace
