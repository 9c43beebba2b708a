// The Effects step's preview: the effect last selected in the tree, looping
// between the show's first two pictures.
#include <QComboBox>
#include <QSpinBox>
#include <QTreeView>

#include "app/EffectPreviews.h"
#include "app/EffectsPage.h"
#include "app/ProportionalFrame.h"
#include "app/SmallEffectPreview.h"
#include "model/Settings.h"

namespace app {

void EffectsPage::StartMiniPreview(int style) {
    if (miniPreview_ == nullptr) miniPreview_ = new SmallEffectPreview(fsPanel2_);
    previewedStyle_ = style;
    PlayMiniPreview();
}

void EffectsPage::PlayMiniPreview() {
    if (miniPreview_ != nullptr)
        miniPreview_->Play(show_, PreviewPicturesOf(show_), previewedStyle_);
}

int StyleOfNode(const QModelIndex& node) {
    if (!node.isValid()) return -1;
    // A category stands for its first effect.
    const QModelIndex effect = node.parent().isValid() ? node : node.model()->index(0, 0, node);
    return effect.isValid() ? effect.data(model::EffectTree::kStyleRole).toInt() : -1;
}

void EffectsPage::StyleListSelectionChanged() {
    const int style = StyleOfNode(styleList_->currentIndex());
    if (style < 0 || style == previewedStyle_) return;
    previewedStyle_ = style;
    PlayMiniPreview();
}

void EffectsPage::SpeedOrIntervalChanged() {
    // Taken also without a preview, so the interval always reaches the show.
    CollectSettings(show_.settings);
    // A strength means nothing to pictures that stand still.
    motionStrength_->setEnabled(show_.settings.Motion.kind != model::MotionKind::None);
    // The speed and the motion show in the transition at once.
    PlayMiniPreview();
}

}  // namespace app
