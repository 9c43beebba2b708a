#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <array>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>
#include <variant>

#include "base/Random.h"
#include "base/Swallow.h"
#include "model/CaptionSource.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/MotionFit.h"
#include "model/MusicMixSettings.h"
#include "model/SettingsKeys.h"

namespace model {

const ProductStrings kDefaultProductStrings{
    "Vanto Slideshow",
    "https://vantoshow.example.org/",
    "support@vantoshow.example.org",
};

namespace {

constexpr const char* kSet = "Set";
// "useeffects" and "TVSet" are read and written through the section spelled
// in lower case; names ignore case, so both spellings meet in one section.
constexpr const char* kSetLower = "set";

struct UnitState {
    std::string programDirOverride;
    std::string userDataDirOverride;
    std::string programDir;
    std::string dataDir;
    std::string optionsFileName;
    std::unique_ptr<IniFile> optionsStore;
    std::unique_ptr<IniFile> catalogueStore;
    ProductStrings product = kDefaultProductStrings;
};

UnitState& State() {
    static UnitState state;
    return state;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string ExecutableDir() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto dir = exe.parent_path().u8string();
        return WithSlash(std::string(dir.begin(), dir.end()));
    }
    if (QCoreApplication::instance() != nullptr)
        return WithSlash(QCoreApplication::applicationDirPath().toStdString());
    return WithSlash(std::filesystem::current_path(error).string());
}

// The per-user data folder: AppDataLocation of an application named
// "vantoshow", fixed so that it does not depend on when Qt learns the name.
std::string UserDataDir() {
    if (!State().userDataDirOverride.empty()) return WithSlash(State().userDataDirOverride);
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return WithSlash((base + QStringLiteral("/vantoshow")).toStdString());
}

bool FolderWritable(const std::string& folder) {
    QTemporaryFile probe(QString::fromStdString(folder + ".vantoshow-probe-XXXXXX"));
    return probe.open();
}

// An installed program's folder is shared by every user of the machine, so
// the working state lives in each user's folder; the marker says so where
// permissions cannot, as when root runs the program.
bool SharedProgramFolder(const std::string& folder) {
    return FileExists(folder + kSharedInstallMarker) || !FolderWritable(folder);
}

void ResolveFolders() {
    UnitState& state = State();
    state.programDir =
        state.programDirOverride.empty() ? ExecutableDir() : WithSlash(state.programDirOverride);
    if (!SharedProgramFolder(state.programDir)) {
        state.dataDir = state.programDir;
    } else {
        state.dataDir = UserDataDir();
        QDir().mkpath(QString::fromStdString(state.dataDir));
    }
    state.optionsFileName = state.dataDir + "options.dat";
}

void EnsureFolders() {
    if (State().programDir.empty()) ResolveFolders();
}

void ResetUnit() {
    UnitState& state = State();
    state.optionsStore.reset();
    state.catalogueStore.reset();
    state.programDir.clear();
    state.dataDir.clear();
    state.optionsFileName.clear();
}

std::unique_ptr<IniFile> OpenWorkingStore() {
    auto store = std::make_unique<IniFile>(OptionsFileName());
    // A read-only program folder sends writes elsewhere; the state saved
    // there before still seeds the first start in the user's folder.
    const std::string programCopy = ProgramDir() + "options.dat";
    if (DataDir() != ProgramDir() && !FileExists(OptionsFileName()) && FileExists(programCopy)) {
        // Unreadable, the copy seeds nothing and the defaults apply.
        base::Swallow("model::OpenWorkingStore seed",
                      [&] { store->SetText(ReadWholeFile(programCopy)); });
    }
    return store;
}

uint8_t Low8(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// Every key of the record, in the order a save writes them. The product
// strings in the same section are read apart: they are never written.
// clang-format off
constexpr std::array kSettingsKeys{
    SettingsKey{.section = kSet, .name = "ImageSize", .field = &TslSettings::ImageSize},
    SettingsKey{.section = kSet, .name = "ImageSequence", .field = &TslSettings::ImageSequence},
    SettingsKey{.section = kSet, .name = "ClearOldImage", .field = &TslSettings::ClearOldImage},
    SettingsKey{.section = kSet, .name = "PlayMusic", .field = &TslSettings::PlayMusic},
    SettingsKey{.section = kSet, .name = "RandomMusic", .field = &TslSettings::RandomMusic},
    SettingsKey{.section = kSet, .name = "LoopMusic", .field = &TslSettings::LoopMusic},
    SettingsKey{.section = kSet, .name = "ImageInterval", .field = &TslSettings::ImageInterval},
    SettingsKey{.section = kSet, .name = "BackgroundColor", .field = &TslSettings::BackgroundColor},
    SettingsKey{.section = kSet, .name = "EffectSpeed2", .field = &TslSettings::EffectSpeed2},
    SettingsKey{.section = kSetLower, .name = "useeffects", .field = CollectedStyles{&TslSettings::useeffects}},
    SettingsKey{.section = kSet, .name = "PicturePath", .field = &TslSettings::PicturePath},
    SettingsKey{.section = kSet, .name = "MusicPath", .field = &TslSettings::MusicPath},
    SettingsKey{.section = kSet, .name = "Back_Mode_UseColor", .field = &TslSettings::Back_Mode_UseColor},
    SettingsKey{.section = kSet, .name = "Back_Mode_Blurred", .field = &TslSettings::Back_Mode_Blurred},
    SettingsKey{.section = kSet, .name = "FolderAllTypes", .field = &TslSettings::FolderAllTypes},
    SettingsKey{.section = kSet, .name = "Back_Image_UseTiled", .field = &TslSettings::Back_Image_UseTiled},
    SettingsKey{.section = kSet, .name = "Back_Image_Filename", .field = &TslSettings::Back_Image_Filename},
    SettingsKey{.section = kSet, .name = "Back_Image_Path", .field = &TslSettings::Back_Image_Path},
    SettingsKey{.section = kSet, .name = "TransparentMode", .field = &TslSettings::TransparentMode},
    SettingsKey{.section = kSet, .name = "TransparentModeColor", .field = &TslSettings::TransparentModeColor},
    SettingsKey{.section = kSet, .name = "MusicSync", .field = &TslSettings::MusicSync},
    // The number first: files written before the MP4 formats hold it alone,
    // and the names below override it.
    SettingsKey{.section = kSet, .name = "VideoType", .field = &TslSettings::VideoType},
    SettingsKey{.section = kSet, .name = "VideoFormat",
                .field = NamedField{&TslSettings::VideoType, kVideoFormatNames, "video format"}},
    // Likewise the aspect: files written before the other shapes hold 16:9
    // or 4:3 alone, and the shape below overrides it.
    SettingsKey{.section = kSet, .name = "VideoAspect",
                .field = NamedField{&TslSettings::VideoAspect, kVideoAspectNames, "aspect"}},
    SettingsKey{.section = kSet, .name = "VideoShape",
                .field = NamedField{&TslSettings::VideoAspect, kVideoShapeNames, "shape"}},
    SettingsKey{.section = kSet, .name = "VideoQuality",
                .field = NamedField{&TslSettings::VideoQuality, kVideoQualityNames, "quality"}},
    SettingsKey{.section = kSet, .name = "VideoRate",
                .field = NamedField{&TslSettings::VideoRate, kVideoRateNames, "frame rate"}},
    SettingsKey{.section = kSet, .name = "Subtitles",
                .field = NamedField{&TslSettings::Subtitles, kSubtitleNames, "subtitle choice"}},
    SettingsKey{.section = kSet, .name = "DvdAspect",
                .field = NamedField{&TslSettings::DvdAspect, kDvdAspectNames, "DVD aspect"}},
    SettingsKey{.section = kSetLower, .name = "TVSet", .field = &TslSettings::TVSet},
    SettingsKey{.section = kSet, .name = "ShowCaption", .field = &TslSettings::ShowCaption},
    SettingsKey{.section = kSet, .name = "CaptionSource",
                .field = NamedField{&TslSettings::CaptionSource, kCaptionSourceNames, "caption source"}},
    SettingsKey{.section = kSet, .name = "CaptionDate",
                .field = NamedField{&TslSettings::CaptionDate, kCaptionDateNames, "caption date format"}},
    SettingsKey{.section = kSet, .name = "Motion", .field = &TslSettings::Motion},
    SettingsKey{.section = kSet, .name = "MotionFit", .field = &TslSettings::MotionFit},
    SettingsKey{.section = kSet, .name = "CaptionStyle", .field = &TslSettings::Caption},
    SettingsKey{.section = kSet, .name = "MusicFadeInMs", .field = &TslSettings::MusicFadeInMs},
    SettingsKey{.section = kSet, .name = "MusicFadeOutMs", .field = &TslSettings::MusicFadeOutMs},
    SettingsKey{.section = kSet, .name = "MusicCrossfadeMs", .field = &TslSettings::MusicCrossfadeMs},
    SettingsKey{.section = kSet, .name = "EvenLoudness", .field = &TslSettings::EvenLoudness},
};
// clang-format on

// A store that holds no setting of a show: none at all, or (a new project
// started from the window) only the folders the file dialogs last showed,
// which are the user's rather than the show's. The fade-out and motion of a
// new show still ask for no settings at all, as the window's walkthrough of
// a new project has always been built without them.
bool IsNewShow(const IniFile& store) {
    for (const SettingsKey& key : kSettingsKeys) {
        const std::string_view name = key.name;
        if (name != "PicturePath" && name != "MusicPath" &&
            store.ValueExists(key.section, key.name))
            return false;
    }
    return true;
}

// The stored form of each field type. Each load returns the field's value
// when the key is missing or unreadable.
int32_t Load(const IniFile& store, const SettingsKey& key, int32_t value) {
    return store.ReadInteger(key.section, key.name, value);
}
void Store(IniFile& store, const SettingsKey& key, int32_t value) {
    store.WriteInteger(key.section, key.name, value);
}
uint8_t Load(const IniFile& store, const SettingsKey& key, uint8_t value) {
    return Low8(store.ReadInteger(key.section, key.name, value));
}
void Store(IniFile& store, const SettingsKey& key, uint8_t value) {
    store.WriteInteger(key.section, key.name, value);
}
uint32_t Load(const IniFile& store, const SettingsKey& key, uint32_t value) {
    return static_cast<uint32_t>(
        store.ReadInteger(key.section, key.name, static_cast<int32_t>(value)));
}
void Store(IniFile& store, const SettingsKey& key, uint32_t value) {
    store.WriteInteger(key.section, key.name, static_cast<int32_t>(value));
}
bool Load(const IniFile& store, const SettingsKey& key, bool value) {
    return store.ReadBool(key.section, key.name, value);
}
void Store(IniFile& store, const SettingsKey& key, bool value) {
    store.WriteBool(key.section, key.name, value);
}
std::string Load(const IniFile& store, const SettingsKey& key, const std::string& value) {
    return store.ReadString(key.section, key.name, value);
}
void Store(IniFile& store, const SettingsKey& key, const std::string& value) {
    store.WriteString(key.section, key.name, value);
}
MotionSetting Load(const IniFile& store, const SettingsKey& key, const MotionSetting& value) {
    return ParseMotion(store.ReadString(key.section, key.name, "")).value_or(value);
}
void Store(IniFile& store, const SettingsKey& key, const MotionSetting& value) {
    // A show without motion leaves the key out, so its file reads as before.
    if (value.kind == MotionKind::None && !store.ValueExists(key.section, key.name)) return;
    store.WriteString(key.section, key.name, MotionText(value));
}

MotionFit Load(const IniFile& store, const SettingsKey& key, MotionFit value) {
    return ParseMotionFit(store.ReadString(key.section, key.name, "")).value_or(value);
}
void Store(IniFile& store, const SettingsKey& key, MotionFit value) {
    // A show that fills leaves the key out, so its file reads as before.
    if (value == MotionFit::Fill && !store.ValueExists(key.section, key.name)) return;
    store.WriteString(key.section, key.name, MotionFitName(value));
}
CaptionStyle Load(const IniFile& store, const SettingsKey& key, const CaptionStyle& value) {
    return ParseCaptionStyle(store.ReadString(key.section, key.name, "")).value_or(value);
}
void Store(IniFile& store, const SettingsKey& key, const CaptionStyle& value) {
    // The default look leaves the key out, so older files stay as they were.
    if (value == CaptionStyle{} && !store.ValueExists(key.section, key.name)) return;
    store.WriteString(key.section, key.name, CaptionStyleText(value));
}

template <typename T>
void ReadKey(const IniFile& store, const SettingsKey& key, T TslSettings::*field, TslSettings& s) {
    s.*field = Load(store, key, s.*field);
}
template <typename T>
void WriteKey(IniFile& store, const SettingsKey& key, T TslSettings::*field, const TslSettings& s) {
    Store(store, key, s.*field);
}

void ReadKey(const IniFile& store, const SettingsKey& key, const NamedField& named,
             TslSettings& s) {
    if (const auto value = ValueOfName(named.names, store.ReadString(key.section, key.name, "")))
        s.*named.field = *value;
}
void WriteKey(IniFile& store, const SettingsKey& key, const NamedField& named,
              const TslSettings& s) {
    if (const char* name = NameOfValue(named.names, s.*named.field))
        store.WriteString(key.section, key.name, name);
    else
        store.DeleteKey(key.section, key.name);
}

void ReadKey(const IniFile& store, const SettingsKey& key, const CollectedStyles& styles,
             TslSettings& s) {
    s.*styles.field =
        ParseStyleSet(store.ReadString(key.section, key.name, StyleSetText(s.*styles.field)));
}
void WriteKey(IniFile&, const SettingsKey&, const CollectedStyles&, const TslSettings&) {}

}  // namespace

const ProductStrings& Product() {
    return State().product;
}

const std::string& ProgramDir() {
    EnsureFolders();
    return State().programDir;
}

const std::string& DataDir() {
    EnsureFolders();
    return State().dataDir;
}

const std::string& OptionsFileName() {
    EnsureFolders();
    return State().optionsFileName;
}

void SetProgramDir(const std::string& folder) {
    State().programDirOverride = folder;
    ResetUnit();
}

void SetUserDataDir(const std::string& folder) {
    State().userDataDirOverride = folder;
    ResetUnit();
}

IniFile& OptionsStore() {
    if (!State().optionsStore) State().optionsStore = OpenWorkingStore();
    return *State().optionsStore;
}

bool OptionsStoreOpen() {
    return State().optionsStore != nullptr;
}

void CloseOptionsStore() {
    State().optionsStore.reset();
}

IniFile& CatalogueStore() {
    if (!State().catalogueStore)
        State().catalogueStore = std::make_unique<IniFile>(ProgramDir() + "VantoSaver.001");
    return *State().catalogueStore;
}

void OpenOptionsStore() {
    base::Randomize();
    // Folders are fixed once per run (or per SetProgramDir), so a reopened
    // store and the project commands always agree on where options.dat is.
    EnsureFolders();
    const IniFile& store = OptionsStore();
    ProductStrings& product = State().product;
    product.homepage = store.ReadString(kSet, "homepage", kDefaultProductStrings.homepage);
    product.email = store.ReadString(kSet, "email", kDefaultProductStrings.email);
    product.title = store.ReadString(kSet, "title", kDefaultProductStrings.title);
}

std::span<const SettingsKey> SettingsKeys() {
    return kSettingsKeys;
}

void ReadSettings(const IniFile& store, TslSettings& s) {
    TslSettings loaded;
    loaded.Back_Image_Path = ProgramDir() + "background/";
    if (store.ReadSection(kSet).empty()) {
        loaded.MusicFadeOutMs = kNewShowFadeOutMs;
        loaded.Motion = kNewShowMotion;
        loaded.MotionFit = kNewShowMotionFit;
    }
    if (IsNewShow(store)) loaded.CaptionSource = kNewShowCaptionSource;
    for (const SettingsKey& key : kSettingsKeys)
        std::visit([&](const auto& field) { ReadKey(store, key, field, loaded); }, key.field);
    loaded.Pictures = std::move(s.Pictures);
    loaded.Music = std::move(s.Music);
    s = std::move(loaded);
}

void WriteSettings(IniFile& store, const TslSettings& s) {
    for (const SettingsKey& key : kSettingsKeys)
        std::visit([&](const auto& field) { WriteKey(store, key, field, s); }, key.field);
}

void ShuffleList(std::vector<std::string>& list) {
    base::Randomize();
    std::vector<std::string> shuffled;
    shuffled.reserve(list.size());
    while (!list.empty()) {
        const auto index = base::Random(static_cast<uint32_t>(list.size()));
        shuffled.push_back(std::move(list[index]));
        // The last entry fills the gap: every entry left is still equally
        // likely next, and a folder of many thousand pictures is not moved
        // up one place for every entry taken.
        if (index + 1 != list.size()) list[index] = std::move(list.back());
        list.pop_back();
    }
    list = std::move(shuffled);
}

}  // namespace model
