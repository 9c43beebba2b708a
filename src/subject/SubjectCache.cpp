#include "subject/SubjectCache.h"

#include <unistd.h>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#include "model/Settings.h"

namespace subject {

namespace {

namespace fs = std::filesystem;

// The first line of every file; a new layout gets a new number, so files of
// the old one are misses rather than misread.
constexpr std::string_view kHeader = "vanto-subject 1";
constexpr std::string_view kEnd = "end";

uint64_t Fnv1a(std::string_view bytes, uint64_t hash = 14695981039346656037ull) {
    for (const char c : bytes) hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    return hash;
}

std::string Line(std::string_view name, const motion::SubjectBox& box) {
    char text[96];
    std::snprintf(text, sizeof text, "%.*s %.6f %.6f %.6f %.6f\n", static_cast<int>(name.size()),
                  name.data(), box.x, box.y, box.width, box.height);
    return text;
}

// "x y w h" of shares: all four numbers, in range, the box inside the picture.
std::optional<motion::SubjectBox> ParseBox(std::string_view text) {
    double values[4];
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (double& value : values) {
        if (at == end || *at != ' ') return std::nullopt;
        ++at;
        const auto [next, error] = std::from_chars(at, end, value, std::chars_format::fixed);
        if (error != std::errc() || !(value >= 0 && value <= 1)) return std::nullopt;
        // Taken at the precision the file is written at, so what is read
        // writes back the same.
        value = std::round(value * 1e6) / 1e6;
        at = next;
    }
    if (at != end) return std::nullopt;
    const motion::SubjectBox box{values[0], values[1], values[2], values[3]};
    // Written rounded to six places: a box that ends at the edge may pass it
    // by the rounding.
    if (box.width <= 0 || box.height <= 0 || box.right() > 1 + 1e-5 || box.bottom() > 1 + 1e-5)
        return std::nullopt;
    return box;
}

}  // namespace

std::string DefaultSubjectFolder() {
    // Where the window's thumbnails are (the user's cache folder and the
    // program's name), without needing Qt in the build.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (cache && *cache == '/') {
        base = cache;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.cache";
    } else {
        base = fs::temp_directory_path().string();
    }
    return base + "/" + model::Product().title + "/subjects";
}

std::string SubjectCacheName(const std::string& folder, const std::string& picturePath) {
    std::error_code error;
    const fs::path path = fs::absolute(picturePath, error);
    if (error || !fs::is_regular_file(path, error)) return {};
    const auto size = fs::file_size(path, error);
    if (error) return {};
    const auto time = fs::last_write_time(path, error);
    if (error) return {};
    uint64_t hash = Fnv1a(path.string());
    hash = Fnv1a("\n" + std::to_string(size), hash);
    hash = Fnv1a("\n" + std::to_string(time.time_since_epoch().count()), hash);
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.subject", static_cast<unsigned long long>(hash));
    return folder + "/" + name;
}

std::string SubjectText(const motion::Subject& subject) {
    std::string text(kHeader);
    text += '\n';
    size_t faces = 0;
    for (const motion::SubjectBox& face : subject.faces)
        if (faces++ < kMaxCachedFaces) text += Line("face", face);
    if (subject.salient) text += Line("salient", *subject.salient);
    text += kEnd;
    text += '\n';
    return text;
}

std::optional<motion::Subject> ParseSubjectText(std::string_view text) {
    if (text.size() > kMaxCacheFileBytes) return std::nullopt;
    motion::Subject subject;
    bool header = false, ended = false;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        // Every line ends in a newline; one without was cut off.
        if (newline == std::string_view::npos || ended) return std::nullopt;
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        if (!header) {
            if (line != kHeader) return std::nullopt;
            header = true;
        } else if (line == kEnd) {
            ended = true;
        } else if (line.starts_with("face ")) {
            const auto box = ParseBox(line.substr(4));
            if (!box || subject.faces.size() >= kMaxCachedFaces) return std::nullopt;
            subject.faces.push_back(*box);
        } else if (line.starts_with("salient ") && !subject.salient) {
            const auto box = ParseBox(line.substr(7));
            if (!box) return std::nullopt;
            subject.salient = box;
        } else {
            return std::nullopt;
        }
    }
    if (!ended) return std::nullopt;
    return subject;
}

std::optional<motion::Subject> ReadCachedSubject(const std::string& folder,
                                                 const std::string& picturePath) {
    const std::string name = SubjectCacheName(folder, picturePath);
    if (name.empty()) return std::nullopt;
    std::ifstream file(name, std::ios::binary);
    if (!file) return std::nullopt;
    // One byte past the limit tells a file that is too long.
    std::string text(kMaxCacheFileBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    return ParseSubjectText(text);
}

bool WriteCachedSubject(const std::string& folder, const std::string& picturePath,
                        const motion::Subject& subject) {
    const std::string name = SubjectCacheName(folder, picturePath);
    if (name.empty()) return false;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return false;
    // A name of this writer's own, so two writers of one picture do not
    // interleave; the rename puts the whole file in place at once.
    static std::atomic<unsigned> written{0};
    std::ostringstream temporary;
    temporary << name << '.' << getpid() << '.' << std::this_thread::get_id() << '.'
              << written.fetch_add(1) << ".part";
    {
        std::ofstream file(temporary.str(), std::ios::binary | std::ios::trunc);
        file << SubjectText(subject);
        file.flush();
        if (!file) {
            fs::remove(temporary.str(), error);
            return false;
        }
    }
    fs::rename(temporary.str(), name, error);
    if (!error) return true;
    fs::remove(temporary.str(), error);
    return false;
}

}  // namespace subject
