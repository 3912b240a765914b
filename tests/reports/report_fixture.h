#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <string>

#include "drawings/project_detail_logic.h"
#include "projects/project_fixture.h"
#include "text/text_table.h"

namespace testing_support {

// Stored texts another program could have written: a comma, quotes, a line
// break, control bytes, and characters at the edges of CP932 whose bytes do
// not survive a trip through Unicode (NEC row 13, NEC-selected IBM).
inline const std::string kEdgeChars = "\x87\x90\xED\x40\xFC\x4B";

// Project 7 with a tree of two groups and four drawings, their issue stamps
// and revisions, a client and two members; projects 1 to 3 with hostile texts.
class ReportDatabaseTest : public ProjectDatabaseTest {
protected:
    static constexpr int kProject = 7;

    void SetUp() override
    {
        ProjectDatabaseTest::SetUp();
        ASSERT_TRUE(db.ExecuteDdl({"INSERT INTO ZPROJECT (N, PRNAME, MTITLE, NOUKI, NDATE, ENDF)",
                                   "VALUES (1, 'a,b', 'say \"hi\"', 'line1' || ASCII_CHAR(13) ||",
                                   "ASCII_CHAR(10) || 'line2', '20240401', 1)"}));
        ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "PRNAME", "NDATE"},
                                 {"2", text::SqlText(kEdgeChars), "'abcd'"}));
        ASSERT_TRUE(db.UpdateSet("ZPROJECT",
                                 "MTITLE='x' || ASCII_CHAR(1) || 'y' || ASCII_CHAR(9) || 'z' || "
                                 "ASCII_CHAR(0) || 'w'",
                                 "N=2"));
        ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N"}, {"3"}));

        AddCompany(1, Sj("東洋建設"), Sj("設計部"));
        AddMember(2, Sj("山田"));
        AddMember(3, Sj("佐藤"));
        ASSERT_TRUE(db.InsertRow(
            "ZPROJECT", {"N", "MN", "CN", "PRNAME", "MTITLE"},
            {"7", "2", "1", text::SqlText(Sj("港北")), text::SqlText(Sj("集合住宅"))}));
        drawings::ProjectDetailLogic(db, kProject).Open();
        // Tree order 1, 4, 5, 2, 3, 6: not the order of the numbers.
        AddNode(1, Sj("意匠図"), 0, {});
        AddNode(2, Sj("構造図"), 0, {});
        AddNode(3, "S-201", 2, {"s.jww", "S-201", "20240305", "2", "20240306", "2"});
        AddNode(4, "A-101", 1, {"a.jww", "A-101", "20240310", "2", "20240320", "3"});
        AddNode(5, "A-102", 1, {"b.jww", "", "", "", "", ""});
        AddNode(6, "X", 2, {"", "X-1", "abc", "3", "20240201", "3"});
        AddRevision(1, 4, Sj("初版修正"), 2, "20240315");
        AddRevision(2, 4, Sj("日付なし"), 2, "");
        AddRevision(3, 4, Sj("寸法変更"), 3, "20240320");
        AddRevision(4, 6, Sj("旧"), 2, "20240101");
        sent.clear();
    }

    // drawing: FILE_NAME, ZUMENN, PDATE, PN, RDATE, RN; none for a group.
    void AddNode(int n, const std::string& name, int parent, std::vector<std::string> drawing)
    {
        ASSERT_TRUE(
            db.InsertRow("ZPRJ_7", {"N", "NAME", "MN", "PARENT_N"},
                         {std::to_string(n), text::SqlText(name), "2", std::to_string(parent)}));
        drawing.resize(6);
        std::vector<std::string> values{std::to_string(n), text::SqlText(Sj("表題") + name),
                                        text::SqlText(Sj("メモ") + name)};
        for (const std::string& v : drawing)
            values.push_back(v.empty() ? "NULL" : text::SqlText(v));
        ASSERT_TRUE(db.InsertRow(
            "ZMN_7", {"N", "MTITLE", "MEMO1", "FILE_NAME", "ZUMENN", "PDATE", "PN", "RDATE", "RN"},
            values));
    }

    void AddRevision(int n, int node, const std::string& content, int member,
                     const std::string& date)
    {
        ASSERT_TRUE(
            db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                         {std::to_string(n), std::to_string(node), text::SqlText(content),
                          std::to_string(member), date.empty() ? "NULL" : text::SqlText(date)}));
    }
};

inline std::vector<text::TextRow> AllRows(const text::TextTable& table)
{
    std::vector<text::TextRow> rows;
    if (table.rows)
        table.rows([&](const text::TextRow& row) {
            rows.push_back(row);
            return true;
        });
    return rows;
}

inline std::string FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// What a program outside ours reads from a file: pdftotext's text, or an
// openpyxl script's output.
inline std::string RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return "failed: " + process.readAllStandardError().toStdString();
    return process.readAllStandardOutput().toStdString();
}

}  // namespace testing_support
