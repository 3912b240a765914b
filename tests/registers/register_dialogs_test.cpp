#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "common/database_fixture.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "registers/company_register_dialog.h"
#include "registers/member_register_dialog.h"
#include "registers/section_register_dialog.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"
#include "widgets/string_grid.h"

using testing_support::Find;
using widgets::ByteLineEdit;
using widgets::StringGrid;

namespace {

void ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QApplication::processEvents();
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void DoubleClick(QWidget* target)
{
    const QPoint at(5, 5);
    SendMouse(target, QEvent::MouseButtonPress, at);
    SendMouse(target, QEvent::MouseButtonRelease, at);
    SendMouse(target, QEvent::MouseButtonDblClick, at);
    SendMouse(target, QEvent::MouseButtonRelease, at);
}

// A click on a data row (from 1) of the grid, as a user makes it.
void ClickRow(StringGrid* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 0)).center();
    SendMouse(grid->viewport(), QEvent::MouseButtonPress, at);
    SendMouse(grid->viewport(), QEvent::MouseButtonRelease, at);
}

std::vector<QStringList> GridRows(const StringGrid* grid)
{
    std::vector<QStringList> rows;
    for (int r = 1; r < grid->RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->Cell(c, r);
        rows.push_back(cells);
    }
    return rows;
}

QStringList Headers(const StringGrid* grid)
{
    QStringList headers;
    for (int c = 0; c < grid->columnCount(); ++c)
        headers << grid->Cell(c, 0);
    return headers;
}

QStringList TabOrder(QWidget* first, int count)
{
    QStringList names;
    for (QWidget* w = first; names.size() < count; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            names << w->objectName();
    return names;
}

QString LabelText(QWidget* dialog, const char* name)
{
    return Find<QLabel>(dialog, name)->text();
}

// The parts every register shares: fixed size, captions of the buttons, the
// number field, focus on the grid after opening.
void ExpectRegisterFrame(QDialog& dialog)
{
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(LabelText(&dialog, "Label1"), QStringLiteral("現在の登録内容"));
    EXPECT_EQ(Find<QPushButton>(&dialog, "Button1")->text(), QStringLiteral("追加登録(&A)"));
    EXPECT_EQ(Find<QPushButton>(&dialog, "Button2")->text(), QStringLiteral("データ削除(&D)"));
    EXPECT_EQ(Find<QPushButton>(&dialog, "Button4")->text(), QStringLiteral("データ変更(&E)"));
    EXPECT_EQ(Find<QPushButton>(&dialog, "Button3")->text(), QStringLiteral("閉じる(&C)"));
    auto* number = Find<ByteLineEdit>(&dialog, "Edit1");
    EXPECT_EQ(number->maxBytes(), 16);
    EXPECT_FALSE(number->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(&dialog, "SG1"));
}

int ExecGuarded(QDialog& dialog, bool& timedOut)
{
    QTimer::singleShot(3000, &dialog, [&dialog, &timedOut] {
        timedOut = true;
        dialog.show();
        dialog.done(-1);
    });
    return dialog.exec();
}

class RegisterDialogTest : public testing_support::EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
    }

    void Insert(const char* table, const std::vector<std::string>& columns,
                const std::vector<std::string>& values)
    {
        ASSERT_TRUE(db.InsertRow(table, columns, values));
    }
    static std::string Name(const QString& name) { return text::SqlText(*text::ToCp932(name)); }

    // Presses a button and returns the messages it showed.
    std::vector<QString> Press(QWidget& dialog, const char* button)
    {
        ports.messages.clear();
        Find<QPushButton>(&dialog, button)->click();
        return ports.messages;
    }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
};

using Messages = std::vector<QString>;

}  // namespace

TEST_F(RegisterDialogTest, SectionRegisterAddsChangesAndDeletesSections)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    registers::TForm3 dialog(context);
    ShowActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("所属（SECTION）の登録"));
    ExpectRegisterFrame(dialog);
    EXPECT_EQ(LabelText(&dialog, "Label3"), QStringLiteral("番号："));
    EXPECT_EQ(LabelText(&dialog, "Label4"), QStringLiteral("名称："));
    auto* grid = Find<StringGrid>(&dialog, "SG1");
    auto* number = Find<ByteLineEdit>(&dialog, "Edit1");
    auto* name = Find<ByteLineEdit>(&dialog, "Edit2");
    EXPECT_EQ(Headers(grid), QStringList({QStringLiteral("番号"), QStringLiteral("名称")}));
    EXPECT_EQ(grid->ColumnWidths(), (std::vector<int>{57, 294}));
    EXPECT_EQ(name->maxBytes(), 32);
    EXPECT_EQ(TabOrder(grid, 8), QStringList({"SG1", "Edit1", "Edit2", "Button1", "Button2",
                                              "Button4", "Button3", "SG1"}));

    // An empty table: one empty row that selects nothing and deletes nothing.
    EXPECT_EQ(GridRows(grid), (std::vector<QStringList>{{"", ""}}));
    number->setText(QStringLiteral("kept"));
    ClickRow(grid, 1);
    EXPECT_EQ(number->text(), QStringLiteral("kept"));
    EXPECT_EQ(Press(dialog, "Button2"), Messages{});
    EXPECT_TRUE(ports.questions.empty());

    DoubleClick(number);
    EXPECT_EQ(number->text(), QStringLiteral("1"));
    name->insert(QStringLiteral("設計"));
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録OK")});
    DoubleClick(number);
    EXPECT_EQ(number->text(), QStringLiteral("2"));
    name->setText(QStringLiteral("営業"));
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録OK")});
    EXPECT_EQ(number->text(), QStringLiteral("2"));  // the fields keep their text
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録失敗")});
    EXPECT_EQ(GridRows(grid), (std::vector<QStringList>{{"1", QStringLiteral("設計")},
                                                        {"2", QStringLiteral("営業")}}));

    name->setText(QStringLiteral("a'b"));
    EXPECT_EQ(Press(dialog, "Button1"),
              Messages{QStringLiteral("引用符「'」「\"」を入力しないで下さい")});
    EXPECT_EQ(QApplication::focusWidget(), name);
    number->setText(QStringLiteral("abc"));
    EXPECT_EQ(Press(dialog, "Button4"), Messages{QStringLiteral("番号は正の整数で入力して下さい")});
    EXPECT_EQ(QApplication::focusWidget(), number);

    ClickRow(grid, 1);
    EXPECT_EQ(number->text(), QStringLiteral("1"));
    EXPECT_EQ(name->text(), QStringLiteral("設計"));
    name->setText(QStringLiteral("設計部"));
    EXPECT_EQ(Press(dialog, "Button4"), Messages{QStringLiteral("変更OK")});
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("設計部"));

    // Delete works on the selected row, whatever the fields hold.
    ClickRow(grid, 2);
    number->setText(QStringLiteral("1"));
    ports.answers = {false};
    EXPECT_EQ(Press(dialog, "Button2"), Messages{});
    ports.answers = {true};
    EXPECT_EQ(Press(dialog, "Button2"), Messages{QStringLiteral("削除OK")});
    const QString question = QStringLiteral("「No.2：営業」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(ports.questions, (std::vector<QString>{question, question}));
    EXPECT_EQ(GridRows(grid), (std::vector<QStringList>{{"1", QStringLiteral("設計部")}}));

    EXPECT_EQ(ports.unscriptedQuestions, 0);
}

TEST_F(RegisterDialogTest, MemberRegisterListsEveryMemberAndPicksSectionsFromTheList)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    ASSERT_TRUE(storage::CreateMemberTable(db));
    Insert("SECTION", {"N", "SNAME"}, {"3", Name(QStringLiteral("設計"))});
    Insert("SECTION", {"N", "SNAME"}, {"1", Name(QStringLiteral("営業"))});
    Insert("MEMBER", {"N", "SN", "PNAME"}, {"5", "0", Name(QStringLiteral("鈴木"))});
    Insert("MEMBER", {"N", "SN", "PNAME"}, {"6", "9", Name(QStringLiteral("佐藤"))});

    registers::TForm4 dialog(context);
    ShowActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("メンバー（MEMBER）の登録"));
    ExpectRegisterFrame(dialog);
    EXPECT_EQ(LabelText(&dialog, "Label2"), QStringLiteral("所属："));
    EXPECT_EQ(LabelText(&dialog, "Label4"), QStringLiteral("氏名："));
    auto* grid = Find<StringGrid>(&dialog, "SG1");
    auto* number = Find<ByteLineEdit>(&dialog, "Edit1");
    auto* sections = Find<QComboBox>(&dialog, "ComboBox1");
    auto* name = Find<ByteLineEdit>(&dialog, "Edit2");
    EXPECT_EQ(Headers(grid), QStringList({QStringLiteral("番号"), QStringLiteral("所属No"),
                                          QStringLiteral("所属"), QStringLiteral("氏名")}));
    EXPECT_EQ(grid->ColumnWidths(), (std::vector<int>{57, 10, 130, 153}));
    EXPECT_EQ(name->maxBytes(), 16);
    EXPECT_FALSE(sections->isEditable());
    EXPECT_EQ(TabOrder(grid, 9), QStringList({"SG1", "Edit1", "ComboBox1", "Edit2", "Button1",
                                              "Button2", "Button4", "Button3", "SG1"}));
    ASSERT_EQ(sections->count(), 3);
    EXPECT_EQ(sections->itemText(0), QStringLiteral("0:指定無し"));
    EXPECT_EQ(sections->itemText(1), QStringLiteral("1:営業"));
    EXPECT_EQ(sections->itemText(2), QStringLiteral("3:設計"));
    EXPECT_EQ(sections->currentIndex(), 0);
    // Members without a section, or with one that is gone, are listed too.
    EXPECT_EQ(GridRows(grid), (std::vector<QStringList>{{"5", "0", "", QStringLiteral("鈴木")},
                                                        {"6", "9", "", QStringLiteral("佐藤")}}));

    DoubleClick(number);
    EXPECT_EQ(number->text(), QStringLiteral("7"));
    sections->setCurrentIndex(2);
    name->setText(QStringLiteral("山田"));
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録OK")});
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(GridRows(grid).back(),
              QStringList({"7", "3", QStringLiteral("設計"), QStringLiteral("山田")}));

    ClickRow(grid, 2);  // section 9 is not in the list
    EXPECT_EQ(number->text(), QStringLiteral("6"));
    EXPECT_EQ(sections->currentIndex(), 0);
    ClickRow(grid, 3);
    EXPECT_EQ(number->text(), QStringLiteral("7"));
    EXPECT_EQ(name->text(), QStringLiteral("山田"));
    EXPECT_EQ(sections->currentIndex(), 2);

    name->setText(QString());
    EXPECT_EQ(Press(dialog, "Button4"),
              Messages{QStringLiteral("氏名を入力して下さい（半角16文字まで）")});
    EXPECT_EQ(QApplication::focusWidget(), name);
    name->setText(QStringLiteral("山田太郎"));
    sections->setCurrentIndex(1);
    EXPECT_EQ(Press(dialog, "Button4"), Messages{QStringLiteral("変更OK")});
    EXPECT_EQ(GridRows(grid).back(),
              QStringList({"7", "1", QStringLiteral("営業"), QStringLiteral("山田太郎")}));

    ClickRow(grid, 3);
    ports.answers = {false, true};
    EXPECT_EQ(Press(dialog, "Button2"), Messages{});
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(Press(dialog, "Button2"), Messages{QStringLiteral("削除OK")});
    const QString question = QStringLiteral("「No.7：山田太郎」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(ports.questions, (std::vector<QString>{question, question}));
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 2);

    // The section list is read afresh at the next opening.
    dialog.hide();
    Insert("SECTION", {"N", "SNAME"}, {"4", "NULL"});
    ShowActive(dialog);
    EXPECT_EQ(sections->count(), 4);
    EXPECT_EQ(sections->itemText(3), QStringLiteral("4:"));
    EXPECT_EQ(ports.unscriptedQuestions, 0);
}

TEST_F(RegisterDialogTest, CompanyRegisterAddsChangesAndDeletesCompanies)
{
    ASSERT_TRUE(storage::CreateCompanyTable(db));
    registers::TForm5 dialog(context);
    ShowActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("注文先（COMPANY）の登録"));
    ExpectRegisterFrame(dialog);
    EXPECT_EQ(LabelText(&dialog, "Label3"), QStringLiteral("番　号："));
    EXPECT_EQ(LabelText(&dialog, "Label2"), QStringLiteral("名　称："));
    EXPECT_EQ(LabelText(&dialog, "Label4"), QStringLiteral("部課名："));
    auto* grid = Find<StringGrid>(&dialog, "SG1");
    auto* number = Find<ByteLineEdit>(&dialog, "Edit1");
    auto* company = Find<ByteLineEdit>(&dialog, "Edit2");
    auto* department = Find<ByteLineEdit>(&dialog, "Edit3");
    EXPECT_EQ(Headers(grid), QStringList({QStringLiteral("番号"), QStringLiteral("名称"),
                                          QStringLiteral("部課名")}));
    EXPECT_EQ(grid->ColumnWidths(), (std::vector<int>{57, 181, 179}));
    EXPECT_EQ(company->maxBytes(), 32);
    EXPECT_EQ(department->maxBytes(), 32);
    EXPECT_EQ(TabOrder(grid, 9), QStringList({"SG1", "Edit1", "Edit2", "Edit3", "Button1",
                                              "Button2", "Button4", "Button3", "SG1"}));

    DoubleClick(number);
    company->setText(QStringLiteral("東京商事"));
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録OK")});
    DoubleClick(number);
    company->setText(QStringLiteral("大阪工業"));
    department->setText(QStringLiteral("設計部'"));
    EXPECT_EQ(Press(dialog, "Button1"),
              Messages{QStringLiteral("引用符「'」「\"」を入力しないで下さい")});
    EXPECT_EQ(QApplication::focusWidget(), company);
    department->setText(QStringLiteral("設計部"));
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録OK")});
    EXPECT_EQ(GridRows(grid), (std::vector<QStringList>{
                                  {"1", QStringLiteral("東京商事"), ""},
                                  {"2", QStringLiteral("大阪工業"), QStringLiteral("設計部")}}));

    ClickRow(grid, 2);
    department->setText(QString());
    EXPECT_EQ(Press(dialog, "Button4"), Messages{QStringLiteral("変更OK")});
    EXPECT_EQ(grid->Cell(2, 2), QString());
    number->setText(QStringLiteral("3"));
    EXPECT_EQ(
        Press(dialog, "Button4"),
        Messages{QStringLiteral("入力した番号は未使用ですので変更は出来ません。再入力して下さい")});
    EXPECT_EQ(QApplication::focusWidget(), number);

    ClickRow(grid, 1);
    EXPECT_EQ(number->text(), QStringLiteral("1"));
    EXPECT_EQ(company->text(), QStringLiteral("東京商事"));
    EXPECT_EQ(department->text(), QString());
    ports.answers = {false, true};
    EXPECT_EQ(Press(dialog, "Button2"), Messages{});
    EXPECT_EQ(Press(dialog, "Button2"), Messages{QStringLiteral("削除OK")});
    const QString question =
        QStringLiteral("「No.1：東京商事－」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(ports.questions, (std::vector<QString>{question, question}));
    EXPECT_EQ(GridRows(grid), (std::vector<QStringList>{{"2", QStringLiteral("大阪工業"), ""}}));
    EXPECT_EQ(ports.unscriptedQuestions, 0);
}

TEST_F(RegisterDialogTest, ARegisterThatCannotBeUsedSaysWhyAndClosesWhenShownModally)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    registers::TForm3 sections(context);
    registers::TForm4 members(context);
    registers::TForm5 companies(context);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&sections, &members, &companies}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        ports.messages.clear();
        globals.settings.DbName = " ";
        bool timedOut = false;
        EXPECT_EQ(ExecGuarded(*dialog, timedOut), QDialog::Rejected);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(ports.messages,
                  Messages{QStringLiteral("最初にデータベースの設定を行って下さい。")});
    }
    db.DisconnectDatabase();
    globals.settings.DbName = "ZUMENDB.FDB";
    ports.messages.clear();
    bool timedOut = false;
    EXPECT_EQ(ExecGuarded(sections, timedOut), QDialog::Rejected);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(ports.messages,
              Messages{QStringLiteral("データベースに接続出来ません。設定を確認して下さい。")});
}

TEST_F(RegisterDialogTest, ARegisterOpensWithNoRowChosenAndKeepsItsEdits)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    Insert("SECTION", {"N", "SNAME"}, {"1", Name(QStringLiteral("設計"))});
    registers::TForm3 dialog(context);
    ShowActive(dialog);
    auto* grid = Find<StringGrid>(&dialog, "SG1");
    auto* number = Find<ByteLineEdit>(&dialog, "Edit1");
    auto* name = Find<ByteLineEdit>(&dialog, "Edit2");
    ASSERT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(grid->currentRow(), -1);
    EXPECT_EQ(number->text(), QString());

    // What a user types at once is added, not mistaken for row 1.
    number->setText(QStringLiteral("2"));
    name->setText(QStringLiteral("営業"));
    EXPECT_EQ(Press(dialog, "Button1"), Messages{QStringLiteral("登録OK")});

    // Reopened, the edits hold what they held; a key in the grid still chooses a row.
    dialog.hide();
    ShowActive(dialog);
    EXPECT_EQ(number->text(), QStringLiteral("2"));
    EXPECT_EQ(grid->currentRow(), -1);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(number->text(), QStringLiteral("1"));
    EXPECT_EQ(name->text(), QStringLiteral("設計"));
}
