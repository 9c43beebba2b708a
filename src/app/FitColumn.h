// The per-image dialog's "Fit" column: how a picture moves when its shape
// is not the video's (cut to fill the frame, whole, or Auto), or "Default"
// for the show's choice, picked in the cell from a list.
#pragma once

#include <QComboBox>

#include <optional>

#include "app/OwnSettingColumn.h"
#include "model/MotionFit.h"

namespace app {

// A cell for a picture's own fit (nullopt: the show's).
QTableWidgetItem* FitCell(const std::optional<model::MotionFit>& fit);
// The fit a cell holds; nullopt for "Default".
std::optional<model::MotionFit> FitOfCell(const QTableWidgetItem& cell);

// The cell's editor: a list of "Default" and the choices.
class FitEditor : public QComboBox {
public:
    explicit FitEditor(QWidget* parent);
    void SetStored(const QString& stored);
    QString Stored() const;
    static QString Shown(const QString& stored);
};

using FitDelegate = OwnSettingDelegate<FitEditor>;

}  // namespace app
