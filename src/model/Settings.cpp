#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>
#include <memory>
#include <system_error>

#include "base/Random.h"
#include "base/Swallow.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/MusicMixSettings.h"
#include "model/VideoFormatKeys.h"

namespace model {

TslSettings Settings;

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

void ResolveFolders() {
    UnitState& state = State();
    state.programDir =
        state.programDirOverride.empty() ? ExecutableDir() : WithSlash(state.programDirOverride);
    if (FolderWritable(state.programDir)) {
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
    Settings.Pictures.clear();
    Settings.Music.clear();
    // Folders are fixed once per run (or per SetProgramDir), so a reopened
    // store and the project commands always agree on where options.dat is.
    EnsureFolders();
    OptionsStore();
}

void LoadSettings() {
    const IniFile& store = OptionsStore();
    TslSettings& s = Settings;
    const TslSettings defaults;

    s.useeffects = ParseStyleSet(store.ReadString(kSetLower, "useeffects", kDefaultStyleListText));
    s.ImageSize = Low8(store.ReadInteger(kSet, "ImageSize", defaults.ImageSize));
    s.ImageSequence = Low8(store.ReadInteger(kSet, "ImageSequence", defaults.ImageSequence));
    s.ClearOldImage = store.ReadBool(kSet, "ClearOldImage", defaults.ClearOldImage);
    s.PlayMusic = store.ReadBool(kSet, "PlayMusic", defaults.PlayMusic);
    s.RandomMusic = store.ReadBool(kSet, "RandomMusic", defaults.RandomMusic);
    s.LoopMusic = store.ReadBool(kSet, "LoopMusic", defaults.LoopMusic);
    s.ImageInterval = store.ReadInteger(kSet, "ImageInterval", defaults.ImageInterval);
    s.BackgroundColor = static_cast<uint32_t>(
        store.ReadInteger(kSet, "BackgroundColor", static_cast<int32_t>(defaults.BackgroundColor)));
    s.EffectSpeed2 = store.ReadInteger(kSet, "EffectSpeed2", defaults.EffectSpeed2);
    s.PicturePath = store.ReadString(kSet, "PicturePath", "");
    s.MusicPath = store.ReadString(kSet, "MusicPath", "");
    s.ShowCaption = store.ReadBool(kSet, "ShowCaption", defaults.ShowCaption);
    s.Back_Mode_UseColor = store.ReadBool(kSet, "Back_Mode_UseColor", defaults.Back_Mode_UseColor);
    s.Back_Mode_Blurred = store.ReadBool(kSet, "Back_Mode_Blurred", defaults.Back_Mode_Blurred);
    s.FolderAllTypes = store.ReadBool(kSet, "FolderAllTypes", defaults.FolderAllTypes);
    s.Back_Image_UseTiled =
        store.ReadBool(kSet, "Back_Image_UseTiled", defaults.Back_Image_UseTiled);
    s.Back_Image_Filename = store.ReadString(kSet, "Back_Image_Filename", "");
    s.Back_Image_Path = store.ReadString(kSet, "Back_Image_Path", ProgramDir() + "background/");
    s.TransparentMode = store.ReadBool(kSet, "TransparentMode", defaults.TransparentMode);
    s.TransparentModeColor = static_cast<uint32_t>(store.ReadInteger(
        kSet, "TransparentModeColor", static_cast<int32_t>(defaults.TransparentModeColor)));

    ProductStrings& product = State().product;
    product.homepage = store.ReadString(kSet, "homepage", kDefaultProductStrings.homepage);
    product.email = store.ReadString(kSet, "email", kDefaultProductStrings.email);
    product.title = store.ReadString(kSet, "title", kDefaultProductStrings.title);

    ReadVideoKeys(store, s);
    s.TVSet = store.ReadInteger(kSetLower, "TVSet", defaults.TVSet);
    s.MusicSync = Low8(store.ReadInteger(kSet, "MusicSync", defaults.MusicSync));
    s.Motion = ReadShowMotion(store);
    LoadMusicMixSettings(store, s);
}

void StoreSettings(IniFile& store) {
    const TslSettings& s = Settings;
    store.WriteInteger(kSet, "ImageSize", s.ImageSize);
    store.WriteInteger(kSet, "ImageSequence", s.ImageSequence);
    store.WriteBool(kSet, "ClearOldImage", s.ClearOldImage);
    store.WriteBool(kSet, "PlayMusic", s.PlayMusic);
    store.WriteBool(kSet, "RandomMusic", s.RandomMusic);
    store.WriteBool(kSet, "LoopMusic", s.LoopMusic);
    store.WriteInteger(kSet, "ImageInterval", s.ImageInterval);
    store.WriteInteger(kSet, "BackgroundColor", static_cast<int32_t>(s.BackgroundColor));
    store.WriteInteger(kSet, "EffectSpeed2", s.EffectSpeed2);
    store.WriteString(kSet, "PicturePath", s.PicturePath);
    store.WriteString(kSet, "MusicPath", s.MusicPath);
    store.WriteBool(kSet, "Back_Mode_UseColor", s.Back_Mode_UseColor);
    store.WriteBool(kSet, "Back_Mode_Blurred", s.Back_Mode_Blurred);
    store.WriteBool(kSet, "FolderAllTypes", s.FolderAllTypes);
    store.WriteBool(kSet, "Back_Image_UseTiled", s.Back_Image_UseTiled);
    store.WriteString(kSet, "Back_Image_Filename", s.Back_Image_Filename);
    store.WriteString(kSet, "Back_Image_Path", s.Back_Image_Path);
    store.WriteBool(kSet, "TransparentMode", s.TransparentMode);
    store.WriteInteger(kSet, "TransparentModeColor", static_cast<int32_t>(s.TransparentModeColor));
    store.WriteInteger(kSet, "ImageSequence", s.ImageSequence);
    store.WriteInteger(kSet, "MusicSync", s.MusicSync);
    WriteVideoKeys(store, s);
    store.WriteInteger(kSetLower, "TVSet", s.TVSet);
    store.WriteBool(kSet, "ShowCaption", s.ShowCaption);
    WriteShowMotion(store, s.Motion);
    SaveMusicMixSettings(store, s);
}

bool SaveSettings() noexcept {
    return base::Swallow("model::SaveSettings", [] {
        IniFile& store = OptionsStore();
        StoreSettings(store);
        store.UpdateFile();
    });
}

void LoadAllSettings() {
    base::Randomize();
    OpenOptionsStore();
    LoadSettings();
    LoadShowList("Pictures", Settings.Pictures, FolderEntries::Expand);
    LoadShowList("Music", Settings.Music, FolderEntries::Keep);
    if (Settings.ImageSequence == 2) ShuffleList(Settings.Pictures);
}

bool SaveSettingsAtShutdown() noexcept {
    if (!OptionsStoreOpen()) return true;
    return SaveSettings();
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
