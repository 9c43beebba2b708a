// PCM file output: the decoded samples exactly as they are, as fast as the
// decoder delivers them.
#include <cstdio>

#include "mpegdll/AudioSink.h"

namespace mpegdll {

namespace {

class PcmFileSink final : public AudioSink {
public:
    PcmFileSink(std::FILE* file, int channels) : file_(file), frameBytes_(channels * 2) {}
    ~PcmFileSink() override { finish(); }

    bool write(const uint8_t* data, size_t bytes, const std::atomic<bool>&) override {
        if (file_ == nullptr || failed_) return false;
        if (std::fwrite(data, 1, bytes, file_) != bytes) {
            failed_ = true;
            return false;
        }
        written_.fetch_add(static_cast<int64_t>(bytes) / frameBytes_);
        return true;
    }

    int64_t playedFrames() override { return written_.load(); }
    bool drained() override { return true; }
    void setPaused(bool) override {}

    bool finish() override {
        if (file_ != nullptr) {
            if (std::fclose(file_) != 0) failed_ = true;
            file_ = nullptr;
        }
        return !failed_;
    }

private:
    std::FILE* file_;
    const int frameBytes_;
    std::atomic<int64_t> written_{0};
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<AudioSink> OpenPcmFileSink(const std::string& path, int channels) {
    if (path.empty()) return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "wbe");
    if (file == nullptr) return nullptr;
    return std::make_unique<PcmFileSink>(file, channels);
}

}  // namespace mpegdll
