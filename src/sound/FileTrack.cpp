#include "sound/FileTrack.h"

#include <new>
#include <optional>
#include <utility>

#include "base/FfmpegUtil.h"
#include "sound/AudioDecoder.h"

namespace sound {
namespace {

class FileTrack : public TrackReader {
public:
    FileTrack(std::unique_ptr<AudioDecoder> decoder, int sampleRate, int channels)
        : decoder_(std::move(decoder)),
          channels_(channels),
          fifo_(av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, channels, sampleRate)) {
        if (!fifo_) throw std::bad_alloc();
    }

    bool ReadPiece(std::vector<int16_t>& out) override {
        const bool more = decoder_->decodeInto(fifo_.get());
        const int count = av_audio_fifo_size(fifo_.get());
        if (count > 0) {
            const size_t start = out.size();
            out.resize(start + static_cast<size_t>(count) * channels_);
            void* planes[1] = {out.data() + start};
            av_audio_fifo_read(fifo_.get(), planes, count);
        }
        return more;
    }

private:
    std::unique_ptr<AudioDecoder> decoder_;
    int channels_;
    base::AudioFifoPtr fifo_;
};

}  // namespace

base::Result<std::unique_ptr<TrackReader>> OpenFileTrack(const std::string& path, int sampleRate,
                                                         int channels) {
    base::Result<std::unique_ptr<AudioDecoder>> decoder =
        AudioDecoder::Open(path, sampleRate, channels);
    if (!decoder) return decoder.fault();
    return std::unique_ptr<TrackReader>(
        std::make_unique<FileTrack>(std::move(decoder).value(), sampleRate, channels));
}

MusicMixer::Hooks FileListHooks(std::vector<std::string> files, int sampleRate, int channels) {
    MusicMixer::Hooks hooks;
    hooks.requestFile = [files = std::move(files)](int index) -> std::optional<std::string> {
        if (index < 0 || index >= static_cast<int>(files.size())) return std::nullopt;
        return files[static_cast<size_t>(index)];
    };
    hooks.openFile = [sampleRate, channels](const std::string& path) {
        return OpenFileTrack(path, sampleRate, channels);
    };
    return hooks;
}

}  // namespace sound
