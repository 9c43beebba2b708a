// The render-transition command: one frame of a transition, or a contact
// sheet of every transition at one progress, drawn without a window.
#pragma once

#include <string>

#include "raster/Bitmap.h"

namespace cli {

// vantoshow render-transition --style N --progress P --from A --to B
//                             [--size WxH] -o frame.png
// vantoshow render-transition --sheet [--progress P] --from A --to B
//                             [--size WxH] -o sheet.png
// Returns 0 on success, 1 when a picture cannot be loaded or the output
// cannot be written (one line on stderr), 2 for bad arguments (usage line).
int RunRenderTransition(int argc, char** argv);

// The picture at path fitted into a width x height frame with its
// proportions kept, centred on black, as the video build composes a picture
// on its frame. Throws std::runtime_error with a one-line message naming the
// file when the picture cannot be loaded.
raster::Bitmap ComposeOnBlack(const std::string& path, int width, int height);

}  // namespace cli
