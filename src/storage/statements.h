#pragma once
// Statement texts, built line by line. Values and conditions arrive as ready
// SQL text (numbers in decimal, texts through text::SqlText, or NULL).

#include <string>
#include <string_view>
#include <vector>

namespace storage {

using Lines = std::vector<std::string>;

// Lines joined by CR LF with a CR LF after the last one: the text sent.
std::string JoinStatement(const Lines& lines);

Lines InsertRowLines(std::string_view table, const std::vector<std::string>& columns,
                     const std::vector<std::string>& values);
Lines UpdateRowLines(std::string_view table, const std::vector<std::string>& columns,
                     const std::vector<std::string>& values, std::string_view condition);
Lines UpdateSetLines(std::string_view table, std::string_view setText, std::string_view condition);
Lines DeleteRowsLines(std::string_view table, std::string_view condition);
Lines SelectAllWhereLines(std::string_view table, std::string_view condition);
Lines SelectExistsLines(std::string_view table, std::string_view column, std::string_view condition,
                        int value);
Lines SelectMaxLines(std::string_view table, std::string_view column, std::string_view condition);
Lines SelectColumnsLines(std::string_view columnList, std::string_view table,
                         std::string_view condition);
Lines SelectOrderedLines(std::string_view columnList, std::string_view table,
                         std::string_view condition, std::string_view order);

extern const char* const kTableNamesQuery;

}  // namespace storage
