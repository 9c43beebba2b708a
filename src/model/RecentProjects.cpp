#include "model/RecentProjects.h"

#include <algorithm>
#include <filesystem>

#include "base/Swallow.h"
#include "model/IniFile.h"
#include "model/Settings.h"

namespace model {

namespace {

constexpr std::string_view kRecent = "Recent", kFolders = "Folders", kWindow = "Window";

std::string ProjectKey(size_t index) {
    return "Project" + std::to_string(index + 1);
}

void WriteList(const std::vector<std::string>& projects, IniFile& store) {
    store.EraseSection(kRecent);
    for (size_t i = 0; i < projects.size() && i < kMaxRecentProjects; ++i)
        store.WriteString(kRecent, ProjectKey(i), projects[i]);
}

void Keep(const IniFile& store) noexcept {
    // Only the convenience is lost; the next note tries again.
    base::Swallow("model::RecentProjects keep", [&] { store.UpdateFile(); });
}

}  // namespace

std::string RecentFileName() {
    return DataDir() + "recent.dat";
}

std::vector<std::string> RecentProjects() {
    const IniFile store(RecentFileName());
    std::vector<std::string> projects;
    for (size_t i = 0; i < kMaxRecentProjects; ++i) {
        std::string name = store.ReadString(kRecent, ProjectKey(i), "");
        if (!name.empty() && std::find(projects.begin(), projects.end(), name) == projects.end())
            projects.push_back(std::move(name));
    }
    return projects;
}

void NoteRecentProject(const std::string& fileName) {
    if (fileName.empty()) return;
    std::vector<std::string> projects = RecentProjects();
    std::erase(projects, fileName);
    projects.insert(projects.begin(), fileName);
    IniFile store(RecentFileName());
    WriteList(projects, store);
    store.WriteString(kFolders, "Project", std::filesystem::path(fileName).parent_path().string());
    Keep(store);
}

void ForgetRecentProject(const std::string& fileName) {
    std::vector<std::string> projects = RecentProjects();
    if (std::erase(projects, fileName) == 0) return;
    IniFile store(RecentFileName());
    WriteList(projects, store);
    Keep(store);
}

std::string LastFolder(std::string_view dialog) {
    return IniFile(RecentFileName()).ReadString(kFolders, dialog, "");
}

void NoteLastFolder(std::string_view dialog, const std::string& folder) {
    IniFile store(RecentFileName());
    store.WriteString(kFolders, dialog, folder);
    Keep(store);
}

std::string WindowChoice(std::string_view name, const std::string& fallback) {
    return IniFile(RecentFileName()).ReadString(kWindow, name, fallback);
}

void NoteWindowChoice(std::string_view name, const std::string& value) {
    IniFile store(RecentFileName());
    store.WriteString(kWindow, name, value);
    Keep(store);
}

}  // namespace model
