#include "showbuild/CaptionChecks.h"

#include <cstdio>
#include <set>

#include "model/MediaPaths.h"
#include "video/FontCoverage.h"

namespace video {
namespace {

std::string CodePoints(const std::u32string& characters) {
    std::string text;
    for (const char32_t c : characters) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        if (!text.empty()) text += ", ";
        text += code;
    }
    return text;
}

}  // namespace

void AppendCaptionWarnings(const std::vector<std::string>& pictures, const model::Show& show,
                           const std::function<std::string(const std::string&)>& captionOf,
                           std::vector<std::string>& warnings) {
    std::set<std::string> fontsNamed, picturesSeen;
    for (const std::string& path : pictures) {
        if (!picturesSeen.insert(path).second) continue;
        const std::string font = show.CaptionStyleOf(path).font;
        if (!font.empty() && !FontInstalled(font) && fontsNamed.insert(font).second)
            warnings.push_back("The caption font \"" + font +
                               "\" is not installed; captions use the default font.");
        const std::string caption = captionOf(path);
        const std::u32string missing = UncoveredCharacters(caption);
        if (!missing.empty())
            warnings.push_back("The caption \"" + caption + "\" of " + model::ImageKey(path) +
                               " has characters no installed font can draw (" +
                               CodePoints(missing) + "); they show as empty boxes.");
    }
}

}  // namespace video
