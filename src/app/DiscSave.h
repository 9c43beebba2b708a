// The Build step's disc output: the capacity question before a build, and
// the authoring of the built video into the DVD folder or image, or the CD
// image, chosen in the save dialog.
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "disc/DiscPlan.h"
#include "showbuild/BuildDriver.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace app {

// The save dialog's file types for the video format (the MPEG file first),
// and the name to use for what was typed under the type picked: a folder
// type ends the name with "/" so it reads as a folder.
QStringList VideoSaveFilters(int videoType);
QString NameForSaveFilter(const QString& typedName, const QString& filter);

// The disc kind of a name the save dialog returned: a name ending in "/"
// (the folder type) is a DVD-Video folder, otherwise as the name says.
disc::DiscKind DiscKindOfSaveName(const QString& name);

// The question for a show of 'seconds' in the record's format that is too
// large for the format's disc, or nothing when it fits.
std::optional<QString> CapacityQuestion(const model::TslSettings& settings, double seconds);

// Where the Build step shows the authoring and takes Abort.
struct DiscSaveView {
    QWidget* window = nullptr;
    QLabel* label = nullptr;
    QProgressBar* bar = nullptr;  // range 0..barSteps
    int barSteps = 1000;
    QPushButton* abort = nullptr;
};

enum class DiscSaveOutcome { Written, Aborted, Failed };

// Authors 'video', in the format it was built in, into the disc kind the
// chosen name asks for. 'message' gets
// the name written, or the failing tool's own last message.
DiscSaveOutcome SaveDisc(const DiscSaveView& view, const std::string& video,
                         const video::BuildResult& built, const QString& chosenName,
                         QString& message);

}  // namespace app
