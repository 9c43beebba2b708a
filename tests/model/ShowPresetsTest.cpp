// Where a show will be watched: every preset, applied over any other under
// either standard, is the one the settings then say, and leaves the rest of
// the record alone; a project from before presets says what its settings
// always were.
#include "model/ShowPresets.h"

#include <gtest/gtest.h>

#include <string>

#include "model/IniFile.h"
#include "model/Settings.h"
#include "model/Show.h"
#include "model/VideoFormatKeys.h"

namespace {

using model::PresetOf;
using model::ShowPreset;

// A record that is no preset (720p is none's), its quality, MP4 rate and
// shapes all off their defaults, so a preset that touches them shows.
model::TslSettings CustomSettings(int32_t tvSet) {
    model::TslSettings s;
    s.VideoType = 3;
    s.VideoAspect = 3;  // 1:1
    s.DvdAspect = 0;    // 16:9
    s.VideoRate = 7;    // 59.94
    s.VideoQuality = 1;
    s.TVSet = tvSet;
    return s;
}

TEST(ShowPresetsTest, EveryPresetOverAnyOtherIsTheOneTheSettingsSayUnderEitherStandard) {
    for (const int32_t tvSet : {0, 1}) {
        const model::TslSettings custom = CustomSettings(tvSet);
        ASSERT_EQ(PresetOf(custom), nullptr);
        for (const ShowPreset& from : model::ShowPresets()) {
            for (const ShowPreset& to : model::ShowPresets()) {
                model::TslSettings s = custom;
                model::ApplyPreset(s, from);
                model::ApplyPreset(s, to);
                const ShowPreset* said = PresetOf(s);
                EXPECT_EQ(said, &to) << from.name << " then " << to.name << " at " << tvSet
                                     << " says " << (said ? said->name : "custom");
                EXPECT_EQ(s.VideoQuality, custom.VideoQuality) << to.name;
                EXPECT_EQ(s.TVSet, tvSet) << to.name;
            }
            // A disc leaves the MP4 choices where they were, for a later
            // change back to MP4.
            model::TslSettings s = custom;
            model::ApplyPreset(s, from);
            if (!model::IsMp4Format(from.videoType)) {
                EXPECT_EQ(s.VideoRate, custom.VideoRate) << from.name;
                EXPECT_EQ(s.VideoAspect, custom.VideoAspect) << from.name;
            }
        }
    }
}

TEST(ShowPresetsTest, ProjectsFromBeforePresetsSayWhatTheirSettingsAlwaysWere) {
    struct Case {
        const char* stored;  // [Set] as an older program wrote it
        const char* preset;  // the command-line name, or nullptr: "Custom"
    };
    for (const Case& c : {
             // A first save: DVD, its own 4:3 beside the MP4 formats' 16:9.
             Case{"VideoType=2\nVideoFormat=dvd\nVideoAspect=16:9\nVideoShape=16:9\n"
                  "VideoRate=tv\nDvdAspect=4:3\nTVSet=0\n",
                  "dvd"},
             // From before DvdAspect: the DVD never followed VideoAspect.
             Case{"VideoType=2\nVideoAspect=16:9\n", "dvd"},
             Case{"VideoFormat=dvd\nDvdAspect=16:9\nTVSet=1\n", "dvd-wide"},
             // From before the MP4 formats: the number alone.
             Case{"VideoType=1\n", "svcd"},
             // MP4 at the standard's rate is none; 60 is the TV's under NTSC
             // only; the phone's 30 is either standard's.
             Case{"VideoFormat=mp4-1080p\nVideoShape=16:9\nVideoRate=tv\n", nullptr},
             Case{"VideoFormat=mp4-1080p\nVideoShape=16:9\nVideoRate=60\nTVSet=1\n", "tv"},
             Case{"VideoFormat=mp4-1080p\nVideoShape=16:9\nVideoRate=60\nTVSet=0\n", nullptr},
             Case{"VideoFormat=mp4-1080p\nVideoShape=9:16\nVideoRate=30\nTVSet=1\n", "phone"},
             Case{"VideoFormat=mp4-4k\nVideoAspect=16:9\nVideoRate=50\n", "4k-tv"},
         }) {
        model::IniFile store;
        store.SetText(std::string("[Set]\n") + c.stored);
        const ShowPreset* said = PresetOf(model::LoadShow(store).settings);
        EXPECT_EQ(said, c.preset ? model::PresetNamed(c.preset) : nullptr)
            << c.stored << "says " << (said ? said->name : "custom");
    }
}

}  // namespace
