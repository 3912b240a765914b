#include "drawings/drawing_rows.h"

#include <gtest/gtest.h>

#include "drawings/project_detail_logic.h"
#include "project_fixture.h"

using drawings::DrawingRows;
using drawings::ReadDrawingRows;

namespace {

class DrawingRowsTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        drawings::ProjectDetailLogic(db, kProject).Open();
        for (int n = 1; n <= 6; ++n)
            ASSERT_TRUE(db.InsertRow("ZMN_7", {"N", "FILE_NAME", "DDATE"},
                                     {std::to_string(n), text::SqlText("f" + std::to_string(n)),
                                      "'2024010" + std::to_string(n) + "'"}));
        sent.clear();
    }
};

}  // namespace

TEST_F(DrawingRowsTest, OneByOneAndInOnePassGiveTheSameRows)
{
    const std::vector<int> numbers{5, 2, 9, 3};  // 9 has no row
    const DrawingRows looked = ReadDrawingRows(db, "ZMN_7", numbers);
    const size_t lookups = sent.size();
    sent.clear();
    const DrawingRows passed = ReadDrawingRows(db, "ZMN_7", numbers, 2);

    EXPECT_EQ(looked, passed);
    ASSERT_EQ(looked.size(), 3u);
    EXPECT_EQ(looked.count(9), 0u);
    const storage::Row& five = looked.at(5);
    ASSERT_EQ(five.size(), 20u);
    EXPECT_EQ(five[0], "5");
    EXPECT_EQ(five[1], "f5");
    EXPECT_EQ(five[10], "20240105");

    // One statement a number below the limit, one for the table above it.
    EXPECT_EQ(lookups, numbers.size());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "SELECT * \r\n   FROM ZMN_7 \r\n   ;\r\n");

    EXPECT_TRUE(ReadDrawingRows(db, "ZMN_7", {}).empty());
    EXPECT_TRUE(ReadDrawingRows(db, "ZMN_99", {1, 2}, 0).empty());
}
