// What a picture shows that its motion and crops should keep: the faces
// found in it, its most striking region, and a point the user chose. Boxes
// and points are shares (0..1) of the upright picture's width and height,
// so one subject serves every decode of the picture, whatever its size.
// The finding itself is elsewhere (src/subject); this is the value the
// geometry aims with, and tests put any box they like in it.
#pragma once

#include <optional>
#include <vector>

namespace motion {

struct SubjectBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    friend bool operator==(const SubjectBox&, const SubjectBox&) = default;
};

struct SubjectPoint {
    double x = 0.5;
    double y = 0.5;
    friend bool operator==(const SubjectPoint&, const SubjectPoint&) = default;
};

// More faces than this is a crowd: no group to aim at, so motion aims at
// the centre as for a picture without faces (and saves the time of boxes
// no one could keep whole anyway).
inline constexpr size_t kMaxSubjectFaces = 24;

struct Subject {
    std::vector<SubjectBox> faces;
    std::optional<SubjectBox> salient;  // where there is no face, what draws the eye
    std::optional<SubjectPoint> focus;  // the user's choice, first of all
    bool empty() const { return faces.empty() && !salient && !focus; }
    friend bool operator==(const Subject&, const Subject&) = default;
};

// The faces' union, each face grown by a margin for hair and chin, kept
// inside the picture; nullopt without faces or with a crowd.
std::optional<SubjectBox> FacesBox(const Subject& subject);

}  // namespace motion
