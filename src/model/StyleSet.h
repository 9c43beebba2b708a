// Sets of transition style numbers and their text form.
//
// A style set holds numbers 0 to 175. Its text form writes each number in
// decimal followed by a comma ("5,59,100,"); readers build a set, so order
// and repeats in the text do not matter.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace model {

constexpr int kStyleSetSize = 176;
using StyleSet = std::bitset<kStyleSetSize>;

inline bool IsStyleSetMember(int style) {
    return style >= 0 && style < kStyleSetSize;
}

// Every item before a comma that is an integer from 0 to 175 joins the set;
// other items are skipped and text after the last comma is ignored.
StyleSet ParseStyleSet(std::string_view text);

// The text form of a set in ascending order.
std::string StyleSetText(const StyleSet& set);

// The selection used while the options store has no "useeffects" key.
extern const char* const kDefaultStyleListText;
const StyleSet& DefaultStyleSet();

}  // namespace model
