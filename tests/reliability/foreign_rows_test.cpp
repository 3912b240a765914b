// Rows written by another program, read through every load path and written
// back through every save path: nothing breaks, NULL reads as empty, a bad
// stored date is treated as each reader documents, and a save either refuses
// with its message or stores exactly what was loaded, touching no other row.

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/database_fixture.h"
#include "common/texts.h"
#include "drawings/detail_texts.h"
#include "drawings/drawing_chart_logic.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/drawing_rows.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_logic.h"
#include "drawings/revision_history_texts.h"
#include "projects/project_chart_logic.h"
#include "projects/project_chart_texts.h"
#include "projects/project_columns.h"
#include "projects/project_details.h"
#include "projects/project_editor_logic.h"
#include "projects/project_editor_texts.h"
#include "projects/project_page_loader.h"
#include "registers/register_logic.h"
#include "registers/register_texts.h"
#include "reliability/foreign_rows.h"
#include "reliability/reliability_support.h"
#include "storage/app_globals.h"
#include "text/mbcs.h"

using testing_support::Q;

namespace {

using namespace testing_support;
using Rows = std::vector<storage::Row>;
using Snapshot = std::map<std::string, Rows>;

class ForeignRowsTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        hostileRows = SeedForeignRows(db);
        sent.clear();
    }

    Snapshot Everything()
    {
        Snapshot all;
        for (const ForeignTable& t : ForeignTables())
            all[t.name] = ReadTable(db, t.name, t.columns);
        return all;
    }

    int hostileRows = 0;
    const drawings::ProjectTables tables{kForeignProject};
};

// The numbers of a table's rows, in order.
std::vector<std::string> Numbers(const Rows& rows)
{
    std::vector<std::string> numbers;
    for (const storage::Row& r : rows)
        numbers.push_back(r[0]);
    return numbers;
}

TEST_F(ForeignRowsTest, EveryLoadAndSavePathTakesRowsOfAnotherProgram)
{
    const Snapshot seeded = Everything();
    const std::string quoted = kQuoted;
    drawings::ProjectDetailLogic detail(db, kForeignProject);
    std::vector<std::string> members;

    const std::vector<std::pair<const char*, std::function<void()>>> loads{
        {"section register",
         [&] {
             registers::RegisterLogic logic(db, registers::SectionRegister());
             const Rows rows = logic.LoadRows();
             EXPECT_EQ(Numbers(rows), (std::vector<std::string>{kMin, "1", "2", kMax}));
             EXPECT_EQ(rows[1][1], "");
             EXPECT_EQ(rows[3][1], AtLimit(32));
             EXPECT_EQ(logic.ProposeNumber(), "2147483648");  // refused when saved, never wrapped
         }},
        {"member register",
         [&] {
             const Rows rows = registers::RegisterLogic(db, registers::MemberRegister()).LoadRows();
             ASSERT_EQ(rows.size(), 4u);
             EXPECT_EQ(rows[0], (storage::Row{kMin, kMax, AtLimit(32), "q'u\"o :x"}));
             EXPECT_EQ(rows[1], (storage::Row{"1", "", "", ""}));
             EXPECT_EQ(rows[3], (storage::Row{kMax, kMin, quoted, AtLimit(16)}));
             const std::vector<std::string> items = registers::LoadSectionItems(db);
             ASSERT_EQ(items.size(), 5u);
             EXPECT_EQ(registers::FindSectionItem(items, text::StrToIntOrZero(kMin)), 1);
         }},
        {"company register",
         [&] {
             const Rows rows =
                 registers::RegisterLogic(db, registers::CompanyRegister()).LoadRows();
             EXPECT_EQ(rows, (Rows{{kMin, "c'o:m", kControl},
                                   {"1", "", ""},
                                   {"5", kNoCp932, "\""},
                                   {kMax, AtLimit(32), AtLimit(32)}}));
         }},
        {"project editor",
         [&] {
             storage::AppGlobals globals;
             globals.ProjectEditMode = 1;
             projects::ProjectEditorLogic logic(db, globals);
             logic.Start();
             EXPECT_EQ(logic.ProposeNumber(), "2147483648");
             logic.LoadClientItems();
             ASSERT_EQ(logic.clientItems().size(), 5u);
             for (const std::string& item : logic.clientItems()) {
                 EXPECT_LE(item.size(), 32u);
                 EXPECT_EQ(text::CopyMbcs(item, 1, 32).text, item) << "a character was split";
             }
             const projects::LoadOutcome empty = logic.Load("1");
             ASSERT_TRUE(empty.form);
             EXPECT_EQ(empty.form->client, "");
             EXPECT_FALSE(empty.form->done);
             EXPECT_FALSE(empty.creatorName);
             const projects::LoadOutcome full = logic.Load("2");
             ASSERT_TRUE(full.form);
             EXPECT_EQ(full.form->client.substr(0, 11), kMax + ":");
             EXPECT_EQ(full.form->texts[0], AtLimit(32));
             EXPECT_EQ(full.form->texts[6], "99999999999");
             EXPECT_TRUE(full.form->done);
             EXPECT_EQ(full.creatorName, AtLimit(16));
             EXPECT_FALSE(logic.Load("3").creatorName);  // a creator below 1 is none
             for (const std::string& refused : {kMin, std::string("99999999999"), quoted})
                 EXPECT_FALSE(logic.Load(refused).form) << refused;
         }},
        {"project list",
         [&] {
             projects::ProjectPageLoader loader(db);
             for (int sort = 0; sort < projects::kSortItemCount; ++sort) {
                 loader.SelectSort(sort);
                 ASSERT_EQ(loader.rows().size(), 6u) << "sort " << sort;
             }
             loader.SelectSort(0);
             EXPECT_EQ(loader.rows()[0].number, kMin);
             EXPECT_EQ(loader.rows()[1].name, "");
             EXPECT_FALSE(loader.rows()[1].done);
             EXPECT_TRUE(loader.rows()[3].done);  // -32768 is not 0
             loader.SelectFilter(1, "'");
             ASSERT_EQ(loader.rows().size(), 1u);
             EXPECT_EQ(loader.rows()[0].number, "3");
         }},
        {"project details",
         [&] {
             const projects::ProjectDetails none = projects::LoadProjectDetails(db, 1);
             EXPECT_EQ(none.number, "1");
             EXPECT_EQ(none.name + none.due + none.delivered, "");
             EXPECT_FALSE(none.hasClient || none.hasCreator || none.done);
             const projects::ProjectDetails big = projects::LoadProjectDetails(db, 2);
             EXPECT_EQ(big.clientName, AtLimit(32));
             EXPECT_EQ(big.creatorName, AtLimit(16));
             const projects::ProjectDetails low = projects::LoadProjectDetails(db, 3);
             EXPECT_EQ(low.name, quoted);
             EXPECT_FALSE(low.hasClient || low.hasCreator);
             const projects::ProjectDetails odd = projects::LoadProjectDetails(db, 4);
             EXPECT_EQ(odd.clientName, kNoCp932);
             EXPECT_EQ(odd.clientDepartment, "\"");
             EXPECT_TRUE(odd.hasCreator);
             EXPECT_EQ(odd.creatorName, "");
             EXPECT_EQ(projects::LoadProjectDetails(db, text::StrToIntOrZero(kMin)).number, "");
         }},
        {"project chart",
         [&] {
             projects::ProjectChartLogic chart(db);
             // Number order: the project at the lowest number, 2, then 3 whose bad
             // actual start ends the build after its planned bar.
             projects::ChartBuildOutcome both = chart.Build("", "", projects::kChartBoth);
             EXPECT_EQ(both.message, Q(projects::chart_texts::kInvalidDateMessage));
             ASSERT_EQ(both.rows.size(), 3u);
             EXPECT_EQ(both.rows[2].number, 3);
             EXPECT_EQ(both.rows[2].spans.size(), 1u);
             EXPECT_EQ(both.rows[1].spans.size(), 3u);
             EXPECT_EQ(chart.ProjectAtRow(1), text::StrToIntOrZero(kMin));
             const projects::ChartBuildOutcome open =
                 chart.Build("", "", projects::kChartUnfinished);
             ASSERT_EQ(open.rows.size(), 1u);
             EXPECT_EQ(open.rows[0].number, text::StrToIntOrZero(kMax));
             EXPECT_TRUE(open.rows[0].spans.empty());
             EXPECT_FALSE(open.message.isEmpty());
             EXPECT_FALSE(db.QueryOpen());
         }},
        {"detail window open and tree",
         [&] {
             const drawings::ProjectHeader header = detail.Open();
             EXPECT_TRUE(header.found);
             EXPECT_EQ(header.name, quoted);
             const drawings::TreeContent tree = detail.ReadTree(header.name);
             ASSERT_EQ(tree.rows.size(), 6u);
             EXPECT_EQ(tree.rows[1].text, "a :b :2");
             EXPECT_EQ(tree.rows[2].text, AtLimit(32) + " :3");
             EXPECT_EQ(tree.parents,
                       (std::vector<int>{drawings::kProjectNode, 0, drawings::kProjectNode,
                                         drawings::kProjectNode, drawings::kProjectNode, 3}));
             members = detail.LoadMemberItems();
             ASSERT_EQ(members.size(), 5u);
             EXPECT_EQ(drawings::FindMemberItem(members, kMin), 1);
             EXPECT_EQ(drawings::FindMemberItem(members, "4294967296"), 0);
             const drawings::ProjectNodeFields project = detail.ReadProjectNode();
             EXPECT_EQ(
                 project[0],
                 "20240101" + drawings::Cp932(drawings::detail_texts::kPeriodJoin) + "20240102");
         }},
        {"drawing information",
         [&] {
             const drawings::DrawingNodeInfo none = detail.ReadDrawingNode(1);
             for (const std::string& field : none.fields)
                 EXPECT_EQ(field, "");
             EXPECT_TRUE(none.revisions.empty());
             const drawings::DrawingNodeInfo full = detail.ReadDrawingNode(3);
             EXPECT_EQ(full.fields[0], AtLimit(255));
             EXPECT_EQ(full.fields[8], "2024130a");
             EXPECT_EQ(full.members[4], kMin);
             EXPECT_EQ(full.revisions.size(), 4u);
             EXPECT_EQ(detail.ReadDrawingNode(99).fields[0], "");

             drawings::DrawingPage page;
             page.Edit(1) = "3";
             page.memberItems = members;
             const drawings::PageOutcome latest =
                 drawings::DrawingInfoLogic(db, kForeignProject).TakeLatestRevision(page);
             ASSERT_EQ(latest.texts.size(), 1u);
             EXPECT_EQ(latest.texts[0].text, "2024130a");  // text order: the newest "date"
             EXPECT_EQ(drawings::DrawingInfoLogic(db, kForeignProject).RevisionLines(3).size(), 4u);
         }},
        {"drawing list and chart",
         [&] {
             const std::vector<int> numbers{1, 2, 3, 4, 5, 0, -1, 99, text::StrToIntOrZero(kMax)};
             const drawings::DrawingRows oneByOne =
                 drawings::ReadDrawingRows(db, tables.drawing, numbers);
             EXPECT_EQ(drawings::ReadDrawingRows(db, tables.drawing, numbers, 0), oneByOne);
             ASSERT_EQ(oneByOne.size(), 5u);
             EXPECT_TRUE(drawings::DrawingBarsOf(oneByOne.at(1)).empty());
             EXPECT_TRUE(drawings::DrawingBarsOf(oneByOne.at(3)).empty());  // no date is a day
             EXPECT_EQ(drawings::DrawingBarsOf(oneByOne.at(2)).size(), 5u);
             EXPECT_EQ(drawings::DrawingListCells(oneByOne.at(2))[2], "f'i\"le :x");
             const storage::Row project = ReadTable(db, "ZPROJECT", 16, "N=3").at(0);
             EXPECT_EQ(drawings::ProjectListRow(project)[1], quoted);
         }},
        {"revision history",
         [&] {
             drawings::RevisionHistoryLogic logic(db, kForeignProject, 3);
             const Rows rows = logic.LoadRows();
             EXPECT_EQ(rows, (Rows{{"1", "", "", ""},
                                   {"2", quoted, kMax, "2024130a"},
                                   {"3", AtLimit(80), kMin, "20240230"},
                                   {"4", kNoCp932, "1", "20240101"}}));
             EXPECT_EQ(logic.ProposeNumber(), "2147483648");
             EXPECT_EQ(drawings::LoadReviserItems(db).size(), 5u);
         }},
    };
    for (const auto& [name, load] : loads) {
        SCOPED_TRACE(name);
        load();
        EXPECT_FALSE(db.QueryOpen());
        ASSERT_TRUE(db.Connected());
    }
    EXPECT_EQ(Everything(), seeded) << "a load path wrote";

    // Saves: each loaded row written back as loaded.
    struct Save {
        std::string label;
        std::string table;
        std::string number;
        std::set<int> textColumns;     // must hold the loaded bytes when stored
        std::function<QString()> run;  // the message the user sees
        std::set<QString> stored, refused;
        QString expected;  // what this row must give
    };
    const std::set<QString> registerStored{Q(registers::texts::kChangeOk)};
    const std::set<QString> registerRefused{
        Q(registers::texts::kNoQuotes), Q(registers::texts::kNumberNotPositive),
        Q(registers::texts::kSectionNameRequired), Q(registers::texts::kMemberNameRequired),
        Q(registers::texts::kChangeFailed)};
    namespace et = projects::editor_texts;
    const std::set<QString> editorRefused{
        Q(et::kNameMissingMessage),     Q(et::kNameQuoteMessage),     Q(et::kDateFormatMessage),
        Q(et::kEndWithoutStartMessage), Q(et::kStartAfterEndMessage), Q(et::kTextQuoteMessage),
        Q(et::kNotSavedMessage)};
    namespace dt = drawings::drawing_info_texts;
    namespace rt = drawings::revision_texts;

    std::vector<Save> saves;
    for (const registers::RegisterConfig* config :
         {&registers::SectionRegister(), &registers::MemberRegister(),
          &registers::CompanyRegister()}) {
        const bool member = config == &registers::MemberRegister();
        const std::set<int> names = config == &registers::SectionRegister() ? std::set<int>{1}
                                    : member                                ? std::set<int>{2}
                                                                            : std::set<int>{1, 2};
        for (const storage::Row& row : registers::RegisterLogic(db, *config).LoadRows()) {
            registers::RegisterInput input{row[0], {row.begin() + 1, row.end()}};
            if (member) {
                const std::vector<std::string> items = registers::LoadSectionItems(db);
                input.values = {
                    items[registers::FindSectionItem(items, text::StrToIntOrZero(row[1]))], row[3]};
            }
            saves.push_back({config->table + std::string(" ") + row[0], config->table, row[0],
                             names,
                             [this, config, input] {
                                 return registers::RegisterLogic(db, *config).Change(input).message;
                             },
                             registerStored, registerRefused, QString()});
        }
    }
    saves[0].expected = Q(registers::texts::kNumberNotPositive);
    saves[1].expected = Q(registers::texts::kSectionNameRequired);
    saves[3].expected = Q(registers::texts::kChangeOk);  // the name at its byte limit

    const std::map<std::string, const char*> editorExpected{{"1", et::kNameMissingMessage},
                                                            {"2", et::kSavedMessage},
                                                            {"3", et::kNameQuoteMessage},
                                                            {"4", et::kDateFormatMessage},
                                                            {kMax, et::kDateFormatMessage}};
    for (const auto& [number, message] : editorExpected)
        saves.push_back({"project " + number,
                         "ZPROJECT",
                         number,
                         {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
                         [this, number] {
                             storage::AppGlobals globals;
                             globals.ProjectEditMode = 1;
                             globals.CurrentProjectNo = text::StrToIntOrZero(number);
                             projects::ProjectEditorLogic logic(db, globals);
                             logic.Start();
                             logic.LoadClientItems();
                             const projects::SaveOutcome out = logic.Save(*logic.Load(number).form);
                             return out.messages.empty() ? QString() : out.messages.back();
                         },
                         {Q(et::kSavedMessage)},
                         editorRefused,
                         Q(message)});

    const std::map<std::string, const char*> drawingExpected{
        {"1", dt::kSaved},    {"2", dt::kSaved},      {"3", dt::kBadDate},
        {"4", dt::kNoQuotes}, {"5", dt::kSaveFailed}, {kMax, dt::kSaved}};
    for (const auto& [number, message] : drawingExpected)
        saves.push_back(
            {"drawing " + number,
             tables.drawing,
             number,
             {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 15, 17, 19},
             [this, number, &detail] {
                 const drawings::DrawingNodeInfo info =
                     detail.ReadDrawingNode(text::StrToIntOrZero(number));
                 drawings::DrawingPage page;
                 page.Edit(1) = number;
                 for (size_t i = 0; i < info.fields.size(); ++i)
                     page.Edit(3 + static_cast<int>(i)) = info.fields[i];
                 page.memberItems = detail.LoadMemberItems();
                 for (size_t i = 0; i < info.members.size(); ++i)
                     page.memberIndexes[i] =
                         drawings::FindMemberItem(page.memberItems, info.members[i]);
                 return drawings::DrawingInfoLogic(db, kForeignProject).Save(page).message;
             },
             {Q(dt::kSaved)},
             {Q(dt::kBadDate), Q(dt::kNoQuotes), Q(dt::kSaveFailed)},
             Q(message)});

    const std::map<std::string, const char*> revisionExpected{
        {"1", rt::kChangeOk}, {"2", rt::kBadDate}, {"3", rt::kBadDate}, {"4", rt::kChangeOk}};
    for (const storage::Row& row :
         drawings::RevisionHistoryLogic(db, kForeignProject, 3).LoadRows())
        saves.push_back({"revision " + row[0],
                         tables.revision,
                         row[0],
                         {2, 4},
                         [this, row] {
                             const std::vector<std::string> items = drawings::LoadReviserItems(db);
                             return drawings::RevisionHistoryLogic(db, kForeignProject, 3)
                                 .Change({row[0], row[1],
                                          items[drawings::FindMemberItem(items, row[2])], row[3]})
                                 .message;
                         },
                         {Q(rt::kChangeOk)},
                         {Q(rt::kBadDate), Q(rt::kNoQuotes), Q(rt::kChangeFailed)},
                         Q(revisionExpected.at(row[0]))});

    for (Save& save : saves) {
        SCOPED_TRACE(save.label);
        const Snapshot before = Everything();
        sent.clear();
        const QString message = save.run();
        const Snapshot after = Everything();
        const bool stored = save.stored.count(message) > 0;
        ASSERT_TRUE(stored || save.refused.count(message)) << message.toStdString();
        if (!save.expected.isEmpty()) {
            EXPECT_EQ(message, save.expected);
        }
        for (const std::string& s : sent) {
            if (s.starts_with("UPDATE") || s.starts_with("DELETE")) {
                EXPECT_NE(s.find("WHERE N=" + save.number), std::string::npos) << s;
            }
        }

        for (const auto& [table, rows] : before) {
            if (table != save.table) {
                EXPECT_EQ(after.at(table), rows) << table << " changed";
                continue;
            }
            const Rows& now = after.at(table);
            ASSERT_EQ(Numbers(now), Numbers(rows)) << "rows came or went";
            for (size_t r = 0; r < rows.size(); ++r) {
                if (rows[r][0] != save.number || !stored) {
                    EXPECT_EQ(now[r], rows[r]) << "row " << rows[r][0] << " changed";
                    continue;
                }
                for (int c : save.textColumns)
                    EXPECT_EQ(now[r][c], rows[r][c]) << "column " << c << " changed on the way";
            }
        }
    }

    // Deletes of rows whose numbers sit at the limits take that row alone.
    const auto deleteOnly = [&](const char* table, const std::string& number,
                                const std::function<QString()>& run, const char* expected) {
        SCOPED_TRACE(std::string(table) + " delete " + number);
        Snapshot before = Everything();
        EXPECT_EQ(run(), Q(expected));
        if (QString::fromUtf8(expected).endsWith(QStringLiteral("OK")))
            std::erase_if(before[table], [&](const storage::Row& r) { return r[0] == number; });
        EXPECT_EQ(Everything(), before);
    };
    deleteOnly(
        "COMPANY", kMin,
        [&] {
            return registers::RegisterLogic(db, registers::CompanyRegister())
                .Delete({kMin})
                .message;
        },
        registers::texts::kDeleteOk);
    deleteOnly(
        "SECTION", kMax,
        [&] {
            return registers::RegisterLogic(db, registers::SectionRegister())
                .Delete({kMax})
                .message;
        },
        registers::texts::kSectionInUse);
    deleteOnly(
        tables.revision.c_str(), kMax,
        [&] {
            return drawings::RevisionHistoryLogic(db, kForeignProject, text::StrToIntOrZero(kMax))
                .Delete({kMax})
                .message;
        },
        rt::kDeleteOk);

    std::printf("[ reliability ] %d hostile rows read through %zu load paths, %zu saves\n",
                hostileRows, loads.size(), saves.size() + 3);
}

// The editor registers a typed client under one more than the largest company
// number; another program may have used the largest number there is.
TEST_F(ForeignRowsTest, ANewClientFindsNoNumberPastTheLargestAndIsNotRegistered)
{
    storage::AppGlobals globals;
    globals.ProjectEditMode = 1;
    globals.CurrentProjectNo = 2;
    projects::ProjectEditorLogic logic(db, globals);
    logic.Start();
    logic.LoadClientItems();
    projects::ProjectForm form = *logic.Load("2").form;
    form.client = "new client";
    // Without this row a wrapped number would have been refused by the key anyway.
    ASSERT_TRUE(db.DeleteRows("COMPANY", "N=" + kMin));
    const Rows companies = ReadTable(db, "COMPANY", 3);
    const projects::SaveOutcome out = logic.Save(form);
    EXPECT_EQ(out.messages,
              (std::vector<QString>{Q(projects::editor_texts::kClientNotRegisteredMessage),
                                    Q(projects::editor_texts::kSavedMessage)}));
    EXPECT_EQ(ReadTable(db, "COMPANY", 3), companies);
    EXPECT_EQ(ReadTable(db, "ZPROJECT", 16, "N=2").at(0)[projects::kColCN], "0");
}

}  // namespace
