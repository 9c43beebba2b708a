#include "model/WorkingState.h"

#include "model/Settings.h"

namespace model {

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
    if (treeHoldsSelection) Settings.useeffects = SelectionFromTree(*tree);
}

}  // namespace model
