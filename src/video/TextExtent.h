// What a font makes of one line of text, as the caption renderer measures it:
// the encoder measures with it, and the show build lays captions out by it
// without depending on how the text is drawn.
#pragma once

namespace video {

// A line of text at one pixel size, relative to the point the text is placed
// at (the top-left corner of its cell): the horizontal extent of its ink
// (shadow, outline and box included), the baseline, the distance between two
// lines, and the rows anything is drawn in: the cell's, reaching further
// where the ink, shadow, outline or box do.
struct TextExtent {
    int inkLeft = 0;
    int inkWidth = 0;
    int ascent = 0;
    int lineSpacing = 0;
    int top = 0;
    int bottom = 0;  // one past the last row
};

}  // namespace video
