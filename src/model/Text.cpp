#include "model/Text.h"

#include <QByteArrayView>
#include <QString>

namespace model {

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// Text that folds byte by byte: ASCII, and bytes that are not UTF-8 (a file
// name from an older system). Decoding those would turn every such byte
// into the same replacement character, and distinct names would meet.
bool FoldsByByte(std::string_view text) {
    return IsAscii(text) ||
           !QByteArrayView(text.data(), static_cast<qsizetype>(text.size())).isValidUtf8();
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

std::string FoldCase(std::string_view text) {
    if (FoldsByByte(text)) {
        std::string folded(text);
        for (char& c : folded) c = AsciiLower(c);
        return folded;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toCaseFolded()
        .toStdString();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (FoldsByByte(a) && FoldsByByte(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
        return true;
    }
    return FoldCase(a) == FoldCase(b);
}

bool LessNoCase(std::string_view a, std::string_view b) {
    const std::string fa = FoldCase(a);
    const std::string fb = FoldCase(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

std::string ToLower(std::string_view text) {
    if (FoldsByByte(text)) {
        std::string lower(text);
        for (char& c : lower) c = AsciiLower(c);
        return lower;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toLower()
        .toStdString();
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;

    int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        // Hexadecimal may spell the full unsigned 32-bit range (colours).
        if (value > (base == 16 ? int64_t{UINT32_MAX} : int64_t{INT32_MAX} + 1))
            return std::nullopt;
    }
    if (base == 16 && !negative) return static_cast<int32_t>(static_cast<uint32_t>(value));
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace model
