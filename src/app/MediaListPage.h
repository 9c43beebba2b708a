// What the Images and Music steps share: a list of files shown over its
// model, with selecting, moving, removing and clearing rows, the Delete and
// Return keys, and files dropped from the file manager. Each step adds its
// own commands and says what a drop and Return do.
#pragma once

#include <QWidget>

class QAbstractItemView;

namespace app {

class PathDropModel;

class MediaListPage : public QWidget {
    Q_OBJECT

public:
    // The selected row, or -1.
    int SelectedRow() const;
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
    // Whether SelectRow is moving the selection, which is no user's click.
    bool Selecting() const { return selecting_ > 0; }

    // The commands behind the buttons beside the list.
    void RemoveSelected();
    void ClearAll();
    // Moves the selected row up (-1) or down (+1), keeping all it holds, and
    // keeps it selected.
    void MoveSelected(int offset);

    // The Move Up and Move Down buttons beside the list, in a column.
    QLayout* MoveArrows(const char* upName, const char* downName);

    // Rows were removed or the list was emptied.
    virtual void ListChanged() {}
    // Files and folders dropped on the list; notLocal counts addresses that
    // named no local file.
    virtual void AddDropped(const QStringList& paths, int notLocal) = 0;
    // What Return on the list does.
    virtual void OpenSelected() = 0;

    // Shows an error of a command the user started.
    void ReportError(const QString& text);

    // Delete removes the selected row; Return opens it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PathDropModel* model_ = nullptr;
    QAbstractItemView* view_ = nullptr;
    QString clearQuestion_;
    int selecting_ = 0;
};

}  // namespace app
