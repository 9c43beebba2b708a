// The Effects step's preview: two sample pictures taking turns with the
// effect last selected in the tree.
#include <QComboBox>
#include <QSpinBox>
#include <QThread>
#include <QTreeView>

#include "app/EffectPreviews.h"
#include "app/EffectsPage.h"
#include "app/ProportionalFrame.h"
#include "base/Swallow.h"
#include "model/Settings.h"
#include "screen/PreviewRunner.h"

namespace app {

void EffectsPage::StartMiniPreview(int demoStyle) {
    if (miniPreview_ != nullptr) return;
    const bool made = base::Swallow("app::EffectsPage preview", [&] {
        screen::RunnerOptions options;
        options.SmallPreview = true;
        options.Demo = true;
        options.DemoStyle = demoStyle;
        miniPreview_ =
            std::make_unique<screen::TRunVantoscreen>(fsPanel2_, std::move(options), show_);
    });
    // Without a preview the step still works.
    if (!made) miniPreview_.reset();
}

int StyleOfNode(const QModelIndex& node) {
    if (!node.isValid()) return -1;
    // A category stands for its first effect.
    const QModelIndex effect = node.parent().isValid() ? node : node.model()->index(0, 0, node);
    return effect.isValid() ? effect.data(model::EffectTree::kStyleRole).toInt() : -1;
}

void ResetPreviewScreen(screen::TVantoscreen& view, int progress) {
    view.Stop();
    // Lets a transition that was running come to rest before the reset.
    QThread::msleep(10);
    view.Clear();
    view.SetProgress(progress);
}

void EffectsPage::StyleListSelectionChanged() {
    const int style = StyleOfNode(styleList_->currentIndex());
    if (style < 0 || style == previewedStyle_) return;
    previewedStyle_ = style;
    if (miniPreview_ == nullptr || miniPreview_->View == nullptr) return;
    ResetPreviewScreen(*miniPreview_->View, 0);
    miniPreview_->DemoStyle = style;
    miniPreview_->PickNext();
    miniPreview_->ShowNext();
}

void EffectsPage::SpeedOrIntervalChanged() {
    // Taken also without a preview, so the interval always reaches the show.
    CollectSettings(show_.settings);
    // A strength means nothing to pictures that stand still.
    motionStrength_->setEnabled(show_.settings.Motion.kind != model::MotionKind::None);
    if (miniPreview_ != nullptr) miniPreview_->ApplySettings(show_);
}

}  // namespace app
