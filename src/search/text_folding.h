#pragma once
// Matching typed words against stored CP932 texts the way a person reads
// them: ASCII letter case is ignored, full-width and half-width forms of
// letters, digits, symbols and katakana are alike (Ａ－１０１ is A-101, ｽﾞ is
// ズ), and a match always begins and ends on whole characters, so a word
// never matches the second byte of a two-byte character. The database
// compares bytes and cannot decide any of this; the search does.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The text with every character in its folded form: half-width letters,
// digits and symbols in lower case, katakana full-width. Still CP932, so
// character boundaries are found the same way as in stored texts.
std::string FoldText(std::string_view cp932);
// The same into a buffer that keeps its room between calls.
void FoldInto(std::string_view cp932, std::string& out);

// Where `word` (folded) begins in `folded` at a character boundary.
bool ContainsWord(std::string_view folded, std::string_view word);

// The typed text split at half-width and full-width blanks, each word folded.
// Every word must be found for a match; no words match everything.
class TextQuery {
public:
    TextQuery() = default;
    explicit TextQuery(std::string_view cp932);

    bool empty() const { return words_.empty(); }
    const std::vector<std::string>& words() const { return words_; }

    // Every word is in at least one of the texts (each folded here). Not for
    // use by two threads at once.
    bool MatchesAny(std::span<const std::string_view> texts) const;

private:
    std::vector<std::string> words_;
    mutable std::vector<std::string> folded_;
    mutable std::vector<bool> folds_;
};

}  // namespace search
