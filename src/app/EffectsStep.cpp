// The Effects step: the effect tree and its commands.
#include <QTreeView>

#include "app/MainForm.h"
#include "model/Settings.h"

namespace app {

void TMainForm::BuildEffectTree() {
    model::BuildEffectTree(effectTree_);
    // The tree may have been filled before (a project load fills it at once),
    // so the preview takes the first enabled effect of that fill.
    StartMiniPreview(effectTree_.FirstStyle());
}

}  // namespace app
