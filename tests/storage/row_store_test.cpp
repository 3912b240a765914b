#include <gtest/gtest.h>

#include <string>

#include "storage/row_store.h"

using storage::Row;
using storage::RowStore;

namespace {

// Row i holds its number, a text whose length crosses each length-encoding
// boundary somewhere, and an empty value.
Row RowNumber(std::size_t i)
{
    static const std::size_t kLengths[] = {0, 1, 127, 128, 300};
    std::size_t length = kLengths[i % std::size(kLengths)];
    if (i == 10 || i == 2010)
        length = 16383;
    if (i == 11 || i == 2011)
        length = 16384;
    if (i == 12 || i == 2012)
        length = 70000;
    return {std::to_string(i), std::string(length, static_cast<char>('a' + i % 26)), ""};
}

void Add(RowStore& store, const Row& row)
{
    store.beginRow();
    for (const std::string& value : row)
        store.addValue(value);
    store.endRow();
}

}  // namespace

TEST(RowStore, RowsComeBackByteForByteAcrossChunks)
{
    RowStore store;
    const std::size_t count = 3 * RowStore::kChunkRows + 17;
    for (std::size_t i = 0; i < count; ++i)
        Add(store, RowNumber(i));
    ASSERT_EQ(store.size(), count);

    // Forwards, then back to the start and jumping between chunks, as cursors move.
    Row buffer(3);
    for (std::size_t i :
         {std::size_t{0}, count - 1, std::size_t{1500}, std::size_t{2}, count / 2}) {
        ASSERT_EQ(store.copyRow(i, buffer), 3) << i;
        EXPECT_EQ(buffer, RowNumber(i)) << i;
    }
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(store.copyRow(i, buffer), 3);
        ASSERT_EQ(buffer, RowNumber(i)) << i;
    }

    // A smaller buffer takes the first values only; a larger one keeps its tail.
    Row one(1);
    EXPECT_EQ(store.copyRow(5, one), 1);
    EXPECT_EQ(one[0], "5");
    Row four{"", "", "", "kept"};
    EXPECT_EQ(store.copyRow(6, four), 3);
    EXPECT_EQ(four[3], "kept");
    EXPECT_EQ(store.copyRow(count, buffer), -1);

    store.clear();
    EXPECT_EQ(store.size(), 0u);
    Add(store, {"x"});
    ASSERT_EQ(store.copyRow(0, one), 1);
    EXPECT_EQ(one[0], "x");
}
