#include "preview/archive_cursor.h"

#include <cmath>
#include <cstring>

#include "text/cp932.h"
#include "text/mfc_string.h"

namespace preview {

std::optional<std::uint64_t> ArchiveCursor::Little(std::size_t bytes)
{
    if (remaining() < bytes)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = bytes; i > 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes_[position_ + i - 1]);
    position_ += bytes;
    return value;
}

std::optional<std::uint8_t> ArchiveCursor::U8()
{
    const auto v = Little(1);
    return v ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*v)) : std::nullopt;
}

std::optional<std::uint16_t> ArchiveCursor::U16()
{
    const auto v = Little(2);
    return v ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*v)) : std::nullopt;
}

std::optional<std::uint32_t> ArchiveCursor::U32()
{
    const auto v = Little(4);
    return v ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*v)) : std::nullopt;
}

std::optional<std::uint64_t> ArchiveCursor::U64()
{
    return Little(8);
}

std::optional<double> ArchiveCursor::Double()
{
    const auto bits = Little(8);
    if (!bits)
        return std::nullopt;
    double value = 0;
    std::memcpy(&value, &*bits, sizeof value);
    return std::isfinite(value) ? value : 0.0;
}

std::optional<std::string_view> ArchiveCursor::Bytes(std::size_t count)
{
    if (remaining() < count)
        return std::nullopt;
    const std::string_view taken = bytes_.substr(position_, count);
    position_ += count;
    return taken;
}

bool ArchiveCursor::Skip(std::size_t count)
{
    return Bytes(count).has_value();
}

std::optional<std::uint32_t> ArchiveCursor::Count()
{
    const std::size_t start = position_;
    const auto small = U16();
    if (!small)
        return std::nullopt;
    if (*small != 0xFFFF)
        return *small;
    const auto large = U32();
    if (!large)
        position_ = start;
    return large;
}

std::optional<QString> ArchiveCursor::String()
{
    const std::size_t start = position_;
    const auto head = text::ReadMfcStringHead([this](std::size_t n) { return Little(n); });
    // Compared before multiplying, so no length can wrap around.
    if (!head || head->length > remaining() / (head->utf16 ? 2 : 1)) {
        position_ = start;
        return std::nullopt;
    }
    const std::size_t length = static_cast<std::size_t>(head->length);
    if (!head->utf16)
        return text::FromCp932(*Bytes(length));
    return text::FromUtf16Le(*Bytes(length * 2));
}

}  // namespace preview
