// The Images step: the image list, as a list or as a storyboard of
// thumbnails, the thumbnail of its selected row, the count of pictures and
// the show's length, and the commands that add pictures and folders.
#pragma once

#include <memory>

#include "app/MediaListPage.h"
#include "imaging/PictureOrder.h"
#include "model/Show.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QListView;
class QSlider;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace base {
template <class Job>
class WorkQueue;
}  // namespace base
namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class ImageListModel;
class StoryboardView;
class ThumbnailPanel;
class ThumbnailService;

class ImagesPage : public MediaListPage {
    Q_OBJECT

public:
    // The page reads and changes the window's working show.
    explicit ImagesPage(model::Show& show, QWidget* parent = nullptr);
    ~ImagesPage() override;

    ImageListModel& Model() { return *imageModel_; }
    // Fills the list from the store and shows the first row's thumbnail on
    // the background colour of the settings.
    void RefreshFromSettings(const model::TslSettings& s, const model::IniFile& store);

    // The image list's row click: shows the selected row's thumbnail, or the
    // number of pictures of a selected folder.
    void ImageListClick();

    // Shows the list (false) or the storyboard (true), and keeps the choice
    // in the user's settings.
    void ShowStoryboard(bool storyboard);
    bool StoryboardShown() const;
    StoryboardView& Storyboard() { return *storyboard_; }

    // The Sort menu's commands. By name the rows are reordered at once; by
    // date the files are read on a thread of their own, the Sort button
    // greyed until the rows are reordered. A list changed meanwhile is left
    // as it is, since the order found was the old list's.
    void SortBy(imaging::PictureOrder order);
    bool Sorting() const { return sorter_ != nullptr; }

    // "Add title": the title card editor, and on OK a new card after the
    // selected row (first in an empty list), selected. Cancel adds nothing.
    void AddTitle();
    // The editor on the card at 'row'; true when it was changed.
    bool EditTitle(int row);

signals:
    // The user changed an option of the project.
    void Changed();
    // Return on a storyboard tile: the per-image dialog, at this picture or folder.
    void CustomizeRequested(const QString& path);

protected:
    void ListChanged() override;
    void AddDropped(const QStringList& paths, int notLocal, int row) override;
    void OpenSelected() override;

private:
    model::Show& show_;
    QLayout* CreateSide();
    QLayout* CreateViewBar();
    // Renumbers the tiles and rewrites the count lines.
    void Recount();
    void Image1Click();
    void AddImageFiles();
    void AddImageFolder();
    struct SortJob;
    // Reorders the rows by the order the sorting thread found.
    void TakeSorted();
    void ApplyOrder(const std::vector<size_t>& order);

    ImageListModel* imageModel_ = nullptr;
    QListView* imageList_ = nullptr;
    ThumbnailPanel* fsPanel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QCheckBox* allTypes_ = nullptr;
    ThumbnailService* thumbnails_ = nullptr;
    StoryboardView* storyboard_ = nullptr;
    QStackedWidget* views_ = nullptr;
    QToolButton* listButton_ = nullptr;
    QToolButton* storyButton_ = nullptr;
    QSlider* tileSize_ = nullptr;
    QLabel* countLine_ = nullptr;
    QTimer* recount_ = nullptr;
    QPushButton* sortButton_ = nullptr;
    std::unique_ptr<base::WorkQueue<SortJob>> sorter_;
};

}  // namespace app
