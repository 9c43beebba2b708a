#include "app/StoryTiles.h"

#include <QCoreApplication>

#include <algorithm>
#include <unordered_set>

#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/TitleCard.h"

namespace app {

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("app::StoryTiles", text);
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

// A show is minutes long: hours only where there are any.
QString ShortLength(int seconds) {
    seconds = std::max(seconds, 0);
    const int hours = seconds / 3600, minutes = seconds / 60 % 60, rest = seconds % 60;
    const QString tail = QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(tail);
    return QStringLiteral("%1:%2").arg(minutes).arg(tail);
}

}  // namespace

StoryNumbers NumberEntries(const model::ImageList& list, model::FolderTypes types) {
    StoryNumbers numbers;
    const size_t count = list.Count();
    numbers.number.assign(count, 0);
    numbers.pictures.assign(count, 0);
    // Every entry's pictures counted on their own: a picture listed twice
    // is one picture of the list but shown once, as the collect step takes it.
    std::unordered_set<std::string> everything;
    for (size_t row = 0; row < count; ++row) {
        const model::TImageEntry& entry = list.At(row);
        std::string path = entry.Path;
        if (!model::IsTitleCard(path) && !model::ResolveMediaPath(path)) continue;
        const bool folder = !model::IsTitleCard(path) && model::FolderExists(path);
        std::vector<std::string> own;
        if (folder)
            model::ExpandImageFolder(path, own, types);
        else
            own.push_back(path);
        numbers.pictures[row] = static_cast<int>(own.size());
        everything.insert(own.begin(), own.end());
        if (!entry.Checked) continue;
        const size_t before = numbers.ticked.size();
        if (folder)
            model::ExpandImageFolder(path, numbers.ticked, types);
        else
            numbers.ticked.push_back(std::move(path));
        if (numbers.ticked.size() > before) numbers.number[row] = static_cast<int>(before) + 1;
    }
    numbers.all = static_cast<int>(everything.size());
    return numbers;
}

std::vector<Badge> BadgesOf(const model::Show& show, const std::string& path) {
    std::vector<Badge> badges;
    if (const auto caption = model::OwnEntry(show.notes, model::kCaptionsSection, path);
        caption && !caption->empty())
        badges.push_back(
            {BadgeKind::Caption, QStringLiteral("T"), Tr("Caption: %1").arg(ToQt(*caption))});
    if (show.HasOwnInterval(path))
        badges.push_back({BadgeKind::Interval, QStringLiteral("s"),
                          Tr("Its own interval: %1 s").arg(show.IntervalOf(path))});
    if (model::OwnEntry(show.notes, model::kEffectsSection, path))
        badges.push_back(
            {BadgeKind::Effects, QStringLiteral("E"), Tr("A transition set of its own")});
    if (const model::MotionSetting motion = show.MotionOf(path);
        motion.kind != model::MotionKind::None)
        badges.push_back({BadgeKind::Motion, QStringLiteral("M"),
                          Tr("Motion: %1").arg(Tr(model::MotionKindInfo(motion.kind).label))});
    return badges;
}

QString PictureCount(int count) {
    return count == 1 ? Tr("1 picture") : Tr("%1 pictures").arg(count);
}

QString CountLine(int ticked, int all, int showSeconds) {
    return Tr(all == 1 ? "%1 of %2 picture, show length %3" : "%1 of %2 pictures, show length %3")
        .arg(QString::number(ticked), QString::number(all), ShortLength(showSeconds));
}

}  // namespace app
