#include "model/MediaPaths.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "model/FileIo.h"
#include "model/IniFile.h"
#include "model/Settings.h"
#include "model/Text.h"
#include "model/TitleCard.h"

namespace model {

namespace {

std::string_view FileNameOf(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool HasExtensionNoCase(std::string_view name, std::string_view extension) {
    return name.size() >= extension.size() &&
           EqualsNoCase(name.substr(name.size() - extension.size()), extension);
}

// Names of the folder's non-folder entries; an unreadable folder lists nothing.
std::vector<std::string> ListFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    const std::filesystem::path root(std::u8string(folder.begin(), folder.end()));
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statusError;
        if (it->is_directory(statusError) || statusError) continue;
        const auto name = it->path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

std::vector<std::string>& AllPictureExtensions() {
    static std::vector<std::string> extensions;
    return extensions;
}

// The extensions a folder stands for, in the order their groups are listed.
std::vector<std::string> FolderExtensions(FolderTypes types) {
    std::vector<std::string> extensions{".jpg", ".gif", ".bmp"};
    if (types != FolderTypes::All) return extensions;
    for (const std::string& extension : AllPictureExtensions())
        if (std::none_of(extensions.begin(), extensions.end(),
                         [&](const std::string& e) { return EqualsNoCase(e, extension); }))
            extensions.push_back(extension);
    return extensions;
}

}  // namespace

void SetFolderPictureExtensions(std::vector<std::string> extensions) {
    AllPictureExtensions() = std::move(extensions);
}

bool ResolveMediaPath(std::string& path) {
    if (path.empty()) return false;
    if (path.back() == '/') return FolderExists(path);
    if (path.front() != '/') path = ProgramDir() + "sample/" + path;
    return FileExists(path);
}

std::string ImagePathKey(std::string_view path) {
    static constexpr std::string_view kMeaningful = "%^=\"[];#";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string key = path.starts_with('/') ? "" : "./";
    key.reserve(key.size() + path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        const bool closingSpace = byte == ' ' && i + 1 == path.size();
        if (byte >= 'A' && byte <= 'Z') {
            key += '^';
            key += static_cast<char>(byte);
        } else if (byte < 0x20 || byte > 0x7E || closingSpace ||
                   kMeaningful.find(static_cast<char>(byte)) != std::string_view::npos) {
            key += '%';
            key += kHex[byte >> 4];
            key += kHex[byte & 0x0F];
        } else {
            key += static_cast<char>(byte);
        }
    }
    return key;
}

std::string ImageKey(std::string_view path) {
    std::string key(FileNameOf(path));
    std::erase_if(key, [](char c) { return c == '[' || c == ']'; });
    return key;
}

std::string CaptionDefault(std::string_view path) {
    const std::string_view name = FileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string(name);
    return std::string(name.substr(0, name.find(name.substr(dot))));
}

void ExpandImageFolder(const std::string& folderEntry, std::vector<std::string>& target,
                       FolderTypes types) {
    if (!FolderExists(folderEntry)) return;
    const std::string folder = folderEntry.back() == '/' ? folderEntry : folderEntry + '/';
    const std::vector<std::string> names = ListFileNames(folder);
    std::unordered_set<std::string> listed;
    for (const std::string& path : target) listed.insert(PathKey(path));
    for (const std::string& extension : FolderExtensions(types)) {
        std::vector<std::string> group;
        for (const std::string& name : names)
            if (HasExtensionNoCase(name, extension)) group.push_back(name);
        std::sort(group.begin(), group.end(),
                  [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
        for (const std::string& name : group) {
            std::string path = folder + name;
            if (listed.insert(PathKey(path)).second) target.push_back(std::move(path));
        }
    }
}

void LoadShowList(const IniFile& store, std::string_view section, std::vector<std::string>& target,
                  FolderEntries folders, FolderTypes types) {
    target.clear();
    for (const std::string& key : store.ReadSection(section)) {
        std::string path = key;
        if (!store.ReadBool(section, key, true)) continue;
        if (IsTitleCard(path)) {
            target.push_back(std::move(path));
            continue;
        }
        if (!ResolveMediaPath(path)) continue;
        if (folders == FolderEntries::Expand && FolderExists(path))
            ExpandImageFolder(path, target, types);
        else
            target.push_back(std::move(path));
    }
}

std::string PathKey(std::string_view path) {
#if defined(_WIN32) || defined(__APPLE__)
    return FoldCase(path);
#else
    return std::string(path);
#endif
}

bool SamePath(std::string_view a, std::string_view b) {
    return PathKey(a) == PathKey(b);
}

}  // namespace model
