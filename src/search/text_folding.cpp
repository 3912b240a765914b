#include "search/text_folding.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "text/char_length.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace search {

namespace {

using text::CharLength;

constexpr unsigned char kFirstHalfKana = 0xA1;
constexpr unsigned char kLastHalfKana = 0xDF;
constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::uint16_t TwoByteCode(const std::string& bytes)
{
    if (bytes.size() != 2)
        return 0;
    return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                                      static_cast<unsigned char>(bytes[1]));
}

// The full-width form of a half-width katakana text (one character, or one
// with its sound mark), as a two-byte code; 0 when there is none.
std::uint16_t FullWidthKana(const std::string& halfWidth)
{
    const QString folded = text::FromCp932(halfWidth).normalized(QString::NormalizationForm_KC);
    if (folded.size() != 1)
        return 0;
    const std::optional<std::string> bytes = text::ToCp932(folded);
    return bytes ? TwoByteCode(*bytes) : 0;
}

// Built once from the codec, so every code another PC may have stored for a
// full-width form (the NEC and IBM duplicates included) folds alike.
struct FoldTables {
    std::array<char, 65536> twoByteToAscii{};  // 0: the character stays as it is
    std::array<std::uint16_t, 256> halfKana{};
    std::array<std::uint16_t, 2 * 256> soundMarked{};  // (kana byte, mark - 0xDE)

    FoldTables()
    {
        std::string pair(2, '\0');
        for (int lead = 0x80; lead <= 0xFF; ++lead) {
            if (!text::IsLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                pair[0] = static_cast<char>(lead);
                pair[1] = static_cast<char>(trail);
                const QString decoded = text::FromCp932(pair);
                if (decoded.size() != 1)
                    continue;
                const char16_t u = decoded[0].unicode();
                char ascii = 0;
                if (u >= 0xFF01 && u <= 0xFF5E)
                    ascii = LowerAscii(static_cast<char>(u - 0xFEE0));
                else if (u == 0x3000)
                    ascii = ' ';
                twoByteToAscii[static_cast<std::size_t>(lead << 8 | trail)] = ascii;
            }
        }
        for (int b = kFirstHalfKana; b <= kLastHalfKana; ++b) {
            const std::string one(1, static_cast<char>(b));
            halfKana[static_cast<std::size_t>(b)] = FullWidthKana(one);
            for (int mark : {kVoicedMark, kSemiVoicedMark})
                soundMarked[static_cast<std::size_t>(2 * b + (mark - kVoicedMark))] =
                    FullWidthKana(one + static_cast<char>(mark));
        }
    }
};

const FoldTables& Tables()
{
    static const FoldTables tables;
    return tables;
}

void AppendCode(std::string& out, std::uint16_t code)
{
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

bool IsBlankAt(std::string_view s, std::size_t i, std::size_t& length)
{
    if (s[i] == ' ') {
        length = 1;
        return true;
    }
    // 0x8140 is the full-width blank.
    if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 &&
        static_cast<unsigned char>(s[i + 1]) == 0x40) {
        length = 2;
        return true;
    }
    return false;
}

}  // namespace

std::string FoldText(std::string_view s)
{
    std::string out;
    FoldInto(s, out);
    return out;
}

void FoldInto(std::string_view s, std::string& out)
{
    const FoldTables& t = Tables();
    out.clear();
    out.reserve(s.size() + s.size() / 2);
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (text::IsLeadByte(b) && i + 1 < n) {
            const auto trail = static_cast<unsigned char>(s[i + 1]);
            const char ascii = t.twoByteToAscii[static_cast<std::size_t>(b << 8 | trail)];
            if (ascii) {
                out.push_back(ascii);
            } else {
                out.push_back(static_cast<char>(b));
                out.push_back(static_cast<char>(trail));
            }
            i += 2;
        } else if (b >= kFirstHalfKana && b <= kLastHalfKana) {
            if (i + 1 < n) {
                const auto mark = static_cast<unsigned char>(s[i + 1]);
                if (mark == kVoicedMark || mark == kSemiVoicedMark) {
                    if (const std::uint16_t code =
                            t.soundMarked[static_cast<std::size_t>(2 * b + (mark - kVoicedMark))]) {
                        AppendCode(out, code);
                        i += 2;
                        continue;
                    }
                }
            }
            if (const std::uint16_t code = t.halfKana[b])
                AppendCode(out, code);
            else
                out.push_back(static_cast<char>(b));
            ++i;
        } else {
            out.push_back(LowerAscii(static_cast<char>(b)));
            ++i;
        }
    }
}

bool ContainsWord(std::string_view folded, std::string_view word)
{
    if (word.empty())
        return true;
    const std::size_t last = folded.size() < word.size() ? 0 : folded.size() - word.size() + 1;
    for (std::size_t i = 0; i < last; i += CharLength(folded, i)) {
        if (folded[i] != word[0] || std::memcmp(folded.data() + i, word.data(), word.size()) != 0)
            continue;
        // The match must end on a boundary too (a word that ends in half a character).
        std::size_t end = i;
        while (end < i + word.size())
            end += CharLength(folded, end);
        if (end == i + word.size())
            return true;
    }
    return false;
}

TextQuery::TextQuery(std::string_view typed)
{
    std::size_t start = 0;
    std::size_t i = 0;
    auto endWord = [&](std::size_t end) {
        if (end > start)
            words_.push_back(FoldText(typed.substr(start, end - start)));
    };
    while (i < typed.size()) {
        std::size_t blank = 0;
        if (IsBlankAt(typed, i, blank)) {
            endWord(i);
            i += blank;
            start = i;
        } else {
            i += CharLength(typed, i);
        }
    }
    endWord(typed.size());
}

bool TextQuery::MatchesAny(std::span<const std::string_view> texts) const
{
    if (words_.empty())
        return true;
    // A text is folded when a word first looks at it, into buffers kept between rows.
    folded_.resize(std::max(folded_.size(), texts.size()));
    folds_.assign(texts.size(), false);
    for (const std::string& word : words_) {
        bool found = false;
        for (std::size_t f = 0; f < texts.size() && !found; ++f) {
            if (!folds_[f]) {
                FoldInto(texts[f], folded_[f]);
                folds_[f] = true;
            }
            found = ContainsWord(folded_[f], word);
        }
        if (!found)
            return false;
    }
    return true;
}

}  // namespace search
