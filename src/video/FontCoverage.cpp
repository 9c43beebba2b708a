#include "video/FontCoverage.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>

#include <QString>

namespace video {
namespace {

struct CharSetFree {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
struct FontSetFree {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct PatternFree {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetFree {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};

// The installed fonts do not change while the program runs, so their
// families and the union of their characters are gathered once.
struct InstalledFonts {
    std::unique_ptr<FcCharSet, CharSetFree> characters{FcCharSetCreate()};
    std::unique_ptr<FcFontSet, FontSetFree> families;
};

const InstalledFonts& Installed() {
    static std::once_flag once;
    static InstalledFonts fonts;
    std::call_once(once, [] {
        const std::unique_ptr<FcPattern, PatternFree> all(FcPatternCreate());
        const std::unique_ptr<FcObjectSet, ObjectSetFree> wanted(
            FcObjectSetBuild(FC_FAMILY, FC_CHARSET, nullptr));
        fonts.families.reset(FcFontList(nullptr, all.get(), wanted.get()));
        if (!fonts.families) return;
        for (int i = 0; i < fonts.families->nfont; ++i) {
            FcCharSet* set = nullptr;
            if (FcPatternGetCharSet(fonts.families->fonts[i], FC_CHARSET, 0, &set) == FcResultMatch)
                FcCharSetMerge(fonts.characters.get(), set, nullptr);
        }
    });
    return fonts;
}

// Characters drawn as nothing or only changing their neighbours.
bool Invisible(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return true;
    if (c >= 0xFE00 && c <= 0xFE0F) return true;    // variation selectors
    if (c >= 0xE0100 && c <= 0xE01EF) return true;  // and their supplement
    if (c >= 0xE0000 && c <= 0xE007F) return true;  // tags
    switch (QChar::category(c)) {
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Format:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool FontInstalled(const std::string& family) {
    const FcFontSet* fonts = Installed().families.get();
    if (!fonts || family.empty()) return false;
    const QString wanted = QString::fromStdString(family);
    for (int i = 0; i < fonts->nfont; ++i) {
        // A font may carry its family under several names (languages, widths).
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch;
             ++n)
            if (wanted.compare(QString::fromUtf8(reinterpret_cast<const char*>(name)),
                               Qt::CaseInsensitive) == 0)
                return true;
    }
    return false;
}

std::u32string UncoveredCharacters(const std::string& text) {
    const std::u32string characters =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU32String();
    std::u32string uncovered;
    for (const char32_t c : characters) {
        if (Invisible(c) || uncovered.find(c) != std::u32string::npos) continue;
        if (!FcCharSetHasChar(Installed().characters.get(), c)) uncovered.push_back(c);
    }
    return uncovered;
}

}  // namespace video
