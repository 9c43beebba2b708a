// The Images step's Sort: the new order of the image list's entries, by the
// date each was taken or by file name, as imaging::SortPictures orders a
// show's pictures.
//
// A folder entry sorts among the pictures by its own name, and by date at
// its own modification time: opening every picture of a folder to find its
// newest would make one row cost as much as the whole folder.
#pragma once

#include <cstddef>
#include <vector>

#include "imaging/PictureOrder.h"
#include "model/MediaLists.h"

namespace app {

// For each position of the sorted list, the position its entry has in
// 'entries' (EntryList::Reorder's form). 'facts' is asked once per picture
// file; with the date order it reads files, so a long list is sorted off
// the window's thread.
std::vector<size_t> SortedEntryOrder(
    const std::vector<model::TImageEntry>& entries, imaging::PictureOrder order,
    const imaging::FactsFunction& facts = imaging::ReadPictureFacts);

}  // namespace app
