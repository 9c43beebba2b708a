#include "model/Project.h"

#include <QFileInfo>

#include "model/FileIo.h"
#include "model/Settings.h"
#include "model/Text.h"
#include "model/VideoFormatKeys.h"

namespace model {

namespace {

constexpr std::string_view kProjectExtension = ".dvprj";

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

}  // namespace

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
    if (hooks.collectSettings) hooks.collectSettings(true);
    SaveSettings();
    try {
        OptionsStore().UpdateFile();
    } catch (const FileError& error) {
        Refuse("save", OptionsFileName(), error.what());
    }
    if (projectFile.empty()) return;
    try {
        CopyFileAtomically(OptionsFileName(), projectFile);
    } catch (const FileError& error) {
        Refuse("save", projectFile, error.what());
    }
}

std::string SaveProject1Click(const std::string& chosenName, const ProjectHooks& hooks) {
    const std::string target = ProjectFileName(chosenName);
    const std::string options = OptionsFileName();
    const std::string backup = options + ".bak";

    // Without a backup "options.dat" could not be put back, so stop first.
    const bool hadOptions = FileExists(options);
    if (hadOptions) {
        try {
            CopyFileAtomically(options, backup);
        } catch (const FileError& error) {
            Refuse("save", target, error.what());
        }
    }

    if (hooks.collectSettings) hooks.collectSettings(true);
    SaveSettings();
    try {
        OptionsStore().UpdateFile();
    } catch (const FileError& error) {
        // The backup stays behind and no project file is written.
        Refuse("save", target, error.what());
    }

    std::optional<std::string> copyFailure;
    try {
        CopyFileAtomically(options, target);
    } catch (const FileError& error) {
        copyFailure = error.what();
    }

    if (hadOptions) {
        try {
            CopyFileAtomically(backup, options);
            RemoveFile(backup);
        } catch (const FileError&) {
            // "options.dat" keeps the saved state and the backup stays; nothing is lost.
        }
    } else {
        RemoveFile(options);
    }
    CloseOptionsStore();
    OptionsStore();

    if (copyFailure) Refuse("save", target, *copyFailure);
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
    const std::string text = std::move(read).value();
    try {
        WriteFileAtomically(OptionsFileName(), text);
    } catch (const FileError& error) {
        Refuse("load", fileName, error.what());
    }

    CloseOptionsStore();
    if (hooks.effectTree != nullptr) hooks.effectTree->MarkForRebuild();
    LoadAllSettings();
    // Rebuilt now rather than on the next visit of the Effects page, so a
    // collect that comes first takes the loaded selection, not the old one.
    if (hooks.effectTree != nullptr) BuildEffectTree(*hooks.effectTree);
    if (hooks.refreshFromSettings) hooks.refreshFromSettings();
}

}  // namespace model
