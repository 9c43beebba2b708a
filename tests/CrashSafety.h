// Checks that a save survives being cut short: the save runs in a child
// process that is killed (SIGKILL) at moments spread over the length of one
// save, limited to a small file size (a full disk), or whose folder turns
// read-only while it runs. Afterwards the saved file must hold exactly its
// old bytes or exactly its new bytes, never a mixture, a stub or nothing.
#pragma once

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace crash_safety {

inline std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A file a save replaces, with what it holds before and after.
struct Target {
    std::string path;
    std::string oldBytes;
    std::string newBytes;
};

// A save: 'files' front is the file it is for, the others files it touches
// on the way (which must stay whole too). 'reset' puts the starting state
// back (old files, no leftovers) before each attempt; 'save' throws on
// failure.
struct Save {
    std::vector<Target> files;
    std::function<void()> reset;
    std::function<void()> save;
};

constexpr int kSaveFailed = 3;

// Runs the save in a child after 'prepare'; the child's exit code is 0 for a
// save that succeeded and kSaveFailed for one that threw.
inline pid_t StartSave(const Save& save, const std::function<void()>& prepare = {}) {
    const pid_t pid = fork();
    if (pid == 0) {
        try {
            if (prepare) prepare();
            save.save();
        } catch (...) {
            _exit(kSaveFailed);
        }
        _exit(0);
    }
    return pid;
}

inline int WaitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// "old", "new", or a description of what is wrong with the file.
inline std::string Verdict(const Target& file) {
    const auto bytes = ReadBytes(file.path);
    if (!bytes) return "the file is gone";
    if (*bytes == file.oldBytes) return "old";
    if (*bytes == file.newBytes) return "new";
    return "a mixture of " + std::to_string(bytes->size()) + " bytes";
}

inline void ExpectAllWhole(const Save& save, int point) {
    for (const auto& file : save.files) {
        const std::string verdict = Verdict(file);
        EXPECT_TRUE(verdict == "old" || verdict == "new")
            << file.path << " after a cut at point " << point << ": " << verdict;
    }
}

inline std::chrono::microseconds TimeOneSave(const Save& save) {
    save.reset();
    const auto start = std::chrono::steady_clock::now();
    const int status = WaitFor(StartSave(save));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "an uncut save failed";
    EXPECT_EQ(Verdict(save.files.front()), "new");
    return std::chrono::duration_cast<std::chrono::microseconds>(took);
}

// Kills the save at 'points' moments from its start to a little past its
// usual end. Returns how many kills landed while the save still ran.
inline int KillAtManyPoints(const Save& save, int points = 24) {
    const auto length = TimeOneSave(save);
    int cutShort = 0;
    for (int point = 0; point < points; ++point) {
        save.reset();
        const pid_t pid = StartSave(save);
        std::this_thread::sleep_for(length * point * 5 / (points * 4));
        kill(pid, SIGKILL);
        const int status = WaitFor(pid);
        if (WIFSIGNALED(status)) ++cutShort;
        ExpectAllWhole(save, point);
    }
    return cutShort;
}

// The save with the file size limited to 'limit' bytes, as on a full disk:
// the save must fail and leave the old file.
inline void SaveOnFullDisk(const Save& save, rlim_t limit) {
    save.reset();
    const int status = WaitFor(StartSave(save, [limit] {
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending us
        const rlimit fileSize{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) _exit(1);
    }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kSaveFailed)
        << "a save over the size limit did not report failure";
    for (const auto& file : save.files) EXPECT_EQ(Verdict(file), "old") << file.path;
}

// Whether a child can give up the right to write into root's folders; run
// as root, the read-only test needs that.
inline bool CanDropWriteRights() {
    if (geteuid() != 0) return true;
    const pid_t pid = fork();
    if (pid == 0) _exit(unshare(CLONE_NEWUSER) == 0 ? 0 : 1);
    const int status = WaitFor(pid);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The save's folder becomes read-only at moments spread over one save. The
// folder (and the files in it) must be writable by anyone to start with,
// since a child run by root sheds its rights to be stopped by the mode.
// Returns how many saves the change made fail.
inline int FolderTurnsReadOnly(const Save& save, const std::string& folder, int points = 12) {
    const auto length = TimeOneSave(save);
    int refused = 0;
    for (int point = 0; point < points; ++point) {
        save.reset();
        chmod(folder.c_str(), 0777);
        const pid_t pid = StartSave(save, [] {
            if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) _exit(1);
        });
        std::this_thread::sleep_for(length * point * 5 / (points * 4));
        chmod(folder.c_str(), 0555);
        const int status = WaitFor(pid);
        chmod(folder.c_str(), 0777);
        const bool failed = WIFEXITED(status) && WEXITSTATUS(status) == kSaveFailed;
        EXPECT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || failed));
        // A refused save may have written the new file whole before the
        // step that failed; a save that succeeded must have.
        if (failed) ++refused;
        ExpectAllWhole(save, point);
        if (!failed) {
            EXPECT_EQ(Verdict(save.files.front()), "new") << "point " << point;
        }
    }
    return refused;
}

}  // namespace crash_safety
