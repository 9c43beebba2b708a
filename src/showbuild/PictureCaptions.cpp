#include "showbuild/PictureCaptions.h"

#include <map>
#include <memory>
#include <mutex>

#include "model/CaptionSource.h"
#include "model/MediaPaths.h"

namespace video {

std::string PictureCaption(const model::Show& show, const std::string& path,
                           const PictureFactsFunction& facts, const QLocale& locale) {
    if (const std::optional<model::TitleCard> card = show.TitleCardOf(path))
        return model::TitleCardText(*card);
    if (std::optional<std::string> own = show.OwnCaption(path)) return std::move(*own);
    switch (static_cast<model::CaptionSource>(show.settings.CaptionSource)) {
        case model::CaptionSource::FileName:
            return model::CaptionDefault(path);
        case model::CaptionSource::DateTaken: {
            const std::optional<QDateTime> taken = facts(path).taken;
            return taken
                       ? model::FormatCaptionDate(taken->date(), show.settings.CaptionDate, locale)
                       : std::string();
        }
        case model::CaptionSource::Title:
            return facts(path).title;
        case model::CaptionSource::None:
            break;
    }
    return {};
}

std::function<std::string(const std::string&)> CaptionLookup(
    std::shared_ptr<const model::Show> show) {
    // The preview asks for a picture again each time it comes round; the
    // file is read once.
    struct Cache {
        std::mutex mutex;
        std::map<std::string, std::string> captions;
    };
    auto cache = std::make_shared<Cache>();
    // The locale is the user's when the lookup is made, not whatever the
    // build's thread would find.
    const QLocale locale;
    return [show = std::move(show), cache, locale](const std::string& path) {
        {
            const std::lock_guard lock(cache->mutex);
            if (const auto found = cache->captions.find(path); found != cache->captions.end())
                return found->second;
        }
        std::string caption = PictureCaption(*show, path, imaging::ReadPictureFacts, locale);
        const std::lock_guard lock(cache->mutex);
        return cache->captions.emplace(path, std::move(caption)).first->second;
    };
}

}  // namespace video
