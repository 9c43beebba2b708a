// The Effects step: the effect tree and its commands.
#include <QTreeView>

#include "app/MainForm.h"
#include "model/Settings.h"

namespace app {

void TMainForm::BuildEffectTree() {
    const bool firstFill = !effectTree_.IsBuilt();
    const int firstStyle = model::BuildEffectTree(effectTree_);
    if (firstFill) styleList_->expandToDepth(-1);
    StartMiniPreview(firstStyle);
}

}  // namespace app
