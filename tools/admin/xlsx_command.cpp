#include "tools/admin/xlsx_command.h"

#include <QFile>
#include <cstdio>
#include <ostream>

#include "reports/report_texts.h"
#include "reports/table_stream.h"
#include "tools/admin/admin_texts.h"
#include "tools/admin/xlsx_writer.h"

namespace admin {

int RunXlsxCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string output;
    std::string scratch;
    bool misused = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-h" || args[i] == "--help") {
            out << texts::kXlsxUsage << "\n";
            return 0;
        }
        if (args[i] == "--scratch" && i + 1 < args.size())
            scratch = args[++i];
        else if (output.empty() && args[i].rfind("--", 0) != 0)
            output = args[i];
        else
            misused = true;
    }
    if (misused || output.empty()) {
        err << texts::kXlsxUsage << "\n";
        return 2;
    }
    QFile input;
    std::optional<text::TextTable> table;
    if (input.open(stdin, QIODevice::ReadOnly))
        table = reports::ReadTable(input);
    if (!table) {
        err << reports::texts::kReadFailed << "\n";
        return 1;
    }
    const WrittenWorkbook written =
        WriteXlsx(*table, QFile::decodeName(output.c_str()), QFile::decodeName(scratch.c_str()));
    if (!written.result.done()) {
        err << written.result.message.toStdString() << "\n";
        return 1;
    }
    out << written.lastRow << std::endl;
    return 0;
}

}  // namespace admin
