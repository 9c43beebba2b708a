// What a show's captions ask for that this system cannot draw, found before
// the first frame so the build result can say so: a font that is not
// installed (drawn in the default font instead), named once however many
// pictures ask for it, and each caption with characters no installed font
// has a glyph for, which would otherwise show as empty boxes.
#pragma once

#include <string>
#include <vector>

#include "model/Show.h"

namespace video {

// Appends a warning for each such font and caption of 'pictures' in 'show'.
void AppendCaptionWarnings(const std::vector<std::string>& pictures, const model::Show& show,
                           std::vector<std::string>& warnings);

}  // namespace video
