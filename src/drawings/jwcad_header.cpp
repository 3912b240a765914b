#include "drawings/jwcad_header.h"

#include "text/cp932.h"
#include "text/mbcs.h"
#include "text/mfc_string.h"

#include <QString>
#include <algorithm>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace drawings {

namespace {

constexpr std::string_view kJwcMagic = "jw_cad(c)data.......";
constexpr std::string_view kJwkMagic = "jw_cad(c)sym........";
constexpr std::string_view kJwwMagic = "JwwData.";

constexpr std::size_t kJwcMagicSize = 20;
constexpr std::size_t kJwcSkipSize = 20;
constexpr std::size_t kJwcFieldSize = 32;
constexpr std::size_t kJwwMagicSize = 8;
constexpr std::size_t kJwwSkipSize = 4;
constexpr int kJwwTextBytes = 80;
constexpr std::size_t kArchiveBlock = 256;

static_assert(kJwcMagic.size() == kJwcMagicSize && kJwkMagic.size() == kJwcMagicSize);
static_assert(kJwwMagic.size() == kJwwMagicSize);

// A fixed field read as a C string: its bytes up to the first NUL, or all of them.
std::string_view UpToNul(const char* bytes, std::size_t size)
{
    const void* nul = std::memchr(bytes, '\0', size);
    return {bytes, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size};
}

HeaderRead ParseFixedFields(HeaderSource& source, std::string_view magic)
{
    std::array<char, kJwcMagicSize> head{};
    if (!source.Read(head.data(), head.size()) || UpToNul(head.data(), head.size()) != magic)
        return {};
    std::array<char, kJwcSkipSize> skipped{};
    std::array<char, kJwcFieldSize> first{};
    std::array<char, kJwcFieldSize> second{};
    if (!source.Read(skipped.data(), skipped.size()) || !source.Read(first.data(), first.size()) ||
        !source.Read(second.data(), second.size()))
        return {};
    // The blank stays even when a field is empty: that is the stored form.
    return {true, text::StripQuotes(UpToNul(first.data(), first.size())) + " " +
                      text::StripQuotes(UpToNul(second.data(), second.size()))};
}

#ifdef _WIN32

class FileSource : public HeaderSource {
public:
    explicit FileSource(const std::string& path)
    {
        if (path.empty() || path.find('\0') != std::string::npos)
            return;
        const int length =
            MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
        if (length <= 0)
            return;
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                            length);
        // Full sharing, so the drawing program may keep, save or replace the file
        // while we read it.
        handle_ = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ != INVALID_HANDLE_VALUE && GetFileType(handle_) != FILE_TYPE_DISK) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }
    ~FileSource() override
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool Read(char* out, std::size_t count) override
    {
        if (handle_ == INVALID_HANDLE_VALUE)
            return false;
        while (count > 0) {
            DWORD got = 0;
            if (!ReadFile(handle_, out, static_cast<DWORD>(count), &got, nullptr) || got == 0)
                return false;
            out += got;
            count -= got;
        }
        return true;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

#else

class FileSource : public HeaderSource {
public:
    explicit FileSource(const std::string& path)
    {
        // A NUL would silently cut the path short and open another file.
        if (path.find('\0') != std::string::npos)
            return;
        // Non-blocking only so that opening a FIFO cannot hang; it is refused below.
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        struct stat info {};
        if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FileSource() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool Read(char* out, std::size_t count) override
    {
        if (fd_ < 0)
            return false;
        while (count > 0) {
            const ssize_t got = ::read(fd_, out, count);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            out += got;
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int fd_ = -1;
};

#endif

// The next `bytes` bytes as a little-endian number, as the MFC string head reads them.
auto LittleEndianFrom(HeaderSource& source)
{
    return [&source](std::size_t bytes) -> std::optional<std::uint64_t> {
        std::array<unsigned char, 8> raw{};
        if (!source.Read(reinterpret_cast<char*>(raw.data()), bytes))
            return std::nullopt;
        std::uint64_t value = 0;
        for (std::size_t i = bytes; i > 0; --i)
            value = value << 8 | raw[i - 1];
        return value;
    };
}

// Bytes in blocks of 256, handed on as they arrive, so that a length past the
// end of the file costs nothing.
template <class Sink>
bool ReadInBlocks(HeaderSource& source, std::uint64_t size, Sink&& sink)
{
    std::array<char, kArchiveBlock> block{};
    while (size > 0) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, block.size()));
        if (!source.Read(block.data(), count))
            return false;
        sink(block.data(), count);
        size -= count;
    }
    return true;
}

std::optional<std::string> ReadBytes(HeaderSource& source, std::uint64_t length)
{
    std::string text;
    if (!ReadInBlocks(source, length,
                      [&text](const char* bytes, std::size_t size) { text.append(bytes, size); }))
        return std::nullopt;
    return text;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

// From the last "." of the file name to the end, ASCII letters upper-cased.
std::string UpperExtension(std::string_view path)
{
    std::size_t i = path.size();
    while (i > 0 && path[i - 1] != '.' && !IsSeparator(path[i - 1]))
        --i;
    if (i == 0 || path[i - 1] != '.')
        return {};
    std::string extension(path.substr(i - 1));
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return extension;
}

using SourceOpener = std::function<std::unique_ptr<HeaderSource>()>;
using Parser = HeaderRead (*)(HeaderSource&);

// Each reader starts from the beginning with a source of its own, as reopening
// the file would.
std::string ChooseAndParse(std::string_view path, const SourceOpener& open)
{
    const std::string extension = UpperExtension(path);
    std::array<Parser, 2> parsers{};
    if (extension == ".JWC") {
        parsers = {ParseJwcHeader, nullptr};
    } else if (extension == ".JWK") {
        parsers = {ParseJwkHeader, nullptr};
    } else if (extension == ".JWW" || extension == ".JW$") {
        parsers = {ParseJwwHeader, nullptr};
    } else if (extension == ".BAK" || extension.starts_with(".BK")) {
        parsers = {ParseJwcHeader, ParseJwwHeader};
    }
    for (Parser parse : parsers) {
        if (!parse)
            break;
        auto source = open();
        HeaderRead read = parse(*source);
        if (read.ok)
            return std::move(read.text);
    }
    return {};
}

}  // namespace

bool BufferSource::Read(char* out, std::size_t count)
{
    if (count > bytes_.size() - position_)
        return false;
    if (count > 0)
        std::memcpy(out, bytes_.data() + position_, count);
    position_ += count;
    return true;
}

std::optional<std::string> ReadMemoString(HeaderSource& source)
{
    const std::optional<text::MfcStringHead> head =
        text::ReadMfcStringHead(LittleEndianFrom(source), text::MfcLengthForms::UpTo16Bits);
    if (!head)
        return std::nullopt;
    if (!head->utf16)
        return ReadBytes(source, head->length);
    if (head->length > UINT64_MAX / 2)
        return std::nullopt;
    std::string text;
    // Converted a block at a time; once the text is longer than the memo line
    // can take, the rest is only read, so that a cut file still fails.
    char16_t pendingHigh = 0;
    auto take = [&](QString piece) {
        if (pendingHigh)
            piece.prepend(QChar(pendingHigh));
        pendingHigh = 0;
        if (!piece.isEmpty() && piece.back().isHighSurrogate()) {
            pendingHigh = piece.back().unicode();
            piece.chop(1);
        }
        if (text.size() <= static_cast<std::size_t>(kJwwTextBytes) + 1)
            text += text::StripQuotes(text::ToCp932Dropping(piece));
    };
    if (!ReadInBlocks(source, head->length * 2, [&take](const char* bytes, std::size_t size) {
            take(text::FromUtf16Le(std::string_view(bytes, size)));
        }))
        return std::nullopt;
    // A lone half of a pair left at the end has no CP932 form and is dropped.
    return text;
}

HeaderRead ParseJwcHeader(HeaderSource& source)
{
    return ParseFixedFields(source, kJwcMagic);
}

HeaderRead ParseJwkHeader(HeaderSource& source)
{
    return ParseFixedFields(source, kJwkMagic);
}

HeaderRead ParseJwwHeader(HeaderSource& source)
{
    std::array<char, kJwwMagicSize> head{};
    if (!source.Read(head.data(), head.size()) || UpToNul(head.data(), head.size()) != kJwwMagic)
        return {};
    std::array<char, kJwwSkipSize> skipped{};
    if (!source.Read(skipped.data(), skipped.size()))
        return {};
    std::optional<std::string> text = ReadMemoString(source);
    if (!text)
        return {};
    return {true, text::CopyMbcs(text::StripQuotes(*text), 1, kJwwTextBytes).text};
}

HeaderRead ReadJwcHeader(const std::string& path)
{
    FileSource source(path);
    return ParseJwcHeader(source);
}

HeaderRead ReadJwkHeader(const std::string& path)
{
    FileSource source(path);
    return ParseJwkHeader(source);
}

HeaderRead ReadJwwHeader(const std::string& path)
{
    FileSource source(path);
    return ParseJwwHeader(source);
}

std::string ReadJwcadHeader(const std::string& path)
{
    try {
        return ChooseAndParse(path, [&path] { return std::make_unique<FileSource>(path); });
    } catch (...) {
        // Only allocation can throw here; the caller's contract is a text, never a failure.
        return {};
    }
}

std::string ParseJwcadHeader(std::string_view path, std::string_view bytes)
{
    try {
        return ChooseAndParse(path, [bytes] { return std::make_unique<BufferSource>(bytes); });
    } catch (...) {
        return {};
    }
}

}  // namespace drawings
