// The effect catalogue and the style sets: the first line is a style list
// as the options store keeps it, the rest a catalogue; the tree built from
// them must agree with the selection it reports.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/EffectTree.h"
#include "model/StyleSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = std::min(text.find('\n'), text.size());
    const model::StyleSet enabled = model::ParseStyleSet(text.substr(0, lineEnd));
    // The text form of a set reads back as the same set.
    if (model::ParseStyleSet(model::StyleSetText(enabled)) != enabled) std::abort();

    model::IniFile catalogue;
    catalogue.SetText(text.substr(lineEnd));
    model::EffectTree tree;
    tree.Build(catalogue, enabled);
    const model::StyleSet selected = model::SelectionFromTree(tree);
    if ((selected & ~enabled).any()) std::abort();
    if (model::TreeStateText(tree).size() != static_cast<size_t>(tree.NodeCount())) std::abort();
    model::StyleListText(tree);
    return 0;
}
