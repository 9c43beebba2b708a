// What a font makes of one line of text, as the caption renderer measures it:
// the encoder measures with it, and the show build lays captions out by it
// without depending on how the text is drawn.
#pragma once

namespace video {

// A line of text at one pixel size, relative to the point the text is placed
// at (the top-left corner of its cell): the horizontal extent of its ink
// (shadow included), the baseline and the distance between two lines.
struct TextExtent {
    int inkLeft = 0;
    int inkWidth = 0;
    int ascent = 0;
    int lineSpacing = 0;
};

}  // namespace video
