#include "tools/admin/search_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../search/search_fixture.h"
#include "search/search_results.h"
#include "text/cp932.h"
#include "tools/admin/admin_commands.h"

using testing_support::SearchTest;
using testing_support::Sjis;

namespace {

class SearchCommandTest : public SearchTest {
protected:
    int run(std::vector<std::string> args, std::string& out, std::string& err)
    {
        std::ostringstream o, e;
        args.insert(args.begin(), "search");
        const int rc = admin::RunAdmin(args, o, e);
        out = o.str();
        err = e.str();
        return rc;
    }
};

}  // namespace

TEST_F(SearchCommandTest, PrintsWhatTheSearchFindsAsUtf8Csv)
{
    addProject(1, Sjis("港北"), "0");
    addProject(2, "done", "1");
    addDrawing(1, 1, Sjis("平面図, \"改\""), {{"ZUMENN", "A-101"}, {"MN", "3"}});
    addDrawing(1, 2, "B", {{"ZUMENN", "A-102"}, {"MN", "4"}, {"KDATE", "20240101"}});
    addDrawing(2, 1, "C", {{"ZUMENN", "A-103"}, {"MN", "3"}});
    const std::string expectedHeader =
        "プロジェクト番号,プロジェクト名,番号,名称,図番,表題,ファイル名,パス名,検図日付,"
        "承認日付,出図日付,改訂日付,ファイル状態\r\n";

    search::SearchCriteria c;
    c.text = "a-10";
    c.memberNo = 3;
    c.role = search::Role::Drafter;
    c.state = search::StampState::Unchecked;
    c.scope = search::ProjectScope::Open;
    const std::string expected = search::CsvOf(search::TableOf(find(c)), search::CsvEncoding::Utf8);
    ASSERT_EQ(expected, expectedHeader + "1,港北,1,\"平面図, \"\"改\"\"\",A-101,,,,,,,,\r\n");

    db.DisconnectDatabase();  // the embedded engine lets one process attach once
    std::string out, err;
    ASSERT_EQ(run({path, "Ａ－１０", "--member", "3", "--role", "drawn", "--state", "unchecked",
                   "--projects", "open"},
                  out, err),
              0)
        << err;
    EXPECT_EQ(out, expected);
    EXPECT_EQ(run({path, "--state", "未検図", "--projects", "done"}, out, err), 0);
    EXPECT_EQ(out, expectedHeader + "2,done,1,C,A-103,,,,,,,,\r\n");

    EXPECT_EQ(run({path, "--state", "nonsense"}, out, err), 2);
    EXPECT_NE(err.find("--state nonsense"), std::string::npos);
    EXPECT_EQ(run({path, "--from", "20240101"}, out, err), 2);  // a range needs its date kind
    EXPECT_EQ(run({}, out, err), 2);
    EXPECT_EQ(run({folder.file("none.fdb")}, out, err), 1);
    EXPECT_TRUE(out.empty());
}
