#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "common/database_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace testing_support {

// Test data as the application stores it: CP932 bytes.
inline std::string Sj(const char* utf8)
{
    return text::ToCp932Lossy(QString::fromUtf8(utf8));
}

// A fresh database with the project, company and member tables.
class ProjectDatabaseTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        ASSERT_TRUE(storage::CreateProjectTable(db));
        ASSERT_TRUE(storage::CreateCompanyTable(db));
        ASSERT_TRUE(storage::CreateMemberTable(db));
        sent.clear();
    }

    void AddCompany(int n, const std::string& name, const std::string& department = "")
    {
        ASSERT_TRUE(
            db.InsertRow("COMPANY", {"N", "CNAME", "BNAME"},
                         {std::to_string(n), text::SqlText(name),
                          department.empty() ? std::string("NULL") : text::SqlText(department)}));
    }

    void AddMember(int n, const std::string& name)
    {
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"},
                                 {std::to_string(n), "1", text::SqlText(name)}));
    }

    // Projects 1..count in one statement: PRNAME "P0001", MTITLE "T0001", NOUKI
    // counting down so that its text order differs from N, ENDF 1 on even N.
    void FillProjects(int count, int first = 1)
    {
        const std::string last = std::to_string(first + count - 1);
        ASSERT_TRUE(db.ExecuteDdl({
            "EXECUTE BLOCK AS",
            "  DECLARE I INTEGER = " + std::to_string(first) + ";",
            "BEGIN",
            "  WHILE (I <= " + last + ") DO",
            "  BEGIN",
            "    INSERT INTO ZPROJECT (N, MN, CN, PRNAME, MTITLE, NOUKI, NDATE, ENDF)",
            "      VALUES (:I, 1, 0, 'P' || LPAD(:I, 4, '0'), 'T' || LPAD(:I, 4, '0'),",
            "        LPAD(" + last +
                " + 1 - :I, 4, '0'), '2024' || LPAD(MOD(:I, 12) + 1, 2, '0') "
                "|| '01',",
            "        1 - MOD(:I, 2));",
            "    I = I + 1;",
            "  END",
            "END",
        }));
    }

    int ProjectCount()
    {
        storage::Row count(1);
        db.SelectColumns("COUNT(*)", "ZPROJECT", "", count);
        return text::StrToIntOrZero(count[0]);
    }

    storage::Row Project(int n)
    {
        storage::Row row(storage::kProjectColumns);
        db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(n), row);
        return row;
    }

    // Whether any statement sent since the last clear wrote to the database.
    bool SentAWrite() const
    {
        for (const std::string& s : sent)
            if (s.rfind("INSERT", 0) == 0 || s.rfind("UPDATE", 0) == 0)
                return true;
        return false;
    }
};

}  // namespace testing_support
