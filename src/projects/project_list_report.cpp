#include "projects/project_list_report.h"

#include "projects/project_list_texts.h"
#include "projects/project_page_loader.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace projects {

namespace {

std::string Cp932Of(const char* utf8)
{
    return text::ToCp932Lossy(text::Utf8(utf8));
}

}  // namespace

std::vector<int> ProjectListPrintWidths()
{
    return {56, 240, 240, 110, 100, 40};
}

text::TextTable ProjectListTable(storage::Database& db, const std::string& filter,
                                 const std::string& order, std::vector<int> columnWidths)
{
    text::TextTable table;
    table.title = Cp932Of(list_texts::kCaption);
    for (const char* header : {list_texts::kHeader0, list_texts::kHeader1, list_texts::kHeader2,
                               list_texts::kHeader3, list_texts::kHeader4, list_texts::kHeader5})
        table.headers.push_back(Cp932Of(header));
    table.columnWidths = std::move(columnWidths);
    table.numberColumns = {true, false, false, false, false, false};

    // Counted beforehand only to show progress; rows another PC adds meanwhile
    // are written all the same.
    storage::Row count(1);
    if (db.TableExists("ZPROJECT") && db.SelectColumns("COUNT(*)", "ZPROJECT", filter, count) >= 0)
        table.rowCount = text::StrToIntOrZero(count[0]);
    else
        table.rowCount = 0;

    const std::string done = Cp932Of(list_texts::kDone);
    const std::string notDone = Cp932Of(list_texts::kNotDone);
    table.rows = [&db, filter, order, done, notDone](const text::RowSink& sink) {
        if (!db.TableExists("ZPROJECT"))
            return db.Connected();
        text::TextRow cells(6);
        return db.StreamRows(ProjectListLines(filter, order), [&](const storage::Row& row) {
            ProjectListRow listed = ListRow(row);
            cells[0] = std::move(listed.number);
            cells[1] = std::move(listed.name);
            cells[2] = std::move(listed.title);
            cells[3] = std::move(listed.due);
            cells[4] = std::move(listed.delivered);
            cells[5] = listed.done ? done : notDone;
            return sink(cells);
        });
    };
    return table;
}

}  // namespace projects
