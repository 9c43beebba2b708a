// What the Images and Music steps share: a list of files shown over its
// model, with selecting, moving, removing and clearing rows, the Delete and
// Return keys, and files dropped from the file manager. Each step adds its
// own commands and says what a drop and Return do.
#pragma once

#include <QWidget>

#include <vector>

class QAbstractItemView;

namespace app {

class PathDropModel;

class MediaListPage : public QWidget {
    Q_OBJECT

public:
    // The selected row, or -1.
    int SelectedRow() const;
    // Every selected row, in order.
    std::vector<int> SelectedRows() const;
    // Makes a row the selected and current one and scrolls to it; a row out
    // of range changes nothing.
    void SelectRow(int row);
    void FocusList();

signals:
    // A line for the window's status bar.
    void StatusMessage(const QString& text);

protected:
    explicit MediaListPage(QWidget* parent = nullptr);

    // Binds the page to its list, once both exist; clearQuestion is what
    // Clear asks before it empties the list.
    void Attach(PathDropModel& model, QAbstractItemView& view, const QString& clearQuestion);
    // Another view of the same model, sharing the first one's selection:
    // its keys do what the first one's do.
    void AttachAlso(QAbstractItemView& view);
    // The view the page shows, which selecting and focusing go to.
    void ShowView(QAbstractItemView& view) { view_ = &view; }
    // Whether SelectRow is moving the selection, which is no user's click.
    bool Selecting() const { return selecting_ > 0; }

    // The commands behind the buttons beside the list.
    // Removes every selected row.
    void RemoveSelected();
    // Ticks the selected rows, or unticks them when all are ticked.
    void ToggleSelectedTicks();
    void ClearAll();
    // Moves the selected row up (-1) or down (+1), keeping all it holds, and
    // keeps it selected.
    void MoveSelected(int offset);

    // The Move Up and Move Down buttons beside the list, in a column.
    QLayout* MoveArrows(const char* upName, const char* downName);

    // Rows were removed or the list was emptied.
    virtual void ListChanged() {}
    // Files and folders dropped on the list before row (-1: at its end);
    // notLocal counts addresses that named no local file.
    virtual void AddDropped(const QStringList& paths, int notLocal, int row) = 0;
    // What Return on the list does.
    virtual void OpenSelected() = 0;

    // Shows an error of a command the user started.
    void ReportError(const QString& text);

    // Delete removes the selected rows; Space ticks them; Return opens one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PathDropModel* model_ = nullptr;
    QAbstractItemView* view_ = nullptr;
    QString clearQuestion_;
    int selecting_ = 0;
};

}  // namespace app
