#include "reports/report_kinds.h"

#include <array>
#include <utility>

#include "drawings/drawing_list_report.h"
#include "projects/project_list_report.h"
#include "projects/project_page_loader.h"
#include "registers/register_report.h"

namespace reports {

namespace {

constexpr std::array<std::pair<std::string_view, ReportKind>, 6> kKinds{{
    {"projects", ReportKind::Projects},
    {"drawings", ReportKind::Drawings},
    {"issue-register", ReportKind::IssueRegister},
    {"sections", ReportKind::Sections},
    {"members", ReportKind::Members},
    {"companies", ReportKind::Companies},
}};

}  // namespace

std::optional<ReportKind> KindOfName(std::string_view name)
{
    for (const auto& [kindName, kind] : kKinds)
        if (kindName == name)
            return kind;
    return std::nullopt;
}

bool NeedsProject(ReportKind kind)
{
    return kind == ReportKind::Drawings || kind == ReportKind::IssueRegister;
}

text::TextTable TableOfKind(storage::Database& db, const ReportRequest& request)
{
    switch (request.kind) {
        case ReportKind::Projects:
            return projects::ProjectListTable(db, std::string(), projects::SortOrderText(0),
                                              projects::ProjectListPrintWidths());
        case ReportKind::Drawings:
            return drawings::ReadDrawingListTable(db, request.projectNo);
        case ReportKind::IssueRegister:
            return IssueRegisterTable(db, request.projectNo, request.range);
        case ReportKind::Sections:
            return registers::ReadRegisterTable(db, registers::SectionRegister());
        case ReportKind::Members:
            return registers::ReadRegisterTable(db, registers::MemberRegister());
        case ReportKind::Companies:
            return registers::ReadRegisterTable(db, registers::CompanyRegister());
    }
    return {};
}

}  // namespace reports
