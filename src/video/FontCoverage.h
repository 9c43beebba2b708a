// Which fonts and characters the installed fonts can draw captions in: a
// family asked for by name, and the characters no installed font has a
// glyph for, which would otherwise be drawn as empty boxes without a word.
// Both ask fontconfig, where Qt finds its fonts on this system.
#pragma once

#include <string>

namespace video {

// Whether a font family of this name (any case) is installed.
bool FontInstalled(const std::string& family);

// The characters of 'text' (UTF-8) that no installed font covers, each once
// in order of appearance; spaces, controls and the invisible characters
// that join or vary others are not counted.
std::u32string UncoveredCharacters(const std::string& text);

}  // namespace video
