#include "app/MediaListPage.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QVBoxLayout>

#include <algorithm>

#include "app/MediaListModels.h"
#include "app/UserDialogs.h"
#include "app/WidgetFactory.h"

namespace app {

MediaListPage::MediaListPage(QWidget* parent) : QWidget(parent) {}

void MediaListPage::Attach(PathDropModel& model, QAbstractItemView& view,
                           const QString& clearQuestion) {
    model_ = &model;
    view_ = &view;
    clearQuestion_ = clearQuestion;
    connect(model_, &PathDropModel::PathsDropped, this,
            [this](const QStringList& paths, int notLocal, int row) {
                AddDropped(paths, notLocal, row);
            });
    view_->installEventFilter(this);
}

void MediaListPage::AttachAlso(QAbstractItemView& view) {
    view.setModel(model_);
    view.setSelectionModel(view_->selectionModel());
    view.installEventFilter(this);
}

std::vector<int> MediaListPage::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : view_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int MediaListPage::SelectedRow() const {
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MediaListPage::SelectRow(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    ++selecting_;
    const auto done = qScopeGuard([this] { --selecting_; });
    const QModelIndex index = model_->index(row, 0);
    view_->setCurrentIndex(index);
    view_->selectionModel()->select(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index);
}

QLayout* MediaListPage::MoveArrows(const char* upName, const char* downName) {
    auto* up = ArrowButton(upName, QStyle::SP_ArrowUp, tr("Move Up"));
    auto* down = ArrowButton(downName, QStyle::SP_ArrowDown, tr("Move Down"));
    connect(up, &QToolButton::clicked, this, [this] { MoveSelected(-1); });
    connect(down, &QToolButton::clicked, this, [this] { MoveSelected(+1); });
    auto* arrows = new QVBoxLayout;
    arrows->addWidget(up);
    arrows->addWidget(down);
    arrows->addStretch();
    return arrows;
}

void MediaListPage::FocusList() {
    view_->setFocus();
}

void MediaListPage::RemoveSelected() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    // From the last, so the rows still to go keep their numbers.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) model_->Remove(*row);
    if (model_->rowCount() > 0) SelectRow(std::min(rows.front(), model_->rowCount() - 1));
    ListChanged();
}

void MediaListPage::ToggleSelectedTicks() {
    const std::vector<int> rows = SelectedRows();
    const auto ticked = [this](int row) {
        return model_->index(row, 0).data(Qt::CheckStateRole).value<Qt::CheckState>() ==
               Qt::Checked;
    };
    const bool tick = !std::all_of(rows.begin(), rows.end(), ticked);
    for (const int row : rows)
        model_->setData(model_->index(row, 0), tick ? Qt::Checked : Qt::Unchecked,
                        Qt::CheckStateRole);
}

void MediaListPage::ClearAll() {
    if (!Dialogs().Confirm(window(), clearQuestion_)) return;
    model_->Clear();
    ListChanged();
}

void MediaListPage::MoveSelected(int offset) {
    const int row = SelectedRow();
    if (row < 0 || !model_->Move(row, row + offset)) return;
    SelectRow(row + offset);
}

void MediaListPage::ReportError(const QString& text) {
    Dialogs().ShowError(window(), text);
}

bool MediaListPage::eventFilter(QObject* watched, QEvent* event) {
    auto* view = qobject_cast<QAbstractItemView*>(watched);
    if (event->type() != QEvent::KeyPress || view == nullptr || view->model() != model_)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Delete)) {
        RemoveSelected();
        return true;
    }
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
        ToggleSelectedTicks();
        return true;
    }
    // Return does what a click on the thumbnail or a double click on the
    // music row does.
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        OpenSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace app
