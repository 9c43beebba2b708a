#include "model/StyleSet.h"

#include "model/Text.h"

namespace model {

const char* const kDefaultStyleListText =
    "59,58,70,69,82,83,81,80,84,85,6,5,23,22,7,8,14,15,31,32,113,112,111,110,114,115,116,65,"
    "66,76,77,100,102,101,103,106,107,104,105,67,68,78,79,108,109,86,88,87,89,93,91,92,90,96,"
    "97,94,95,98,99,16,17,33,34,123,124,125,126,60,61,71,72,63,62,73,74,75,64,11,12,28,29,53,"
    "54,55,57,24,25,45,44,46,43,117,118,127,129,128,133,132,131,130,135,134,142,143,144,";

StyleSet ParseStyleSet(std::string_view text) {
    StyleSet set;
    for (size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',')) {
        const auto value = ParseInteger(text.substr(0, comma));
        if (value && IsStyleSetMember(*value)) set.set(static_cast<size_t>(*value));
        text.remove_prefix(comma + 1);
    }
    return set;
}

std::string StyleSetText(const StyleSet& set) {
    std::string text;
    for (size_t style = 0; style < set.size(); ++style) {
        if (!set.test(style)) continue;
        text += std::to_string(style);
        text += ',';
    }
    return text;
}

const StyleSet& DefaultStyleSet() {
    static const StyleSet set = ParseStyleSet(kDefaultStyleListText);
    return set;
}

}  // namespace model
