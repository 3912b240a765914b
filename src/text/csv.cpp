#include "text/csv.h"

namespace text {

std::string CsvField(std::string_view field)
{
    const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quoted)
        return std::string(field);
    std::string out;
    out.reserve(field.size() + 2);
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    line += "\r\n";
    return line;
}

}  // namespace text
