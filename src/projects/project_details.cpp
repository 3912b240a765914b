#include "projects/project_details.h"

#include "projects/project_columns.h"
#include "storage/schema.h"
#include "text/mbcs.h"

namespace projects {

namespace {

storage::Row ReadRow(storage::Database& db, const char* table, int number, int columns)
{
    storage::Row row(columns);
    db.SelectOrdered("*", table, "N=" + std::to_string(number), "");
    db.FetchFirst(row);
    db.CloseQuery();
    return row;
}

}  // namespace

ProjectDetails LoadProjectDetails(storage::Database& db, int number)
{
    ProjectDetails d;
    if (number <= 0)
        return d;
    const storage::Row row = ReadRow(db, "ZPROJECT", number, storage::kProjectColumns);
    d.number = row[kColN];
    d.name = row[kColPRNAME];
    d.title = row[kColMTITLE];
    d.subtitle = row[kColSTITLE];
    d.memo1 = row[kColMEMO1];
    d.memo2 = row[kColMEMO2];
    d.memo3 = row[kColMEMO3];
    d.due = row[kColNOUKI];
    d.plannedStart = row[kColPDATE1];
    d.plannedEnd = row[kColPDATE2];
    d.actualStart = row[kColDATE1];
    d.actualEnd = row[kColDATE2];
    d.delivered = row[kColNDATE];
    d.done = text::StrToIntOrZero(row[kColENDF]) != 0;

    const bool gone = row[kColN].empty();
    const int member = gone ? 0 : text::StrToIntOrZero(row[kColMN]);
    const int company = gone ? 0 : text::StrToIntOrZero(row[kColCN]);
    if (company > 0) {
        const storage::Row c = ReadRow(db, "COMPANY", company, storage::kCompanyColumns);
        d.hasClient = true;
        d.clientName = c[kCompanyCNAME];
        d.clientDepartment = c[kCompanyBNAME];
    }
    if (member > 0) {
        const storage::Row m = ReadRow(db, "MEMBER", member, storage::kMemberColumns);
        d.hasCreator = true;
        d.creatorName = m[kMemberPNAME];
    }
    return d;
}

}  // namespace projects
