// The build's sound track: a music file opened and decoded through FFmpeg
// and resampled to the track's format, and the length probe.
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "fuzz/FuzzInput.h"
#include "sound/AudioDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFile file;
    const std::string name = file.Fill({data, size});
    if (name.empty()) std::abort();
    sound::ProbeAudioSamples(name, 44100);
    base::Result<std::unique_ptr<sound::AudioDecoder>> opened =
        sound::AudioDecoder::Open(name, 44100, 2);
    if (!opened) return 0;
    const std::unique_ptr<sound::AudioDecoder> decoder = std::move(opened).value();
    base::AudioFifoPtr fifo(av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, 2, 44100));
    if (!fifo) return 0;
    try {
        // Bounded, so a long file does not hold the run.
        for (int piece = 0; piece < 256 && decoder->decodeInto(fifo.get()); ++piece)
            av_audio_fifo_drain(fifo.get(), av_audio_fifo_size(fifo.get()));
    } catch (const std::bad_alloc&) {
    }
    return 0;
}
