#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>

#include "model/CaptionStyle.h"
#include "model/LengthText.h"
#include "model/MediaLists.h"
#include "model/MediaPaths.h"
#include "model/ModelTestUtil.h"
#include "model/MotionSetting.h"
#include "model/MusicBeats.h"
#include "model/PerImage.h"
#include "model/WorkingState.h"

namespace {

using model::BeatsOf;
using model::BeatsText;
using model::ImageList;
using model::IniFile;
using model::MusicList;
using model::ParseBeatsText;
using model::StoredBeats;
using model::TMusicEntry;
using model_test::WriteText;
using Paths = std::vector<std::string>;

class MediaTest : public model_test::ShowFolderTest {
protected:
    // Creates an empty file (and its folders) and returns its full path.
    std::string Touch(const std::string& name) {
        const std::string path = Path(name);
        QDir().mkpath(QString::fromStdString(path.substr(0, path.rfind('/'))));
        WriteText(path, "x");
        return path;
    }
    std::string Folder(const std::string& name) {
        QDir().mkpath(QString::fromStdString(Path(name)));
        return Path(name) + "/";
    }
    static TMusicEntry Music(std::string path, bool checked, std::string lengthMs) {
        TMusicEntry entry;
        entry.Path = std::move(path);
        entry.Checked = checked;
        entry.HasLength = true;
        entry.LengthMs = std::move(lengthMs);
        return entry;
    }
};

TEST_F(MediaTest, FolderYieldsJpegThenGifThenBmpInCaseInsensitiveOrder) {
    for (const char* name :
         {"Photos/b.jpg", "Photos/A.JPG", "Photos/c.gif", "Photos/d.png", "Photos/Z.Bmp",
          "Photos/a.bmp", "Photos/photo.jpeg", "Photos/e.jpg/inner.jpg", "Photos/B.jpg"})
        Touch(name);
    const std::string folder = Path("Photos/");
    Paths target;
    model::ExpandImageFolder(folder, target, model::FolderTypes::Classic);
    // A sub-folder named like a picture is skipped, and so is its content.
    EXPECT_EQ(target, (Paths{folder + "A.JPG", folder + "B.jpg", folder + "b.jpg", folder + "c.gif",
                             folder + "a.bmp", folder + "Z.Bmp"}));

    // Expanding again adds nothing; a missing folder adds nothing.
    model::ExpandImageFolder(folder, target, model::FolderTypes::Classic);
    model::ExpandImageFolder(Path("Nowhere/"), target, model::FolderTypes::Classic);
    EXPECT_EQ(target.size(), 6u);

    // Widened to every type the program reads: the same three groups first,
    // then one group per further extension, in the order handed over.
    Touch("Photos/f.HEIC");
    model::SetFolderPictureExtensions({".JPG", ".heic", ".jpeg", ".gif", ".png"});
    Paths wide;
    model::ExpandImageFolder(folder, wide, model::FolderTypesOf(true));
    model::SetFolderPictureExtensions({});
    EXPECT_EQ(wide, (Paths{folder + "A.JPG", folder + "B.jpg", folder + "b.jpg", folder + "c.gif",
                           folder + "a.bmp", folder + "Z.Bmp", folder + "f.HEIC",
                           folder + "photo.jpeg", folder + "d.png"}));
}

TEST_F(MediaTest, DuplicatesAreOnlyCheckedInsideTheFolderExpansion) {
    const std::string single = Touch("Pics/one.jpg");
    Touch("Pics/two.jpg");
    const std::string folder = Path("Pics/");

    ImageList fileFirst;
    fileFirst.Append({single, true});
    fileFirst.Append({folder, true});
    Paths pictures;
    fileFirst.CollectInto(pictures, model::FolderTypes::Classic);
    EXPECT_EQ(pictures, (Paths{single, folder + "two.jpg"}));

    ImageList folderFirst;
    folderFirst.Append({folder, true});
    folderFirst.Append({single, true});
    folderFirst.CollectInto(pictures, model::FolderTypes::Classic);
    EXPECT_EQ(pictures, (Paths{single, folder + "two.jpg", single}));
}

TEST_F(MediaTest, RelativeNamesResolveUnderTheSampleFolder) {
    const std::string beach = Touch("sample/beach.jpg");
    std::string path = "beach.jpg";
    EXPECT_TRUE(model::ResolveMediaPath(path));
    EXPECT_EQ(path, beach);

    std::string missing = "gone.jpg";
    EXPECT_FALSE(model::ResolveMediaPath(missing));
    EXPECT_EQ(missing, Path("sample/gone.jpg"));
    std::string empty;
    EXPECT_FALSE(model::ResolveMediaPath(empty));
    // A folder entry is checked as written, and a file is not a folder.
    // (a name no working folder of the tests holds).
    std::string folder = "no-such-sample-folder/";
    EXPECT_FALSE(model::ResolveMediaPath(folder));
    EXPECT_EQ(folder, "no-such-sample-folder/");
    std::string asFolder = beach + "/";
    EXPECT_FALSE(model::ResolveMediaPath(asFolder));

    // After the next write the store holds the full path; missing entries drop out.
    ImageList list;
    list.Append({"beach.jpg", false});
    list.Append({"gone.jpg", true});
    list.Append({"https://example.org/x.jpg", true});
    IniFile store;
    list.WriteToStore(store);
    EXPECT_EQ(store.ReadSection("Pictures"), Paths{beach});
    EXPECT_EQ(store.ReadString("Pictures", beach, ""), "0");
}

TEST_F(MediaTest, ImageWriteKeepsFoldersAndCollectSkipsUncheckedAndMissing) {
    const std::string a = Touch("f/a.jpg");
    const std::string b = Touch("b.png");
    Folder("bare");
    ImageList list;
    list.Append({Path("f/"), true});
    list.Append({b, false});
    list.Append({Path("bare"), true});  // a folder written without its slash
    list.Append({Path("missing.jpg"), true});
    IniFile store;
    list.WriteToStore(store);
    EXPECT_EQ(store.ReadSection("Pictures"), (Paths{Path("f/"), b, Path("bare")}));

    Paths pictures;
    list.CollectInto(pictures, model::FolderTypes::Classic);
    EXPECT_EQ(pictures, Paths{a});

    ImageList reloaded;
    reloaded.FillFromStore(store);
    EXPECT_EQ(reloaded.Count(), 3u);
    EXPECT_FALSE(reloaded.At(1).Checked);
    EXPECT_EQ(reloaded.Selected(), 0);
}

// A folder stands for the types the loaded show's FolderAllTypes names, at
// start-up and in the collect step that follows alike.
TEST_F(MediaTest, StartUpLoadsTheShowListsFromTheStore) {
    const std::string a = Touch("p/a.jpg");
    const std::string heic = Touch("p/b.heic");
    const std::string c = Touch("c.jpg");
    const std::string song = Touch("song.mp3");
    const std::string off = Touch("off.mp3");
    model::SetFolderPictureExtensions({".heic"});
    for (const bool allTypes : {false, true}) {
        SCOPED_TRACE(allTypes);
        model::CloseOptionsStore();
        WriteText(Path("options.dat"), "[Set]\nFolderAllTypes=" + std::to_string(allTypes) +
                                           "\n[Pictures]\n" + Path("p/") + "=1\n" + c + "=0\n" +
                                           Path("gone.jpg") + "=1\n" + c + "x=junk\n" +
                                           "[Music]\n" + song + "=x\n" + off + "=0\n");
        LoadWorkingShow();
        const Paths pictures = allTypes ? Paths{a, heic} : Paths{a};
        EXPECT_EQ(show_.settings.Pictures, pictures);
        EXPECT_EQ(show_.settings.Music, Paths{song});  // unparsable check mark reads as checked

        ImageList images;
        images.FillFromStore(model::OptionsStore());
        model::CollectWorkingState(images, MusicList{}, nullptr, false, model::OptionsStore(),
                                   show_);
        EXPECT_EQ(show_.settings.Pictures, pictures);
    }
    model::SetFolderPictureExtensions({});
}

TEST_F(MediaTest, ShuffledShowKeepsEveryPicture) {
    std::string text = "[Set]\nImageSequence=2\n[Pictures]\n";
    Paths pictures;
    for (int i = 0; i < 30; ++i) {
        pictures.push_back(Touch("s/" + std::to_string(i) + ".png"));
        text += pictures.back() + "=1\n";
    }
    WriteText(Path("options.dat"), text);
    LoadWorkingShow();
    Paths loaded = show_.settings.Pictures;
    std::sort(loaded.begin(), loaded.end());
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(loaded, pictures);
}

TEST_F(MediaTest, ImageKeysAndCaptionDefaults) {
    EXPECT_EQ(model::ImageKey("/pics/holiday[2].jpg"), "holiday2.jpg");
    EXPECT_EQ(model::ImageKey("/a[1]/x].jpg"), "x.jpg");
    EXPECT_EQ(model::ImageKey("plain.gif"), "plain.gif");
    EXPECT_EQ(model::CaptionDefault("/pics/photo.jpg.jpg"), "photo");
    EXPECT_EQ(model::CaptionDefault("/pics/beach.JPG"), "beach");
    EXPECT_EQ(model::CaptionDefault("/pics.d/readme"), "readme");
    EXPECT_EQ(model::CaptionDefault("/p/a.tar.gz"), "a.tar");
}

TEST_F(MediaTest, PerImageDataIsSharedByFileNameAndFallsBackToTheShow) {
    show_.settings.ImageInterval = 5;
    show_.settings.useeffects = model::ParseStyleSet("1,2,");
    IniFile& notes = show_.notes;
    notes.WriteString("captions", "x.jpg", "Harbour");
    notes.WriteString("intervals", "x.jpg", "9");
    notes.WriteString("intervals", "bad.jpg", "nine");
    notes.WriteString("effects", "x.jpg", "7,8,");
    notes.WriteString("effects", "none.jpg", "");

    EXPECT_EQ(show_.CaptionOf("/A/x.jpg"), "Harbour");
    EXPECT_EQ(show_.CaptionOf("/B/X[].JPG"), "Harbour");
    EXPECT_EQ(show_.CaptionOf("/B/other.jpg.jpg"), "other");
    EXPECT_EQ(show_.IntervalOf("/D/x.jpg"), 9);
    EXPECT_EQ(show_.IntervalOf("/D/bad.jpg"), 5);
    EXPECT_EQ(show_.IntervalOf("/D/y.jpg"), 5);
    EXPECT_TRUE(show_.HasOwnInterval("/D/bad.jpg"));
    EXPECT_FALSE(show_.HasOwnInterval("/D/y.jpg"));
    EXPECT_EQ(model::StyleSetText(show_.EffectsOf("/C/x.jpg")), "7,8,");
    EXPECT_TRUE(show_.EffectsOf("/C/none.jpg").none());  // an own empty set means cuts only
    EXPECT_EQ(model::StyleSetText(show_.EffectsOf("/C/y.jpg")), "1,2,");
}

// Options written before path keys: every picture of a file name gets that
// name's entries, as it always did, until the dialog takes them over; then
// each keeps its own, and one set back to the show's value has the show's.
TEST_F(MediaTest, FileNameEntriesOfOlderFilesApplyUntilTakenOverPerPicture) {
    WriteText(Path("options.dat"),
              "[Set]\nImageInterval=5\nuseeffects=1,2,\nMotion=pan-left:2\n"
              "[captions]\nIMG_0001.jpg=Beach day\n[intervals]\nIMG_0001.jpg=9\n"
              "[effects]\nIMG_0001.jpg=7,8,\n[motion]\nIMG_0001.jpg=zoom-out:4\n"
              "[motionfit]\nIMG_0001.jpg=whole\n[focus]\nIMG_0001.jpg=0.3,0.4\n"
              "[captionstyle]\nIMG_0001.jpg=position=top\n");
    LoadWorkingShow();
    const std::string first = "/one/IMG_0001.jpg", second = "/two/IMG_[0001].jpg";
    const std::string other = "/one/IMG_0002.jpg";
    struct Seen {
        std::string caption;
        int32_t interval;
        std::string effects;
        model::MotionSetting motion;
        model::CaptionPosition captionAt;
        bool operator==(const Seen&) const = default;
    };
    const auto seen = [this](const std::string& path) {
        return Seen{show_.CaptionOf(path), show_.IntervalOf(path),
                    model::StyleSetText(show_.EffectsOf(path)), show_.MotionOf(path),
                    show_.CaptionStyleOf(path).position};
    };
    const Seen old{
        "Beach day", 9, "7,8,", {model::MotionKind::ZoomOut, 4}, model::CaptionPosition::Top};
    const Seen show{
        "IMG_0002", 5, "1,2,", {model::MotionKind::PanLeft, 2}, model::CaptionPosition::Bottom};
    EXPECT_EQ(seen(first), old);
    EXPECT_EQ(seen(second), old);
    EXPECT_EQ(seen(other), show);

    const Paths shown = {first, second, other};
    for (const char* section : model::PerPictureSections())
        model::AdoptFileNameKeys(show_.notes, section, shown);
    for (const char* section : model::PerPictureSections())
        model::SetOwnEntry(show_.notes, section, first, std::nullopt);
    model::SetOwnEntry(show_.notes, model::kCaptionsSection, second, "Mountain day");
    ASSERT_TRUE(model::SaveWorkingShow(show_));

    model::CloseOptionsStore();
    LoadWorkingShow();
    EXPECT_EQ(seen(first), (Seen{"IMG_0001", 5, "1,2,", show.motion, show.captionAt}));
    EXPECT_EQ(seen(second), (Seen{"Mountain day", 9, "7,8,", old.motion, old.captionAt}));
    EXPECT_EQ(seen(other), show);
    for (const char* section : model::PerPictureSections())
        EXPECT_EQ(model::OptionsStore().ReadSection(section), Paths{model::ImagePathKey(second)})
            << section;
}

// Every path keeps an entry of its own through the file, however it is
// spelled: paths that an INI line would cut or merge, and paths that differ
// only in letter case (distinct files here) or in an escape written out.
TEST_F(MediaTest, PathKeysKeepEveryPicturesEntryApartThroughTheFile) {
    const Paths paths = {"/p/a=b.jpg",
                         "/p/;note.jpg",
                         "/p/#1.jpg",
                         "/p/[x].jpg",
                         "/[p]/",
                         "/p/\"q\".jpg",
                         "/p/trailing.jpg ",
                         "/p/trailing.jpg",
                         "/p/line\nbreak.jpg",
                         "/p/line\rbreak.jpg",
                         "/p/line break.jpg",
                         std::string("/p/zero\0.jpg", 12),
                         "/p/tab\t.jpg",
                         "/p/IMG_0001.jpg",
                         "/p/img_0001.jpg",
                         "/p/Zo\xC3\xAB.jpg",
                         "/p/ZO\xC3\x8B.jpg",
                         "/p/zo\xC3\xAB.jpg",
                         "/p/\xFF\xFE.jpg",
                         "/p/100%.jpg",
                         "/p/100%25.jpg",
                         "/p/^A.jpg",
                         "/p/A.jpg",
                         "/p/%5EA.jpg",
                         "x.jpg",
                         "/x.jpg",
                         "./x.jpg",
                         " x.jpg"};
    IniFile store(Path("keys.ini"));
    for (size_t i = 0; i < paths.size(); ++i)
        store.WriteString("captions", model::ImagePathKey(paths[i]),
                          "caption " + std::to_string(i));
    store.UpdateFile();

    const IniFile reread(Path("keys.ini"));
    EXPECT_EQ(reread.ReadSection("captions").size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(model::OwnEntry(reread, "captions", paths[i]), "caption " + std::to_string(i))
            << i << ": " << model::ImagePathKey(paths[i]);
}

TEST_F(MediaTest, MusicCollectWritesKnownLengthsAndKeepsShortOrUnknownOutOfTheShow) {
    const std::string a = Touch("a.mp3");
    const std::string b = Touch("b.mp3");
    const std::string c = Touch("c.mp3");
    const std::string d = Touch("d.mp3");
    const std::string e = Touch("e.mp3");
    Touch("sample/rel.mp3");
    MusicList list;
    list.Append(Music(a, false, "185000"));  // unchecked: length still written
    list.Append(Music(b, true, "0"));        // not measured yet
    list.Append(Music(c, true, "12.5"));     // not an integer: unknown length
    list.Append(Music(d, true, "10"));       // too short
    list.Append(Music(e, true, "11"));
    list.Append(Music(Path("gone.mp3"), true, "5000"));
    TMusicEntry added;  // no length fields yet
    added.Path = Path("new.mp3");
    list.Append(added);
    list.Append(Music("rel.mp3", true, "2000"));
    IniFile store;
    Paths music;
    list.CollectInto(music, store);

    EXPECT_EQ(music, (Paths{e, Path("sample/rel.mp3")}));
    EXPECT_EQ(store.ReadString("Mp3Length", a, ""), "185000");
    EXPECT_EQ(store.ReadString("Mp3Length", b, ""), "0");
    EXPECT_FALSE(store.ValueExists("Mp3Length", c));
    EXPECT_EQ(store.ReadString("Mp3Length", Path("gone.mp3"), ""), "5000");
    EXPECT_FALSE(store.ValueExists("Mp3Length", Path("new.mp3")));
    EXPECT_EQ(store.ReadString("Mp3Length", "rel.mp3", ""), "2000");
    EXPECT_EQ(store.ReadString("Mp3Length", Path("sample/rel.mp3"), ""), "2000");
}

TEST_F(MediaTest, MusicListRoundTripsThroughTheStore) {
    const std::string a = Touch("a.mp3");
    const std::string b = Touch("b.mp3");
    IniFile store;
    store.WriteString("Mp3Length", a, "185999");
    const std::string beats = BeatsText({120.004, {0, 500, 1000, 1500}});
    store.WriteString("MusicBeats", a, beats);
    store.WriteString("Music", a, "1");
    store.WriteString("Music", b, "yes");
    store.WriteString("Music", Path("gone.mp3"), "1");
    MusicList list;
    list.FillFromStore(store);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_TRUE(list.At(0).Checked);
    EXPECT_EQ(list.At(0).LengthText, "0:03:05");
    EXPECT_FALSE(list.At(1).Checked);  // music defaults to unchecked
    EXPECT_EQ(list.At(1).LengthMs, "0");
    EXPECT_EQ(list.At(1).LengthText, "0:00:00");

    // The beats come back as stored; a list stored before beats were kept
    // has none, to be measured, and writes none.
    EXPECT_EQ(list.At(0).Beats, "120.00 0 500 1000 1500");
    EXPECT_EQ(list.At(1).Beats, "");
    IniFile collected;
    Paths music;
    list.CollectInto(music, collected);
    EXPECT_EQ(collected.ReadString("MusicBeats", a, ""), beats);
    EXPECT_FALSE(collected.ValueExists("MusicBeats", b));
    EXPECT_EQ(BeatsOf(collected, a), (StoredBeats{120, {0, 500, 1000, 1500}}));

    list.WriteToStore(store);
    EXPECT_EQ(store.ReadSection("Music"), (Paths{a, b}));
    EXPECT_EQ(store.ReadString("Music", b, ""), "0");
}

// Stored beats are read back as untrusted text: anything but a tempo and
// rising, non-negative milliseconds counts as not measured.
TEST(MusicBeatsText, ReadsWhatItWritesAndRefusesGarbledText) {
    EXPECT_EQ(ParseBeatsText(BeatsText({})), StoredBeats{});
    EXPECT_EQ(BeatsText({97.5, {}}), "none");
    const struct {
        const char* text;
        std::optional<StoredBeats> beats;
    } cases[] = {
        {"none", StoredBeats{}},
        {"90.5 0 667 1333", StoredBeats{90.5, {0, 667, 1333}}},
        {"", std::nullopt},
        {"120", std::nullopt},          // a tempo without beats
        {"120 500 500", std::nullopt},  // not rising
        {"120 500 400", std::nullopt},  // out of order
        {"120 -5 400", std::nullopt},   // before the file
        {"120 5  400", std::nullopt},   // two spaces
        {"120 5 400 ", std::nullopt},   // trailing space
        {"120 5 4x0", std::nullopt},    // not a number
        {"0.5 5 400", std::nullopt},    // no such tempo
        {"nan 5 400", std::nullopt},
        {"120 5 99999999999", std::nullopt},  // beyond 32 bits
        {"120,5 5 400", std::nullopt},        // a decimal comma
    };
    for (const auto& c : cases) EXPECT_EQ(ParseBeatsText(c.text), c.beats) << c.text;
}

TEST_F(MediaTest, ListEditingKeepsSelectionAndCheckMarks) {
    ImageList list;
    for (const char* name : {"a", "b", "c", "d"}) list.Append({name, true});
    list.SetChecked(2, false);
    list.Select(2);
    ASSERT_TRUE(list.Move(2, 1));  // up: the check mark and selection travel along
    EXPECT_EQ(list.At(1), (model::TImageEntry{"c", false}));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_FALSE(list.Move(0, 4));

    list.Remove(1);  // removing the selected row selects the one taking its place
    EXPECT_EQ(list.At(1).Path, "b");
    EXPECT_EQ(list.Selected(), 1);
    list.Select(2);
    list.Remove(2);  // removing the last row selects the new last row
    EXPECT_EQ(list.Selected(), 1);
    list.Insert(0, {"z", true});
    EXPECT_EQ(list.Selected(), 2);
    list.Remove(0);
    list.Remove(0);
    list.Remove(0);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Selected(), -1);
}

TEST(LengthTextTest, ShowsHoursMinutesAndTruncatedSeconds) {
    EXPECT_EQ(model::FormatLengthText(0), "0:00:00");
    EXPECT_EQ(model::FormatLengthText(-5), "0:00:00");
    EXPECT_EQ(model::FormatLengthText(999), "0:00:00");
    EXPECT_EQ(model::FormatLengthText(185000), "0:03:05");
    EXPECT_EQ(model::FormatLengthText(185999), "0:03:05");
    EXPECT_EQ(model::FormatLengthText(int64_t{25} * 3600 * 1000 + 61000), "25:01:01");
    EXPECT_EQ(model::FormatSeconds(3599), "0:59:59");
}

}  // namespace
