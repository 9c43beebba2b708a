// The model's share of the collect step of the window and of the headless
// command: the edited lists and the effect selection go into the show, and
// the show into its store. The window adds its own controls first and guards
// the whole step.
#pragma once

#include "model/EffectTree.h"
#include "model/IniFile.h"
#include "model/MediaLists.h"
#include "model/Show.h"

namespace model {

// Always: the show's pictures and music lists are rebuilt from the lists
// (known music lengths go to the store's "Mp3Length" and so to the show's
// notes), its left-out music is named, its effect selection is taken from
// the tree (when the tree holds one), and the record and the per-picture
// notes go into the store. With write, the lists replace the store's
// "Pictures" and "Music" and the store is written to disk (throws FileError
// when that fails). The tree may be null when there is none yet.
void CollectWorkingState(const ImageList& images, const MusicList& music, const EffectTree* tree,
                         bool write, IniFile& store, Show& show);

}  // namespace model
