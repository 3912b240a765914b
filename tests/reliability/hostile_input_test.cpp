// Hostile texts through every save path: whatever is typed, a save either
// stores exactly those bytes in one row or refuses with its documented
// message, and no other row of the table changes.

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/database_fixture.h"
#include "common/texts.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_logic.h"
#include "drawings/revision_history_texts.h"
#include "projects/project_columns.h"
#include "projects/project_editor_logic.h"
#include "projects/project_editor_texts.h"
#include "registers/register_logic.h"
#include "registers/register_texts.h"
#include "reliability/reliability_support.h"
#include "storage/app_globals.h"
#include "storage/schema.h"
#include "text/mbcs.h"

using testing_support::Q;

namespace {

using testing_support::ReadTable;

const std::vector<std::string>& HostileTexts()
{
    static const std::vector<std::string> texts{
        "'",
        "\"",
        "a'b",
        "x');DELETE FROM SECTION;--",
        "' OR 1=1 --",
        ":",
        "1:2:3",
        std::string("\t\r\n\x01\x1f\x7f", 6),
        std::string(300, 'a'),
        [] {
            std::string s;
            for (int i = 0; i < 150; ++i)
                s += "\x88\x9f";  // 亜: 300 bytes of two-byte characters
            return s;
        }(),
        "\x82",      // a lead byte with no trail
        "\xff\xfe",  // bytes CP932 has no character for
        "\x95\x5c",  // 表: trail byte is a backslash
        "NULL",
        "\\",
        "%_*?",
    };
    return texts;
}

std::string Printable(const std::string& s)
{
    std::string out;
    for (unsigned char c : s.substr(0, 40))
        out += (c >= 0x20 && c < 0x7f) ? std::string(1, static_cast<char>(c))
                                       : "\\x" + std::to_string(c);
    return out;
}

struct SavePath {
    const char* name;
    const char* table;
    int columns;
    int textColumn;  // where the typed text lands
    // Saves the text under the number; returns the message the user sees.
    std::function<QString(int number, const std::string& text)> save;
    std::set<QString> stored;   // messages that say the row was written
    std::set<QString> refused;  // messages that say nothing was written
    bool update = false;        // the save changes row 1 instead of adding one
};

class HostileInputTest : public testing_support::EmbeddedDatabaseTest {};

TEST_F(HostileInputTest, SavePathsStoreTheBytesOrRefuseAndTouchNoOtherRow)
{
    constexpr int kProject = 3;
    ASSERT_TRUE(storage::CreateSectionTable(db));
    ASSERT_TRUE(storage::CreateMemberTable(db));
    ASSERT_TRUE(storage::CreateCompanyTable(db));
    ASSERT_TRUE(storage::CreateProjectTable(db));
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"}, {"3", "1", text::SqlText("p")}));
    ASSERT_TRUE(drawings::ProjectDetailLogic(db, kProject).Open().found);
    drawings::NameTreeEditor tree(db, drawings::ProjectTables(kProject));
    ASSERT_EQ(tree.CreateNode(0, "d", 1, drawings::EmptyDrawingValues()).number, 1);
    // Rows that must survive every save untouched.
    for (const char* table : {"SECTION", "COMPANY"})
        ASSERT_TRUE(db.InsertRow(table, {"N"}, {"1000"}));
    ASSERT_TRUE(db.InsertRow("REV_3", {"N", "ZN", "CONT"}, {"1000", "1", text::SqlText("keep")}));

    storage::AppGlobals globals;
    globals.settings.PcUserNo = 1;
    const std::vector<SavePath> paths{
        {"section add",
         "SECTION",
         2,
         1,
         [&](int n, const std::string& t) {
             return registers::RegisterLogic(db, registers::SectionRegister())
                 .Add({std::to_string(n), {t}})
                 .message;
         },
         {Q(registers::texts::kAddOk)},
         {Q(registers::texts::kAddFailed), Q(registers::texts::kNoQuotes)}},
        {"company add",
         "COMPANY",
         3,
         2,
         [&](int n, const std::string& t) {
             return registers::RegisterLogic(db, registers::CompanyRegister())
                 .Add({std::to_string(n), {"c", t}})
                 .message;
         },
         {Q(registers::texts::kAddOk)},
         {Q(registers::texts::kAddFailed), Q(registers::texts::kNoQuotes)}},
        {"project memo",
         "ZPROJECT",
         projects::kProjectColumnCount,
         projects::kColMEMO1,
         [&](int n, const std::string& t) {
             globals.ProjectEditMode = 0;
             projects::ProjectEditorLogic logic(db, globals);
             logic.Start();
             projects::ProjectForm form;
             form.number = std::to_string(n);
             form.texts[projects::kColPRNAME - projects::kFirstTextColumn] = "p";
             form.texts[projects::kColMEMO1 - projects::kFirstTextColumn] = t;
             const projects::SaveOutcome out = logic.Save(form);
             return out.messages.empty() ? QString() : out.messages.back();
         },
         {Q(projects::editor_texts::kSavedMessage)},
         {Q(projects::editor_texts::kNotSavedMessage),
          Q(projects::editor_texts::kTextQuoteMessage)}},
        {"revision content",
         "REV_3",
         5,
         2,
         [&](int n, const std::string& t) {
             return drawings::RevisionHistoryLogic(db, kProject, 1)
                 .Add({std::to_string(n), t, "1:x", "20240101"})
                 .message;
         },
         {Q(drawings::revision_texts::kAddOk)},
         {Q(drawings::revision_texts::kAddFailed), Q(drawings::revision_texts::kNoQuotes)}},
        {"drawing memo",
         "ZMN_3",
         20,
         6,
         [&](int, const std::string& t) {
             drawings::DrawingPage page;
             page.Edit(1) = "1";
             page.Edit(8) = t;
             page.memberItems = {"0:-"};
             return drawings::DrawingInfoLogic(db, kProject).Save(page).message;
         },
         {Q(drawings::drawing_info_texts::kSaved)},
         {Q(drawings::drawing_info_texts::kSaveFailed), Q(drawings::drawing_info_texts::kNoQuotes)},
         true},
    };

    int tried = 0;
    for (const SavePath& path : paths) {
        int number = 100;
        for (const std::string& hostile : HostileTexts()) {
            ++number;
            ++tried;
            SCOPED_TRACE(std::string(path.name) + " <" + Printable(hostile) + ">");
            const std::vector<storage::Row> before = ReadTable(db, path.table, path.columns);
            const QString message = path.save(number, hostile);
            const std::vector<storage::Row> after = ReadTable(db, path.table, path.columns);
            const bool stored = path.stored.count(message) > 0;
            ASSERT_TRUE(stored || path.refused.count(message)) << message.toStdString();

            const std::string key = path.update ? "1" : std::to_string(number);
            const auto others = [&key](const std::vector<storage::Row>& rows) {
                std::vector<storage::Row> kept;
                for (const storage::Row& row : rows)
                    if (row[0] != key)
                        kept.push_back(row);
                return kept;
            };
            EXPECT_EQ(others(before), others(after)) << "another row changed";
            std::vector<storage::Row> mine;
            for (const storage::Row& row : after)
                if (row[0] == key)
                    mine.push_back(row);
            if (stored) {
                ASSERT_EQ(mine.size(), 1u);
                EXPECT_EQ(mine[0][path.textColumn], hostile) << "bytes changed on the way";
                EXPECT_EQ(after.size(), before.size() + (path.update ? 0 : 1));
            } else {
                EXPECT_EQ(after.size(), before.size());
                if (!path.update) {
                    EXPECT_TRUE(mine.empty());
                }
            }
            EXPECT_TRUE(db.Connected());
        }
    }
    std::printf("[ reliability ] %d hostile saves over %zu save paths\n", tried, paths.size());
}

}  // namespace
