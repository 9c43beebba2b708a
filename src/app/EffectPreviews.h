// What the Effects step's preview and the per-image dialog's effect preview
// share: the effect a node of an effect tree stands for.
#pragma once

#include <QModelIndex>

namespace app {

// The style number of the node's effect, or of a category's first effect;
// -1 when there is none.
int StyleOfNode(const QModelIndex& node);

}  // namespace app
