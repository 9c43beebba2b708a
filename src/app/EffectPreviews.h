// What the Effects step's preview and the per-image dialog's effect preview
// share: the effect a node of an effect tree stands for, and how a preview
// screen is brought to rest before it shows another effect.
#pragma once

#include <QModelIndex>

namespace screen {
class TVantoscreen;
}  // namespace screen

namespace app {

// The style number of the node's effect, or of a category's first effect;
// -1 when there is none.
int StyleOfNode(const QModelIndex& node);

// Stops the running transition, lets it come to rest and clears the screen
// at the given progress.
void ResetPreviewScreen(screen::TVantoscreen& view, int progress);

}  // namespace app
