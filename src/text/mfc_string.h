#pragma once
// The head of a CString as MFC archives store it, shared by every reader of
// such files: a length byte, else 0xFF and 16 bits, else 0xFFFF and 32 bits,
// else 0xFFFFFFFF and 64 bits. A 16-bit 0xFFFE instead marks UTF-16LE text,
// whose length in units follows in the same growing form from one byte up.
//
// The readers differ in where their bytes come from, so each hands in its own
// `read(n)`: the next n bytes as a little-endian number, or none at the end.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace text {

struct MfcStringHead {
    std::uint64_t length = 0;  // bytes, or UTF-16 units
    bool utf16 = false;
};

// How far the byte form's length may grow: the drawing-file header reader has
// always taken 0xFF and 16 bits as the last form.
enum class MfcLengthForms { UpTo16Bits, All };

template <class Read>
std::optional<std::uint64_t> ReadMfcGrowingLength(Read&& read)
{
    for (std::size_t bytes : {1, 2, 4}) {
        const std::optional<std::uint64_t> length = read(bytes);
        if (!length || *length != (std::uint64_t{1} << (8 * bytes)) - 1)
            return length;
    }
    return read(8);
}

template <class Read>
std::optional<MfcStringHead> ReadMfcStringHead(Read&& read,
                                               MfcLengthForms forms = MfcLengthForms::All)
{
    constexpr std::uint64_t kUnicodeMarker = 0xFFFE;
    const std::optional<std::uint64_t> first = read(1);
    if (!first)
        return std::nullopt;
    if (*first != 0xFF)
        return MfcStringHead{*first, false};
    const std::optional<std::uint64_t> word = read(2);
    if (!word)
        return std::nullopt;
    if (*word == kUnicodeMarker) {
        const std::optional<std::uint64_t> units = ReadMfcGrowingLength(read);
        if (!units)
            return std::nullopt;
        return MfcStringHead{*units, true};
    }
    if (*word != 0xFFFF || forms == MfcLengthForms::UpTo16Bits)
        return MfcStringHead{*word, false};
    std::optional<std::uint64_t> length = read(4);
    if (length && *length == 0xFFFFFFFF)
        length = read(8);
    if (!length)
        return std::nullopt;
    return MfcStringHead{*length, false};
}

// UTF-16LE units as they lie in the file; an odd last byte is left out.
QString FromUtf16Le(std::string_view bytes);

}  // namespace text
