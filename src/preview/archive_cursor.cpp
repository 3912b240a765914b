#include "preview/archive_cursor.h"

#include <cmath>
#include <cstring>

#include "text/cp932.h"

namespace preview {

namespace {

constexpr std::uint64_t kUnicodeMarker = 0xFFFE;

}  // namespace

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

std::optional<std::uint64_t> ArchiveCursor::GrowingLength()
{
    for (std::size_t bytes : {1, 2, 4}) {
        const auto length = Little(bytes);
        if (!length)
            return std::nullopt;
        if (*length != (std::uint64_t{1} << (8 * bytes)) - 1)
            return length;
    }
    return Little(8);
}

std::optional<QString> ArchiveCursor::String()
{
    const std::size_t start = position_;
    auto fail = [this, start] {
        position_ = start;
        return std::optional<QString>();
    };
    const auto first = Little(1);
    if (!first)
        return fail();
    std::uint64_t length = *first;
    bool unicode = false;
    if (length == 0xFF) {
        const auto word = Little(2);
        if (!word)
            return fail();
        if (*word == kUnicodeMarker) {
            unicode = true;
            const auto units = GrowingLength();
            if (!units)
                return fail();
            length = *units;
        } else if (*word == 0xFFFF) {
            const auto dword = Little(4);
            if (!dword)
                return fail();
            length = *dword;
            if (length == 0xFFFFFFFF) {
                const auto qword = Little(8);
                if (!qword)
                    return fail();
                length = *qword;
            }
        } else {
            length = *word;
        }
    }
    // Compared before multiplying, so no length can wrap around.
    if (length > remaining() / (unicode ? 2 : 1))
        return fail();
    if (!unicode)
        return text::FromCp932(*Bytes(static_cast<std::size_t>(length)));
    const std::string_view units = *Bytes(static_cast<std::size_t>(length) * 2);
    QString decoded(static_cast<qsizetype>(length), Qt::Uninitialized);
    for (std::size_t i = 0; i < length; ++i)
        decoded[static_cast<qsizetype>(i)] =
            QChar(static_cast<char16_t>(static_cast<unsigned char>(units[2 * i]) |
                                        static_cast<unsigned char>(units[2 * i + 1]) << 8));
    return decoded;
}

}  // namespace preview
