// The per-image dialog: every picture of the show in a grid, where the user
// gives it its own caption, interval, motion and fit, and its own set of
// transition effects in a copy of the effect tree, and its own caption
// style, and the point its motion aims at, on a view of the picture with the
// faces found in it. Effect sets reach the working store as soon as the tree
// changes; captions, intervals, motions, fits, caption styles and focus
// points on "OK".
#pragma once

#include <QDialog>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/CaptionStyle.h"
#include "model/EffectTree.h"
#include "model/PictureFocus.h"
#include "motion/Subject.h"

class QCheckBox;
class QLabel;
class QLayout;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeView;

namespace app {

class FocusView;
class SmallEffectPreview;
class TMainForm;
class ThumbnailPanel;

class TImageForm : public QDialog {
    Q_OBJECT

public:
    // Grid columns; the last one is hidden and holds the picture's path.
    enum Column {
        kFileColumn = 0,
        kCaptionColumn,
        kEffectsColumn,
        kIntervalColumn,
        kMotionColumn,
        kFitColumn,
        kPathColumn
    };

    explicit TImageForm(TMainForm& mainForm);
    ~TImageForm() override;

    QTableWidget& Grid() { return *sg_; }
    QTreeView& PictureTreeView() { return *ntView_; }
    // The effect preview, once an effect was clicked (until closing).
    SmallEffectPreview* EffectPreview() const { return preview_; }
    model::EffectTree& PictureTree() { return nt_; }
    FocusView& PictureFocusView() { return *focusView_; }

    // A picture's found subject, shown if it is the selected one's.
    void ShowSubject(const QString& path, const motion::Subject& subject);

    // "OK": writes captions, intervals and motions and closes.
    void OkClick();
    // "Reset": after confirmation erases every picture's own data.
    void ResetClick();
    // Shows the picture of a grid row: thumbnail, file label, effect set.
    void SelectRow(int row);
    // The next opening starts at this picture, or at the first picture of
    // this folder, instead of the first row.
    void StartAt(const QString& path) { startAt_ = path.toStdString(); }

    // Closing, however it happens, ends the effect preview.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The working show's per-picture notes, which the dialog edits.
    model::IniFile& Notes();
    // The picture grid; the effect tree with its tools, the row's thumbnail
    // and caption switch; the file label and the dialog's buttons. The two
    // latter add their controls to the tab order in the order they show.
    void CreateGrid();
    QWidget* CreateSide(QList<QWidget*>& tabOrder);
    QLayout* CreateFocusRow(QList<QWidget*>& tabOrder);
    QLayout* CreateBottom(QList<QWidget*>& tabOrder);
    // Fills the grid and the controls from the main window's state.
    void Open();
    void sgClick();
    void LoadSelection(const std::string& path);
    void CopyMainTreeStates();
    void NTChecked();
    void DefaultRadioClick();
    // The effect preview: the clicked effect between the row's picture and
    // its neighbour.
    void NTClick();
    void HideEffectPreview();
    void FreeEffectPreview();
    void Image1Click();
    // The selected picture's thumbnail, subject and focus point on the view.
    void ShowFocusOf(const std::string& path);
    void TakeShownPicture();
    void TakeFoundSubject(const QString& path);
    void FocusEdited();
    // The selected picture's caption style: its own, or the show's.
    void EditCaptionStyle();
    void SetRadios(bool customized);
    QString PathOfRow(int row) const;
    // The pictures of every row, in grid order.
    std::vector<std::string> GridPaths() const;
    int CurrentRow() const;

    TMainForm& main_;
    QTableWidget* sg_;
    model::EffectTree nt_;
    QTreeView* ntView_;
    QRadioButton* defaultRadio_;
    QRadioButton* custRadio_;
    ThumbnailPanel* fsPanel_;
    QCheckBox* captionCheck_;
    QPushButton* captionStyle_;
    // Caption styles chosen since opening, by picture (nullopt: the show's),
    // written on "OK".
    std::map<std::string, std::optional<model::CaptionStyle>> pendingStyles_;
    // Focus points set or cleared since opening, by picture, written on "OK".
    std::map<std::string, std::optional<model::FocusPoint>> pendingFocus_;
    FocusView* focusView_;
    QPushButton* clearFocus_;
    QLabel* label1_;

    std::string defaultSignature_;
    SmallEffectPreview* preview_ = nullptr;  // owned by fsPanel_ while it lives
    bool loading_ = false;                   // the tree's check event acts only while set
    bool radioSwitch_ = false;               // "Use Default" acts only while set
    bool ntBuilt_ = false;
    bool filling_ = false;  // the grid is being filled
    bool centred_ = false;
    bool open_ = false;  // shown and not yet closed
    std::string startAt_;
};

}  // namespace app
