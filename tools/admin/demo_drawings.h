#pragma once
// The demo office's Jw_cad drawings: an A3 sheet with a border, a title block
// and a body drawn after the drawing's kind, so that previews and thumbnails
// show something a design office would recognise.

#include <string>
#include <string_view>

namespace seed {

struct SheetTitle {
    std::string_view title;   // UTF-8, as the drawing list names it
    std::string_view number;  // A-102; may be empty
    std::string_view scale;   // S=1/100; may be empty
};

// `memo` (CP932) goes into the file's header, where registering the file
// reads it from.
std::string JwwFileBytes(std::string_view memo, const SheetTitle& sheet = {});

}  // namespace seed
