// Our own readers of Photoshop and PCX files: every header, run and row
// length comes from the file. The first byte picks the reader.
#include "fuzz/PictureFuzz.h"
#include "imaging/PcxReader.h"
#include "imaging/PsdReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto input = fuzz::SelectBy(data, size, 2);
    fuzz::DecodePicture(input.payload, [&](const std::string& name) {
        return input.choice == 0 ? imaging::DecodePsd(name, {}) : imaging::DecodePcx(name, {});
    });
    return 0;
}
