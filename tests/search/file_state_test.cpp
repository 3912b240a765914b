#include "search/file_state.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <chrono>
#include <future>
#include <thread>

#include "search_fixture.h"
#include "text/cp932.h"

using search::FileCondition;
using search::FileState;
using search::SearchHit;
using testing_support::SearchTest;

namespace {

using namespace std::chrono_literals;

// A file last written on the given day (local noon).
void WriteFile(const std::string& path, const char* day)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();  // a write after the time is set would set it again
    const QDateTime noon(QDate::fromString(QString::fromLatin1(day), "yyyyMMdd"), QTime(12, 0));
    ASSERT_TRUE(file.setFileTime(noon, QFileDevice::FileModificationTime));
}

class FileStateTest : public SearchTest {
protected:
    // Drawings of project 1 whose files lie in the test folder.
    void addFiles()
    {
        addProject(1, "files");
        const std::string folder = this->folder.path();
        auto drawing = [&](int node, const char* file, const char* issued, const char* revised) {
            std::map<std::string, std::string> columns{{"FILE_NAME", file}, {"PATH_NAME", folder}};
            if (*issued)
                columns["PDATE"] = issued;
            if (*revised)
                columns["RDATE"] = revised;
            addDrawing(1, node, file, columns);
        };
        drawing(1, "kept.jww", "20240301", "");
        WriteFile(folder + "kept.jww", "20240301");  // written on its issue day
        drawing(2, "changed.jww", "20240301", "");
        WriteFile(folder + "changed.jww", "20240302");
        drawing(3, "revised.jww", "20240301", "20240310");
        WriteFile(folder + "revised.jww", "20240305");  // changed, but before its revision
        drawing(4, "gone.jww", "20240301", "");
        WriteFile(folder + "gone.jww", "20240301");
        ASSERT_TRUE(QFile::remove(QString::fromStdString(folder + "gone.jww")));
        drawing(5, "draft.jww", "", "");
        WriteFile(folder + "draft.jww", "20240401");  // never issued: never "changed"
        addDrawing(1, 6, "group");
    }

    std::vector<FileState> states(FileCondition condition, std::vector<int>* nodes = nullptr)
    {
        search::SearchCriteria c;
        c.file = condition;
        std::vector<SearchHit> hits = find(c);
        search::SettleFileStates(hits, condition);
        std::vector<FileState> result;
        for (const SearchHit& hit : hits) {
            result.push_back(hit.fileState);
            if (nodes)
                nodes->push_back(hit.nodeNo);
        }
        return result;
    }
};

}  // namespace

TEST_F(FileStateTest, FilesMadeTouchedAfterIssueAndRemoved)
{
    addFiles();
    EXPECT_EQ(states(FileCondition::Any),
              (std::vector<FileState>{FileState::Present, FileState::ChangedAfterIssue,
                                      FileState::Present, FileState::Missing, FileState::Present,
                                      FileState::None}));
    std::vector<int> nodes;
    states(FileCondition::ChangedAfterIssue, &nodes);
    EXPECT_EQ(nodes, std::vector<int>{2});
    nodes.clear();
    states(FileCondition::Missing, &nodes);
    EXPECT_EQ(nodes, std::vector<int>{4});
    // The presets are the same conditions.
    EXPECT_EQ(search::PresetCriteria(search::Preset::MissingFiles, 0).file, FileCondition::Missing);
    EXPECT_EQ(search::PresetCriteria(search::Preset::ChangedAfterIssue, 0).file,
              FileCondition::ChangedAfterIssue);
}

TEST(FileLooker, AShareThatDoesNotAnswerCostsOneTimeOut)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto probe = [released](const std::string& path) {
        if (path.rfind("//srv/dead/", 0) == 0)
            released.wait();  // a share that no longer answers
        return search::LookAtFile(path);
    };
    search::FileLooker looker(300ms, probe);

    auto started = std::chrono::steady_clock::now();
    std::vector<search::FileFacts> facts = looker.Look("//srv/dead/a/", {"1.jww", "2.jww"});
    auto took = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(facts.size(), 2u);
    EXPECT_FALSE(facts[0].answered);
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 2s);

    // Another folder of the same share is not waited for again; other shares are.
    started = std::chrono::steady_clock::now();
    facts = looker.Look("//srv/dead/b/", {"3.jww"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, 100ms);
    EXPECT_FALSE(facts[0].answered);
    facts = looker.Look("/nowhere/here/", {"4.jww"});
    EXPECT_TRUE(facts[0].answered);
    EXPECT_FALSE(facts[0].exists);
    release.set_value();

    // A share that answers, but slowly, file after file: the time-out is the
    // folder's, not restarted by each answer.
    search::FileLooker slow(300ms, [](const std::string& path) {
        std::this_thread::sleep_for(120ms);
        return search::LookAtFile(path);
    });
    started = std::chrono::steady_clock::now();
    facts = slow.Look("//srv/slow/a/", {"1", "2", "3", "4", "5", "6"});
    EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms);
    EXPECT_TRUE(facts[0].answered);
    EXPECT_FALSE(facts[5].answered);

    // Share roots walk whole characters: the second byte of 表 is a backslash.
    const std::string hyou = "\x95\x5C";
    EXPECT_EQ(search::ShareRoot("\\\\srv\\" + hyou + "\\a\\"), "\\\\srv\\" + hyou);
    EXPECT_EQ(search::ShareRoot("Z:\\zumen\\"), "Z:");
    EXPECT_EQ(search::ShareRoot("/mnt/zumen/a/b/"), "/mnt/zumen");
}
