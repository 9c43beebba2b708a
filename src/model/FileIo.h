// Whole-file reads and all-or-nothing writes for the files the program owns
// (options, projects, backups).
//
// A write goes to a temporary file in the target's folder, is flushed to the
// disk and then renamed over the target, so a crash or a full disk leaves
// either the old file or the new one, never a truncated mix.
#pragma once

#include <stdexcept>
#include <string>

namespace model {

// A file operation that failed; the message names the file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces (or creates) the file with exactly these bytes. Throws FileError.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// Reads the whole file. Throws FileError when it cannot be read or is not
// a regular file (a folder, a named pipe, a device).
std::string ReadWholeFile(const std::string& path);

// Copies a file through WriteFileAtomically. Throws FileError.
void CopyFileAtomically(const std::string& from, const std::string& to);

bool FileExists(const std::string& path);  // an existing non-folder
// The file's size and modification time as one text ("size:nanoseconds"),
// to tell later whether it changed; empty when it cannot be seen.
std::string FileStamp(const std::string& path);
bool FolderExists(const std::string& path);  // an existing folder

// Removes a file; a missing file is no error. Returns false on failure.
bool RemoveFile(const std::string& path);

}  // namespace model
