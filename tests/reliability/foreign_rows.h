#pragma once
// Rows as another program may have written them: NULLs, numbers at the integer
// limits, dates that are no dates, names at their byte limit, quotes, colons,
// the tree's own separator, control bytes and bytes CP932 has no character for.
// Nothing here goes through the application's checks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/schema.h"
#include "text/mbcs.h"

namespace testing_support {

inline constexpr int kForeignProject = 3;  // the project whose own tables are filled

// `bytes` long, ending in a two-byte character (亜) that fills the limit exactly.
inline std::string AtLimit(int bytes)
{
    return std::string(static_cast<std::size_t>(bytes - 2), 'a') + "\x88\x9f";
}

inline const std::string kMax = "2147483647";
inline const std::string kMin = "-2147483648";
inline const std::string kQuoted = "a'b\"c :d:e";
inline const std::string kControl("\t\r\n\x01\x1f", 5);
inline const std::string kNoCp932 = "\xff\xfe\x82";  // ends in a lead byte without trail

// A stored value: NULL for the empty text, else the text as one literal.
inline std::string Value(const std::string& text)
{
    return text.empty() ? std::string("NULL") : text::SqlText(text);
}

struct ForeignTable {
    std::string name;
    int columns;
    std::vector<std::string> columnNames;
    std::vector<std::vector<std::string>> rows;  // values as SQL text
};

// Every table the application reads, with its hostile rows. The per-project
// tables are those of kForeignProject.
inline std::vector<ForeignTable> ForeignTables()
{
    const auto v = Value;
    const std::vector<std::string> badDates{"2024130a", "00000000", "abcdefgh",
                                            "2024",     "        ", "20240230"};
    ForeignTable project{"ZPROJECT",
                         storage::kProjectColumns,
                         {"N", "MN", "CN", "PRNAME", "MTITLE", "STITLE", "MEMO1", "MEMO2", "MEMO3",
                          "NOUKI", "PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE", "ENDF"},
                         {}};
    project.rows = {
        {"1", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL",
         "NULL", "NULL", "NULL", "NULL", "NULL"},
        {"2", kMax, kMax, v(AtLimit(32)), v(AtLimit(80)), v(AtLimit(80)), v(AtLimit(80)),
         v(AtLimit(80)), v(AtLimit(80)), v("99999999999"), v("20240101"), v("20240301"),
         v("20240105"), v("20240401"), v("20240410"), "32767"},
        {"3", kMin, kMin, v(kQuoted), v(kQuoted), v(kControl), v(kNoCp932), v("-2147483649"),
         v("4294967296"), v(kQuoted), v("20240101"), v("20240102"), v(badDates[0]), v("20240105"),
         v(badDates[1]), "-32768"},
        {"4", "1", "5", v(kControl + kNoCp932), "NULL", "NULL", "NULL", "NULL", "NULL", "NULL",
         v(badDates[2]), v(badDates[3]), v(badDates[4]), v(badDates[5]), v("99999999"), "1"},
        {kMax, "3", "1", v("max"), "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL",
         "NULL", "NULL", v(badDates[5]), "0"},
        {kMin, "NULL", "NULL", v("min"), "NULL", "NULL", "NULL", "NULL", "NULL", "NULL",
         v("20240101"), v("20231231"), "NULL", "NULL", "NULL", "NULL"},
    };

    const std::string p = std::to_string(kForeignProject);
    std::vector<std::string> drawingColumns{"N",      "FILE_NAME", "PATH_NAME", "ZUMENN", "MTITLE",
                                            "STITLE", "MEMO1",     "MEMO2",     "MEMO3",  "MN",
                                            "DDATE",  "UDATE",     "KN",        "KDATE",  "AN",
                                            "ADATE",  "PN",        "PDATE",     "RN",     "RDATE"};
    auto drawing = [&](const std::string& n, const std::string& file, const std::string& texts,
                       const std::string& member, const std::vector<std::string>& dates) {
        std::vector<std::string> row{n,        v(file),  v(file),     v(texts),
                                     v(texts), v(texts), v(texts),    v(texts),
                                     v(texts), member,   v(dates[0]), v(dates[1])};
        for (int stage = 0; stage < 4; ++stage)
            row.insert(row.end(), {member, v(dates[2 + stage])});
        return row;
    };

    return {
        {"SECTION",
         2,
         {"N", "SNAME"},
         {{kMax, v(AtLimit(32))},
          {kMin, v(kQuoted)},
          {"1", "NULL"},
          {"2", v(kControl + kNoCp932)}}},
        {"MEMBER",
         3,
         {"N", "SN", "PNAME"},
         {{kMax, kMin, v(AtLimit(16))},
          {kMin, kMax, v("q'u\"o :x")},
          {"1", "NULL", "NULL"},
          {"3", "2", v(kNoCp932)}}},
        {"COMPANY",
         3,
         {"N", "CNAME", "BNAME"},
         {{kMax, v(AtLimit(32)), v(AtLimit(32))},
          {kMin, v("c'o:m"), v(kControl)},
          {"1", "NULL", "NULL"},
          {"5", v(kNoCp932), v("\"")}}},
        project,
        {"ZPRJ_" + p,
         4,
         {"N", "NAME", "MN", "PARENT_N"},
         {{"0", v(kQuoted), kMin, "0"},  // the project node, as the window writes it
          {"1", "NULL", "NULL", "NULL"},
          {"2", v("a :b"), kMax, "1"},
          {"3", v(AtLimit(32)), kMin, kMax},
          {"4", v("q'u\"o"), "NULL", kMin},
          {"5", v(kControl + kNoCp932), "1", "5"},
          {kMax, v("top"), "3", "4"}}},
        {"ZMN_" + p,
         20,
         drawingColumns,
         {std::vector<std::string>{"1"},
          drawing("2", "f'i\"le :x", "ok", kMax,
                  {"20240101", "20240201", "20240110", "20240110", "20240110", "20240110"}),
          drawing("3", AtLimit(255), AtLimit(80), kMin, badDates),
          drawing("4", "plain", kQuoted, "1",
                  {"20240101", "", "20240102", "", "20240102", "20240102"}),
          drawing(kMax, kControl, kControl + kNoCp932, "3",
                  {"", "20240301", "", "20240302", "", ""})}},
        {"REV_" + p,
         5,
         {"N", "ZN", "CONT", "RN", "RDATE"},
         {{"1", "3", "NULL", "NULL", "NULL"},
          {"2", "3", v(kQuoted), kMax, v("2024130a")},
          {"3", "3", v(AtLimit(80)), kMin, v("20240230")},
          {"4", "3", v(kNoCp932), "1", v("20240101")},
          {kMax, kMax, v(kControl), "3", "NULL"},
          {kMin, "NULL", v("orphan"), "NULL", v("        ")}}},
    };
}

// Creates what is missing and inserts every hostile row; the count inserted.
inline int SeedForeignRows(storage::Database& db)
{
    int count = 0;
    for (const ForeignTable& table : ForeignTables()) {
        if (!db.TableExists(table.name)) {
            const std::string& n = table.name;
            const bool made = n == "SECTION"               ? storage::CreateSectionTable(db)
                              : n == "MEMBER"              ? storage::CreateMemberTable(db)
                              : n == "COMPANY"             ? storage::CreateCompanyTable(db)
                              : n == "ZPROJECT"            ? storage::CreateProjectTable(db)
                              : n[0] == 'Z' && n[2] == 'R' ? storage::CreateNameTreeTable(db, n)
                              : n[0] == 'Z'                ? storage::CreateDrawingTable(db, n)
                                                           : storage::CreateRevisionTable(db, n);
            EXPECT_TRUE(made) << n;
        }
        for (const std::vector<std::string>& row : table.rows) {
            const std::vector<std::string> columns(table.columnNames.begin(),
                                                   table.columnNames.begin() + row.size());
            EXPECT_TRUE(db.InsertRow(table.name, columns, row)) << table.name << " N=" << row[0];
            ++count;
        }
    }
    return count;
}

}  // namespace testing_support
