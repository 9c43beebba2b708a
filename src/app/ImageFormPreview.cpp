// The per-image dialog's effect preview: the clicked effect, looping between
// the selected picture and its neighbour.
#include <QTableWidget>
#include <QTreeView>

#include "app/EffectPreviews.h"
#include "app/ImageForm.h"
#include "app/MainForm.h"
#include "app/SmallEffectPreview.h"
#include "app/ThumbnailPanel.h"

namespace app {

void TImageForm::NTClick() {
    if (!ntBuilt_) return;
    const int style = StyleOfNode(ntView_->currentIndex());
    if (style < 0) return;
    if (preview_ == nullptr) preview_ = new SmallEffectPreview(fsPanel_);

    // The row's picture into the next one, or the one before on the last
    // row; a lone picture comes in from black.
    const int row = CurrentRow();
    const int neighbour = row + 1 < sg_->rowCount() ? row + 1 : row - 1;
    std::vector<std::string> pictures = {PathOfRow(row).toStdString()};
    if (neighbour >= 0) pictures.push_back(PathOfRow(neighbour).toStdString());
    preview_->Play(main_.WorkingShow(), std::move(pictures), style);
    fsPanel_->SetPictureVisible(false);
    preview_->show();
    preview_->raise();
}

void TImageForm::HideEffectPreview() {
    if (preview_ != nullptr) preview_->hide();
}

void TImageForm::FreeEffectPreview() {
    delete preview_;
    preview_ = nullptr;
    fsPanel_->SetPictureVisible(true);
}

}  // namespace app
