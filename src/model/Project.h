// Project files: saved copies of the working store ("options.dat"), the
// commands that save, load and start them, and the note in the working store
// of which project it stands for. The dialogs belong to the window; these
// take the chosen file name and report failures as ProjectError, whose
// message names the file and the reason.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "model/EffectTree.h"
#include "model/Show.h"

namespace model {

class ProjectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the commands need from the window.
struct ProjectHooks {
    // The window's CollectSettings(write): its show into the working store,
    // and with write the store to disk. It swallows its own errors.
    std::function<void(bool write)> collectSettings;
    // After a load: the show the working store now holds, for the window to
    // take and show.
    std::function<void(Show)> showLoaded;
    // The window's effect tree; rebuilt at once after a load.
    EffectTree* effectTree = nullptr;
};

// Which project the working state stands for ("" for none) and whether it
// holds changes not saved into that project. Kept in the working store, so a
// restart carries both over; project files never hold it.
struct WorkingProject {
    std::string file;
    bool unsaved = false;
};
WorkingProject ReadWorkingProject(const IniFile& store);
void WriteWorkingProject(IniFile& store, const WorkingProject& project);

// The name a project is saved under: ".dvprj" is appended unless the name
// contains it already in any letter case.
std::string ProjectFileName(const std::string& chosenName);

// Why a text cannot be a project file (empty, binary, not INI, cut off, no
// settings section, a video format, aspect or quality this program does not
// know), or ok when it can.
[[nodiscard]] base::Status CheckProjectText(std::string_view text);

// Reads a file chosen as a project, or says, naming the file, why it cannot
// be one: unreadable, too large, or a text that CheckProjectText refuses.
[[nodiscard]] base::Result<std::string> ReadProjectFile(const std::string& fileName);

// "Save Project": collects and writes the working state into "options.dat",
// then, when a project file is named (the one loaded or last saved as), the
// same state into that file, whole or not at all, after which the working
// state notes it as saved. Throws ProjectError naming the file that could
// not be written.
void Save1Click(const ProjectHooks& hooks, const std::string& projectFile = {});

// "Save Project As...": Save1Click into the project file the chosen name
// gives, which the working state then stands for. Returns that file name.
std::string SaveProject1Click(const std::string& chosenName, const ProjectHooks& hooks);

// "Load Project": makes a project file the working state, standing for that
// file with nothing unsaved. A file that cannot be a project is refused and
// nothing changes.
void LoadProject1Click(const std::string& fileName, const ProjectHooks& hooks);

// "New Project": an empty show with the default options and no project
// named. What is the user's rather than the show's (the folders the picture
// and music dialogs last used, the measured music lengths) is kept.
void NewProject1Click(const ProjectHooks& hooks);

}  // namespace model
