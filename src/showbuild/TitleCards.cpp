#include "showbuild/TitleCards.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "raster/Blit.h"
#include "showbuild/BlurredBackdrop.h"

namespace video {

namespace {

// A title stands out from captions: twice their size unless styled.
constexpr int kTitleScale = 2;
// The second line's size against the title's, in fifths.
constexpr int kSecondLineFifths = 3;

raster::Color RasterColour(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// 'picture' cropped about its centre to the display's proportions and
// stretched over 'frame'.
void CoverFrame(raster::Bitmap& frame, const BuildPicture& picture, const FrameFormat& format) {
    const raster::Bitmap& bits = picture.bitmap;
    int width = bits.width(), height = bits.height();
    // Proportions on the display: the picture's natural ones against the frame's.
    const double pictureAspect = double(picture.naturalWidth) / picture.naturalHeight;
    const double frameAspect = double(format.displayWidth) / format.displayHeight;
    if (pictureAspect > frameAspect)
        width = std::max(1, static_cast<int>(std::lround(width * frameAspect / pictureAspect)));
    else
        height = std::max(1, static_cast<int>(std::lround(height * pictureAspect / frameAspect)));
    raster::StretchBlt(frame, 0, 0, frame.width(), frame.height(), bits, (bits.width() - width) / 2,
                       (bits.height() - height) / 2, width, height, raster::StretchMode::Halftone);
}

struct Rows {
    int top = std::numeric_limits<int>::max();
    int bottom = std::numeric_limits<int>::min();
    int height() const { return lines ? bottom - top : 0; }
    bool lines = false;
};

Rows RowsOf(const std::vector<CaptionLine>& lines, const MeasureText& measure) {
    Rows rows;
    for (const CaptionLine& line : lines) {
        const TextExtent extent = measure(line.text, line.fontSize);
        rows.top = std::min(rows.top, line.y + extent.top);
        rows.bottom = std::max(rows.bottom, line.y + extent.bottom);
        rows.lines = true;
    }
    return rows;
}

}  // namespace

raster::Bitmap TitleCardBackdrop(const model::TitleCard& card, const LoadPictureFunction& load,
                                 const FrameFormat& format) {
    const raster::Color colour = RasterColour(card.colour);
    raster::Bitmap frame(format.width, format.height, colour);
    if (card.backdrop == model::TitleBackdrop::Colour || card.picture.empty()) return frame;
    BuildPicture picture;
    try {
        const DisplayBox box = DisplayBoxOf(format);
        picture = load(card.picture, PictureBox{box.width, box.height});
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        // The preparation named the picture; the card keeps its colour.
        return frame;
    }
    if (picture.bitmap.isEmpty() || picture.naturalWidth <= 0 || picture.naturalHeight <= 0)
        return frame;
    if (card.backdrop == model::TitleBackdrop::Blurred)
        return BlurredBackdrop(picture, colour, format);
    CoverFrame(frame, picture, format);
    return frame;
}

LoadPictureFunction TitleCardLoads(LoadPictureFunction load, TitleCardLookup cards,
                                   const FrameFormat& format) {
    return [load = std::move(load), cards = std::move(cards), format](const std::string& path,
                                                                      PictureBox box) {
        const std::optional<model::TitleCard> card =
            model::IsTitleCard(path) && cards ? cards(path) : std::nullopt;
        if (!card) return load(path, box);
        const DisplayBox display = DisplayBoxOf(format);
        BuildPicture backdrop;
        backdrop.bitmap = TitleCardBackdrop(*card, load, format);
        backdrop.naturalWidth = display.width;
        backdrop.naturalHeight = display.height;
        return backdrop;
    };
}

ProbeFileFunction TitleCardProbe(ProbeFileFunction probe) {
    return [probe = std::move(probe)](const std::string& path) -> base::Status {
        if (model::IsTitleCard(path)) return {};
        return probe(path);
    };
}

std::optional<CaptionFrame> TitleCardFrame(const FrameFormat& format, int32_t tvSet,
                                           model::CaptionStyle style) {
    style.position = model::CaptionPosition::Centre;
    style.align = model::CaptionAlign::Centre;
    std::optional<CaptionFrame> frame = CaptionFrameFor(format, tvSet, style);
    if (frame && style.sizePercent <= 0) frame->fontSize *= kTitleScale;
    return frame;
}

std::vector<CaptionLine> LayOutTitleCard(const CaptionFrame& frame, const model::TitleCard& card,
                                         const MeasureText& measure) {
    std::vector<CaptionLine> title = LayOutCaption(frame, card.title, measure);
    CaptionFrame smaller = frame;
    smaller.fontSize = std::max(1, frame.fontSize * kSecondLineFifths / 5);
    std::vector<CaptionLine> second = LayOutCaption(smaller, card.line2, measure);
    const Rows titleRows = RowsOf(title, measure), secondRows = RowsOf(second, measure);
    const int gap = titleRows.lines && secondRows.lines ? smaller.fontSize / 2 : 0;
    const int height = titleRows.height() + gap + secondRows.height();
    // Centred, and moved down into the area should a tall block reach past its top.
    const int top = std::max(frame.safe.top, (frame.height - height) / 2);
    const auto shift = [](std::vector<CaptionLine>& lines, int dy) {
        for (CaptionLine& line : lines) line.y += dy;
    };
    if (titleRows.lines) shift(title, top - titleRows.top);
    if (secondRows.lines) shift(second, top + titleRows.height() + gap - secondRows.top);
    // Bottom line first, as a caption's.
    second.insert(second.end(), title.begin(), title.end());
    return second;
}

}  // namespace video
