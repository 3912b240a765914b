#include "projects/project_details.h"

#include <gtest/gtest.h>

#include "project_fixture.h"

using projects::LoadProjectDetails;
using projects::ProjectDetails;
using testing_support::Sj;

namespace {

class ProjectDetailsTest : public testing_support::ProjectDatabaseTest {
protected:
    void AddProject(const std::string& n, const std::string& mn, const std::string& cn)
    {
        ASSERT_TRUE(db.InsertRow(
            "ZPROJECT",
            {"N", "MN", "CN", "PRNAME", "MTITLE", "STITLE", "MEMO1", "MEMO2", "MEMO3", "NOUKI",
             "PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE", "ENDF"},
            {n, mn, cn, text::SqlText(Sj("本社")), "'t'", "'s'", "'m1'", "NULL", "'m3'", "'due'",
             "'20240101'", "'20240301'", "'20240105'", "NULL", "'20240401'", "1"}));
    }
};

TEST_F(ProjectDetailsTest, ReadsTheProjectItsClientAndItsCreator)
{
    AddCompany(4, Sj("東亜"), Sj("設計部"));
    AddMember(2, Sj("佐藤"));
    AddProject("9", "2", "4");
    const ProjectDetails d = LoadProjectDetails(db, 9);
    EXPECT_EQ(d.number, "9");
    EXPECT_EQ(d.name, Sj("本社"));
    EXPECT_EQ(d.title, "t");
    EXPECT_EQ(d.subtitle, "s");
    EXPECT_EQ(d.memo1, "m1");
    EXPECT_EQ(d.memo2, "");
    EXPECT_EQ(d.memo3, "m3");
    EXPECT_EQ(d.due, "due");
    EXPECT_EQ(d.plannedStart, "20240101");
    EXPECT_EQ(d.plannedEnd, "20240301");
    EXPECT_EQ(d.actualStart, "20240105");
    EXPECT_EQ(d.actualEnd, "");
    EXPECT_EQ(d.delivered, "20240401");
    EXPECT_TRUE(d.done);
    EXPECT_TRUE(d.hasClient);
    EXPECT_EQ(d.clientName, Sj("東亜"));
    EXPECT_EQ(d.clientDepartment, Sj("設計部"));
    EXPECT_TRUE(d.hasCreator);
    EXPECT_EQ(d.creatorName, Sj("佐藤"));
    EXPECT_FALSE(db.QueryOpen());
}

TEST_F(ProjectDetailsTest, ProjectWithoutClientStillShowsItsCreator)
{
    AddMember(2, "Sato");
    AddProject("1", "2", "0");
    AddProject("2", "2", "NULL");
    for (int n : {1, 2}) {
        const ProjectDetails d = LoadProjectDetails(db, n);
        EXPECT_FALSE(d.hasClient) << n;
        EXPECT_EQ(d.creatorName, "Sato") << n;
    }
    // A client or creator that was deleted: named, but with empty names.
    AddProject("3", "5", "6");
    const ProjectDetails d = LoadProjectDetails(db, 3);
    EXPECT_TRUE(d.hasClient);
    EXPECT_EQ(d.clientName, "");
    EXPECT_TRUE(d.hasCreator);
    EXPECT_EQ(d.creatorName, "");
}

TEST_F(ProjectDetailsTest, DeletedProjectOrNoNumberGivesNothing)
{
    AddCompany(4, "Foo");
    AddMember(2, "Sato");
    AddProject("9", "2", "4");
    ASSERT_TRUE(db.DeleteRows("ZPROJECT", "N=9"));
    sent.clear();
    ProjectDetails d = LoadProjectDetails(db, 9);
    EXPECT_EQ(d.number, "");
    EXPECT_EQ(d.name, "");
    EXPECT_FALSE(d.done);
    EXPECT_FALSE(d.hasClient);
    EXPECT_FALSE(d.hasCreator);
    EXPECT_EQ(sent.size(), 1u);  // neither COMPANY nor MEMBER is read

    sent.clear();
    d = LoadProjectDetails(db, 0);
    EXPECT_TRUE(sent.empty());

    db.DisconnectDatabase();
    d = LoadProjectDetails(db, 9);
    EXPECT_EQ(d.name, "");
    EXPECT_FALSE(d.hasCreator);
}

}  // namespace
