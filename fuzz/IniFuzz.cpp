// The INI store behind the options file, projects and the effect catalogue:
// any text parses, and what the store writes reads back as the same store.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    model::IniFile store;
    store.SetText({reinterpret_cast<const char*>(data), size});
    for (const auto& section : store.ReadSections()) {
        for (const auto& key : store.ReadSection(section)) {
            store.ReadInteger(section, key, 0);
            store.ReadBool(section, key, false);
        }
    }
    // A saved store that loads back differently would lose settings on the
    // next save.
    const std::string written = store.Text();
    model::IniFile reread;
    reread.SetText(written);
    if (reread.Text() != written) std::abort();
    return 0;
}
