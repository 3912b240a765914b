// Hostile texts typed and pasted into every edit and combo box of every screen
// that saves, then saved: nothing breaks, only the screen's own messages show,
// each table changes by at most the one row the save is about, every statement
// keeps its shape, and a save reported as done stored what the controls showed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

#include "app/database_settings_dialog.h"
#include "app/database_settings_logic.h"
#include "app/pc_user_dialog.h"
#include "app/pc_user_logic.h"
#include "common/database_fixture.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "drawings/detail_texts.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_dialog.h"
#include "drawings/name_dialog_texts.h"
#include "drawings/project_detail_window.h"
#include "drawings/revision_history_dialog.h"
#include "drawings/revision_history_texts.h"
#include "projects/project_editor_texts.h"
#include "projects/project_editor_window.h"
#include "registers/company_register_dialog.h"
#include "registers/member_register_dialog.h"
#include "registers/register_texts.h"
#include "registers/section_register_dialog.h"
#include "reliability/reliability_support.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"

namespace {

using namespace testing_support;
using Shown = std::map<QString, std::string>;  // control name: CP932 bytes it shows
using Snapshot = std::map<std::string, std::vector<storage::Row>>;
using Messages = std::vector<QString>;

// The node separator " :5", a character whose CP932 trail byte is "\" (表),
// characters with no CP932 form (an emoji, é).
const QStringList kHostile{"'",
                           "\"",
                           "a'b",
                           "x');DELETE FROM SECTION;--",
                           ":",
                           "1:2",
                           " :5",
                           "a\tb",
                           "a\nb",
                           QString(300, 'x'),
                           QString(150, QChar(0x4E9C)),
                           QString::fromUtf8("\xF0\x9F\x98\x80"),
                           QString(QChar(0xE9)),
                           QString(QChar(0x8868)),
                           "%_"};

std::set<QString> Said(std::initializer_list<const char*> utf8)
{
    std::set<QString> all;
    for (const char* m : utf8)
        all.insert(QString::fromUtf8(m));
    return all;
}

// One key press per character, as a keyboard or an input method's commit
// delivers it; tab and line break are the keys Tab and Return.
void Type(QWidget* target, const QString& text)
{
    for (char32_t c : text.toUcs4()) {
        const Qt::Key key = c == '\t'   ? Qt::Key_Tab
                            : c == '\n' ? Qt::Key_Return
                            : c < 0x7f  ? Qt::Key(QChar(c).toUpper().unicode())
                                        : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}

void Paste(QWidget* target, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

// Every ByteLineEdit and drop-down list; a combo box's own line goes by the box's name.
std::vector<QWidget*> Controls(QWidget* root)
{
    std::vector<QWidget*> found;
    for (auto* e : root->findChildren<widgets::ByteLineEdit*>())
        found.push_back(e);
    for (auto* c : root->findChildren<QComboBox*>())
        if (!c->isEditable())
            found.push_back(c);
    return found;
}

QString Name(QWidget* w)
{
    return w->objectName().isEmpty() ? w->parentWidget()->objectName() : w->objectName();
}

std::string ShownBytes(QWidget* w)
{
    if (auto* e = qobject_cast<widgets::ByteLineEdit*>(w))
        return e->bytes();
    return text::ToCp932Lossy(static_cast<QComboBox*>(w)->currentText());
}

// Sets edits by name, "" emptying them, and every drop-down list to its item 1.
void Fill(QWidget* root, std::initializer_list<std::pair<const char*, QString>> texts)
{
    for (const auto& [name, value] : texts)
        Find<widgets::ByteLineEdit>(root, name)->setText(value);
    for (auto* c : root->findChildren<QComboBox*>())
        if (!c->isEditable())
            c->setCurrentIndex(1);
}

int Columns(const std::string& table)
{
    const std::map<std::string, int> fixed{
        {"SECTION", 2}, {"MEMBER", 3}, {"COMPANY", 3}, {"ZPROJECT", storage::kProjectColumns}};
    if (fixed.count(table))
        return fixed.at(table);
    if (table.rfind("ZPRJ_", 0) == 0)
        return storage::kNameTreeColumns;
    return table.rfind("ZMN_", 0) == 0 ? storage::kDrawingColumns : storage::kRevisionColumns;
}

// How a control's text is stored: as is, as the number of a numbered item,
// or as the number of the company of that name (the editor's client).
enum class Kind { Text, Item, Client };
struct Column {
    QString control;
    int index;
    Kind kind = Kind::Text;
};

struct Screen {
    std::string form;
    QWidget* root;
    std::function<void()> reset;                      // a valid form before the typing
    std::function<void(std::function<void()>)> save;  // runs the typing, then saves
    std::set<QString> messages;                       // all the screen may say here
    std::function<bool(const Messages&)> saved;
    std::function<void(const Shown&)> check;  // what a save stored, beyond the columns
    std::string table = {};                   // where the save lands, with N from `key`
    std::function<int(const Shown&)> key = nullptr;
    std::vector<Column> columns = {};
};

std::function<bool(const Messages&)> LastIs(const char* done)
{
    return [done](const Messages& m) { return !m.empty() && m.back() == QString::fromUtf8(done); };
}

std::function<int(const Shown&)> KeyIn(const char* control)
{
    return [control](const Shown& s) { return text::StrToIntOrZero(s.at(control)); };
}

std::function<void(std::function<void()>)> Press(QWidget* root, const char* button)
{
    return [root, button](const std::function<void()>& type) {
        type();
        Find<QPushButton>(root, button)->click();
    };
}

class HostileTypingTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
        globals.settings.PcUserNo = 1;
        globals.CurrentProjectNo = 7;
        for (auto create : {storage::CreateSectionTable, storage::CreateMemberTable,
                            storage::CreateCompanyTable, storage::CreateProjectTable})
            ASSERT_TRUE(create(db));
        ASSERT_TRUE(db.InsertRow("SECTION", {"N", "SNAME"}, {"1", "'S1'"}));
        for (const auto& [n, name] : {std::pair{"1", "2"}, {"2", "\x95\x5C"}, {"3", "a'b"}})
            ASSERT_TRUE(
                db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {n, "1", text::SqlText(name)}));
        ASSERT_TRUE(db.InsertRow("COMPANY", {"N", "CNAME"}, {"1", "'C1'"}));
        ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "CN", "PRNAME"}, {"7", "1", "0", "'P7'"}));
    }

    Snapshot Everything()
    {
        Snapshot all;
        const int count =
            db.SelectOrdered("RDB$RELATION_NAME", "RDB$RELATIONS", "RDB$SYSTEM_FLAG=0", "1");
        for (const storage::Row& row : db.FetchAll(count, 1)) {
            const std::string name = row[0].substr(0, row[0].find_last_not_of(' ') + 1);
            all[name] = ReadTable(db, name, Columns(name));
        }
        return all;
    }

    // The same tables; in each at most one row gone (changed) and one come.
    static void ExpectShapeKept(const Snapshot& before, const Snapshot& after)
    {
        ASSERT_EQ(before.size(), after.size());
        for (const auto& [table, rows] : before) {
            ASSERT_TRUE(after.count(table)) << table;
            auto was = rows, is = after.at(table);
            std::sort(was.begin(), was.end());
            std::sort(is.begin(), is.end());
            std::vector<storage::Row> gone, came;
            std::set_difference(was.begin(), was.end(), is.begin(), is.end(), back_inserter(gone));
            std::set_difference(is.begin(), is.end(), was.begin(), was.end(), back_inserter(came));
            EXPECT_LE(gone.size(), 1u) << table;
            EXPECT_LE(came.size(), 1u) << table;
            EXPECT_GE(is.size(), was.size()) << table;
        }
    }

    // Reads, inserts, and updates of one row by its number; every literal closed.
    void ExpectStatementsSound() const
    {
        const std::string end = "\r\n   ;\r\n";
        for (const std::string& s : sent) {
            EXPECT_EQ(std::count(s.begin(), s.end(), '\'') % 2, 0) << s;
            const auto where = s.rfind("\r\n   WHERE N=");
            const std::string tail = where == std::string::npos ? "" : s.substr(where + 13);
            const bool oneRow = tail.size() > end.size() &&
                                tail.substr(tail.size() - end.size()) == end &&
                                text::IsAllDigits(tail.substr(0, tail.size() - end.size()));
            EXPECT_TRUE(s.rfind("SELECT ", 0) == 0 || s.rfind("Select ", 0) == 0 ||
                        s.rfind("INSERT INTO ", 0) == 0 || s.rfind("CREATE DATABASE ", 0) == 0 ||
                        (s.rfind("UPDATE ", 0) == 0 && oneRow))
                << s;
        }
    }

    void ExpectStored(const Screen& s, const Shown& shown)
    {
        if (s.check)
            s.check(shown);
        if (s.table.empty())
            return;
        const auto rows =
            ReadTable(db, s.table, Columns(s.table), "N=" + std::to_string(s.key(shown)));
        ASSERT_EQ(rows.size(), 1u) << s.table;
        for (const Column& c : s.columns) {
            const std::string& bytes = shown.at(c.control);
            const std::string& stored = rows[0][c.index];
            if (c.kind == Kind::Text)
                EXPECT_EQ(stored, bytes) << c.control.toStdString();
            else if (c.kind == Kind::Item || text::IsBlank(bytes))
                EXPECT_EQ(text::StrToIntOrZero(stored),
                          text::StrToIntOrZero(text::TextBeforeColon(bytes)));
            else
                EXPECT_EQ(ReadTable(db, "COMPANY", 3, "N=" + stored).at(0)[1], bytes);
        }
    }

    void Drive(const Screen& s)
    {
        const std::vector<QWidget*> controls = Controls(s.root);
        screens.insert(s.form);
        for (QWidget* control : controls)
            for (const QString& hostile : kHostile)
                for (bool paste : {false, true}) {
                    SCOPED_TRACE(s.form + " " + Name(control).toStdString() +
                                 (paste ? " pasted " : " typed ") + hostile.left(30).toStdString());
                    edits.insert(s.form + "." + Name(control).toStdString());
                    s.reset();
                    if (auto* list = qobject_cast<QComboBox*>(control))
                        list->view()->keyboardSearch(QString());  // not the last search's tail
                    const Snapshot before = Everything();
                    ports.messages.clear();
                    sent.clear();
                    Shown shown;
                    s.save([&] {
                        paste ? Paste(control, hostile) : Type(control, hostile);
                        for (QWidget* c : controls)
                            shown[Name(c)] = ShownBytes(c);
                    });
                    ++saves;
                    for (auto* list : s.root->findChildren<QComboBox*>())
                        list->hidePopup();  // a typed blank opens the list
                    for (const QString& m : ports.messages)
                        EXPECT_TRUE(s.messages.count(m)) << m.toStdString();
                    ExpectStatementsSound();
                    ExpectShapeKept(before, Everything());
                    if (s.saved(ports.messages))
                        ExpectStored(s, shown);
                }
    }

    storage::AppGlobals globals;
    ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
    std::set<std::string> screens, edits;
    int saves = 0;
};

}  // namespace

TEST_F(HostileTypingTest, EverySaveStoresWhatIsShownOrRefusesWithItsOwnMessage)
{
    namespace rt = registers::texts;
    registers::TForm3 sections(context);
    registers::TForm4 members(context);
    registers::TForm5 companies(context);
    const std::pair<registers::RegisterDialog*, std::vector<Column>> registerScreens[] = {
        {&sections, {{"Edit2", 1}}},
        {&members, {{"ComboBox1", 1, Kind::Item}, {"Edit2", 2}}},
        {&companies, {{"Edit2", 1}, {"Edit3", 2}}}};
    const char* const tables[] = {"SECTION", "MEMBER", "COMPANY"};
    for (int i = 0; i < 3; ++i) {
        auto* dialog = registerScreens[i].first;
        dialog->show();
        for (bool add : {true, false}) {
            const auto reset = [dialog, add] {
                dialog->Edit1DblClick();
                Fill(dialog, {{"Edit2", "Name"}});
                if (dialog->findChild<QWidget*>("Edit3"))
                    Fill(dialog, {{"Edit3", "Name"}});
                if (!add)
                    Fill(dialog, {{"Edit1", "1"}});
            };
            Drive({dialog->objectName().toStdString(), dialog, reset,
                   Press(dialog, add ? "Button1" : "Button4"),
                   Said({rt::kEnterNumber, rt::kNumberNotPositive, rt::kNoQuotes, rt::kAddOk,
                         rt::kAddFailed, rt::kChangeOk, rt::kChangeFailed, rt::kNumberUnused,
                         rt::kSectionNameRequired, rt::kMemberNameRequired}),
                   LastIs(add ? rt::kAddOk : rt::kChangeOk), nullptr, tables[i], KeyIn("Edit1"),
                   registerScreens[i].second});
        }
        dialog->hide();
    }

    // The project editor, new and edit mode; a typed client registers a company.
    namespace et = projects::editor_texts;
    std::vector<Column> editorColumns{{"ComboBox1", 2, Kind::Client}};
    for (int box = 2; box <= 13; ++box)
        editorColumns.push_back({QStringLiteral("Edit%1").arg(box), box + 1});
    for (int mode : {0, 1}) {
        globals.ProjectEditMode = mode;
        projects::TForm7 editor(context);
        editor.show();
        const auto reset = [&editor, mode] {
            editor.Button2Click();
            editor.Edit1DblClick();
            Fill(&editor, {{"Edit2", "Plan"}});
            if (mode == 1)
                Fill(&editor, {{"Edit1", "7"}});
        };
        Drive({"TForm7", &editor, reset, Press(&editor, "Button1"),
               Said({et::kNumberMissingMessage, et::kNumberExistsMessage, et::kNameMissingMessage,
                     et::kNameQuoteMessage, et::kDateFormatMessage, et::kEndWithoutStartMessage,
                     et::kStartAfterEndMessage, et::kClientQuoteMessage,
                     et::kClientRegisteredMessage, et::kClientNotRegisteredMessage,
                     et::kTextQuoteMessage, et::kSavedMessage, et::kNotSavedMessage}),
               LastIs(et::kSavedMessage), nullptr, "ZPROJECT", KeyIn("Edit1"), editorColumns});
    }

    // The detail window's information page of drawing 1; the name dialog
    // through its create and rename buttons.
    drawings::TForm11 nameDialog(context);
    drawings::TForm10 detail(context, &nameDialog);
    detail.show();
    ASSERT_TRUE(db.InsertRow("ZPRJ_7", {"N", "NAME", "MN", "PARENT_N"}, {"1", "'Node'", "1", "0"}));
    ASSERT_TRUE(
        db.InsertRow("ZMN_7", {"N", "MN", "KN", "AN", "PN", "RN"}, {"1", "1", "0", "0", "0", "0"}));
    auto* tree = Find<QTreeWidget>(&detail, "TreeView1");
    const auto selectNode = [&detail, tree] {
        detail.ButtonM5Click();
        const auto found = tree->findItems("Node :1", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        tree->setCurrentItem(found[0]);
        detail.TreeView1Click();
    };
    selectNode();
    std::vector<Column> pageColumns;
    const int pageIndexes[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 15, 17, 19};
    for (int box = 3; box <= 16; ++box)
        pageColumns.push_back({QStringLiteral("Edit%1").arg(box), pageIndexes[box - 3]});
    for (int combo = 1; combo <= 5; ++combo)
        pageColumns.push_back({QStringLiteral("ComboBox%1").arg(combo),
                               combo == 1 ? 9 : 10 + 2 * (combo - 1), Kind::Item});
    const auto resetPage = [&detail] {
        for (int box = 3; box <= 16; ++box)
            Find<widgets::ByteLineEdit>(&detail, QStringLiteral("Edit%1").arg(box).toLatin1())
                ->setText(box == 3   ? "a.jww"
                          : box == 4 ? "/data/"
                                     : "");
        Fill(&detail, {});
    };
    namespace dt = drawings::drawing_info_texts;
    Drive({"TForm10", &detail, resetPage, Press(&detail, "Button9"),
           Said({dt::kBadDate, dt::kNoQuotes, dt::kSaved, dt::kSaveFailed}), LastIs(dt::kSaved),
           nullptr, "ZMN_7", KeyIn("Edit1"), pageColumns});

    const auto throughDialog = [&nameDialog](std::function<void()> open) {
        return [&nameDialog, open](const std::function<void()>& type) {
            QObject scope;  // the watch ends with this save, opened or not
            WhenModalOpens(
                [&nameDialog, type](QWidget*) {
                    type();
                    Find<QPushButton>(&nameDialog, "Button3")->click();
                    if (nameDialog.isVisible())
                        Find<QPushButton>(&nameDialog, "Button4")->click();
                },
                200, &scope);
            open();
        };
    };
    const auto accepted = [&nameDialog](const Messages& m) {
        return nameDialog.Accepted && m.empty();
    };
    const auto nameMessages = Said({drawings::name_dialog_texts::kEnterName,
                                    drawings::name_dialog_texts::kNoQuotesOrColon,
                                    drawings::detail_texts::kCreateFailed});
    const auto newNode = [this](const Shown&) {
        return text::StrToIntOrZero(db.SelectMax("ZPRJ_7", "N", ""));
    };
    const std::vector<Column> nameColumn{{"Edit1", 1}};
    Drive({"TForm11", &nameDialog, selectNode, throughDialog([&] { detail.ButtonM1Click(); }),
           nameMessages, accepted, nullptr, "ZPRJ_7", newNode, nameColumn});
    const auto resetName = [&] {
        ASSERT_TRUE(db.UpdateSet("ZPRJ_7", "NAME='Node'", "N=1"));
        selectNode();
    };
    Drive({"TForm11", &nameDialog, resetName, throughDialog([&] { detail.ButtonM2Click(); }),
           nameMessages, accepted, nullptr, "ZPRJ_7", [](const Shown&) { return 1; }, nameColumn});

    // The revision history of drawing 1: add and change.
    ASSERT_TRUE(
        db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"}, {"1", "1", "'R'", "0", "NULL"}));
    drawings::TForm12 revisions(context);
    revisions.ProjectNo = 7;
    revisions.DrawingNo = 1;
    revisions.show();
    namespace rv = drawings::revision_texts;
    const std::vector<Column> revisionColumns{
        {"Edit2", 2}, {"ComboBox1", 3, Kind::Item}, {"Edit3", 4}};
    for (bool add : {true, false}) {
        const auto reset = [&revisions, add] {
            revisions.Edit1DblClick();
            Fill(&revisions, {{"Edit2", "Rev"}, {"Edit3", ""}});
            if (!add)
                Fill(&revisions, {{"Edit1", "1"}});
        };
        Drive({"TForm12", &revisions, reset, Press(&revisions, add ? "Button1" : "Button4"),
               Said({rv::kEnterNumber, rv::kNumberNotPositive, rv::kBadDate, rv::kNoQuotes,
                     rv::kAddOk, rv::kAddFailed, rv::kNumberUnused, rv::kChangeOk,
                     rv::kChangeFailed}),
               LastIs(add ? rv::kAddOk : rv::kChangeOk), nullptr, "REV_7", KeyIn("Edit1"),
               revisionColumns});
    }
    revisions.hide();

    // The PC user: typing into its list can only pick a member.
    app::TForm6 pcUser(context);
    const auto showAfresh = [&] {
        globals.settings.PcUserNo = 0;
        pcUser.hide();
        pcUser.show();
    };
    const auto closedSilently = [](QWidget& dialog) {
        return [&dialog](const Messages& m) { return m.empty() && !dialog.isVisible(); };
    };
    const auto pcUserStored = [&](const Shown& shown) {
        const storage::Settings& s = globals.settings;
        EXPECT_EQ(std::to_string(s.PcUserNo) + ":" + s.PcUserName, shown.at("ComboBox1"));
        EXPECT_EQ(ReadTable(db, "MEMBER", 3, "N=" + std::to_string(s.PcUserNo)).at(0)[2],
                  s.PcUserName);
    };
    Drive({"TForm6", &pcUser, showAfresh, Press(&pcUser, "Button1"),
           Said({app::kRegisterMembersFirstMessage, app::kChoosePcUserMessage}),
           closedSilently(pcUser), pcUserStored});

    // The database settings last; OK closes the database, which each save reopens.
    app::TForm2 settingsDialog(context);
    const auto resetSettings = [&] {
        db.ConnectDatabase(path);
        settingsDialog.show();
        Fill(&settingsDialog, {{"Edit1", ""},
                               {"Edit2", QString::fromStdString(folder.path())},
                               {"Edit3", "OTHER.FDB"}});
    };
    const auto settingsStored = [&](const Shown& shown) {
        const storage::Settings& s = globals.settings;
        EXPECT_EQ(s.DbServer, shown.at("Edit1"));
        EXPECT_EQ(s.DbFolder, shown.at("Edit2"));
        EXPECT_TRUE(text::FromCp932(s.DbName).startsWith(text::FromCp932(shown.at("Edit3")),
                                                         Qt::CaseInsensitive));
        EXPECT_TRUE(QFileInfo(text::FromCp932(s.DbServer + s.DbFolder + s.DbName)).isFile());
    };
    const auto pressAndReopen = [&](const std::function<void()>& type) {
        Press(&settingsDialog, "Button1")(type);
        db.ConnectDatabase(path);
    };
    Drive({"TForm2", &settingsDialog, resetSettings, pressAndReopen,
           Said({app::kFolderMissingMessage, app::kNameMissingMessage,
                 app::kCreateOrConnectFailedMessage}),
           closedSilently(settingsDialog), settingsStored});

    std::printf(
        "[ reliability ] %lld hostile texts typed into %zu edits of %zu screens, %d saves\n",
        static_cast<long long>(kHostile.size()), edits.size(), screens.size(), saves);
}
