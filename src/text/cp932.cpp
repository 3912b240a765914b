#include "text/cp932.h"

#include <cstddef>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>
#endif

namespace text {

namespace {

bool IsCp932Lead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsCp932Trail(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

#ifdef _WIN32

constexpr UINT kCodePage = 932;

// Windows' table gives five single bytes characters of their own (0x80 as U+0080,
// 0xA0 and 0xFD-0xFF as private-use ones); the CP932 of the other platforms has
// none, and the office's PCs must read and refuse the same bytes.
bool HasWindowsOnlyByte(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (IsCp932Lead(b) && i + 1 < bytes.size()) {
            i += 2;
            continue;
        }
        if (b == 0x80 || b == 0xA0 || b >= 0xFD)
            return true;
        ++i;
    }
    return false;
}

std::optional<std::u16string> DecodeStrict(std::string_view bytes)
{
    if (bytes.empty())
        return std::u16string();
    if (HasWindowsOnlyByte(bytes))
        return std::nullopt;
    const int inLength = static_cast<int>(bytes.size());
    const int units =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (units <= 0)
        return std::nullopt;
    std::u16string out(static_cast<std::size_t>(units), u'\0');
    if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength,
                            reinterpret_cast<wchar_t*>(out.data()), units) != units)
        return std::nullopt;
    return out;
}

// Best-fit substitutes (a yen sign written as a backslash) are refused.
std::optional<std::string> EncodeStrict(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    const auto* in = reinterpret_cast<const wchar_t*>(text.data());
    const int inLength = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, inLength, nullptr, 0,
                                         nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, inLength, out.data(), size,
                            nullptr, &usedDefault) != size ||
        usedDefault)
        return std::nullopt;
    return out;
}

#else

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One iconv descriptor per direction and thread: a descriptor carries shift
// state and must not be shared between threads.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (IsOpen())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // The whole input converted, or nothing when any of it does not convert.
    std::optional<std::vector<char>> Convert(const char* data, std::size_t size)
    {
        if (!IsOpen())
            return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> out(size * 2 + 4);
        auto* in = const_cast<char*>(data);
        std::size_t inLeft = size;
        std::size_t used = 0;
        while (inLeft > 0) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            used = out.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1))
                break;
            if (errno != E2BIG)
                return std::nullopt;
            out.resize(out.size() * 2);
        }
        out.resize(used);
        return out;
    }

private:
    bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    iconv_t cd_;
};

std::optional<std::u16string> DecodeStrict(std::string_view bytes)
{
    thread_local Iconv decoder(kUtf16, "CP932");
    const auto out = decoder.Convert(bytes.data(), bytes.size());
    if (!out)
        return std::nullopt;
    std::u16string result(out->size() / 2, u'\0');
    std::memcpy(result.data(), out->data(), result.size() * 2);
    return result;
}

std::optional<std::string> EncodeStrict(std::u16string_view text)
{
    thread_local Iconv encoder("CP932", kUtf16);
    const auto out =
        encoder.Convert(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    if (!out)
        return std::nullopt;
    return std::string(out->begin(), out->end());
}

#endif

// Only a character that comes back unchanged has a CP932 form: the one-way
// substitutes of a conversion table (U+00A5 to 0x5C, U+2014 to 0x815C) would
// silently change what the user typed.
std::optional<std::string> EncodeExact(std::u16string_view text)
{
    auto bytes = EncodeStrict(text);
    if (!bytes)
        return std::nullopt;
    const auto back = DecodeStrict(*bytes);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

// Bytes of the character at i by the code page's own ranges, stricter than
// text::CharLength: a damaged byte must spoil no more than itself when decoded.
std::size_t DecodedCharLength(std::string_view bytes, std::size_t i)
{
    if (i + 1 < bytes.size() && IsCp932Lead(static_cast<unsigned char>(bytes[i])) &&
        IsCp932Trail(static_cast<unsigned char>(bytes[i + 1])))
        return 2;
    return 1;
}

std::u16string_view Utf16(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString ToQString(std::u16string_view units)
{
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

}  // namespace

QString FromCp932(std::string_view bytes)
{
    if (const auto whole = DecodeStrict(bytes))
        return ToQString(*whole);
    // Slow path, for damaged bytes only: one character at a time.
    QString result;
    result.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = DecodedCharLength(bytes, i);
        if (const auto piece = DecodeStrict(bytes.substr(i, length)))
            result += ToQString(*piece);
        else
            result += QChar(QChar::ReplacementCharacter);
        i += length;
    }
    return result;
}

std::optional<std::string> ToCp932(const QString& text)
{
    return EncodeExact(Utf16(text));
}

namespace {

// Character by character, so a surrogate pair stays one character.
std::string EncodeReplacing(const QString& text, std::string_view replacement)
{
    const std::u16string_view units = Utf16(text);
    if (auto whole = EncodeExact(units))
        return std::move(*whole);
    std::string result;
    for (std::size_t i = 0; i < units.size();) {
        const bool pair = QChar::isHighSurrogate(units[i]) && i + 1 < units.size() &&
                          QChar::isLowSurrogate(units[i + 1]);
        const std::size_t length = pair ? 2 : 1;
        if (const auto piece = EncodeExact(units.substr(i, length)))
            result += *piece;
        else
            result += replacement;
        i += length;
    }
    return result;
}

}  // namespace

std::string ToCp932Lossy(const QString& text)
{
    return EncodeReplacing(text, "?");
}

std::string ToCp932Dropping(const QString& text)
{
    return EncodeReplacing(text, "");
}

int Cp932Length(const QString& text)
{
    const auto bytes = ToCp932(text);
    return bytes ? static_cast<int>(bytes->size()) : -1;
}

}  // namespace text
