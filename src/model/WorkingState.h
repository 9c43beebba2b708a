// The model's share of the main window's collect step: the edited lists and
// the effect selection go into the working store and the settings record.
// The window adds its own controls and guards the whole step.
#pragma once

#include "model/EffectTree.h"
#include "model/MediaLists.h"

namespace model {

// With write: the image and music lists replace "Pictures" and "Music", the
// tree's selection becomes "useeffects" (when the tree holds one), and the
// store is written to disk (throws FileError when that fails). Then, always:
// Settings.Pictures and Settings.Music are rebuilt (known music lengths go
// to "Mp3Length") and Settings.useeffects is taken from the tree.
// The tree may be null when there is none yet.
void CollectWorkingState(const ImageList& images, const MusicList& music, const EffectTree* tree,
                         bool write);

// The checked music whose files the last CollectWorkingState found missing,
// handed over once: the build that follows the collect step names it among
// the music it leaves out, and no later build sees it again.
std::vector<LeftOutMusic> TakeMissingShowMusic();

}  // namespace model
