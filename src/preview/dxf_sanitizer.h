#pragma once
// A DXF file's group stream made safe to hand to dxflib, which trusts the
// counts it allocates by.

#include <cstddef>
#include <string>
#include <string_view>

namespace preview {

// The entities one drawing may hold; a few bytes of a file can name one.
inline constexpr std::size_t kDxfMostEntities = 500'000;

// Every group code a number of the DXF range; the counts that dxflib
// allocates by (polyline vertices, spline knots, control and fit points,
// leader vertices) rewritten to the number of values that really follow,
// placed before them, and no more than dxflib should make room for; no more
// objects than a drawing may hold. Reading stops at the first group that is
// not well formed; `whole` tells whether that was the file's end.
struct SanitizedDxf {
    std::string text;
    bool whole = true;
};
SanitizedDxf SanitizeDxf(std::string_view bytes);

}  // namespace preview
