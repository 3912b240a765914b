// Which drawings the issue register lists, in which order, with which
// revision, and what heads it.

#include <gtest/gtest.h>

#include "report_fixture.h"
#include "reports/issue_register.h"
#include "reports/report_texts.h"

using reports::IssueRange;
using reports::ReadIssueEntries;
using testing_support::Sj;

namespace {

class IssueRegisterTest : public testing_support::ReportDatabaseTest {
protected:
    // drawing number, issued, issuer, revision date, content, reviser
    std::vector<std::string> Lines(const IssueRange& range)
    {
        std::vector<std::string> lines;
        for (const reports::IssueEntry& e : ReadIssueEntries(db, kProject, range))
            lines.push_back(e.drawingNumber + "|" + e.issueDate + "|" + e.issuer + "|" +
                            e.revisionDate + "|" + e.revisionContent + "|" + e.reviser);
        return lines;
    }
};

TEST_F(IssueRegisterTest, IssuedDrawingsInTreeOrderWithTheirLatestRevision)
{
    // The history's latest dated entry; a later stamp without an entry; a
    // stamp with no history at all. A date another program left as text
    // counts as issued when no range is asked for.
    EXPECT_EQ(Lines({}),
              (std::vector<std::string>{
                  "A-101|20240310|" + Sj("山田") + "|20240320|" + Sj("寸法変更") + "|" + Sj("佐藤"),
                  "S-201|20240305|" + Sj("山田") + "|20240306||" + Sj("山田"),
                  "X-1|abc|" + Sj("佐藤") + "|20240201||" + Sj("佐藤"),
              }));
    const std::vector<reports::IssueEntry> entries = ReadIssueEntries(db, kProject, {});
    EXPECT_EQ(entries[0].title, Sj("表題") + "A-101");
    EXPECT_EQ(entries[0].memo, Sj("メモ") + "A-101");
}

TEST_F(IssueRegisterTest, RangeAndDrawingsNotIssuedYet)
{
    const auto numbers = [this](const IssueRange& range) {
        std::string out;
        for (const reports::IssueEntry& e : ReadIssueEntries(db, kProject, range))
            out += std::to_string(e.node) + " ";
        return out;
    };
    EXPECT_EQ(numbers({"20240301", "20240309", false, {}}), "3 ");
    EXPECT_EQ(numbers({"20240306", "", false, {}}), "4 ");
    // Groups without a file or drawing number stay out; a text that is no date
    // is outside every range.
    EXPECT_EQ(numbers({"", "", true, {}}), "4 5 3 6 ");
    EXPECT_EQ(numbers({"20240301", "20240309", true, {}}), "5 3 ");

    EXPECT_EQ(reports::CheckIssueRange({"2024023", "", false, {}}).field, std::string("from"));
    EXPECT_EQ(reports::CheckIssueRange({"", "20240230", false, {}}).field, std::string("to"));
    EXPECT_EQ(reports::CheckIssueRange({"20240302", "20240301", false, {}}).message,
              text::Utf8(reports::texts::kRangeReversed));
    EXPECT_TRUE(reports::CheckIssueRange({"20240301", "20240301", false, {}}).message.isEmpty());
}

TEST_F(IssueRegisterTest, TableHeadsTheProjectClientAndRange)
{
    const text::TextTable table =
        reports::IssueRegisterTable(db, kProject, {"20240301", "20240331", false, {}});
    EXPECT_EQ(table.title, Sj("出図表"));
    EXPECT_EQ(table.headingLines,
              (std::vector<std::string>{Sj("プロジェクト名：港北"), Sj("注文先：東洋建設　設計部"),
                                        Sj("表題：集合住宅"), Sj("出図日付：20240301～20240331")}));
    EXPECT_EQ(table.headers.size(), 10u);
    EXPECT_EQ(table.headers[9], Sj("メモ１"));
    EXPECT_EQ(table.footer, Sj("受領印"));
    const std::vector<text::TextRow> rows = testing_support::AllRows(table);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0] + rows[0][1] + rows[1][0] + rows[1][1], "1A-1012S-201");
}

}  // namespace
