#include "reports/table_stream.h"

#include <QIODevice>
#include <QList>
#include <charconv>
#include <string_view>

namespace reports {

namespace {

constexpr char kMagic[] = "k5x7-table 1";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char b)
{
    return b < 0x20 || b == 0x7F || b == '\\';
}

void AppendField(QByteArray& line, std::string_view bytes)
{
    line += '\t';
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (NeedsEscape(b)) {
            line += '\\';
            line += kHexDigits[b >> 4];
            line += kHexDigits[b & 0xF];
        } else {
            line += c;
        }
    }
}

QByteArray Line(char tag, const std::vector<std::string>& fields)
{
    QByteArray line(1, tag);
    for (const std::string& field : fields)
        AppendField(line, field);
    return line + '\n';
}

QByteArray Line(char tag, const std::string& field)
{
    return Line(tag, std::vector<std::string>{field});
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const int high = HexValue(field[i + 1]);
        const int low = HexValue(field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

struct TaggedLine {
    char tag = 0;
    std::vector<std::string> fields;
};

// The next whole line; none when it is missing or broken.
std::optional<TaggedLine> ReadLine(QIODevice& in)
{
    // Without a limit: one with a limit is allocated whole for every line.
    QByteArray line = in.readLine();
    if (!line.endsWith('\n'))
        return std::nullopt;
    line.chop(line.endsWith("\r\n") ? 2 : 1);
    if (line.isEmpty())
        return std::nullopt;
    TaggedLine tagged{line[0], {}};
    if (line.size() == 1)
        return tagged;
    if (line[1] != '\t')
        return std::nullopt;
    for (const QByteArray& part : line.mid(2).split('\t')) {
        std::optional<std::string> field = Unescape(std::string_view(part.data(), part.size()));
        if (!field)
            return std::nullopt;
        tagged.fields.push_back(std::move(*field));
    }
    return tagged;
}

std::optional<std::vector<std::string>> ReadFields(QIODevice& in, char tag)
{
    std::optional<TaggedLine> line = ReadLine(in);
    if (!line || line->tag != tag)
        return std::nullopt;
    return std::move(line->fields);
}

std::optional<int> Number(const std::string& field)
{
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

std::vector<std::string> Numbers(const std::vector<int>& values)
{
    std::vector<std::string> fields;
    for (const int value : values)
        fields.push_back(std::to_string(value));
    return fields;
}

std::optional<std::string> OneField(QIODevice& in, char tag)
{
    auto fields = ReadFields(in, tag);
    if (!fields || fields->size() != 1)
        return std::nullopt;
    return std::move(fields->front());
}

// Rows until the end mark; false when the lines break off first.
bool ReadRows(QIODevice& in, const text::RowSink& sink)
{
    for (;;) {
        const std::optional<TaggedLine> line = ReadLine(in);
        if (line && line->tag == 'E')
            return true;
        if (!line || line->tag != 'R')
            return false;
        if (!sink(line->fields))
            return true;
    }
}

}  // namespace

QByteArray TableHeadLines(const text::TextTable& table)
{
    std::vector<std::string> kinds;
    for (const bool number : table.numberColumns)
        kinds.push_back(number ? "1" : "0");
    return QByteArray(kMagic) + '\n' + Line('T', table.title) + Line('H', table.headingLines) +
           Line('C', table.headers) + Line('W', Numbers(table.columnWidths)) + Line('N', kinds) +
           Line('F', table.footer) + Line('S', table.headingInSheet ? "1" : "0") +
           Line('#', std::to_string(table.rowCount));
}

QByteArray TableRowLine(const text::TextRow& row)
{
    return Line('R', row);
}

QByteArray TableEndLine()
{
    return "E\n";
}

std::optional<text::TextTable> ReadTable(QIODevice& in)
{
    QByteArray magic = in.readLine(sizeof kMagic + 2).trimmed();
    if (magic != kMagic)
        return std::nullopt;
    text::TextTable table;
    const std::optional<std::string> title = OneField(in, 'T');
    std::optional<std::vector<std::string>> heading = ReadFields(in, 'H');
    std::optional<std::vector<std::string>> headers = heading ? ReadFields(in, 'C') : std::nullopt;
    const auto widths = headers ? ReadFields(in, 'W') : std::nullopt;
    const auto kinds = widths ? ReadFields(in, 'N') : std::nullopt;
    const std::optional<std::string> footer = kinds ? OneField(in, 'F') : std::nullopt;
    const std::optional<std::string> inSheet = footer ? OneField(in, 'S') : std::nullopt;
    const std::optional<std::string> count = inSheet ? OneField(in, '#') : std::nullopt;
    const std::optional<int> rowCount = count ? Number(*count) : std::nullopt;
    if (!title || !rowCount)
        return std::nullopt;
    for (const std::string& width : *widths) {
        const std::optional<int> pixels = Number(width);
        if (!pixels)
            return std::nullopt;
        table.columnWidths.push_back(*pixels);
    }
    for (const std::string& kind : *kinds)
        table.numberColumns.push_back(kind == "1");
    table.title = *title;
    table.headingLines = std::move(*heading);
    table.headers = std::move(*headers);
    table.footer = *footer;
    table.headingInSheet = *inSheet == "1";
    table.rowCount = *rowCount;
    table.rows = [&in](const text::RowSink& sink) { return ReadRows(in, sink); };
    return table;
}

}  // namespace reports
