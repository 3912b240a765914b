// Several PCs on one server database at once, each with its own connection and
// PC user, doing the same work through the real logic, once on the shared
// server and once on a server of the test's own that crashes mid-run. Afterwards
// the tables are read back with plain statements and compared with what every
// client was told: a failure is a legal answer, a wrong answer is not.

#include <gtest/gtest.h>

#include <QString>
#include <QUuid>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/database_fixture.h"
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
#include "reliability/second_server.h"
#include "storage/app_globals.h"
#include "storage/schema.h"
#include "text/mbcs.h"

namespace {

using testing_support::EnvInt;
using testing_support::ReadTable;
using Clock = std::chrono::steady_clock;

// Far below the client library's own timeouts: a dead server on this host
// refuses at once, so a call slower than this is a hang.
constexpr double kHangSeconds = 15.0;

constexpr int kSharedProject = 1;  // nodes, revisions and the shared drawing
constexpr int kOpenedProject = 2;  // opened by every client at the same moment
constexpr int kSharedDrawing = 1;  // the drawing every client stamps and saves

enum class Kind { Section, Member, Company, Project, Node, Revision, DrawingSave };

const char* KindName(Kind kind)
{
    switch (kind) {
        case Kind::Section:
            return "section";
        case Kind::Member:
            return "member";
        case Kind::Company:
            return "company";
        case Kind::Project:
            return "project";
        case Kind::Node:
            return "node";
        case Kind::Revision:
            return "revision";
        case Kind::DrawingSave:
            return "drawing save";
    }
    return "?";
}

// What one client was told about one attempt. Tags are unique per attempt, so
// a stored row names the attempt that wrote it.
struct Attempt {
    Kind kind;
    std::string tag;
    int number = 0;   // the number the row was stored under (when stored)
    int drawing = 0;  // a revision's drawing
    bool stored = false;
    // Reported failed as the connection broke: the commit may have reached the
    // server before the reply was lost, so either outcome is legal.
    bool inDoubt = false;
};

bool Is(const QString& message, const char* utf8)
{
    return message == QString::fromUtf8(utf8);
}

class Client {
public:
    Client(int index, const std::string& path) : index_(index), path_(path)
    {
        globals_.settings.PcUserNo = index + 1;
        db_.ConnectDatabase(path);
    }

    bool connected() const { return db_.Connected(); }
    const std::vector<Attempt>& attempts() const { return attempts_; }
    const std::vector<std::string>& faults() const { return faults_; }
    int connectionsLost() const { return connectionsLost_; }
    double longestCall() const { return longestCall_; }
    Clock::time_point lastReconnect() const { return lastReconnect_; }
    int storedSinceReconnect() const { return storedSinceReconnect_; }

    void OpenSharedProjects()
    {
        drawings::ProjectDetailLogic(db_, kOpenedProject).Open();
        drawings::ProjectDetailLogic(db_, kSharedProject).Open();
    }

    // A lost connection is met as a user meets it: the operation fails, and the
    // user reconnects through the database settings until the server is back.
    void Run(Clock::time_point until)
    {
        for (int op = 0; Clock::now() < until; ++op) {
            if (!db_.Connected() && !Reconnect(until))
                break;
            const std::size_t first = attempts_.size();
            const auto start = Clock::now();
            RunOne(op);
            longestCall_ =
                std::max(longestCall_, std::chrono::duration<double>(Clock::now() - start).count());
            for (std::size_t i = first; i < attempts_.size(); ++i)
                storedSinceReconnect_ += attempts_[i].stored;
            if (!db_.Connected()) {
                ++connectionsLost_;
                for (std::size_t i = first; i < attempts_.size(); ++i)
                    attempts_[i].inDoubt = !attempts_[i].stored;
            }
        }
    }

private:
    bool Reconnect(Clock::time_point until)
    {
        while (Clock::now() < until) {
            const auto start = Clock::now();
            db_.ConnectDatabase(path_);
            longestCall_ =
                std::max(longestCall_, std::chrono::duration<double>(Clock::now() - start).count());
            if (db_.Connected()) {
                lastReconnect_ = Clock::now();
                storedSinceReconnect_ = 0;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void RunOne(int op)
    {
        const std::string tag = "c" + std::to_string(index_) + "o" + std::to_string(op);
        switch (op % 7) {
            case 0:
                AddToRegister(Kind::Section, registers::SectionRegister(), tag);
                break;
            case 1:
                AddToRegister(Kind::Member, registers::MemberRegister(), tag);
                break;
            case 2:
                AddToRegister(Kind::Company, registers::CompanyRegister(), tag);
                break;
            case 3:
                SaveProject(tag, op % 21 == 3);
                break;
            case 4:
                CreateNode(tag);
                break;
            case 5:
                AddRevision(tag);
                break;
            case 6:
                SaveSharedDrawing(tag);
                break;
        }
    }

    void Fault(const std::string& what)
    {
        faults_.push_back("client " + std::to_string(index_) + ": " + what);
    }

    void AddToRegister(Kind kind, const registers::RegisterConfig& config, const std::string& tag)
    {
        registers::RegisterLogic logic(db_, config);
        registers::RegisterInput input{logic.ProposeNumber(), {}};
        for (const registers::ValueColumn& column : config.columns)
            input.values.push_back(column.kind == registers::ColumnKind::Text ? tag : "0:-");
        const registers::RegisterOutcome outcome = logic.Add(input);
        Attempt attempt{kind, tag, text::StrToIntOrZero(input.number)};
        if (Is(outcome.message, registers::texts::kAddOk))
            attempt.stored = true;
        else if (!Is(outcome.message, registers::texts::kAddFailed))
            Fault(std::string(KindName(kind)) + " add answered " + outcome.message.toStdString());
        attempts_.push_back(attempt);
    }

    // Every few projects name a client that is not registered, so the editor
    // registers it on the way with a number of its own.
    void SaveProject(const std::string& tag, bool newClient)
    {
        globals_.ProjectEditMode = 0;
        projects::ProjectEditorLogic logic(db_, globals_);
        logic.Start();
        projects::ProjectForm form;
        form.number = logic.ProposeNumber();
        form.texts[projects::kColPRNAME - projects::kFirstTextColumn] = tag;
        const std::string clientName = "k" + tag;
        if (newClient)
            form.client = clientName;
        const projects::SaveOutcome out = logic.Save(form);
        attempts_.push_back({Kind::Project, tag, text::StrToIntOrZero(form.number), 0, out.saved});
        const bool toldSaved =
            !out.messages.empty() && Is(out.messages.back(), projects::editor_texts::kSavedMessage);
        if (toldSaved != out.saved)
            Fault("project save flag and message disagree");
        if (newClient) {
            Attempt company{Kind::Company, clientName};
            if (out.newClientItem) {
                company.stored = true;
                company.number = text::StrToIntOrZero(text::TextBeforeColon(*out.newClientItem));
            }
            attempts_.push_back(company);
        }
    }

    void CreateNode(const std::string& tag)
    {
        drawings::NameTreeEditor editor(db_, drawings::ProjectTables(kSharedProject));
        const drawings::NodeCreation made =
            editor.CreateNode(0, tag, globals_.settings.PcUserNo, drawings::EmptyDrawingValues());
        attempts_.push_back({Kind::Node, tag, made.number, 0, made.created()});
        if (made.created())
            myNodes_.push_back(made.number);
        else if (made.message.isEmpty())
            Fault("a node not created came back without a message");
    }

    void AddRevision(const std::string& tag)
    {
        const int drawing = myNodes_.empty() ? kSharedDrawing : myNodes_.back();
        drawings::RevisionHistoryLogic logic(db_, kSharedProject, drawing);
        const drawings::RevisionInput input{logic.ProposeNumber(), tag,
                                            std::to_string(globals_.settings.PcUserNo) + ":x",
                                            "20240102"};
        const drawings::RevisionOutcome outcome = logic.Add(input);
        Attempt attempt{Kind::Revision, tag, text::StrToIntOrZero(input.number), drawing};
        if (Is(outcome.message, drawings::revision_texts::kAddOk))
            attempt.stored = true;
        else if (!Is(outcome.message, drawings::revision_texts::kAddFailed))
            Fault("revision add answered " + outcome.message.toStdString());
        attempts_.push_back(attempt);
    }

    // Stamp and save the one drawing every client edits; the tag goes into its
    // drawing number, so the stored row names the save that came last.
    void SaveSharedDrawing(const std::string& tag)
    {
        drawings::DrawingInfoLogic logic(db_, kSharedProject);
        drawings::DrawingPage page;
        page.Edit(1) = std::to_string(kSharedDrawing);
        page.Edit(5) = tag;
        page.memberItems = {"0:-", std::to_string(globals_.settings.PcUserNo) + ":pc"};
        page.memberIndexes = {1, 1, 0, 0, 0};
        page.Edit(13) = "20240103";
        const drawings::PageOutcome out = logic.Save(page);
        Attempt attempt{Kind::DrawingSave, tag, kSharedDrawing};
        if (Is(out.message, drawings::drawing_info_texts::kSaved))
            attempt.stored = true;
        else if (!Is(out.message, drawings::drawing_info_texts::kSaveFailed))
            Fault("drawing save answered " + out.message.toStdString());
        attempts_.push_back(attempt);
    }

    int index_;
    std::string path_;
    int connectionsLost_ = 0;
    double longestCall_ = 0;
    Clock::time_point lastReconnect_{};
    int storedSinceReconnect_ = 0;
    storage::AppGlobals globals_;
    storage::Database db_;
    std::vector<Attempt> attempts_;
    std::vector<int> myNodes_;
    std::vector<std::string> faults_;
};

// Compares the rows of a register-like table (N, then the tag in tagColumn)
// with what the clients were told.
void CheckTagged(const std::vector<storage::Row>& rows, int tagColumn,
                 const std::vector<const Attempt*>& attempts, const char* table)
{
    std::map<std::string, const storage::Row*> byTag;
    std::set<std::string> numbers;
    for (const storage::Row& row : rows) {
        EXPECT_TRUE(numbers.insert(row[0]).second) << table << ": number " << row[0] << " twice";
        if (!row[tagColumn].empty()) {
            EXPECT_TRUE(byTag.emplace(row[tagColumn], &row).second)
                << table << ": " << row[tagColumn] << " stored twice";
        }
    }
    std::set<std::string> told;
    for (const Attempt* a : attempts) {
        const auto found = byTag.find(a->tag);
        if (a->inDoubt) {
            if (found != byTag.end())
                told.insert(a->tag);
        } else if (a->stored) {
            told.insert(a->tag);
            ASSERT_NE(found, byTag.end())
                << table << ": " << a->tag << " was reported stored, is lost";
            EXPECT_EQ((*found->second)[0], std::to_string(a->number))
                << table << ": " << a->tag << " stored under another number";
        } else {
            EXPECT_EQ(found, byTag.end())
                << table << ": " << a->tag << " was reported failed, yet is stored";
        }
    }
    for (const auto& [tag, row] : byTag)
        EXPECT_TRUE(told.count(tag)) << table << ": " << tag << " stored by nobody's report";
}

using Clients = std::vector<std::unique_ptr<Client>>;

// The fixed tables and two projects, as the menu and the editor leave them.
void PrepareDatabase(storage::Database& db)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    ASSERT_TRUE(storage::CreateMemberTable(db));
    ASSERT_TRUE(storage::CreateCompanyTable(db));
    ASSERT_TRUE(storage::CreateProjectTable(db));
    for (int p : {kSharedProject, kOpenedProject})
        ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"},
                                 {std::to_string(p), "1", text::SqlText("p" + std::to_string(p))}));
    ASSERT_EQ(drawings::ProjectDetailLogic(db, kSharedProject).Open().found, true);
    drawings::NameTreeEditor admin(db, drawings::ProjectTables(kSharedProject));
    ASSERT_EQ(admin.CreateNode(0, "shared", 1, drawings::EmptyDrawingValues()).number,
              kSharedDrawing);
}

// Runs every client on its own thread for `seconds`, while `disturb` (when
// given) runs on one more thread from the same start.
double RunClients(Clients& clients, int seconds,
                  const std::function<void(Clock::time_point start)>& disturb = {})
{
    const int count = static_cast<int>(clients.size());
    std::atomic<int> ready{0};
    const auto start = Clock::now();
    const auto until = start + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (auto& client : clients)
        threads.emplace_back([&client, &ready, count, until] {
            // All open the fresh project together: its tables and root row race.
            ++ready;
            while (ready.load() < count)
                std::this_thread::yield();
            client->OpenSharedProjects();
            client->Run(until);
        });
    if (disturb)
        threads.emplace_back([&disturb, start] { disturb(start); });
    for (std::thread& t : threads)
        t.join();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Reports the run and compares every table with what the clients were told.
void CheckEverything(const std::string& path, const Clients& clients, double elapsed)
{
    std::map<Kind, std::vector<const Attempt*>> byKind;
    std::size_t total = 0, stored = 0, inDoubt = 0;
    for (const auto& client : clients) {
        for (const std::string& fault : client->faults())
            ADD_FAILURE() << fault;
        for (const Attempt& a : client->attempts()) {
            byKind[a.kind].push_back(&a);
            ++total;
            stored += a.stored;
            inDoubt += a.inDoubt;
        }
    }
    std::printf(
        "[ reliability ] %zu clients x %zu operations in %.1f s: %.1f operations/s, "
        "%zu stored, %zu reported failed (%zu as the connection broke)\n",
        clients.size(), total, elapsed, total / elapsed, stored, total - stored, inDoubt);
    for (const auto& [kind, list] : byKind) {
        std::size_t ok = 0;
        for (const Attempt* a : list)
            ok += a->stored;
        std::printf("[ reliability ]   %-12s %5zu attempts, %5zu stored\n", KindName(kind),
                    list.size(), ok);
    }
    // Contention must not turn every attempt into a failure.
    for (Kind kind :
         {Kind::Section, Kind::Project, Kind::Node, Kind::Revision, Kind::DrawingSave}) {
        std::size_t ok = 0;
        for (const Attempt* a : byKind[kind])
            ok += a->stored;
        EXPECT_GT(ok, 0u) << KindName(kind) << ": nothing stored at all";
    }

    storage::Database check;
    check.ConnectDatabase(path);
    ASSERT_TRUE(check.Connected());
    CheckTagged(ReadTable(check, "SECTION", 2), 1, byKind[Kind::Section], "SECTION");
    CheckTagged(ReadTable(check, "MEMBER", 3), 2, byKind[Kind::Member], "MEMBER");
    CheckTagged(ReadTable(check, "COMPANY", 3), 1, byKind[Kind::Company], "COMPANY");
    std::vector<storage::Row> projects =
        ReadTable(check, "ZPROJECT", projects::kProjectColumnCount);
    std::erase_if(projects, [](const storage::Row& r) {
        return r[0] == std::to_string(kSharedProject) || r[0] == std::to_string(kOpenedProject);
    });
    CheckTagged(projects, projects::kColPRNAME, byKind[Kind::Project], "ZPROJECT");

    // The tree: every node above 0 carries exactly one drawing row, and no
    // drawing row is left without its node.
    const drawings::ProjectTables shared(kSharedProject);
    std::vector<storage::Row> tree = ReadTable(check, shared.tree, 4);
    const std::vector<storage::Row> drawingRows = ReadTable(check, shared.drawing, 20);
    std::map<std::string, int> drawingCount;
    for (const storage::Row& row : drawingRows)
        ++drawingCount[row[0]];
    std::set<std::string> treeNumbers;
    for (const storage::Row& row : tree) {
        treeNumbers.insert(row[0]);
        if (row[0] != "0") {
            EXPECT_EQ(drawingCount[row[0]], 1) << "node " << row[0] << " (" << row[1] << ")";
        }
    }
    for (const auto& [n, count] : drawingCount)
        EXPECT_TRUE(treeNumbers.count(n)) << "drawing row " << n << " without its node";
    std::erase_if(tree, [](const storage::Row& r) { return r[0] == "0" || r[0] == "1"; });
    CheckTagged(tree, 1, byKind[Kind::Node], shared.tree.c_str());

    std::vector<storage::Row> revisions = ReadTable(check, shared.revision, 5);
    CheckTagged(revisions, 2, byKind[Kind::Revision], shared.revision.c_str());
    for (const Attempt* a : byKind[Kind::Revision]) {
        for (const storage::Row& row : revisions) {
            if (a->stored && row[2] == a->tag) {
                EXPECT_EQ(row[1], std::to_string(a->drawing)) << a->tag << " on another drawing";
            }
        }
    }

    // The shared drawing holds what one of the saves reported stored wrote.
    const std::vector<storage::Row> sharedRow =
        ReadTable(check, shared.drawing, 20, "N=" + std::to_string(kSharedDrawing));
    ASSERT_EQ(sharedRow.size(), 1u);
    bool fromStoredSave = false;
    for (const Attempt* a : byKind[Kind::DrawingSave])
        if ((a->stored || a->inDoubt) && a->tag == sharedRow[0][3])
            fromStoredSave = true;
    EXPECT_TRUE(fromStoredSave) << "shared drawing holds " << sharedRow[0][3];

    // The project opened by all at once: its three tables and one root row.
    const drawings::ProjectTables opened(kOpenedProject);
    for (const std::string& table : {opened.tree, opened.drawing, opened.revision})
        EXPECT_TRUE(check.TableExists(table)) << table;
    const std::vector<storage::Row> openedTree = ReadTable(check, opened.tree, 4);
    ASSERT_EQ(openedTree.size(), 1u);
    EXPECT_EQ(openedTree[0][0], "0");
    EXPECT_EQ(openedTree[0][1], "p2");
}

Clients ConnectClients(const std::string& path, int count)
{
    Clients clients;
    for (int i = 0; i < count; ++i) {
        clients.push_back(std::make_unique<Client>(i, path));
        EXPECT_TRUE(clients.back()->connected()) << "client " << i;
    }
    return clients;
}

class MultiClientTest : public testing_support::ServerDatabaseTest {};

TEST_F(MultiClientTest, ConcurrentPcsLoseNothingAndStoreNothingReportedFailed)
{
    PrepareDatabase(db);
    if (HasFatalFailure())
        return;
    Clients clients = ConnectClients(path, EnvInt("K5X7_RELIABILITY_CLIENTS", 4));
    if (HasFailure())
        return;
    const double elapsed = RunClients(clients, EnvInt("K5X7_RELIABILITY_SECONDS", 20));
    CheckEverything(path, clients, elapsed);
}

// The same run on a server of the test's own that is killed and started again
// while the clients work; they reconnect and carry on.
class MultiClientOutageTest : public testing_support::SecondServerTest {
protected:
    void SetUp() override
    {
        SecondServerTest::SetUp();
        if (!Ready())
            return;
        file = testing_support::ServerTestFolder() +
               QUuid::createUuid().toString(QUuid::Id128).toStdString() + ".FDB";
        path = server_->Path(file);
        storage::Database db;
        db.CreateDatabase(path);
        ASSERT_TRUE(db.Connected()) << "cannot create " << path;
        PrepareDatabase(db);
    }

    void TearDown() override
    {
        if (!file.empty())
            std::remove(file.c_str());
    }

    std::string file;
    std::string path;
};

TEST_F(MultiClientOutageTest, CrashesMidRunLoseNothingAndWorkGoesOnAfterReconnecting)
{
    // Long enough for at least one outage and the way back.
    const int seconds = std::max(EnvInt("K5X7_RELIABILITY_SECONDS", 20), 8);
    const int outages = EnvInt("K5X7_RELIABILITY_OUTAGES", 2);
    Clients clients = ConnectClients(path, EnvInt("K5X7_RELIABILITY_CLIENTS", 4));
    if (HasFailure())
        return;

    // Outages spread over the first two thirds, each a kill, a pause with no
    // server at all, and a start, so the last part runs undisturbed. An outage
    // that would leave the clients too little time to come back is not begun.
    int survived = 0;
    bool startFailed = false;
    Clock::time_point lastRestart{};
    const double elapsed = RunClients(clients, seconds, [&](Clock::time_point start) {
        const auto quiet = start + std::chrono::seconds(seconds) - std::chrono::seconds(3);
        for (int i = 1; i <= outages; ++i) {
            // Never sooner than a second after the last start, so every
            // client has a connection to lose.
            const auto at =
                std::max(start + std::chrono::milliseconds(seconds * 2000 * i / (3 * outages + 1)),
                         lastRestart + std::chrono::seconds(1));
            if (at + std::chrono::milliseconds(1500) > quiet)
                return;
            std::this_thread::sleep_until(at);
            server_->Kill();
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            // Taken before the start: a client may get back in while Start() still waits
            // for the server to answer.
            const Clock::time_point restart = Clock::now();
            if (!server_->Start()) {
                startFailed = true;
                return;
            }
            lastRestart = restart;
            ++survived;
        }
    });
    ASSERT_FALSE(startFailed) << "the server did not start again";
    ASSERT_GT(survived, 0) << "no outage fitted into " << seconds << " s";

    int lost = 0;
    double longest = 0;
    for (const auto& client : clients) {
        lost += client->connectionsLost();
        longest = std::max(longest, client->longestCall());
        // Reconnected after the last restart and went on storing.
        EXPECT_GE(client->lastReconnect(), lastRestart) << "a client never came back";
        EXPECT_GT(client->storedSinceReconnect(), 0);
    }
    EXPECT_LT(longest, kHangSeconds) << "a call hung";
    EXPECT_GE(lost, static_cast<int>(clients.size())) << "the outages did not reach every client";
    std::printf(
        "[ reliability ] %d server crashes mid-run: %d lost connections met and reconnected, "
        "longest call %.2f s\n",
        survived, lost, longest);
    CheckEverything(path, clients, elapsed);
}

}  // namespace
