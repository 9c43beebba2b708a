// The per-image dialog's effect preview: the clicked effect, played between
// the selected picture and its neighbour.
#include <QTableWidget>
#include <QTreeView>

#include "app/EffectPreviews.h"
#include "app/ImageForm.h"
#include "app/MainForm.h"
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
            preview_ = std::make_unique<screen::TRunVantoscreen>(fsPanel_, std::move(options),
                                                                 main_.WorkingShow());
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

    // The preview plays a show of its own: the clicked effect between the
    // row's picture and the next one, or the one before on the last row (none
    // at all with a single picture: the preview repeats it). The show's own
    // lists stay as they are.
    model::Show shown = main_.WorkingShow();
    model::StyleSet& effects = shown.settings.useeffects;
    effects.reset();
    if (model::IsStyleSetMember(style)) effects.set(static_cast<size_t>(style));
    const int row = CurrentRow();
    const int neighbour = row + 1 < sg_->rowCount() ? row + 1 : row - 1;
    shown.settings.Pictures = {PathOfRow(row).toStdString(), PathOfRow(neighbour).toStdString()};
    preview_->ApplySettings(shown);
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
