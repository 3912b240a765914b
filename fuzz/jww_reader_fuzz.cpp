// Any bytes as a Jw_cad drawing and as a figure file: the reader must end, and
// what it returns must hold what the renderer relies on.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "preview/jww_reader.h"

namespace {

void Check(const preview::Drawing& drawing, std::size_t size, std::size_t limit)
{
    std::size_t entities = drawing.entities.size();
    auto inRange = [](const preview::Entity& e) {
        return e.group >= 0 && e.group < 16 && e.layer >= 0 && e.layer < 16;
    };
    for (const preview::Entity& e : drawing.entities)
        if (!inRange(e))
            std::abort();
    for (std::size_t i = 0; i < drawing.blocks.size(); ++i) {
        const preview::Block& block = drawing.blocks[i];
        if (i > 0 && drawing.blocks[i - 1].number > block.number)
            std::abort();
        if (!drawing.FindBlock(block.number))
            std::abort();
        for (const preview::Entity& e : block.entities)
            if (!inRange(e))
                std::abort();
        entities += block.entities.size();
    }
    // Every element takes bytes of the file, and the reader stops at its limit
    // (a dimension, read whole, may bring up to eight past it).
    if (entities > limit + 8 || entities > size / 2)
        std::abort();
    for (double scale : {drawing.groups[0].scale, drawing.groups[15].scale})
        if (!(scale > 0))
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    preview::JwwLimits limits;
    limits.entities = 5000;  // small, so that the limit itself is reached
    if (const auto drawing = preview::ReadJwCad(bytes, nullptr, limits))
        Check(*drawing, size, limits.entities);
    // The same bytes as a figure file, whose element list is searched for.
    if (size >= 8) {
        std::string figure(bytes);
        figure.replace(0, 8, "JwsData.");
        if (const auto drawing = preview::ReadJwCad(figure, nullptr, limits))
            Check(*drawing, size, limits.entities);
    }
    return 0;
}
