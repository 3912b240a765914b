#pragma once
// The creating statements of every table. A creator only creates; callers test
// TableExists first, and a creator for a table that exists fails.

#include <string_view>

#include "storage/statements.h"

namespace storage {

class Database;

Lines SectionTableLines();
Lines MemberTableLines();
Lines CompanyTableLines();
Lines ProjectTableLines();
Lines NameTreeTableLines(std::string_view name);
Lines DrawingTableLines(std::string_view name);
Lines RevisionTableLines(std::string_view name);

bool CreateSectionTable(Database& db);
bool CreateMemberTable(Database& db);
bool CreateCompanyTable(Database& db);
bool CreateProjectTable(Database& db);
bool CreateNameTreeTable(Database& db, std::string_view name);
bool CreateDrawingTable(Database& db, std::string_view name);
bool CreateRevisionTable(Database& db, std::string_view name);

// Column counts of a "*" row, in table order.
constexpr int kSectionColumns = 2;
constexpr int kMemberColumns = 3;
constexpr int kCompanyColumns = 3;
constexpr int kProjectColumns = 16;
constexpr int kNameTreeColumns = 4;
constexpr int kDrawingColumns = 20;
constexpr int kRevisionColumns = 5;

}  // namespace storage
