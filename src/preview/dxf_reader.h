#pragma once
// ASCII DXF drawings into the drawing model, through dxflib: lines,
// polylines, circles, arcs, ellipses, texts, points, solids and block inserts.

#include <optional>
#include <string_view>

#include "preview/drawing_model.h"

namespace preview {

// Nothing when the bytes are not an ASCII DXF file.
std::optional<Drawing> ReadDxf(std::string_view bytes);

}  // namespace preview
