#include "model/IniFile.h"

#include <filesystem>
#include <system_error>

#include "model/FileIo.h"
#include "model/Text.h"

namespace model {

const IniFile::Entry* IniFile::Section::Find(std::string_view key) const {
    const auto it = index.find(FoldCase(key));
    return it == index.end() ? nullptr : &entries[it->second];
}

void IniFile::Section::Set(std::string_view key, std::string_view value) {
    std::string folded = FoldCase(key);
    const auto it = index.find(folded);
    if (it != index.end()) {
        entries[it->second].value = value;
        return;
    }
    index.emplace(std::move(folded), entries.size());
    entries.push_back({std::string(key), std::string(value)});
}

void IniFile::Section::Remove(std::string_view key) {
    const auto it = index.find(FoldCase(key));
    if (it == index.end()) return;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    index.clear();
    for (size_t i = 0; i < entries.size(); ++i) index.emplace(FoldCase(entries[i].key), i);
}

namespace {

// A line break inside a name or value would split it into lines that read
// back as other entries, so it is flattened to a space; so is a zero byte,
// which would make the file look binary to Load Project.
std::string SingleLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n' || c == '\r' || c == '\0') c = ' ';
    return line;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Keys are file paths, and a path may hold "=" or start with "[": written
// bare, such a key would read back as a shorter key or as a section header,
// and the entry would be lost. Those keys are written in double quotes
// (a quote inside doubled); every other key stays bare as before.
bool NeedsQuotes(std::string_view key) {
    if (key.empty()) return false;
    return key.find('=') != std::string_view::npos || key.front() == '"' || key.front() == '[' ||
           Trim(key).size() != key.size();
}

void AppendKey(std::string& text, std::string_view key) {
    if (!NeedsQuotes(key)) {
        text += key;
        return;
    }
    text += '"';
    for (char c : key) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
}

// Reads a quoted key at the start of a line; on success returns the key and
// leaves 'rest' at the text after the "=". A line that only looks quoted
// (no closing quote, or no "=" after it) is left to the bare rule.
bool ReadQuotedKey(std::string_view line, std::string& key, std::string_view& rest) {
    key.clear();
    size_t at = 1;
    for (;;) {
        const size_t quote = line.find('"', at);
        if (quote == std::string_view::npos) return false;
        key.append(line.substr(at, quote - at));
        if (quote + 1 < line.size() && line[quote + 1] == '"') {
            key += '"';
            at = quote + 2;
            continue;
        }
        at = quote + 1;
        break;
    }
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size() || line[at] != '=' || key.empty()) return false;
    rest = line.substr(at + 1);
    return true;
}

}  // namespace

IniFile::IniFile(std::string fileName) : fileName_(std::move(fileName)) {
    if (!FileExists(fileName_)) return;
    std::error_code error;
    const auto size = std::filesystem::file_size(fileName_, error);
    if (!error && size > static_cast<uintmax_t>(kMaxIniFileBytes)) {
        readError_ = "Cannot read \"" + fileName_ + "\": it is larger than " +
                     std::to_string(kMaxIniFileBytes >> 20) + " MB";
        return;
    }
    try {
        SetText(ReadWholeFile(fileName_));
    } catch (const FileError& error) {
        // An unreadable file opens like a missing one, but is kept.
        readError_ = error.what();
    }
}

void IniFile::SetText(std::string_view text) {
    readError_.clear();
    Clear();
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

    Section* current = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty()) continue;

        if (line.front() == '[' && line.back() == ']') {
            // A section named twice continues the first one, so no entry is hidden.
            current = &SectionForWrite(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        if (current == nullptr) continue;
        std::string quotedKey;
        std::string_view key, value;
        if (line.front() == '"' && ReadQuotedKey(line, quotedKey, value)) {
            key = quotedKey;
        } else {
            const size_t equals = line.find('=');
            if (equals == std::string_view::npos) continue;
            key = Trim(line.substr(0, equals));
            value = line.substr(equals + 1);
        }
        if (key.empty()) continue;
        // The first spelling of a key wins, as reads find the first one.
        if (current->Find(key) == nullptr) current->Set(key, Trim(value));
    }
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        text += '[';
        text += section.name;
        text += "]\n";
        for (const Entry& entry : section.entries) {
            AppendKey(text, entry.key);
            text += '=';
            text += entry.value;
            text += '\n';
        }
    }
    return text;
}

void IniFile::UpdateFile() const {
    if (!readError_.empty())
        throw FileError(readError_ + "; it is left as it is rather than replaced unread");
    WriteFileAtomically(fileName_, Text());
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return std::string(defaultValue);
    const Entry* entry = found->Find(key);
    return entry == nullptr ? std::string(defaultValue) : entry->value;
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return defaultValue;
    const Entry* entry = found->Find(key);
    if (entry == nullptr) return defaultValue;
    return ParseInteger(entry->value).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // The key is kept as given (a path may end in a space); quoting carries it.
    const std::string cleanKey = SingleLine(key);
    if (cleanKey.empty()) return;
    SectionForWrite(Trim(SingleLine(section))).Set(cleanKey, Trim(SingleLine(value)));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool IniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    return found != nullptr && found->Find(key) != nullptr;
}

std::vector<std::string> IniFile::ReadSections() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* found = FindSection(section)) {
        keys.reserve(found->entries.size());
        for (const auto& entry : found->entries) keys.push_back(entry.key);
    }
    return keys;
}

void IniFile::EraseSection(std::string_view section) {
    const auto it = sectionIndex_.find(FoldCase(section));
    if (it == sectionIndex_.end()) return;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    RebuildSectionIndex();
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    if (Section* found = FindSection(section)) found->Remove(key);
}

void IniFile::Clear() {
    sections_.clear();
    sectionIndex_.clear();
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    const auto it = sectionIndex_.find(FoldCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    const auto it = sectionIndex_.find(FoldCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::SectionForWrite(std::string_view name) {
    if (Section* found = FindSection(name)) return *found;
    sectionIndex_.emplace(FoldCase(name), sections_.size());
    sections_.push_back(Section{std::string(name), {}, {}});
    return sections_.back();
}

void IniFile::RebuildSectionIndex() {
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(FoldCase(sections_[i].name), i);
}

}  // namespace model
