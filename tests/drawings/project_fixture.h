#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/database_fixture.h"
#include "storage/schema.h"
#include "text/mbcs.h"

namespace testing_support {

// Two-byte names (構 and 表 end in 0x5C, a byte that must pass untouched).
inline const std::string kKouzou = "\x8D\x5C\x91\xA2";  // 構造
inline const std::string kHyou = "\x95\x5C";            // 表

// An embedded database holding ZPROJECT with project 7, and helpers to look at
// the per-project tables the way another program would.
class ProjectTest : public EmbeddedDatabaseTest {
protected:
    static constexpr int kProject = 7;

    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        ASSERT_TRUE(storage::CreateProjectTable(db));
        addProject(kProject, "Tower " + kKouzou, "3");
        sent.clear();
    }

    void addProject(int n, const std::string& name, const std::string& member)
    {
        ASSERT_TRUE(db.InsertRow(
            "ZPROJECT", {"N", "MN", "PRNAME"},
            {std::to_string(n), member.empty() ? "NULL" : member, text::SqlText(name)}));
    }

    void addTreeRow(int n, const std::string& name, int parent, const char* table = "ZPRJ_7")
    {
        ASSERT_TRUE(
            db.InsertRow(table, {"N", "NAME", "MN", "PARENT_N"},
                         {std::to_string(n), text::SqlText(name), "0", std::to_string(parent)}));
    }

    // Every row of a table in order of its first column, all columns as text.
    std::vector<storage::Row> rows(const std::string& table, int columns,
                                   const std::string& condition = "")
    {
        const int count = db.SelectOrdered("*", table, condition, "1");
        return db.FetchAll(count, static_cast<std::size_t>(columns));
    }

    std::vector<std::string> sentStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& s : sent)
            if (s.rfind(prefix, 0) == 0)
                found.push_back(s);
        return found;
    }
};

}  // namespace testing_support
