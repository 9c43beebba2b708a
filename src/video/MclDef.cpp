#include "video/MclDef.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "sound/AudioDecoder.h"
#include "video/MpegEncoder.h"
#include "video/TextOverlay.h"

namespace video {
namespace {

// One counter for every kind of handle, so a handle of one kind is never
// mistaken for another.
std::atomic<uint32_t> gNextHandle{1};

uint32_t NewHandle() {
    uint32_t handle = gNextHandle++;
    while (handle == 0) handle = gNextHandle++;
    return handle;
}

template <typename T>
class HandleTable {
public:
    uint32_t add(std::shared_ptr<T> item) {
        const uint32_t handle = NewHandle();
        std::lock_guard lock(mutex_);
        items_[handle] = std::move(item);
        return handle;
    }
    std::shared_ptr<T> find(uint32_t handle) {
        std::lock_guard lock(mutex_);
        auto it = items_.find(handle);
        return it == items_.end() ? nullptr : it->second;
    }
    std::shared_ptr<T> remove(uint32_t handle) {
        std::lock_guard lock(mutex_);
        auto it = items_.find(handle);
        if (it == items_.end()) return nullptr;
        std::shared_ptr<T> item = std::move(it->second);
        items_.erase(it);
        return item;
    }

private:
    std::mutex mutex_;
    std::unordered_map<uint32_t, std::shared_ptr<T>> items_;
};

struct MusicList {
    std::vector<std::string> files;
};

// What a source or image handle of a running conversion stands for.
enum class SlotKind { VideoSource, AudioSource, Image };
struct ConversionSlot {
    std::weak_ptr<MpegEncoder> encoder;
    SlotKind kind = SlotKind::Image;
};

HandleTable<MpegEncoder>& Encoders() {
    static HandleTable<MpegEncoder> table;
    return table;
}
HandleTable<MusicList>& Lists() {
    static HandleTable<MusicList> table;
    return table;
}
HandleTable<ConversionSlot>& Slots() {
    static HandleTable<ConversionSlot> table;
    return table;
}
HandleTable<TextStyle>& Texts() {
    static HandleTable<TextStyle> table;
    return table;
}

std::shared_ptr<MpegEncoder> SlotEncoder(uint32_t handle, SlotKind* kind) {
    std::shared_ptr<ConversionSlot> slot = Slots().find(handle);
    if (!slot) return nullptr;
    *kind = slot->kind;
    return slot->encoder.lock();
}

template <typename Setter>
bool WithEncoder(MclHandle handle, Setter&& set) {
    std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle);
    if (!encoder) return false;
    set(*encoder);
    return true;
}

template <typename Setter>
bool WithText(MclTextHandle handle, Setter&& set) {
    std::shared_ptr<TextStyle> style = Texts().find(handle);
    if (!style) return false;
    set(*style);
    return true;
}

}  // namespace

MclHandle MclCreate() {
    return Encoders().add(std::make_shared<MpegEncoder>());
}

bool MclAssignVideoSource(MclHandle handle, MclVideoSourceProc callback) {
    return WithEncoder(handle,
                       [&](MpegEncoder& e) { e.callbacks().videoSource = std::move(callback); });
}
bool MclAssignVideoFunc(MclHandle handle, MclVideoFuncProc callback) {
    return WithEncoder(handle,
                       [&](MpegEncoder& e) { e.callbacks().videoFunc = std::move(callback); });
}
bool MclAssignAudioSource(MclHandle handle, MclAudioSourceProc callback) {
    return WithEncoder(handle,
                       [&](MpegEncoder& e) { e.callbacks().audioSource = std::move(callback); });
}
bool MclAssignAudioFunc(MclHandle handle, MclAudioFuncProc callback) {
    return WithEncoder(handle,
                       [&](MpegEncoder& e) { e.callbacks().audioFunc = std::move(callback); });
}
bool MclAssignProgress(MclHandle handle, MclProgressProc callback) {
    return WithEncoder(handle,
                       [&](MpegEncoder& e) { e.callbacks().progress = std::move(callback); });
}
bool MclAssignError(MclHandle handle, MclErrorProc callback) {
    return WithEncoder(handle, [&](MpegEncoder& e) { e.callbacks().error = std::move(callback); });
}

MclListHandle MclListCreate() {
    return Lists().add(std::make_shared<MusicList>());
}

bool MclListAdd(MclListHandle list, const std::string& fileName, int /*type*/, int /*reserved1*/,
                int /*reserved2*/) {
    std::shared_ptr<MusicList> music = Lists().find(list);
    if (!music) return false;
    music->files.push_back(fileName);
    return true;
}

int64_t MclListGetSampleCount(MclListHandle list) {
    std::shared_ptr<MusicList> music = Lists().find(list);
    if (!music) return 0;
    // A list repeated to cover a long show names the same files many times
    // over; each is opened once.
    std::unordered_map<std::string, int64_t> measured;
    int64_t total = 0;
    for (const std::string& file : music->files) {
        auto [entry, isNew] = measured.try_emplace(file, 0);
        if (isNew) entry->second = sound::ProbeAudioSamples(file, kMclListSampleRate);
        total += entry->second;
    }
    return total;
}

bool MclListGetName(MclListHandle list, int index, std::string* fileName) {
    std::shared_ptr<MusicList> music = Lists().find(list);
    if (!music || index < 0 || static_cast<size_t>(index) >= music->files.size()) return false;
    if (fileName) *fileName = music->files[static_cast<size_t>(index)];
    return true;
}

void MclListFree(MclListHandle list) {
    Lists().remove(list);
}

bool MclVideoSetFileName(MclHandle handle, const std::string& path) {
    return WithEncoder(handle, [&](MpegEncoder& e) { e.setVideoPath(path); });
}

bool MclAudioSetFileName(MclHandle handle, const std::string& path) {
    return WithEncoder(handle, [&](MpegEncoder& e) { e.setAudioPath(path); });
}

void MclEnableMPEG2() {
    MpegEncoder::EnableMpeg2();
}

bool MclSetFormatPreset(MclHandle handle, int format, int standard) {
    std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle);
    return encoder && encoder->setPreset(format, standard);
}

bool MclSetVideoOptions(MclHandle handle, int aspect, int quality, int rate) {
    std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle);
    return encoder && encoder->setVideoOptions(aspect, quality, rate);
}

bool MclAddChapter(MclHandle handle, int64_t frame, const std::string& title) {
    return frame >= 0 && WithEncoder(handle, [&](MpegEncoder& e) {
               e.addChapter(Chapter{frame, title});
           });
}

bool MclSetSubtitles(MclHandle handle, std::vector<SubtitleCue> cues) {
    return WithEncoder(handle, [&](MpegEncoder& e) { e.setSubtitles(std::move(cues)); });
}

bool MclVideoSetKeepDuration(MclHandle handle, int milliseconds) {
    return WithEncoder(handle,
                       [&](MpegEncoder& e) { e.setKeepDuration(std::max(milliseconds, -1)); });
}

bool MclAudioSetMix(MclHandle handle, MclAudioMix mix) {
    return WithEncoder(handle, [&](MpegEncoder& e) { e.setMix(std::move(mix)); });
}

bool MclConvert(MclHandle handle) {
    // Held for the whole conversion, so MclFree from inside a callback only
    // takes the handle away.
    std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle);
    if (!encoder || encoder->converting()) return false;

    MpegEncoder::Handles handles;
    handles.encoder = handle;
    auto slot = [&](SlotKind kind) {
        return Slots().add(std::make_shared<ConversionSlot>(ConversionSlot{encoder, kind}));
    };
    handles.videoSource = slot(SlotKind::VideoSource);
    handles.audioSource = slot(SlotKind::AudioSource);
    handles.image = slot(SlotKind::Image);
    struct Release {
        const MpegEncoder::Handles& handles;
        ~Release() {
            Slots().remove(handles.videoSource);
            Slots().remove(handles.audioSource);
            Slots().remove(handles.image);
        }
    } release{handles};
    return encoder->convert(handles);
}

void MclAbort(MclHandle handle) {
    if (std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle)) encoder->abort();
}

void MclFree(MclHandle handle) {
    if (std::shared_ptr<MpegEncoder> encoder = Encoders().remove(handle)) encoder->abort();
}

bool MclSourceSetDIB(MclSourceHandle source, const raster::Bitmap& frame, bool unchanged) {
    SlotKind kind;
    std::shared_ptr<MpegEncoder> encoder = SlotEncoder(source, &kind);
    return encoder && kind == SlotKind::VideoSource && encoder->answerFrame(frame, unchanged);
}

bool MclSourceSetFile(MclSourceHandle source, const std::string& path) {
    SlotKind kind;
    std::shared_ptr<MpegEncoder> encoder = SlotEncoder(source, &kind);
    return encoder && kind == SlotKind::AudioSource && encoder->answerFile(path);
}

bool MclSourceFinished(MclSourceHandle source) {
    SlotKind kind;
    std::shared_ptr<MpegEncoder> encoder = SlotEncoder(source, &kind);
    return encoder && kind != SlotKind::Image &&
           encoder->answerFinished(kind == SlotKind::VideoSource);
}

double MclGetElapsedTime(MclHandle handle) {
    std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle);
    return encoder ? encoder->elapsedSeconds() : 0.0;
}

double MclGetRemainingTime(MclHandle handle, int64_t totalFrames, int64_t sampleCount) {
    std::shared_ptr<MpegEncoder> encoder = Encoders().find(handle);
    return encoder ? encoder->remainingSeconds(totalFrames, sampleCount) : 0.0;
}

MclTextHandle MclTextCreate() {
    return Texts().add(std::make_shared<TextStyle>());
}

bool MclTextSetFont(MclTextHandle text, const std::string& family, int size, int style,
                    int quality) {
    return WithText(text, [&](TextStyle& s) {
        s.family = family;
        s.pixelSize = size;
        s.bold = (style & kMclTextBold) != 0;
        s.italic = (style & kMclTextItalic) != 0;
        s.underline = (style & kMclTextUnderline) != 0;
        s.antialias = quality != kMclTextAliased;
    });
}

bool MclTextSetStretch(MclTextHandle text, int percent) {
    return WithText(text, [&](TextStyle& s) { s.stretch = percent; });
}

MclColor MclRGB(int red, int green, int blue) {
    auto channel = [](int v) { return static_cast<MclColor>(std::clamp(v, 0, 255)); };
    return channel(red) | (channel(green) << 8) | (channel(blue) << 16);
}

bool MclTextSetColor(MclTextHandle text, MclColor color, MclColor shadowColor, MclColor backColor,
                     int backOpacity) {
    return WithText(text, [&](TextStyle& s) {
        s.color = color & 0xFFFFFF;
        s.shadowColor = shadowColor & 0xFFFFFF;
        s.backColor = backColor & 0xFFFFFF;
        s.backOpacity = backOpacity < 0 ? -1 : std::min(backOpacity, 255);
    });
}

bool MclTextShadow(MclTextHandle text, int distance, int dx, int dy) {
    return WithText(text, [&](TextStyle& s) {
        const int d = std::clamp(distance, 0, 100);
        s.shadowDx = d * std::clamp(dx, -100, 100);
        s.shadowDy = d * std::clamp(dy, -100, 100);
    });
}

bool MclTextOutline(MclTextHandle text, int width, MclColor color) {
    return WithText(text, [&](TextStyle& s) {
        s.outlineWidth = std::clamp(width, 0, 32);
        s.outlineColor = color & 0xFFFFFF;
    });
}

bool MclTextSetBoxPad(MclTextHandle text, int pad) {
    return WithText(text, [&](TextStyle& s) { s.backPad = std::clamp(pad, 0, 100); });
}

bool MclImgText(MclImageHandle image, MclTextHandle text, int x, int y, const std::string& string,
                int opacity) {
    SlotKind kind;
    std::shared_ptr<MpegEncoder> encoder = SlotEncoder(image, &kind);
    std::shared_ptr<TextStyle> style = Texts().find(text);
    if (!encoder || kind != SlotKind::Image || !style) return false;
    if (string.empty()) return encoder->stampText(nullptr, x, y);
    std::shared_ptr<const TextLayer> layer = CachedTextLayer(*style, string);
    return layer && encoder->stampText(std::move(layer), x, y,
                                       std::clamp(opacity, 0, TextLayer::kFullOpacity));
}

void MclTextFree(MclTextHandle text) {
    Texts().remove(text);
}

}  // namespace video
