#include "app/ImageSort.h"

#include <QFileInfo>
#include <QString>

#include <deque>
#include <map>
#include <string>

#include "model/MediaPaths.h"
#include "model/TitleCard.h"

namespace app {

std::vector<size_t> SortedEntryOrder(const std::vector<model::TImageEntry>& entries,
                                     imaging::PictureOrder order,
                                     const imaging::FactsFunction& facts) {
    // Sorted by their paths without the folders' trailing slash, so a folder
    // compares by its own name; each key finds its rows again in the order
    // they had, which a stable sort keeps for keys that tie.
    std::vector<std::string> keys;
    std::map<std::string, std::deque<size_t>> rowsOf;
    std::map<std::string, bool> folders;
    for (size_t row = 0; row < entries.size(); ++row) {
        std::string key = entries[row].Path;
        const bool folder = !key.empty() && key.back() == '/';
        if (folder) key.pop_back();
        rowsOf[key].push_back(row);
        folders[key] = folder;
        keys.push_back(std::move(key));
    }
    imaging::SortPictures(keys, order, [&](const std::string& key) {
        // A title card has no file to date; it sorts as an undated picture.
        if (model::IsTitleCard(key)) return imaging::PictureFacts{};
        if (!folders[key]) {
            // A relative entry is found where the build would find it.
            std::string path = key;
            model::ResolveMediaPath(path);
            return facts(path);
        }
        imaging::PictureFacts folder;
        const QFileInfo info(QString::fromStdString(key));
        if (info.isDir()) folder.taken = info.lastModified();
        return folder;
    });
    std::vector<size_t> sorted;
    sorted.reserve(keys.size());
    for (const std::string& key : keys) {
        std::deque<size_t>& rows = rowsOf[key];
        sorted.push_back(rows.front());
        rows.pop_front();
    }
    return sorted;
}

}  // namespace app
