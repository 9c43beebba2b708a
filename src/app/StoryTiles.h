// What the storyboard's tiles say besides the picture: each entry's number in
// the show and the pictures a folder stands for, the badges of what a picture
// has of its own, and the step's count line. Numbers follow the show's own
// collect step, so the tile numbered 7 is the seventh picture of the video.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "model/MediaLists.h"
#include "model/Show.h"

namespace app {

struct StoryNumbers {
    // Per entry: its first picture's number in the show (from 1), 0 when it
    // gives the show none (not ticked, gone, an empty folder).
    std::vector<int> number;
    // Per entry: the pictures it stands for (1 for a file, a folder's count).
    std::vector<int> pictures;
    // The show's pictures, in order: ticked entries, folders expanded.
    std::vector<std::string> ticked;
    // Pictures of every entry, ticked or not.
    int all = 0;
};
StoryNumbers NumberEntries(const model::ImageList& list, model::FolderTypes types);

enum class BadgeKind { Caption, Interval, Effects, Motion };
struct Badge {
    BadgeKind kind;
    QString letter;   // drawn on the tile
    QString tooltip;  // what it means for this picture
};
// What a picture has of its own in the show (caption, interval, effect set),
// and its motion, in that order.
std::vector<Badge> BadgesOf(const model::Show& show, const std::string& path);

// "1 picture", "3 pictures": what a folder's tile says.
QString PictureCount(int count);
// "12 of 14 pictures, show length 1:05".
QString CountLine(int ticked, int all, int showSeconds);

}  // namespace app
