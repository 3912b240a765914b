#pragma once
// The memo text near the start of a Jw_cad drawing or figure file. Files are only
// ever read, and only as far as the header goes: a drawing may be open in the
// drawing program while we look at it, and it is not ours to change.
//
// Paths are byte strings in the local file-name encoding, i.e. what
// QFile::encodeName gives for the path a file dialog returned (UTF-8 on Linux,
// the ANSI code page on Windows). A stored path read back from the database is
// CP932 and must be converted to that form first.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace drawings {

// Bytes read strictly in order, each call all-or-nothing, so the parsers below
// work the same on an open file and on a buffer (the fuzz target feeds buffers).
class HeaderSource {
public:
    virtual ~HeaderSource() = default;
    // Exactly count bytes into out, or false when fewer are left or reading fails.
    virtual bool Read(char* out, std::size_t count) = 0;
};

// Reads a view: the bytes must outlive the source.
class BufferSource : public HeaderSource {
public:
    explicit BufferSource(std::string_view bytes) : bytes_(bytes) {}
    bool Read(char* out, std::size_t count) override;

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

struct HeaderRead {
    bool ok = false;   // the magic matched and every read succeeded
    std::string text;  // only meaningful when ok
};

// The memo text of the file, chosen by the upper-cased extension after the last
// "\", "/" or ":"; empty for other kinds, a wrong magic, a short or unreadable
// file, or anything that is not a regular file (a FIFO would block the caller).
std::string ReadJwcadHeader(const std::string& path);

// The same choice of readers over bytes held in memory; path only names the kind.
std::string ParseJwcadHeader(std::string_view path, std::string_view bytes);

HeaderRead ReadJwcHeader(const std::string& path);
HeaderRead ReadJwkHeader(const std::string& path);
HeaderRead ReadJwwHeader(const std::string& path);

HeaderRead ParseJwcHeader(HeaderSource& source);
HeaderRead ParseJwkHeader(HeaderSource& source);
HeaderRead ParseJwwHeader(HeaderSource& source);

// The memo as ReadJwwHeader takes it: a length byte, or 255 and a 16-bit
// little-endian length, then that many bytes taken as they are (NUL included);
// or, after the bytes FF FE FF that newer drawing programs write, a length in
// UTF-16 units and UTF-16LE text, which comes back converted to CP932 without
// the characters that have none and without quotes and control characters.
// Grows only as bytes actually arrive, so a length past the end of the file
// costs nothing.
std::optional<std::string> ReadMemoString(HeaderSource& source);

}  // namespace drawings
