#include "text/csv.h"

#include <gtest/gtest.h>

TEST(Csv, QuotesOnlyWhatWouldBreakTheLine)
{
    EXPECT_EQ(text::CsvLine({"A-101", "", "12"}), "A-101,,12\r\n");
    EXPECT_EQ(text::CsvLine({"a,b", "say \"hi\"", "two\r\nlines", " pad"}),
              "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\" pad\"\r\n");
    // 表 is 0x95 0x5C and ソ 0x83 0x5C in CP932: trail bytes are not specials.
    EXPECT_EQ(text::CsvField("\x95\x5C\x83\x5C"), "\x95\x5C\x83\x5C");
}
