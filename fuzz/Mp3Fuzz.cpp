// The MP3 decoder library's reading side: its buffered file reader and the
// frame scan that measures a file, then some decoding and a seek.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "mpegdll/Decoder.h"
#include "mpegdll/MpegDll.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFile file;
    const std::string name = file.Fill({data, size});
    if (name.empty()) std::abort();
    mpegdll::Decoder decoder;
    if (decoder.open(name.c_str()) != MPEGDLL_OK) return 0;
    if (decoder.lengthSamples() < 0 || decoder.frameBytes() == 0) std::abort();
    std::vector<uint8_t> pcm(decoder.frameBytes() * 4096);
    // Enough to cross a few frames without spending the run on long files.
    for (int piece = 0; piece < 8; ++piece) {
        if (decoder.read(pcm.data(), pcm.size()) <= 0) break;
    }
    decoder.seekSample(decoder.lengthSamples() / 2);
    decoder.read(pcm.data(), pcm.size());
    return 0;
}
