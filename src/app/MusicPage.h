// The Music step: the music list, its options menu (background music on or
// off, loop, shuffle), the sound-track options (fades, crossfade, even
// loudness), playback of a row, and the pass that measures the lengths of
// new files.
#pragma once

#include "app/MediaListPage.h"
#include "model/Show.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;

namespace model {
struct TslSettings;
}  // namespace model

namespace app {

class MusicListModel;
class MusicMixControls;

class MusicPage : public MediaListPage {
    Q_OBJECT

public:
    // The page reads and changes the window's working show.
    explicit MusicPage(model::Show& show, QWidget* parent = nullptr);

    MusicListModel& Model() { return *musicModel_; }
    // Fills the list from the store and the options menu from the settings.
    void RefreshFromSettings(const model::TslSettings& s, const model::IniFile& store);
    // Copies the options menu into the settings.
    void CollectSettings(model::TslSettings& s) const;

    // Whether the background music is switched on.
    bool MusicOn() const;
    // The options menu's items, each a setting of the project.
    QList<QAction*> OptionItems() const;
    // The item that switches the background music on and off.
    QAction& PlayItem() const { return *play1_; }
    // Says below the list when the background music is switched off.
    void ShowMusicOffNote(bool off);

    // Measures the new rows soon, once the events waiting have run, in the
    // background.
    void MeasureSoon();
    // Gives every row without a length its length now, for what needs them
    // (the Options step, the preview, the build).
    void Mp3LengthTimerTimer();

signals:
    // Play found no sound card: 'reason' says so for the window.
    void NoSound(const QString& reason);

protected:
    // Dropped music is appended, as the Add command appends it.
    void AddDropped(const QStringList& paths, int notLocal, int row) override;
    void OpenSelected() override { PlaySelectedMusic(); }

private:
    model::Show& show_;
    QTreeView* CreateList();
    QLayout* CreateButtons();
    void AddMusicFiles();
    void AddFiles(const QStringList& files);
    void ShowMusicMenu();
    void PlaySelectedMusic();
    void StopMusicClick();
    void ShowMeasuring(int finished, int total);

    MusicListModel* musicModel_ = nullptr;
    QTreeView* musicList_ = nullptr;
    QPushButton* musicb_ = nullptr;
    QMenu* musicm_ = nullptr;
    QAction* play1_ = nullptr;
    QAction* loop1_ = nullptr;
    QAction* shuffle1_ = nullptr;
    QTimer* mp3LengthTimer_ = nullptr;
    QLabel* musicOffNote_ = nullptr;
    QLabel* measuringNote_ = nullptr;
    MusicMixControls* mixControls_ = nullptr;
};

}  // namespace app
