#include "projects/project_editor_logic.h"

#include <gtest/gtest.h>

#include "project_fixture.h"
#include "projects/project_editor_texts.h"

using projects::EditorControl;
using projects::ProjectEditorLogic;
using projects::ProjectForm;
using projects::SaveOutcome;
using testing_support::Sj;

namespace texts = projects::editor_texts;

namespace {

QString Msg(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::vector<QString> Msgs(std::initializer_list<const char*> utf8)
{
    std::vector<QString> out;
    for (const char* m : utf8)
        out.push_back(Msg(m));
    return out;
}

// Field positions in ProjectForm::texts.
enum {
    kName,
    kTitle,
    kSubtitle,
    kMemo1,
    kMemo2,
    kMemo3,
    kDue,
    kPlan1,
    kPlan2,
    kAct1,
    kAct2,
    kDeliv
};

class ProjectEditorLogicTest : public testing_support::ProjectDatabaseTest {
protected:
    void SetUp() override
    {
        ProjectDatabaseTest::SetUp();
        globals.settings.PcUserNo = 7;
        globals.settings.PcUserName = Sj("山田");
    }

    ProjectEditorLogic Start(int mode, int number = 0)
    {
        globals.ProjectEditMode = mode;
        globals.CurrentProjectNo = number;
        ProjectEditorLogic logic(db, globals);
        logic.Start();
        logic.LoadClientItems();
        return logic;
    }

    static ProjectForm Form(const std::string& number, const std::string& name)
    {
        ProjectForm form;
        form.number = number;
        form.texts[kName] = name;
        return form;
    }

    // A refusal: exactly this message, this focus, and nothing written.
    void ExpectRefused(ProjectEditorLogic& logic, const ProjectForm& form, const char* message,
                       EditorControl focus)
    {
        sent.clear();
        const int before = ProjectCount();
        const SaveOutcome out = logic.Save(form);
        EXPECT_EQ(out.messages, Msgs({message}));
        EXPECT_EQ(out.focus, focus);
        EXPECT_FALSE(out.saved);
        EXPECT_FALSE(SentAWrite());
        EXPECT_EQ(ProjectCount(), before);
    }

    storage::AppGlobals globals;
};

TEST_F(ProjectEditorLogicTest, ProposesOneMoreThanTheLargestNumber)
{
    ProjectEditorLogic logic = Start(0);
    EXPECT_EQ(logic.ProposeNumber(), "1");
    FillProjects(2, 11);  // 11 and 12
    EXPECT_EQ(logic.ProposeNumber(), "13");
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZPROJECT;"}));
    EXPECT_EQ(logic.ProposeNumber(), "1");
}

TEST_F(ProjectEditorLogicTest, ClientItemsAreNumberedInOrderAndCutWithoutSplittingACharacter)
{
    const std::string fifteen = Sj("設計設計設計設計設計設計設計設");  // 30 bytes
    AddCompany(10, fifteen);
    AddCompany(2, "Bar", Sj("営業部"));
    AddCompany(1, "Foo");
    AddCompany(3, fifteen);
    ProjectEditorLogic logic = Start(0);
    const std::vector<std::string> expected{
        " ",
        "1:Foo",
        "2:Bar" + Sj("｜営業部"),
        "3:" + fifteen,                 // exactly 32 bytes
        "10:" + fifteen.substr(0, 28),  // 33 would split the last one
    };
    EXPECT_EQ(logic.clientItems(), expected);
    EXPECT_FALSE(db.QueryOpen());

    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE COMPANY;"}));
    logic.LoadClientItems();
    EXPECT_EQ(logic.clientItems(), std::vector<std::string>{" "});
}

TEST_F(ProjectEditorLogicTest, NewProjectChecksRunInOrderAndRefuseWithoutWriting)
{
    FillProjects(1);
    ProjectEditorLogic logic = Start(0);

    for (const char* number : {"", "0", "-3", "abc", "4294967297", "12 "}) {
        const SaveOutcome out = logic.Save(Form(number, "x"));
        EXPECT_TRUE(out.messages.empty()) << number;
        EXPECT_TRUE(out.clearNumber) << number;
        EXPECT_EQ(out.focus, EditorControl::Edit1);
    }

    // Every later field is wrong too: the number is reported first.
    ProjectForm form = Form("1", " \t");
    form.texts[kPlan1] = "2024/1/1";
    form.texts[kTitle] = "it's";
    form.client = "5:Foo";
    ExpectRefused(logic, form, texts::kNumberExistsMessage, EditorControl::Edit1);
    form.number = "2";
    ExpectRefused(logic, form, texts::kNameMissingMessage, EditorControl::Edit2);
    for (const char* name : {"a'b", "a\"b", "a:b"}) {
        form.texts[kName] = name;
        ExpectRefused(logic, form, texts::kNameQuoteMessage, EditorControl::Edit2);
    }
    form.texts[kName] = Sj("　新館");  // a full-width space is not blank
    ExpectRefused(logic, form, texts::kDateFormatMessage, EditorControl::Edit9);

    form.texts[kPlan1] = "";
    form.texts[kPlan2] = "20240105";
    form.texts[kAct1] = "";
    form.texts[kAct2] = "20240105";
    ExpectRefused(logic, form, texts::kEndWithoutStartMessage, EditorControl::Edit9);
    form.texts[kPlan1] = "20240106";
    ExpectRefused(logic, form, texts::kEndWithoutStartMessage, EditorControl::Edit11);
    form.texts[kAct1] = "20240101";
    ExpectRefused(logic, form, texts::kStartAfterEndMessage, EditorControl::Edit9);
    form.texts[kPlan1] = "20240105";  // equal to the end: accepted
    form.texts[kAct1] = "20240201";
    ExpectRefused(logic, form, texts::kStartAfterEndMessage, EditorControl::Edit11);
    form.texts[kAct1] = "20240105";
    ExpectRefused(logic, form, texts::kClientQuoteMessage, EditorControl::ComboBox1);
    form.client = "";
    ExpectRefused(logic, form, texts::kTextQuoteMessage, EditorControl::Edit2);
    form.texts[kTitle] = "its";
    const SaveOutcome saved = logic.Save(form);
    EXPECT_EQ(saved.messages, Msgs({texts::kSavedMessage}));
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(ProjectCount(), 2);
}

TEST_F(ProjectEditorLogicTest, EveryBadDateIsRefusedOnItsOwnField)
{
    ProjectEditorLogic logic = Start(0);
    const EditorControl controls[] = {EditorControl::Edit9, EditorControl::Edit10,
                                      EditorControl::Edit11, EditorControl::Edit12,
                                      EditorControl::Edit13};
    for (int field = 0; field < 5; ++field)
        for (const char* bad : {"2024013", "202401011", "2024/1/1", "20230230", "00000101",
                                "18991229", "2024-1-1", "ABCDEFGH"}) {
            ProjectForm form = Form("1", "x");
            form.texts[kPlan1 + field] = bad;
            SCOPED_TRACE(std::string(bad) + " in field " + std::to_string(field));
            ExpectRefused(logic, form, texts::kDateFormatMessage, controls[field]);
        }
    ProjectForm form = Form("1", "x");
    form.texts[kDeliv] = "18991230";  // the first day there is
    EXPECT_TRUE(logic.Save(form).saved);
}

TEST_F(ProjectEditorLogicTest, QuoteInAnyTextFieldIsRefusedWithTheFocusOnTheName)
{
    ProjectEditorLogic logic = Start(0);
    for (int field : {kTitle, kSubtitle, kMemo1, kMemo2, kMemo3, kDue})
        for (const char* mark : {"'", "\""}) {
            ProjectForm form = Form("1", "x");
            form.texts[field] = std::string("a") + mark + "b";
            ExpectRefused(logic, form, texts::kTextQuoteMessage, EditorControl::Edit2);
        }
}

TEST_F(ProjectEditorLogicTest, NewProjectIsInsertedWithEveryColumnInOrder)
{
    ProjectEditorLogic logic = Start(0);
    ProjectForm form = Form("4", Sj("本社ビル"));
    form.texts[kTitle] = Sj("表 題");
    form.texts[kMemo2] = " padded ";            // stored untrimmed
    form.texts[kDue] = Sj("来年３月末頃予定");  // 16 bytes of free text
    form.texts[kPlan1] = "20240101";
    form.texts[kPlan2] = "20240101";
    form.done = true;
    const SaveOutcome out = logic.Save(form);
    EXPECT_TRUE(out.saved);
    EXPECT_EQ(out.messages, Msgs({texts::kSavedMessage}));

    EXPECT_EQ(lastSent(),
              "INSERT INTO ZPROJECT (\r\n   N,\r\n   MN,\r\n   CN,\r\n   PRNAME,\r\n   MTITLE,\r\n"
              "   STITLE,\r\n   MEMO1,\r\n   MEMO2,\r\n   MEMO3,\r\n   NOUKI,\r\n   PDATE1,\r\n"
              "   PDATE2,\r\n   DATE1,\r\n   DATE2,\r\n   NDATE,\r\n   ENDF\r\n   ) \r\n"
              "   VALUES (\r\n   4,\r\n   7,\r\n   0,\r\n   '" +
                  Sj("本社ビル") + "',\r\n   '" + Sj("表 題") +
                  "',\r\n   NULL,\r\n   NULL,\r\n   ' padded ',\r\n   NULL,\r\n   '" +
                  Sj("来年３月末頃予定") +
                  "',\r\n   '20240101',\r\n   '20240101',\r\n   NULL,\r\n   NULL,\r\n"
                  "   NULL,\r\n   1\r\n   );\r\n");
    const storage::Row row = Project(4);
    EXPECT_EQ(row[1], "7");  // the PC user made it
    EXPECT_EQ(row[7], " padded ");
    EXPECT_EQ(row[15], "1");

    // The same number again is refused; the window keeps its form for a retry.
    ExpectRefused(logic, form, texts::kNumberExistsMessage, EditorControl::Edit1);
    form.number = "5";
    form.done = false;
    EXPECT_TRUE(logic.Save(form).saved);
    EXPECT_EQ(Project(5)[15], "0");
}

TEST_F(ProjectEditorLogicTest, NewClientIsRegisteredOnceAndThenReused)
{
    AddCompany(3, "Foo");
    ProjectEditorLogic logic = Start(0);

    // Exactly an item's text: that company.
    ProjectForm form = Form("1", "a");
    form.client = "3:Foo";
    EXPECT_TRUE(logic.Save(form).saved);
    EXPECT_EQ(Project(1)[2], "3");

    // A name with no item: a new company, numbered after the largest.
    const std::string name = Sj("東亜建設（株）大阪支店営業");  // 26 bytes
    form.number = "2";
    form.client = name;
    SaveOutcome out = logic.Save(form);
    EXPECT_EQ(out.messages, Msgs({texts::kClientRegisteredMessage, texts::kSavedMessage}));
    ASSERT_TRUE(out.newClientItem);
    EXPECT_EQ(*out.newClientItem, "4:" + name);
    EXPECT_EQ(logic.clientItems().back(), "4:" + name);
    storage::Row company(3);
    ASSERT_EQ(db.SelectColumns("*", "COMPANY", "N=4", company), 3);
    EXPECT_EQ(company[1], name);
    EXPECT_EQ(company[2], "");  // no department
    EXPECT_EQ(Project(2)[2], "4");

    // The combo now holds the new item: saving again registers nothing more.
    form.number = "3";
    form.client = *out.newClientItem;
    out = logic.Save(form);
    EXPECT_EQ(out.messages, Msgs({texts::kSavedMessage}));
    EXPECT_EQ(Project(3)[2], "4");
    storage::Row count(1);
    db.SelectColumns("COUNT(*)", "COMPANY", "", count);
    EXPECT_EQ(count[0], "2");

    // Blank client text: no client, nothing registered.
    form.number = "4";
    form.client = "  ";
    EXPECT_EQ(logic.Save(form).messages, Msgs({texts::kSavedMessage}));
    EXPECT_EQ(Project(4)[2], "0");
}

TEST_F(ProjectEditorLogicTest, ClientRegisteredBeforeARefusedMemoStaysRegistered)
{
    ProjectEditorLogic logic = Start(0);
    ProjectForm form = Form("1", "a");
    form.client = "O Neil";
    form.texts[kMemo3] = "5\" pipe";
    const SaveOutcome out = logic.Save(form);
    EXPECT_EQ(out.messages, Msgs({texts::kClientRegisteredMessage, texts::kTextQuoteMessage}));
    EXPECT_EQ(out.focus, EditorControl::Edit2);
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(ProjectCount(), 0);
    storage::Row company(3);
    EXPECT_EQ(db.SelectColumns("*", "COMPANY", "N=1", company), 3);
    EXPECT_EQ(company[1], "O Neil");

    form.client = *out.newClientItem;
    form.texts[kMemo3] = "5 inch pipe";
    EXPECT_EQ(logic.Save(form).messages, Msgs({texts::kSavedMessage}));
    EXPECT_EQ(Project(1)[2], "1");
}

TEST_F(ProjectEditorLogicTest, ClientThatCannotBeRegisteredLeavesTheProjectWithoutClient)
{
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE COMPANY;"}));
    ProjectEditorLogic logic = Start(0);
    ProjectForm form = Form("1", "a");
    form.client = "Foo";
    const SaveOutcome out = logic.Save(form);
    EXPECT_EQ(out.messages, Msgs({texts::kClientNotRegisteredMessage, texts::kSavedMessage}));
    EXPECT_FALSE(out.newClientItem);
    EXPECT_EQ(Project(1)[2], "0");
}

TEST_F(ProjectEditorLogicTest, RejectedInsertIsReportedAsNotSaved)
{
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZPROJECT;"}));
    ProjectEditorLogic logic = Start(0);
    const SaveOutcome out = logic.Save(Form("1", "a"));
    EXPECT_EQ(out.messages, Msgs({texts::kNotSavedMessage}));
    EXPECT_FALSE(out.saved);
}

TEST_F(ProjectEditorLogicTest, EditModeUpdatesTheTypedNumberAndKeepsTheCreator)
{
    AddMember(2, Sj("佐藤"));
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "CN", "PRNAME", "ENDF"},
                             {"8", "2", "0", "'old'", "1"}));
    ProjectEditorLogic logic = Start(1, 8);
    EXPECT_EQ(logic.mode(), 1);
    EXPECT_EQ(logic.projectNo(), 8);
    globals.CurrentProjectNo = 99;  // a later opening does not move this editor
    EXPECT_EQ(logic.projectNo(), 8);

    ExpectRefused(logic, Form("9", "new"), texts::kNumberMissingMessage, EditorControl::Edit1);

    ProjectForm form = Form("8", "new");
    form.texts[kMemo1] = "m";
    const SaveOutcome out = logic.Save(form);
    EXPECT_EQ(out.messages, Msgs({texts::kSavedMessage}));
    EXPECT_NE(lastSent().find("   WHERE N=8\r\n   ;\r\n"), std::string::npos);
    const storage::Row row = Project(8);
    EXPECT_EQ(row[1], "2");  // not the PC user
    EXPECT_EQ(row[3], "new");
    EXPECT_EQ(row[6], "m");
    EXPECT_EQ(row[15], "0");

    // Another PC deletes the row: the next save says so and writes nothing.
    ASSERT_TRUE(db.DeleteRows("ZPROJECT", "N=8"));
    ExpectRefused(logic, form, texts::kNumberMissingMessage, EditorControl::Edit1);
}

TEST_F(ProjectEditorLogicTest, LoadFillsTheFormAndAMissingNumberEmptiesIt)
{
    AddCompany(5, "Foo", "Dept");
    AddMember(2, Sj("佐藤"));
    ASSERT_TRUE(db.InsertRow(
        "ZPROJECT", {"N", "MN", "CN", "PRNAME", "MTITLE", "NOUKI", "PDATE1", "NDATE", "ENDF"},
        {"8", "2", "5", "'name'", "'title'", "'soon'", "'20240101'", "'20240301'", "2"}));
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "CN"}, {"9", "3", "77"}));
    ProjectEditorLogic logic = Start(1);

    projects::LoadOutcome out = logic.Load("8");
    ASSERT_TRUE(out.form);
    EXPECT_EQ(out.form->number, "8");
    EXPECT_EQ(out.form->client, "5:Foo" + Sj("｜") + "Dept");
    EXPECT_EQ(out.form->texts[kName], "name");
    EXPECT_EQ(out.form->texts[kTitle], "title");
    EXPECT_EQ(out.form->texts[kSubtitle], "");
    EXPECT_EQ(out.form->texts[kDue], "soon");
    EXPECT_EQ(out.form->texts[kPlan1], "20240101");
    EXPECT_EQ(out.form->texts[kDeliv], "20240301");
    EXPECT_TRUE(out.form->done);
    EXPECT_EQ(out.creatorName, Sj("佐藤"));
    EXPECT_EQ(out.focus, EditorControl::ComboBox1);
    EXPECT_FALSE(db.QueryOpen());

    // Client and creator that are gone: no client text, an empty creator name.
    out = logic.Load("9");
    EXPECT_EQ(out.form->client, "");
    EXPECT_EQ(out.creatorName, "");
    EXPECT_FALSE(out.form->done);

    out = logic.Load("10");
    ASSERT_TRUE(out.form);
    EXPECT_EQ(out.form->number, "");
    EXPECT_EQ(out.form->texts[kName], "");
    EXPECT_FALSE(out.creatorName);  // the label keeps its text

    for (const char* refused : {"", "0", "-1", "x"}) {
        out = logic.Load(refused);
        EXPECT_FALSE(out.form);
        EXPECT_EQ(out.focus, EditorControl::Edit1);
    }
}

}  // namespace
