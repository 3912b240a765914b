#pragma once
// ASCII DXF drawings into the drawing model, through dxflib: lines,
// polylines, circles, arcs, ellipses, texts, points, solids and block inserts.

#include <optional>
#include <string>
#include <string_view>

#include "preview/drawing_model.h"

namespace preview {

// Nothing when the bytes are not an ASCII DXF file.
std::optional<Drawing> ReadDxf(std::string_view bytes);

// The group stream as dxflib may safely be given it: every group code a
// number of the DXF range, and the counts that dxflib allocates by
// (polyline vertices, spline knots, control and fit points, leader
// vertices) rewritten to the number of values that really follow, placed
// before them. Reading stops at the first group that is not well formed;
// `whole` tells whether that was the file's end.
struct SanitizedDxf {
    std::string text;
    bool whole = true;
};
SanitizedDxf SanitizeDxf(std::string_view bytes);

}  // namespace preview
