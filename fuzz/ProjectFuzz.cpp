// Project files as "Load Project" takes them: the text checks, then the
// whole show (settings record, show lists, notes) read from the text, its
// lookups for every picture, and the stored beats of every music file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "model/FileIo.h"
#include "model/MusicBeats.h"
#include "model/Project.h"
#include "model/Settings.h"
#include "model/Show.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The working store lives in a private folder in memory where possible.
    std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    pattern += "/vanto-fuzz-project-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    model::SetProgramDir(pattern + "/");
    model::SetUserDataDir(pattern + "/");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!model::CheckProjectText(text).ok()) return 0;
    model::WriteFileAtomically(model::OptionsFileName(), std::string(text));
    model::CloseOptionsStore();
    model::OpenOptionsStore();
    const model::Show show = model::LoadShow(model::OptionsStore());
    for (const std::string& path : show.settings.Pictures) {
        show.IntervalOf(path);
        show.EffectsOf(path);
        show.CaptionOf(path);
        show.MotionOf(path);
    }
    const model::IniFile& store = model::OptionsStore();
    for (const std::string& key : store.ReadSection("MusicBeats")) {
        // What is read back writes the same text again.
        const std::optional<model::StoredBeats> beats = show.BeatsOf(key);
        if (!beats) continue;
        const std::string text = model::BeatsText(*beats);
        if (model::BeatsText(model::ParseBeatsText(text).value()) != text) std::abort();
    }
    return 0;
}
