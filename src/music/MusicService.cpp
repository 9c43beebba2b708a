#include "music/MusicService.h"

#include <QCoreApplication>

#include <memory>

#include "base/Swallow.h"
#include "music/SoundDevice.h"
#include "sound/MusicFormats.h"
#include "sound/TrackMeasure.h"

namespace music {

namespace {

std::unique_ptr<TMPEGPlayer>& SharedSlot() {
    static std::unique_ptr<TMPEGPlayer> player;
    return player;
}

std::unique_ptr<MixPlayer>& MixSlot() {
    static std::unique_ptr<MixPlayer> player;
    return player;
}

bool PlaysOnMpegLibrary(const QString& path) {
    const sound::MusicFormat* format = sound::MusicFormatOf(path.toStdString());
    return !format || format->decoder == sound::MusicDecoder::MpegLibrary;
}

// Run from the application object's destructor, while timers can still be
// stopped cleanly.
void DestroySharedPlayer() {
    StopMusic(true);
}

}  // namespace

TMPEGPlayer* SharedPlayerIfAny() {
    return SharedSlot().get();
}

TMPEGPlayer& SharedPlayer() {
    auto& slot = SharedSlot();
    if (slot) return *slot;
    slot = std::make_unique<TMPEGPlayer>();
    TMPEGPlayer& player = *slot;
    player.SetSeekable(false);
    player.SetFromStream(false);
    player.SetPlayerPriority(TPlayPriority::Normal);
    player.SetUseTimer(true);
    player.SetTimerFreq(1000);
    player.SetAutoPlay(false);
    player.SetOutputDevice(TOutputDevice::wavemapper);
    player.SetStartPos(0);
    player.SetEndPos(0);
    player.SetPathToDLL(QString());
    // A track that ends simply stops; the handler only lets the player
    // return to the open state.
    player.OnPlayEnd = [](TMPEGPlayer*) {};
    // No library: the player stays, and every later operation fails quietly.
    base::Swallow("music::SharedPlayer load", [&] { player.LoadDLL(); });
    static bool cleanupRegistered = false;
    if (!cleanupRegistered && QCoreApplication::instance() != nullptr) {
        qAddPostRoutine(DestroySharedPlayer);
        cleanupRegistered = true;
    }
    return player;
}

base::Status PlayMusicFile(const QString& path) {
    if (!PlaysOnMpegLibrary(path)) return PlayShowMusic({path.toStdString()}, ShowMix{});
    MixSlot().reset();
    // The library plays on a silent clock without a sound card, so the card
    // is tried first; what else fails, the user is not told.
    base::Status output = CheckSoundOutput();
    base::Swallow("music::PlayMusicFile", [&] {
        TMPEGPlayer& player = SharedPlayer();
        player.SetStreamName(path);
        player.Open();
        player.Play();
    });
    return output;
}

base::Status PlayShowMusic(std::vector<std::string> files, ShowMix mix, int64_t startMs) {
    StopMusic(false);
    base::Status output;
    base::Swallow("music::PlayShowMusic", [&] {
        MixSlot() = std::make_unique<MixPlayer>(std::move(files), std::move(mix), startMs);
        output = MixSlot()->Output();
    });
    return output;
}

std::optional<int64_t> ShowMusicPlayedMs() {
    const MixPlayer* player = MixSlot().get();
    if (!player || !player->Playing()) return std::nullopt;
    return player->PlayedMs();
}

void StopMusic(bool destroy) {
    MixSlot().reset();
    auto& slot = SharedSlot();
    if (!slot) return;
    // An error ends this step only.
    base::Swallow("music::StopMusic", [&] {
        if (slot->GetPlayerMode() == MPEGDLL_MODE_PLAYING) {
            slot->Stop();
            slot->Close();
        }
    });
    // The destructor closes the stream and swallows its own errors.
    if (destroy) slot.reset();
}

base::Result<int32_t> GetMusicLength(const QString& path) {
    if (!PlaysOnMpegLibrary(path)) {
        const base::Result<sound::TrackFacts> facts = sound::MeasureTrack(path.toStdString());
        if (!facts) return facts.fault();
        return facts->lengthMs;
    }
    const base::Fault unreadable =
        base::MakeFault("it could not be read as MP3 music", base::FaultKind::BadData);
    try {
        TMPEGPlayer& player = SharedPlayer();
        player.SetStreamName(path);
        player.Open();
        const int32_t length = player.StreamLength();
        if (length < 0) return unreadable;
        return length;
    } catch (const std::exception& error) {
        return base::MakeFault(unreadable.message + " (" + error.what() + ")",
                               base::FaultKind::BadData);
    }
}

}  // namespace music
