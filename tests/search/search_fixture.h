#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/database_fixture.h"
#include "search/drawing_search.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace testing_support {

// A fixed text of a test (UTF-8 in the source) as CP932 bytes.
inline std::string Sjis(const char* utf8)
{
    return text::ToCp932(QString::fromUtf8(utf8)).value();
}

// An embedded database with ZPROJECT and helpers that write projects and
// drawings as the application (or another program) stores them.
class SearchTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        ASSERT_TRUE(storage::CreateProjectTable(db));
    }

    // A project row and, unless told otherwise, its three tables.
    void addProject(int n, const std::string& name, const std::string& endf = "0",
                    bool tables = true)
    {
        ASSERT_TRUE(db.InsertRow(
            "ZPROJECT", {"N", "MN", "PRNAME", "ENDF"},
            {std::to_string(n), "1", text::SqlText(name), endf.empty() ? "NULL" : endf}));
        if (!tables)
            return;
        const std::string number = std::to_string(n);
        ASSERT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_" + number));
        ASSERT_TRUE(storage::CreateDrawingTable(db, "ZMN_" + number));
        ASSERT_TRUE(storage::CreateRevisionTable(db, "REV_" + number));
    }

    // A node under the project node and its drawing row; columns not given are NULL.
    void addDrawing(int project, int node, const std::string& name,
                    const std::map<std::string, std::string>& columns = {})
    {
        const std::string number = std::to_string(project);
        ASSERT_TRUE(db.InsertRow("ZPRJ_" + number, {"N", "NAME", "MN", "PARENT_N"},
                                 {std::to_string(node), text::SqlText(name), "1", "0"}));
        std::vector<std::string> names{"N"};
        std::vector<std::string> values{std::to_string(node)};
        for (const auto& [column, value] : columns) {
            names.push_back(column);
            const bool number = column.size() == 2 && column[1] == 'N';  // MN, KN, AN, PN, RN
            values.push_back(number ? value : text::SqlText(value));
        }
        ASSERT_TRUE(db.InsertRow("ZMN_" + number, names, values));
    }

    std::vector<search::SearchHit> find(const search::SearchCriteria& criteria)
    {
        search::DrawingSearch drawings(db, criteria);
        return drawings.All();
    }

    // "project:node" of each hit, in order.
    std::vector<std::string> found(const search::SearchCriteria& criteria)
    {
        std::vector<std::string> keys;
        for (const search::SearchHit& hit : find(criteria))
            keys.push_back(std::to_string(hit.projectNo) + ":" + std::to_string(hit.nodeNo));
        return keys;
    }
};

}  // namespace testing_support
