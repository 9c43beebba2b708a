// The per-image dialog's "Motion" column: a picture's own pan and zoom, or
// "Default" for the show's, chosen in the cell from a list of kinds with a
// strength beside it.
#pragma once

#include <QWidget>

#include <optional>

#include "app/OwnSettingColumn.h"
#include "model/MotionSetting.h"

class QComboBox;
class QSpinBox;

namespace app {

// A cell for a picture's own motion (nullopt: the show's).
QTableWidgetItem* MotionCell(const std::optional<model::MotionSetting>& motion);
// The motion a cell holds; nullopt for "Default".
std::optional<model::MotionSetting> MotionOfCell(const QTableWidgetItem& cell);
// What the cell shows: "Default", "None", "Zoom in, 3".
QString MotionCellText(const std::optional<model::MotionSetting>& motion);

// The cell's editor: the kind and, beside it, the strength.
class MotionEditor : public QWidget {
public:
    explicit MotionEditor(QWidget* parent);
    void SetStored(const QString& stored);
    QString Stored() const;
    static QString Shown(const QString& stored);

private:
    QComboBox* const kind_;
    QSpinBox* const strength_;
};

using MotionDelegate = OwnSettingDelegate<MotionEditor>;

}  // namespace app
