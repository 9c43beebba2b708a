// "Where it will be watched:" on the Options step: a list of the show
// presets (model/ShowPresets.h) above the detailed video controls, showing
// the one the settings are, or "Custom", listed only while they match none.
// Picking a row is handed to the page, which sets the controls; the list
// only reflects what the model says the settings are.
#pragma once

#include <QWidget>

class QComboBox;

namespace model {
struct ShowPreset;
struct TslSettings;
}  // namespace model

namespace app {

class PresetChoice : public QWidget {
    Q_OBJECT

public:
    explicit PresetChoice(QWidget* parent = nullptr);

    // Shows the preset the settings are, or "Custom".
    void ShowPresetOf(const model::TslSettings& s);
    // The preset shown, or nullptr for "Custom".
    const model::ShowPreset* Shown() const { return shown_; }

signals:
    // The user picked a preset.
    void Picked(const model::ShowPreset& preset);

private:
    void SetCustomListed(bool listed);

    QComboBox* combo_ = nullptr;
    const model::ShowPreset* shown_ = nullptr;
};

}  // namespace app
