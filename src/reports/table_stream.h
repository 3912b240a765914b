#pragma once
// A list handed to another process through a pipe: the table's fixed parts,
// then its rows as they are read, then an end mark. One line per part, fields
// apart by tabs; a byte that could end a line or a field, or that a text-mode
// pipe would change, goes as a backslash and two hex digits, so every stored
// byte arrives as it was.

#include <QByteArray>
#include <optional>

#include "text/text_table.h"

class QIODevice;

namespace reports {

// The lines before the rows (rows and rowCount aside, everything the table holds).
QByteArray TableHeadLines(const text::TextTable& table);
QByteArray TableRowLine(const text::TextRow& row);
QByteArray TableEndLine();

// The table read from `in`, whose rows come from `in` while the sink takes
// them; they fail when the lines break off or are not the table's. None when
// the head cannot be read. `in` must outlive the table's rows.
std::optional<text::TextTable> ReadTable(QIODevice& in);

}  // namespace reports
