// Project files as "Load Project" takes them: the text checks, then the
// whole working state (settings record, show lists) read from the text.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/FileIo.h"
#include "model/Project.h"
#include "model/Settings.h"

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
    model::LoadAllSettings();
    return 0;
}
