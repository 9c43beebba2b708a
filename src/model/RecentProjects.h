// Where the user was: the projects opened or saved lately, the folders the
// project and video dialogs last showed, and how the user set up the window
// (the Images step's storyboard and its tile size).
//
// This is the user's, not the show's: loading a project replaces
// "options.dat" whole and Save As copies it into the project, so it lives in
// a file of its own beside it, DataDir() + "recent.dat". Losing it costs
// nothing but convenience: a file that cannot be written is left as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace model {

constexpr size_t kMaxRecentProjects = 8;

// DataDir() + "recent.dat".
std::string RecentFileName();

// Newest first, at most kMaxRecentProjects, as they were noted (a file that
// has gone since is still listed; the menu says so when it is chosen).
std::vector<std::string> RecentProjects();
// Puts a project first (once), drops the oldest beyond the limit and makes
// its folder the project dialogs' folder.
void NoteRecentProject(const std::string& fileName);
// Takes a project off the list (it could not be opened).
void ForgetRecentProject(const std::string& fileName);

// The folder a kind of dialog last used ("Project", "Video"), or "" when
// none was noted.
std::string LastFolder(std::string_view dialog);
void NoteLastFolder(std::string_view dialog, const std::string& folder);

// A choice of how the window looks ("Storyboard"), or fallback when none was
// noted.
std::string WindowChoice(std::string_view name, const std::string& fallback);
void NoteWindowChoice(std::string_view name, const std::string& value);

}  // namespace model
