#include "storage/schema.h"

#include "storage/database.h"

namespace storage {

namespace {

Lines Create(std::string_view name, std::initializer_list<const char*> columns)
{
    Lines lines{"CREATE TABLE " + std::string(name) + " ("};
    lines.insert(lines.end(), columns.begin(), columns.end());
    lines.push_back("  );");
    return lines;
}

}  // namespace

Lines SectionTableLines()
{
    return Create("SECTION", {"  N INTEGER NOT NULL UNIQUE,", "  SNAME VARCHAR(32)"});
}

Lines MemberTableLines()
{
    return Create("MEMBER",
                  {"  N  INTEGER NOT NULL UNIQUE,", "  SN INTEGER,", "  PNAME VARCHAR(16)"});
}

Lines CompanyTableLines()
{
    return Create("COMPANY",
                  {"  N  INTEGER NOT NULL UNIQUE,", "  CNAME VARCHAR(32),", "  BNAME VARCHAR(32)"});
}

Lines ProjectTableLines()
{
    return Create("ZPROJECT",
                  {"  N  INTEGER NOT NULL UNIQUE,", "  MN INTEGER,", "  CN INTEGER,",
                   "  PRNAME  VARCHAR(32),", "  MTITLE  VARCHAR(80),", "  STITLE  VARCHAR(80),",
                   "  MEMO1   VARCHAR(80),", "  MEMO2   VARCHAR(80),", "  MEMO3   VARCHAR(80),",
                   "  NOUKI   VARCHAR(16),", "  PDATE1  VARCHAR(8),", "  PDATE2  VARCHAR(8),",
                   "  DATE1   VARCHAR(8),", "  DATE2   VARCHAR(8),", "  NDATE   VARCHAR(8),",
                   "  ENDF SMALLINT"});
}

Lines NameTreeTableLines(std::string_view name)
{
    return Create(name, {"  N INTEGER NOT NULL UNIQUE,", "  NAME VARCHAR(32),", "  MN INTEGER,",
                         "  PARENT_N INTEGER"});
}

Lines DrawingTableLines(std::string_view name)
{
    return Create(name, {"  N INTEGER NOT NULL UNIQUE,",
                         "  FILE_NAME VARCHAR(255),",
                         "  PATH_NAME VARCHAR(255),",
                         "  ZUMENN VARCHAR(80),",
                         "  MTITLE VARCHAR(80),",
                         "  STITLE VARCHAR(80),",
                         "  MEMO1 VARCHAR(80),",
                         "  MEMO2 VARCHAR(80),",
                         "  MEMO3 VARCHAR(80),",
                         "  MN    INTEGER,",
                         "  DDATE VARCHAR(8),",
                         "  UDATE VARCHAR(8),",
                         "  KN    INTEGER,",
                         "  KDATE VARCHAR(8),",
                         "  AN    INTEGER,",
                         "  ADATE VARCHAR(8),",
                         "  PN    INTEGER,",
                         "  PDATE VARCHAR(8),",
                         "  RN    INTEGER,",
                         "  RDATE VARCHAR(8)"});
}

Lines RevisionTableLines(std::string_view name)
{
    return Create(name, {"  N INTEGER NOT NULL UNIQUE,", "  ZN    INTEGER,", "  CONT  VARCHAR(80),",
                         "  RN    INTEGER,", "  RDATE VARCHAR(8)"});
}

bool CreateSectionTable(Database& db)
{
    return db.ExecuteDdl(SectionTableLines());
}

bool CreateMemberTable(Database& db)
{
    return db.ExecuteDdl(MemberTableLines());
}

bool CreateCompanyTable(Database& db)
{
    return db.ExecuteDdl(CompanyTableLines());
}

bool CreateProjectTable(Database& db)
{
    return db.ExecuteDdl(ProjectTableLines());
}

bool CreateNameTreeTable(Database& db, std::string_view name)
{
    return db.ExecuteDdl(NameTreeTableLines(name));
}

bool CreateDrawingTable(Database& db, std::string_view name)
{
    return db.ExecuteDdl(DrawingTableLines(name));
}

bool CreateRevisionTable(Database& db, std::string_view name)
{
    return db.ExecuteDdl(RevisionTableLines(name));
}

}  // namespace storage
