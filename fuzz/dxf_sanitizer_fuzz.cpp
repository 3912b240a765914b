// Any bytes through the DXF sanitiser: what it hands to dxflib must be well
// formed groups of the DXF range, short values, and no more objects than a
// drawing may hold.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "preview/dxf_sanitizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const preview::SanitizedDxf sanitized = preview::SanitizeDxf(bytes);
    const std::string_view text = sanitized.text;
    std::size_t at = 0;
    std::size_t objects = 0;
    auto line = [&](std::string_view& out) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            return false;
        out = text.substr(at, end - at);
        at = end + 1;
        return true;
    };
    std::string_view code, value;
    while (at < text.size()) {
        if (!line(code) || !line(value))
            std::abort();  // a group cut in two
        int number = -1;
        const auto parsed = std::from_chars(code.data(), code.data() + code.size(), number);
        if (parsed.ec != std::errc() || parsed.ptr != code.data() + code.size() || number < 0 ||
            number > 1071 || value.size() > 1000)
            std::abort();
        if (number == 0)
            ++objects;
    }
    if (objects > preview::kDxfMostEntities + 50'000 + 16)
        std::abort();
    return 0;
}
