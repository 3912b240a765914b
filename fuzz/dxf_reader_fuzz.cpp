// Any bytes as a DXF drawing: the reader (the sanitiser, then dxflib) must
// end, and every element it returns takes bytes of the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "preview/dxf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto drawing = preview::ReadDxf(bytes)) {
        std::size_t entities = drawing->entities.size();
        for (const preview::Block& block : drawing->blocks)
            entities += block.entities.size();
        if (entities > size / 2 + 1)
            std::abort();
    }
    return 0;
}
