// The Effects step: the effect tree and its commands.
#include <QLabel>
#include <QScopeGuard>
#include <QTreeView>

#include "app/MainForm.h"
#include "model/Settings.h"

namespace app {

void TMainForm::BuildEffectTree() {
    {
        // Filling the tree from the settings changes no choice of the user's.
        ++quiet_;
        const auto unquiet = qScopeGuard([this] { --quiet_; });
        model::BuildEffectTree(effectTree_);
    }
    // An empty tree would otherwise look like a program without effects.
    const bool empty = effectTree_.NodeCount() == 0;
    if (empty)
        catalogueNote_->setText(
            tr("No effects to choose from: the effect catalogue \"%1\" is missing or lists none.")
                .arg(QString::fromStdString(model::CatalogueStore().FileName())));
    catalogueNote_->setVisible(empty);
    // The tree may have been filled before (a project load fills it at once),
    // so the preview takes the first enabled effect of that fill.
    StartMiniPreview(effectTree_.FirstStyle());
}

}  // namespace app
