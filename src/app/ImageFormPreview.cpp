// The per-image dialog's effect preview: the clicked effect, played between
// the selected picture and its neighbour.
#include <QTableWidget>
#include <QTreeView>

#include "app/EffectPreviews.h"
#include "app/ImageForm.h"
#include "app/ThumbnailPanel.h"
#include "base/Swallow.h"
#include "model/Settings.h"
#include "screen/PreviewRunner.h"

namespace app {

void TImageForm::NTClick() {
    if (!ntBuilt_) return;
    const int style = StyleOfNode(ntView_->currentIndex());
    if (style < 0) return;

    if (preview_ == nullptr) {
        const bool made = base::Swallow("app::TImageForm preview", [&] {
            screen::RunnerOptions options;
            options.SmallPreview = true;
            options.UseShowSet = true;
            preview_ = std::make_unique<screen::TRunVantoscreen>(fsPanel_, std::move(options));
            preview_->ApplySettings();
        });
        // Without a preview the dialog still works.
        if (!made) {
            preview_.reset();
            return;
        }
    }
    if (preview_->View == nullptr) return;
    screen::TVantoscreen& view = *preview_->View;
    ResetPreviewScreen(view, 1);
    view.repaint();

    model::StyleSet only;
    if (model::IsStyleSetMember(style)) only.set(static_cast<size_t>(style));
    model::Settings.useeffects = only;
    // The row's picture, then the next one, or the one before on the last
    // row (none at all with a single picture: the preview repeats it).
    const int row = CurrentRow();
    const int neighbour = row + 1 < sg_->rowCount() ? row + 1 : row - 1;
    model::Settings.Pictures = {PathOfRow(row).toStdString(), PathOfRow(neighbour).toStdString()};
    preview_->Index = 1;
    preview_->PickNext();
    preview_->ShowNext();
    fsPanel_->SetPictureVisible(false);
    view.show();
    view.raise();
}

void TImageForm::HideEffectPreview() {
    if (preview_ != nullptr && preview_->View != nullptr) preview_->View->hide();
}

void TImageForm::FreeEffectPreview() {
    preview_.reset();
    fsPanel_->SetPictureVisible(true);
}

}  // namespace app
