#include "model/Project.h"

#include <QFileInfo>

#include "base/Swallow.h"
#include "model/FileIo.h"
#include "model/Settings.h"
#include "model/Text.h"
#include "model/VideoFormatKeys.h"

namespace model {

namespace {

constexpr std::string_view kProjectExtension = ".dvprj";
constexpr const char* kWorkingSection = "Working";

// The sections a show is made of; a new project starts without them.
constexpr const char* kShowSections[] = {"Set",       "Pictures", "Music",  "captions",
                                         "intervals", "effects",  "motion", kWorkingSection};
// Keys of the settings section that are the user's rather than the show's:
// the product strings an installation may set (and, from the record, the
// folders the picture and music dialogs last showed).
constexpr const char* kUserSettings[] = {"title", "homepage", "email"};

std::string RefusalText(const char* action, const std::string& file, const std::string& why) {
    return std::string("Cannot ") + action + " the project \"" + file + "\": " + why;
}

[[noreturn]] void Refuse(const char* action, const std::string& file, const std::string& why) {
    throw ProjectError(RefusalText(action, file, why));
}

base::Fault CannotLoad(const std::string& file, const std::string& why, base::FaultKind kind) {
    return base::MakeFault(RefusalText("load", file, why), kind);
}

base::Fault NotAProject(std::string why) {
    return base::MakeFault(std::move(why), base::FaultKind::BadData);
}

// Pictures, music and videos hold zero bytes; the store never writes one.
// Other control characters may stand in file names and captions, so a
// project the program saved always loads again.
bool IsBinary(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

// The store as a project file holds it: without the working note.
std::string ProjectText(const IniFile& store) {
    IniFile copy = store;
    copy.EraseSection(kWorkingSection);
    return copy.Text();
}

// Makes a text the working state and everything read from it. Throws
// FileError, with nothing changed, when "options.dat" cannot be written.
void AdoptWorkingText(const std::string& text, const ProjectHooks& hooks) {
    WriteFileAtomically(OptionsFileName(), text);
    CloseOptionsStore();
    if (hooks.effectTree != nullptr) hooks.effectTree->MarkForRebuild();
    OpenOptionsStore();
    Show loaded = LoadShow(OptionsStore());
    // Rebuilt now rather than on the next visit of the Effects page, so a
    // collect that comes first takes the loaded selection, not the old one.
    if (hooks.effectTree != nullptr) BuildEffectTree(*hooks.effectTree, loaded.settings.useeffects);
    if (hooks.showLoaded) hooks.showLoaded(std::move(loaded));
}

}  // namespace

WorkingProject ReadWorkingProject(const IniFile& store) {
    return {store.ReadString(kWorkingSection, "ProjectFile", ""),
            store.ReadBool(kWorkingSection, "Unsaved", false)};
}

void WriteWorkingProject(IniFile& store, const WorkingProject& project) {
    // A show that is no project and holds nothing unsaved notes nothing, so
    // its file stays as earlier versions wrote it.
    if (project.file.empty() && !project.unsaved) {
        store.EraseSection(kWorkingSection);
        return;
    }
    store.WriteString(kWorkingSection, "ProjectFile", project.file);
    store.WriteBool(kWorkingSection, "Unsaved", project.unsaved);
}

std::string ProjectFileName(const std::string& chosenName) {
    if (ToLower(chosenName).find(kProjectExtension) != std::string::npos) return chosenName;
    return chosenName + std::string(kProjectExtension);
}

base::Status CheckProjectText(std::string_view text) {
    // A byte order mark is no problem: the store skips it too.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::string_view whole = text;
    if (Trim(text).empty()) return NotAProject("the file is empty.");
    if (IsBinary(text))
        return NotAProject("the file is not a project file (it holds binary data).");
    // Every line the program writes ends with a line break; a file that
    // stops inside a line was cut off.
    if (text.back() != '\n') return NotAProject("the file is truncated.");

    bool inSection = false;
    bool hasSettings = false;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            inSection = true;
            hasSettings = hasSettings || EqualsNoCase(Trim(line.substr(1, line.size() - 2)), "Set");
        } else if (!inSection || line.find('=') == std::string_view::npos) {
            return NotAProject("the file is not a project file (line " +
                               std::to_string(lineNumber) + " is no INI entry).");
        }
    }
    if (!hasSettings)
        return NotAProject("the file is not a project file (it has no settings section).");
    IniFile store;
    store.SetText(whole);
    return CheckVideoKeys(store);
}

void Save1Click(const ProjectHooks& hooks, const std::string& projectFile) {
    // The window's collect puts its show into the store.
    if (hooks.collectSettings) hooks.collectSettings(true);
    IniFile& store = OptionsStore();
    // The project first: the working state notes it as saved only once it is.
    if (!projectFile.empty()) {
        try {
            WriteFileAtomically(projectFile, ProjectText(store));
        } catch (const FileError& error) {
            // The working state is kept all the same, still unsaved.
            base::Swallow("model::Save1Click", [&] { store.UpdateFile(); });
            Refuse("save", projectFile, error.what());
        }
        WriteWorkingProject(store, {projectFile, false});
    }
    try {
        store.UpdateFile();
    } catch (const FileError& error) {
        Refuse("save", OptionsFileName(), error.what());
    }
}

std::string SaveProject1Click(const std::string& chosenName, const ProjectHooks& hooks) {
    const std::string target = ProjectFileName(chosenName);
    Save1Click(hooks, target);
    return target;
}

base::Result<std::string> ReadProjectFile(const std::string& fileName) {
    if (QFileInfo(QString::fromStdString(fileName)).size() > kMaxIniFileBytes)
        return CannotLoad(fileName, "the file is too large to be a project file.",
                          base::FaultKind::BadData);
    std::string text;
    try {
        text = ReadWholeFile(fileName);
    } catch (const FileError& error) {
        return CannotLoad(fileName, error.what(), base::FaultKind::Failed);
    }
    if (const base::Status checked = CheckProjectText(text); !checked)
        return CannotLoad(fileName, checked.message(), checked.fault().kind);
    return text;
}

void LoadProject1Click(const std::string& fileName, const ProjectHooks& hooks) {
    base::Result<std::string> read = ReadProjectFile(fileName);
    if (!read) throw ProjectError(read.message());
    IniFile loaded;
    loaded.SetText(read.value());
    WriteWorkingProject(loaded, {fileName, false});
    try {
        AdoptWorkingText(loaded.Text(), hooks);
    } catch (const FileError& error) {
        Refuse("load", fileName, error.what());
    }
}

void NewProject1Click(const ProjectHooks& hooks) {
    // The folders the dialogs last showed go into the store with the show.
    if (hooks.collectSettings) hooks.collectSettings(false);
    const IniFile& store = OptionsStore();
    IniFile fresh = store;
    for (const char* section : kShowSections) fresh.EraseSection(section);
    for (const char* key : kUserSettings)
        if (store.ValueExists("Set", key))
            fresh.WriteString("Set", key, store.ReadString("Set", key, ""));
    for (const char* key : {"PicturePath", "MusicPath"})
        if (store.ValueExists("Set", key))
            fresh.WriteString("Set", key, store.ReadString("Set", key, ""));
    try {
        AdoptWorkingText(fresh.Text(), hooks);
    } catch (const FileError& error) {
        throw ProjectError(std::string("Cannot start a new project: ") + error.what());
    }
}

}  // namespace model
