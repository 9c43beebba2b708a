#include "model/WorkingState.h"

#include <utility>

#include "model/Settings.h"

namespace model {

namespace {

std::vector<LeftOutMusic> missingShowMusic;

}  // namespace

void CollectWorkingState(const ImageList& images, const MusicList& music, const EffectTree* tree,
                         bool write) {
    IniFile& store = OptionsStore();
    const bool treeHoldsSelection = tree != nullptr && TreeHoldsSelection(*tree);
    if (write) {
        images.WriteToStore(store);
        music.WriteToStore(store);
        if (treeHoldsSelection) store.WriteString("set", "useeffects", StyleListText(*tree));
        store.UpdateFile();
    }
    images.CollectInto(Settings.Pictures);
    music.CollectInto(Settings.Music, store);
    missingShowMusic = MissingMusic(music);
    if (treeHoldsSelection) Settings.useeffects = SelectionFromTree(*tree);
}

std::vector<LeftOutMusic> TakeMissingShowMusic() {
    return std::exchange(missingShowMusic, {});
}

}  // namespace model
