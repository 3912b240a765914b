#include "widgets/string_grid.h"

#include <gtest/gtest.h>

using widgets::StringGrid;

namespace {

TEST(StringGrid, AddressesHeaderAsRowZeroAndKeepsOneDataRow)
{
    StringGrid grid(3);
    grid.SetHeaders({"A", "B", "C"});
    grid.SetColumnWidths({57, 10, 130});
    EXPECT_EQ(grid.ColumnWidths(), (std::vector<int>{57, 10, 130}));
    EXPECT_EQ(grid.Cell(1, 0), "B");
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Row(), 1);  // a current row even before any choice

    grid.SetRowCount(4);
    grid.SetCell(0, 3, "x");
    grid.SetCell(2, 1, "y");
    EXPECT_EQ(grid.Cell(0, 3), "x");
    EXPECT_EQ(grid.Cell(2, 1), "y");
    EXPECT_EQ(grid.Cell(1, 2), "");
    grid.SetRow(3);
    EXPECT_EQ(grid.Row(), 3);

    grid.ClearDataRows();
    EXPECT_EQ(grid.Cell(0, 3), "");
    EXPECT_EQ(grid.Cell(0, 0), "A");  // the header stays
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 2);
    grid.SetCell(0, 5, "grown");  // writing past the end grows the grid
    EXPECT_EQ(grid.RowCount(), 6);
    grid.SetCell(9, 1, "ignored");
    grid.SetCell(0, 0, "ignored");
    EXPECT_EQ(grid.Cell(0, 0), "A");
}

}  // namespace
