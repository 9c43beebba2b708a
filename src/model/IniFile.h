// The in-memory INI store behind "options.dat", project files and the
// effect catalogue.
//
// The whole file is held in memory and written back whole. Section and key
// names match without regard to case and keep their file order; a value
// that does not parse as an integer reads as the caller's default; booleans
// are "1" and "0"; a key written into a missing section creates that section
// at the end, spelled as in that call. A missing file is an empty store.
// Keys that a bare "key=value" line could not carry (a path holding "=",
// starting with "[" or a quote, or with spaces at either end) are written in
// double quotes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace model {

// Far above any real options file, project or catalogue; a larger file (a
// video chosen by mistake) is never read into memory and opens like an
// unreadable one.
constexpr int64_t kMaxIniFileBytes = 64 * 1024 * 1024;

class IniFile {
public:
    IniFile() = default;
    // Opens the store over a file; a missing or unreadable file gives an
    // empty store. A missing file is created by the first UpdateFile; an
    // unreadable one is never replaced, unless SetText fills the store.
    explicit IniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    // Replaces the content with the parse of INI text. Never fails: lines
    // that are neither a section header nor "key=value" are ignored.
    void SetText(std::string_view text);
    // The file text as UpdateFile writes it.
    std::string Text() const;

    // Writes the whole store to FileName (all or nothing). Throws FileError,
    // also when the file exists but could not be read: its content would be
    // lost.
    void UpdateFile() const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Names in file order, as spelled in the file.
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(std::string_view section) const;

    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);
    void Clear();

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    // Entries in file order, with a case-folded index for lookups.
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, size_t> index;

        const Entry* Find(std::string_view key) const;
        void Set(std::string_view key, std::string_view value);
        void Remove(std::string_view key);
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    Section& SectionForWrite(std::string_view name);
    void RebuildSectionIndex();

    std::string fileName_;
    std::string readError_;  // why the existing file could not be read
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> position
};

}  // namespace model
