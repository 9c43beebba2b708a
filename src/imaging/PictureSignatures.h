// Telling a picture's format from its first bytes.
//
// Pictures arrive from cameras, phones and web pages under names that do not
// always say what they are (a PNG saved as "photo.jpg"). The registry asks
// here first and trusts the name only when the content has no signature of
// its own (Targa has none, icons share their first bytes with Targa, and a
// file cut short before its signature says nothing either).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace imaging {

// How many leading bytes a caller should read for SignatureExtension: the
// Photo-CD mark sits after a 2 KiB preamble.
constexpr size_t kSignatureBytes = 0x800 + 8;

// The registered extension (".PNG", ".JPG", ...) of the decoder whose
// signature starts 'head', or "" when no signature matches.
std::string_view SignatureExtension(std::span<const uint8_t> head);

}  // namespace imaging
