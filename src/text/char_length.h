#pragma once
// Walking a CP932 byte string character by character, the way the byte-string
// helpers count: a lead byte (their range) and the byte after it are one.

#include <cstddef>
#include <string_view>

#include "text/mbcs.h"

namespace text {

constexpr std::size_t CharLength(std::string_view text, std::size_t i)
{
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

}  // namespace text
