// The Images step: the image list, the thumbnail of its selected row, the
// count of pictures, and the commands that add pictures and folders.
#pragma once

#include "app/MediaListPage.h"
#include "model/Show.h"

class QCheckBox;
class QLabel;
class QListView;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class ImageListModel;
class ThumbnailPanel;

class ImagesPage : public MediaListPage {
    Q_OBJECT

public:
    // The page reads and changes the window's working show.
    explicit ImagesPage(model::Show& show, QWidget* parent = nullptr);

    ImageListModel& Model() { return *imageModel_; }
    // Fills the list from the store and shows the first row's thumbnail on
    // the background colour of the settings.
    void RefreshFromSettings(const model::TslSettings& s, const model::IniFile& store);

    // The image list's row click: shows the selected row's thumbnail, or the
    // number of pictures of a selected folder.
    void ImageListClick();

signals:
    // The user changed an option of the project.
    void Changed();

protected:
    void ListChanged() override;
    void AddDropped(const QStringList& paths, int notLocal) override;
    void OpenSelected() override { Image1Click(); }

private:
    model::Show& show_;
    QLayout* CreateSide();
    void Image1Click();
    void AddImageFiles();
    void AddImageFolder();
    void UpdateCountLabel();

    ImageListModel* imageModel_ = nullptr;
    QListView* imageList_ = nullptr;
    ThumbnailPanel* fsPanel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QCheckBox* allTypes_ = nullptr;
};

}  // namespace app
