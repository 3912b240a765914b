#pragma once
// The lists that can be written without a screen, by name: the same tables
// the screens hand over, read afresh from the database.

#include <optional>
#include <string_view>

#include "reports/issue_register.h"
#include "storage/database.h"
#include "text/text_table.h"

namespace reports {

enum class ReportKind { Projects, Drawings, IssueRegister, Sections, Members, Companies };

// "projects", "drawings", "issue-register", "sections", "members", "companies".
std::optional<ReportKind> KindOfName(std::string_view name);
bool NeedsProject(ReportKind kind);

struct ReportRequest {
    ReportKind kind = ReportKind::Projects;
    int projectNo = 0;  // for the drawings and the issue register
    IssueRange range;   // for the issue register
};

// The project list in number order without a filter, as a new list window
// shows it; the drawings as the detail window lists them from the project node.
text::TextTable TableOfKind(storage::Database& db, const ReportRequest& request);

}  // namespace reports
