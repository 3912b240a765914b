#pragma once
// One line of comma-separated values (RFC 4180) over bytes already in the
// file's encoding. The characters that force quoting (comma, quote, CR, LF)
// are all below 0x40, where no CP932 trail byte lies, so CP932 and UTF-8
// fields are quoted byte by byte alike.

#include <string>
#include <string_view>
#include <vector>

namespace text {

// The field as it goes into a line: quoted, with quotes doubled, when it holds
// a comma, a quote, a line break, or blanks at either end.
std::string CsvField(std::string_view field);

// The fields joined by commas, ending in CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

// What a spreadsheet needs to read a UTF-8 file as UTF-8.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

}  // namespace text
