// Entry paths of the image and music lists: resolving names, expanding
// picture folders, and the keys that per-picture data hangs on.
//
// A folder entry ends with "/"; an entry that does not start with "/" is a
// name inside the program's sample folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace model {

class IniFile;

// Whether the entry exists. A relative file name is turned into a full path
// under ProgramDir() + "sample/" (the caller sees the change); a folder
// entry is checked as it is.
bool ResolveMediaPath(std::string& path);

// The key of a picture's own data: its full path, written so that the
// options store keeps it apart from every other path. The store matches keys
// without regard to case and keeps one line per key, so each upper-case
// letter is written as "^" and the letter, and every byte that is not
// printable ASCII, or that an INI line or this escape gives a meaning ("%",
// "^", "=", quotes, brackets, ";", "#", a closing space), as "%" and two hex
// digits. The key starts with "/" (a full path) or "./" (any other), so it
// never meets an ImageKey, which holds no "/".
std::string ImagePathKey(std::string_view path);

// The file name without its folder and without "[" and "]": the key of
// per-picture data in older options files and projects, shared by every
// picture of that name.
std::string ImageKey(std::string_view path);

// The file name cut before the first occurrence of its extension text
// ("photo.jpg.jpg" gives "photo"), or the whole name without extension.
std::string CaptionDefault(std::string_view path);

// Appends the folder's JPEG, then GIF, then BMP files (extensions in any
// letter case), each group in case-insensitive name order, to target; with
// FolderTypes::All (the show's FolderAllTypes), then the files of every other
// extension given to SetFolderPictureExtensions, a group each in that order.
// Sub-folders are not searched; a path target already holds is skipped.
enum class FolderTypes { Classic, All };
void ExpandImageFolder(const std::string& folder, std::vector<std::string>& target,
                       FolderTypes types);
inline FolderTypes FolderTypesOf(bool allTypes) {
    return allTypes ? FolderTypes::All : FolderTypes::Classic;
}

// Every picture extension the program reads (".heic", any case), which the
// program hands over at start: the decoders live in a layer above this one.
void SetFolderPictureExtensions(std::vector<std::string> extensions);

enum class FolderEntries { Expand, Keep };

// Fills target straight from a store section (a show's load): every entry
// that exists and is checked (default checked), folders expanded when asked.
void LoadShowList(const IniFile& store, std::string_view section, std::vector<std::string>& target,
                  FolderEntries folders, FolderTypes types);

// Paths compare as the file system does: case-sensitive on Linux.
std::string PathKey(std::string_view path);
bool SamePath(std::string_view a, std::string_view b);

}  // namespace model
