#pragma once
// Reading MFC archive data (little-endian numbers, counts and CStrings) from
// bytes in memory. Every read checks what is left first and fails without
// moving when the bytes are not there, so a count or length taken from a file
// never decides how much is allocated.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace preview {

class ArchiveCursor {
public:
    explicit ArchiveCursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    // For a reader that backs up to read the same bytes another way, or
    // starts where a search found something; a place past the end is refused.
    void Seek(std::size_t position)
    {
        position_ = position <= bytes_.size() ? position : position_;
    }

    std::optional<std::uint8_t> U8();
    std::optional<std::uint16_t> U16();
    std::optional<std::uint32_t> U32();
    std::optional<std::uint64_t> U64();
    // A non-finite value is read but comes back as 0, so that nothing drawn
    // from it can go to infinity.
    std::optional<double> Double();
    std::optional<std::string_view> Bytes(std::size_t count);
    bool Skip(std::size_t count);

    // A list's element count: 16 bits, or 0xFFFF and 32 bits.
    std::optional<std::uint32_t> Count();
    // A CString: the byte form (CP932) or, after FF FE FF, UTF-16LE; both with
    // MFC's growing length.
    std::optional<QString> String();

private:
    std::optional<std::uint64_t> Little(std::size_t bytes);

    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace preview
