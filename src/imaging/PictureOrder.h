// Ordering a show's pictures by when they were taken or by file name, for
// the Images step's sort and the command line's --sort.
//
// Both sorts are stable: pictures that tie (taken the same second, or
// names that compare equal) keep the order they had. By date, the earliest
// comes first; a picture with no time at all (its file is gone) goes to the
// end, those among themselves in the order they had. By name, the file name
// alone counts (not its folder), letter case ignored and numbers compared
// as numbers, so IMG_9 comes before IMG_10.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/PictureFacts.h"

namespace imaging {

enum class PictureOrder : uint8_t { None = 0, Taken = 1, Name = 2 };

using FactsFunction = std::function<PictureFacts(const std::string&)>;

// Sorts 'paths' in place; 'facts' is asked once per picture for the date.
void SortPictures(std::vector<std::string>& paths, PictureOrder order,
                  const FactsFunction& facts = ReadPictureFacts);

}  // namespace imaging
