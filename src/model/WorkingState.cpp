#include "model/WorkingState.h"

namespace model {

void CollectWorkingState(const ImageList& images, const MusicList& music, const EffectTree* tree,
                         bool write, IniFile& store, Show& show) {
    TslSettings& s = show.settings;
    const bool treeHoldsSelection = tree != nullptr && TreeHoldsSelection(*tree);
    if (treeHoldsSelection) s.useeffects = SelectionFromTree(*tree);
    images.CollectInto(s.Pictures, FolderTypesOf(s.FolderAllTypes));
    music.CollectInto(s.Music, store);
    if (write) {
        images.WriteToStore(store);
        music.WriteToStore(store);
        // The record's row leaves the selection to the tree, which lists it
        // as the catalogue does.
        if (treeHoldsSelection) store.WriteString("set", "useeffects", StyleListText(*tree));
    }
    show.leftOutMusic = MissingMusic(music);
    std::vector<LeftOutMusic> unmeasured = MusicWithoutLength(store);
    show.leftOutMusic.insert(show.leftOutMusic.end(), unmeasured.begin(), unmeasured.end());
    TakeMusicNotes(store, show);
    StoreShow(show, store);
    if (write) store.UpdateFile();
}

}  // namespace model
