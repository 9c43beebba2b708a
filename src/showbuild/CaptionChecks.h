// What a show's captions ask for that this system cannot draw, found before
// the first frame so the build result can say so: a font that is not
// installed (drawn in the default font instead), named once however many
// pictures ask for it, and each caption with characters no installed font
// has a glyph for, which would otherwise show as empty boxes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Show.h"

namespace video {

// Appends a warning for each such font and caption of 'pictures' in 'show',
// whose captions read as 'captionOf' gives them (a date, a title, a name).
void AppendCaptionWarnings(const std::vector<std::string>& pictures, const model::Show& show,
                           const std::function<std::string(const std::string&)>& captionOf,
                           std::vector<std::string>& warnings);

}  // namespace video
