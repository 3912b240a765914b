#pragma once
// Jw_cad drawing files (.jww, versions 3 to 8) and figure files (.jws) into a
// drawing model. The files are MFC archives: a document header of settings,
// the list of drawing elements, the list of block definitions. The reader
// never trusts a count or a length of the file: a damaged file gives what was
// read before the damage, with Drawing::complete false.

#include <atomic>
#include <optional>
#include <string_view>

#include "preview/drawing_model.h"

namespace preview {

// Upper bounds on what one file may make the reader hold.
struct JwwLimits {
    std::size_t entities = 1'000'000;  // elements, those in blocks included
    int blockDepth = 8;                // definitions inside definitions
};

// A Windows COLORREF (0x00BBGGRR), as the files store colours, as an opaque Rgb.
Rgb FromColorref(std::uint32_t colorref);

// Whether the bytes start like a Jw_cad drawing or figure file.
bool LooksLikeJwCad(std::string_view bytes);

// Nothing when the bytes are not a Jw_cad drawing or figure file. `cancel`,
// when given and set, ends the reading early (the drawing is then incomplete).
std::optional<Drawing> ReadJwCad(std::string_view bytes, const std::atomic<bool>* cancel = nullptr,
                                 const JwwLimits& limits = {});

}  // namespace preview
