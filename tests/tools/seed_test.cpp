#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "common/temp_folder.h"
#include "preview/jww_reader.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "storage/settings.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "tools/admin/demo_drawings.h"
#include "tools/admin/demo_office.h"
#include "tools/admin/seeder.h"

using seed::DemoOffice;
using seed::OfficeOptions;
using seed::Project;
using storage::Database;
using storage::Row;
using testing_support::TempFolder;

namespace {

OfficeOptions Options(int projects, int nodes)
{
    OfficeOptions options;
    options.projects = projects;
    options.nodesPerProject = nodes;
    options.filesFolder = "/srv/zumen/";
    return options;
}

// Everything a project holds, flattened, so two projects compare as one text.
std::string Describe(const Project& p)
{
    std::ostringstream s;
    s << p.n << '|' << p.mn << '|' << p.cn << '|' << p.name << '|' << p.title << '|' << p.subtitle
      << '|' << p.memo1 << '|' << p.memo2 << '|' << p.memo3 << '|' << p.due << '|' << p.plannedStart
      << '|' << p.plannedEnd << '|' << p.actualStart << '|' << p.actualEnd << '|' << p.delivered
      << '|' << p.done << '\n';
    for (const auto& n : p.nodes) {
        const auto& d = n.drawing;
        s << n.n << '|' << n.name << '|' << n.mn << '|' << n.parent << '|' << d.fileName << '|'
          << d.number << '|' << d.title << '|' << d.memo1 << '|' << d.made << '|' << d.updated
          << '|' << d.checker << d.checked << '|' << d.approver << d.approved << '|' << d.issuer
          << d.issued << '|' << d.reviser << d.revised << '\n';
    }
    for (const auto& r : p.revisions)
        s << r.n << '|' << r.node << '|' << r.content << '|' << r.reviser << '|' << r.date << '\n';
    return s.str();
}

bool IsCp932(const std::string& bytes)
{
    auto back = text::ToCp932(text::FromCp932(bytes));
    return back && *back == bytes;
}

int Bytes(const std::string& s)
{
    return static_cast<int>(s.size());
}

// A date column: empty, or a real date within the years the demo covers.
bool DemoDate(const std::string& d)
{
    return d.empty() || (text::IsValidDateString(d) && d >= "20250101" && d <= "20271231");
}

// The header layouts, read here independently of the generator.
std::string JwwHeaderText(const std::string& bytes)
{
    if (bytes.compare(0, 8, "JwwData.") != 0)
        return "<no magic>";
    std::size_t at = 12;
    std::size_t length = static_cast<unsigned char>(bytes[at++]);
    if (length == 255) {
        length = static_cast<unsigned char>(bytes[at]) +
                 256u * static_cast<unsigned char>(bytes[at + 1]);
        at += 2;
    }
    return text::CopyMbcs(text::StripQuotes(bytes.substr(at, length)), 1, 80).text;
}

std::string JwcHeaderText(const std::string& bytes)
{
    if (bytes.substr(0, 20) != "jw_cad(c)data.......")
        return "<no magic>";
    auto field = [&](std::size_t at) {
        std::string f = bytes.substr(at, 32);
        return text::StripQuotes(f.substr(0, f.find('\0')));
    };
    return field(40) + " " + field(72);
}

bool EndsWith(const std::string& s, std::string_view tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int RunSeed(const std::vector<std::string>& args, std::string* out = nullptr,
            std::string* err = nullptr)
{
    std::ostringstream o, e;
    int rc = seed::RunSeedCommand(args, o, e);
    if (out)
        *out = o.str();
    if (err)
        *err = e.str();
    return rc;
}

Row FirstRow(Database& db, const std::string& table, const std::string& condition, int columns)
{
    Row row(static_cast<std::size_t>(columns));
    if (db.SelectOrdered("*", table, condition, "") > 0)
        db.FetchFirst(row);
    db.CloseQuery();
    return row;
}

std::vector<Row> AllRows(Database& db, const std::string& table, int columns)
{
    std::vector<Row> rows;
    int count = db.SelectOrdered("*", table, "", "N");
    Row row(static_cast<std::size_t>(columns));
    for (int i = 0; i < count; ++i) {
        i == 0 ? db.FetchFirst(row) : db.FetchNext(row);
        rows.push_back(row);
    }
    db.CloseQuery();
    return rows;
}

}  // namespace

TEST(DemoOfficeTest, SameOptionsGiveTheSameOfficeAndAnotherSeedAnother)
{
    DemoOffice a(Options(30, 20));
    DemoOffice b(Options(30, 20));
    OfficeOptions other = Options(30, 20);
    other.seed += 1;
    DemoOffice c(other);
    int differing = 0;
    for (int n = 1; n <= 30; ++n) {
        EXPECT_EQ(Describe(a.project(n)), Describe(b.project(n))) << "project " << n;
        differing += Describe(a.project(n)) != Describe(c.project(n));
    }
    EXPECT_GT(differing, 20);
    ASSERT_EQ(a.members().size(), b.members().size());
    for (std::size_t i = 0; i < a.members().size(); ++i)
        EXPECT_EQ(a.members()[i].name, b.members()[i].name);
}

TEST(DemoOfficeTest, TreesHaveTheRequestedSizeAndShape)
{
    for (int m : {0, 1, 2, 3, 5, 8, 13, 50}) {
        DemoOffice office(Options(40, m));
        int deepProjects = 0;
        for (int n = 1; n <= 40; ++n) {
            Project p = office.project(n);
            ASSERT_EQ(static_cast<int>(p.nodes.size()), m) << "project " << n;
            std::map<int, const seed::Node*> byNumber;
            int deepest = 0;
            for (std::size_t i = 0; i < p.nodes.size(); ++i) {
                const seed::Node& node = p.nodes[i];
                EXPECT_EQ(node.n, static_cast<int>(i) + 1);
                if (node.parent == 0) {
                    EXPECT_EQ(node.depth, 1);
                } else {
                    // Parents come first, and only folders hold children.
                    ASSERT_TRUE(byNumber.count(node.parent)) << m << "/" << n << "/" << node.n;
                    EXPECT_TRUE(byNumber[node.parent]->folder);
                    EXPECT_EQ(node.depth, byNumber[node.parent]->depth + 1);
                }
                EXPECT_EQ(node.folder, node.drawing.fileName.empty());
                byNumber[node.n] = &node;
                deepest = std::max(deepest, node.depth);
            }
            EXPECT_LE(deepest, 3);
            deepProjects += deepest == 3;
            if (m >= 2) {
                ASSERT_FALSE(p.nodes.empty());
                EXPECT_EQ(p.nodes[0].name, seed::Sjis("意匠図"));
            }
        }
        // From eight nodes on, every project has a sub-folder with a plan in it.
        EXPECT_EQ(deepProjects, m >= 8 ? 40 : 0) << "nodes " << m;
    }
}

TEST(DemoOfficeTest, TextsFitTheirColumnsAndDatesFollowEachOther)
{
    DemoOffice office(Options(1000, 50));
    std::set<std::string> names;
    std::set<std::string> extensions;
    int done = 0, running = 0, stamped = 0, revised = 0;
    for (int n = 1; n <= 1000; ++n) {
        const Project p = office.project(n);
        SCOPED_TRACE("project " + std::to_string(n));
        for (const std::string* t :
             {&p.name, &p.title, &p.subtitle, &p.memo1, &p.memo2, &p.memo3, &p.due})
            ASSERT_TRUE(IsCp932(*t));
        EXPECT_FALSE(p.name.empty());
        EXPECT_LE(Bytes(p.name), 32);
        EXPECT_LE(Bytes(p.title), 80);
        EXPECT_LE(Bytes(p.memo1), 80);
        EXPECT_LE(Bytes(p.due), 16);
        names.insert(p.name);
        EXPECT_TRUE(p.mn >= 1 && p.mn <= 12);
        EXPECT_TRUE(p.cn >= 1 && p.cn <= 8);

        for (const std::string* d :
             {&p.plannedStart, &p.plannedEnd, &p.actualStart, &p.actualEnd, &p.delivered})
            EXPECT_TRUE(DemoDate(*d)) << *d;
        EXPECT_FALSE(p.plannedStart.empty());
        EXPECT_LE(p.plannedStart, p.plannedEnd);
        if (!p.actualEnd.empty()) {
            EXPECT_LE(p.actualStart, p.actualEnd);
        }
        if (p.done) {
            ++done;
            EXPECT_FALSE(p.actualEnd.empty());
            EXPECT_LE(p.actualEnd, p.delivered);
        } else {
            EXPECT_TRUE(p.delivered.empty());
        }
        running += !p.actualStart.empty() && p.actualEnd.empty();

        std::map<int, std::vector<const seed::Revision*>> revisionsOf;
        std::set<int> revisionNumbers;
        for (const auto& r : p.revisions) {
            EXPECT_TRUE(revisionNumbers.insert(r.n).second);
            EXPECT_TRUE(DemoDate(r.date));
            EXPECT_LE(Bytes(r.content), 80);
            revisionsOf[r.node].push_back(&r);
        }
        for (const auto& node : p.nodes) {
            const seed::Drawing& d = node.drawing;
            EXPECT_LE(Bytes(node.name), 32);
            EXPECT_TRUE(IsCp932(node.name));
            for (const std::string* t :
                 {&d.number, &d.title, &d.subtitle, &d.memo1, &d.memo2, &d.memo3}) {
                EXPECT_LE(Bytes(*t), 80);
                EXPECT_TRUE(IsCp932(*t));
            }
            if (node.folder) {
                EXPECT_EQ(d.mn, 0);
                EXPECT_TRUE(d.pathName.empty());
                continue;
            }
            EXPECT_EQ(d.pathName, "/srv/zumen/");
            EXPECT_EQ(node.mn, d.mn);
            extensions.insert(d.fileName.substr(d.fileName.rfind('.')));
            // Each stamp needs the one before it, and none predates it.
            std::vector<std::pair<int, std::string>> chain{{d.mn, d.made},
                                                           {d.mn, d.updated},
                                                           {d.checker, d.checked},
                                                           {d.approver, d.approved},
                                                           {d.issuer, d.issued}};
            std::string previous;
            bool gap = false;
            for (const auto& [member, date] : chain) {
                EXPECT_TRUE(DemoDate(date)) << date;
                EXPECT_EQ(member == 0, date.empty());
                if (date.empty()) {
                    gap = true;
                    continue;
                }
                EXPECT_FALSE(gap) << "a stamp without the one before it at node " << node.n;
                EXPECT_LE(previous, date);
                previous = date;
            }
            stamped += d.issuer != 0;
            const auto& own = revisionsOf[node.n];
            if (own.empty()) {
                EXPECT_EQ(d.reviser, 0);
                EXPECT_TRUE(d.revised.empty());
            } else {
                ++revised;
                EXPECT_NE(d.issuer, 0);
                const seed::Revision* latest = own.front();
                for (const auto* r : own) {
                    EXPECT_LE(d.issued, r->date);
                    if (std::tie(r->date, r->n) > std::tie(latest->date, latest->n))
                        latest = r;
                }
                EXPECT_EQ(d.reviser, latest->reviser);
                EXPECT_EQ(d.revised, latest->date);
            }
        }
        for (const auto& [node, list] : revisionsOf) {
            ASSERT_TRUE(node >= 1 && node <= 50);
            EXPECT_FALSE(p.nodes[static_cast<std::size_t>(node - 1)].folder);
        }
    }
    // Names repeat only after every combination was used once.
    EXPECT_EQ(names.size(), 1000u);
    EXPECT_GT(done, 100);
    EXPECT_GT(running, 50);
    EXPECT_GT(stamped, 1000);
    EXPECT_GT(revised, 500);
    EXPECT_EQ(extensions, (std::set<std::string>{".jwc", ".jww", ".pdf", ".txt"}));
}

TEST(DemoOfficeTest, BuiltInTextsAllHaveCp932FormsAndOneNameHasByte5C)
{
    for (std::string_view t : seed::BuiltInTexts())
        EXPECT_TRUE(text::ToCp932(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()))))
            << t;
    DemoOffice office(Options(1, 1));
    ASSERT_EQ(office.members().size(), 12u);
    EXPECT_EQ(office.members().back().name, "\x94\x5C\x90\xA8\x81\x40\x8F\x5C\x8E\x4F");
    for (const auto& m : office.members())
        EXPECT_LE(Bytes(m.name), 16);
    for (const auto& c : office.companies()) {
        EXPECT_LE(Bytes(c.name), 32);
        EXPECT_LE(Bytes(c.department), 32);
    }
}

TEST(SampleFilesTest, DrawingFilesAreWholeAndCarryTheHeaderTextTheirFirstMemoHolds)
{
    DemoOffice office(Options(60, 50));
    std::map<std::string, std::string> files;
    for (const auto& f : office.sampleFiles()) {
        EXPECT_TRUE(files.emplace(f.name, f.bytes).second) << "duplicate " << f.name;
        EXPECT_LE(Bytes(f.name), 32) << "a node name is the file name cut to 32 bytes";
    }
    int jww = 0, jwc = 0, longForm = 0;
    for (int n = 1; n <= 60; ++n) {
        for (const auto& node : office.project(n).nodes) {
            if (node.folder)
                continue;
            const auto& d = node.drawing;
            ASSERT_TRUE(files.count(d.fileName)) << d.fileName;
            const std::string& bytes = files[d.fileName];
            if (EndsWith(d.fileName, ".jww")) {
                ++jww;
                EXPECT_EQ(d.memo1, JwwHeaderText(bytes));
                // A whole drawing, so that its preview shows a sheet, not an error.
                const auto drawing = preview::ReadJwCad(bytes);
                ASSERT_TRUE(drawing && drawing->complete) << d.fileName;
                EXPECT_GT(drawing->entities.size(), 20u) << d.fileName;
                longForm += static_cast<unsigned char>(bytes[12]) == 255;
            } else if (EndsWith(d.fileName, ".jwc")) {
                ++jwc;
                EXPECT_EQ(d.memo1, JwcHeaderText(bytes));
            }
            EXPECT_FALSE(d.memo1.empty());
        }
    }
    EXPECT_GT(jww, 100);
    EXPECT_GT(jwc, 10);
    EXPECT_GT(longForm, 0) << "one header should need the two-byte length";

    // The long form keeps its whole text, and the memo is cut to 80 bytes.
    std::string memo(300, 'x');
    std::string bytes = seed::JwwFileBytes(memo);
    EXPECT_EQ(static_cast<unsigned char>(bytes[12]), 255);
    EXPECT_EQ(static_cast<unsigned char>(bytes[13]), 300 % 256);
    EXPECT_EQ(static_cast<unsigned char>(bytes[14]), 1);
    EXPECT_EQ(bytes.substr(15, 300), memo);
    EXPECT_EQ(seed::JwwMemo(memo), std::string(80, 'x'));
    // Fields longer than 32 bytes keep whole characters; quotes are not taken.
    std::string wide = seed::Sjis("あいうえおかきくけこさしすせそたち");  // 34 bytes
    std::string header = seed::JwcFileBytes(wide, "O'K");
    EXPECT_EQ(header.substr(40, 32), wide.substr(0, 32));
    EXPECT_EQ(JwcHeaderText(header), wide.substr(0, 32) + " OK");
    EXPECT_EQ(seed::JwcMemo(wide, "O'K"), wide.substr(0, 32) + " OK");

    int pdfs = 0;
    for (const auto& [name, content] : files) {
        if (!EndsWith(name, ".pdf"))
            continue;
        ++pdfs;
        EXPECT_EQ(content.substr(0, 8), "%PDF-1.4");
        EXPECT_TRUE(EndsWith(content, "%%EOF\n"));
        std::size_t at = content.rfind("startxref\n");
        ASSERT_NE(at, std::string::npos);
        std::size_t xref = std::stoul(content.substr(at + 10));
        EXPECT_EQ(content.substr(xref, 4), "xref");
    }
    EXPECT_GE(pdfs, 3);
}

TEST(PathTest, DatabasePathsSplitIntoServerFolderAndName)
{
    struct Case {
        std::string path;
        bool server;
        std::string s, f, n;
    };
    const Case cases[] = {
        {"localhost:/x/y/Z.FDB", true, "localhost:", "/x/y/", "Z.FDB"},
        {"/tmp/a/ZUMENDB.FDB", false, "", "/tmp/a/", "ZUMENDB.FDB"},
        {"192.168.0.2:D:\\db\\Z.FDB", true, "192.168.0.2:", "D:\\db\\", "Z.FDB"},
        {"C:\\db\\Z.FDB", false, "", "C:\\db\\", "Z.FDB"},
        {"Z.FDB", false, "", "", "Z.FDB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(seed::IsServerPath(c.path), c.server) << c.path;
        seed::DatabaseLocation l = seed::SplitDatabasePath(c.path);
        EXPECT_EQ(l.server, c.s) << c.path;
        EXPECT_EQ(l.folder, c.f) << c.path;
        EXPECT_EQ(l.name, c.n) << c.path;
    }
    EXPECT_EQ(seed::AbsoluteDatabasePath("localhost:db/Z.FDB"), "localhost:db/Z.FDB");
    EXPECT_EQ(seed::AbsoluteDatabasePath("/a/b/../c/Z.FDB"), "/a/c/Z.FDB");
    EXPECT_EQ(seed::AbsoluteDatabasePath("rel/Z.FDB").front(), '/');
    EXPECT_EQ(seed::DefaultFilesFolder("/tmp/a/Z.FDB"), "/tmp/a/files/");
    EXPECT_EQ(seed::DefaultFilesFolder("LOCALHOST:/x/y/Z.FDB"), "/x/y/files/");
    EXPECT_EQ(seed::DefaultFilesFolder("10.0.0.5:/x/y/Z.FDB"), "");
}

TEST(CommandLineTest, OptionsDefaultsAndMistakes)
{
    std::string error;
    auto c = seed::ParseCommandLine({"/d/Z.FDB"}, error);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->database, "/d/Z.FDB");
    EXPECT_EQ(c->projects, 12);
    EXPECT_EQ(c->nodesPerProject, 8);
    EXPECT_EQ(c->filesFolder, "");
    EXPECT_EQ(c->settingsFile, "");

    c = seed::ParseCommandLine({"--projects", "2000", "/d/Z.FDB", "--nodes-per-project=50",
                                "--files-folder", "/f", "--pc-user-settings=/s/k5x7.dat"},
                               error);
    ASSERT_TRUE(c) << error;
    EXPECT_EQ(c->projects, 2000);
    EXPECT_EQ(c->nodesPerProject, 50);
    EXPECT_EQ(c->filesFolder, "/f");
    EXPECT_EQ(c->settingsFile, "/s/k5x7.dat");

    const std::vector<std::vector<std::string>> wrong{
        {},
        {"--projects", "3"},
        {"/d/Z.FDB", "--projects"},
        {"/d/Z.FDB", "--projects", "-1"},
        {"/d/Z.FDB", "--projects", "12x"},
        {"/d/Z.FDB", "--nodes-per-project", "99999999999"},
        {"/d/Z.FDB", "--colour", "red"},
        {"/d/Z.FDB", "/e/Z.FDB"},
        {"/d/Z.FDB", "--files-folder="},
    };
    for (const auto& args : wrong) {
        error.clear();
        EXPECT_FALSE(seed::ParseCommandLine(args, error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
    std::string out, err;
    EXPECT_EQ(RunSeed({"--projects", "x", "/d/Z.FDB"}, &out, &err), 2);
    EXPECT_NE(err.find("使い方:"), std::string::npos);
    EXPECT_EQ(RunSeed({"--help"}, &out, &err), 0);
    EXPECT_NE(out.find("--nodes-per-project"), std::string::npos);
}

class SeedTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string path = folder.file("db/ZUMENDB.FDB");
    std::string files = folder.file("files/");
};

TEST_F(SeedTest, SmallOfficeLandsWithEveryRowAndFile)
{
    std::string out, err;
    ASSERT_EQ(
        RunSeed({path, "--projects", "3", "--nodes-per-project", "8", "--files-folder", files},
                &out, &err),
        0)
        << err;
    EXPECT_NE(out.find("プロジェクト 3、節 24"), std::string::npos) << out;

    DemoOffice office(Options(3, 8));
    Database db;
    db.ConnectDatabase(path);
    ASSERT_TRUE(db.Connected());
    EXPECT_EQ(db.SelectAllWhere("SECTION", ""), 6);
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 12);
    EXPECT_EQ(db.SelectAllWhere("COMPANY", ""), 8);
    EXPECT_EQ(db.SelectAllWhere("ZPROJECT", ""), 3);

    // CP932 comes back byte for byte, 0x5C second bytes included.
    Row member = FirstRow(db, "MEMBER", "N=12", storage::kMemberColumns);
    EXPECT_EQ(member[2], seed::Sjis("能勢　十三"));
    EXPECT_EQ(member[1], "6");

    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE("project " + std::to_string(n));
        const std::string tree = "ZPRJ_" + std::to_string(n);
        const std::string drawings = "ZMN_" + std::to_string(n);
        const Project expected = office.project(n);
        Row project = FirstRow(db, "ZPROJECT", "N=" + std::to_string(n), storage::kProjectColumns);
        EXPECT_EQ(project[3], expected.name);
        EXPECT_EQ(project[10], expected.plannedStart);
        EXPECT_EQ(project[15], std::to_string(expected.done));

        Row root = FirstRow(db, tree, "N=0", storage::kNameTreeColumns);
        EXPECT_EQ(root[1], project[3]) << "the project node carries the project's name";
        EXPECT_EQ(root[2], project[1]);
        EXPECT_EQ(root[3], "0");

        std::vector<Row> nodes = AllRows(db, tree, storage::kNameTreeColumns);
        ASSERT_EQ(nodes.size(), 9u);
        EXPECT_EQ(db.SelectAllWhere(drawings, ""), 8);
        for (const Row& node : nodes) {
            if (node[0] == "0")
                continue;
            EXPECT_EQ(db.SelectAllWhere(drawings, "N=" + node[0]), 1) << "node " << node[0];
        }
        std::vector<Row> rows = AllRows(db, drawings, storage::kDrawingColumns);
        for (const Row& row : rows) {
            if (row[1].empty())
                continue;
            // The registered file is where its record says.
            EXPECT_EQ(row[2], files);
            QFile file(text::FromCp932(row[2] + row[1]));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row[1];
            std::string bytes = file.readAll().toStdString();
            if (EndsWith(row[1], ".jww")) {
                EXPECT_EQ(row[6], JwwHeaderText(bytes));
            } else if (EndsWith(row[1], ".jwc")) {
                EXPECT_EQ(row[6], JwcHeaderText(bytes));
            }
        }
        std::vector<Row> revisions = AllRows(db, "REV_" + std::to_string(n), 5);
        ASSERT_EQ(revisions.size(), expected.revisions.size());
        for (std::size_t i = 0; i < revisions.size(); ++i) {
            EXPECT_EQ(revisions[i][0], std::to_string(expected.revisions[i].n));
            EXPECT_EQ(revisions[i][2], expected.revisions[i].content);
            EXPECT_EQ(db.SelectAllWhere(drawings, "N=" + revisions[i][1]), 1);
        }
    }
}

TEST_F(SeedTest, SecondRunAndNonEmptyDatabasesAreRefused)
{
    ASSERT_EQ(RunSeed({path, "--projects", "2", "--files-folder", files}), 0);
    std::string err;
    EXPECT_EQ(RunSeed({path, "--projects", "5", "--files-folder", files}, nullptr, &err), 1);
    EXPECT_NE(err.find("ZPROJECT に既に 2 行あります"), std::string::npos) << err;
    {
        Database db;
        db.ConnectDatabase(path);
        EXPECT_EQ(db.SelectAllWhere("ZPROJECT", ""), 2);
        EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 12);
        EXPECT_FALSE(db.TableExists("ZPRJ_3"));
    }

    // Members typed in by hand are not mixed with demo ones.
    TempFolder other;
    const std::string second = other.file("Z.FDB");
    {
        Database db;
        db.CreateDatabase(second);
        ASSERT_TRUE(storage::CreateMemberTable(db));
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"1", "0", "'X'"}));
    }
    EXPECT_EQ(RunSeed({second, "--files-folder", other.file("f/")}, nullptr, &err), 1);
    EXPECT_NE(err.find("MEMBER"), std::string::npos) << err;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(other.file("f/"))))
        << "nothing is written when seeding is refused";
}

TEST_F(SeedTest, LeftoverProjectTablesAreReusedWhenEmptyAndRefusedWhenNot)
{
    {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder.file("db"))));
        Database db;
        db.CreateDatabase(path);
        ASSERT_TRUE(db.Connected());
        ASSERT_TRUE(storage::CreateDrawingTable(db, "ZMN_1"));
        ASSERT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_2"));
        ASSERT_TRUE(
            db.InsertRow("ZPRJ_2", {"N", "NAME", "MN", "PARENT_N"}, {"0", "'old'", "0", "0"}));
    }
    std::string err;
    EXPECT_EQ(RunSeed({path, "--projects", "2", "--files-folder", files}, nullptr, &err), 1);
    EXPECT_NE(err.find("ZPRJ_2 に既に行があります"), std::string::npos) << err;

    {
        Database db;
        db.ConnectDatabase(path);
        ASSERT_TRUE(db.DeleteRows("ZPRJ_2", ""));
    }
    ASSERT_EQ(
        RunSeed({path, "--projects", "2", "--nodes-per-project", "4", "--files-folder", files},
                nullptr, &err),
        0)
        << err;
    Database db;
    db.ConnectDatabase(path);
    EXPECT_EQ(db.SelectAllWhere("ZMN_1", ""), 4);
    EXPECT_EQ(db.SelectAllWhere("ZPRJ_2", ""), 5);
}

TEST_F(SeedTest, UnreachableDatabaseFailsWithAMessage)
{
    std::string out, err;
    EXPECT_EQ(RunSeed({"/proc/k5x7-none/ZUMENDB.FDB", "--files-folder", files}, &out, &err), 1);
    EXPECT_NE(err.find("データベースに接続も作成もできません: /proc/k5x7-none/ZUMENDB.FDB"),
              std::string::npos)
        << err;
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(RunSeed({"10.255.255.1:/db/Z.FDB"}, &out, &err), 1);
    EXPECT_NE(err.find("--files-folder"), std::string::npos) << err;
}

TEST_F(SeedTest, SettingsFilePointsAtTheDatabaseAndKeepsTheRest)
{
    const std::string settingsFile = folder.file("app/k5x7.dat");
    {
        storage::Settings before;
        before.ListWidth = 777;
        before.ChartStartDate = "20250101";
        before.PcUserNo = 9;
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder.file("app"))));
        ASSERT_TRUE(storage::WriteSettings(settingsFile, before));
    }
    std::string err;
    ASSERT_EQ(RunSeed({path, "--projects", "1", "--files-folder", files, "--pc-user-settings",
                       settingsFile},
                      nullptr, &err),
              0)
        << err;
    storage::Settings after;
    storage::ReadSettings(settingsFile, folder.file("app/"), after);
    EXPECT_EQ(after.DbServer, "");
    EXPECT_EQ(after.DbFolder, folder.file("db/"));
    EXPECT_EQ(after.DbName, "ZUMENDB.FDB");
    EXPECT_EQ(after.PcUserNo, 1);
    EXPECT_EQ(after.PcUserName, seed::Sjis("山田　太郎"));
    EXPECT_EQ(after.ListWidth, 777);
    EXPECT_EQ(after.ChartStartDate, "20250101");

    // The path the application forms from the file reaches the seeded database.
    Database db;
    db.ConnectDatabase(storage::DatabasePath(after));
    ASSERT_TRUE(db.Connected());
    Row member = FirstRow(db, "MEMBER", "N=" + std::to_string(after.PcUserNo), 3);
    EXPECT_EQ(member[2], after.PcUserName);

    // A server path is split at its host.
    ASSERT_TRUE(
        seed::WritePcUserSettings(settingsFile, "localhost:/x/y/Z.FDB", seed::Member{4, 2, "abc"}));
    storage::ReadSettings(settingsFile, folder.file("app/"), after);
    EXPECT_EQ(after.DbServer, "localhost:");
    EXPECT_EQ(after.DbFolder, "/x/y/");
    EXPECT_EQ(after.DbName, "Z.FDB");
    EXPECT_EQ(after.PcUserNo, 4);
    EXPECT_EQ(after.PcUserName, "abc");
    EXPECT_EQ(after.ListWidth, 777);

    // A new file opens the demo's windows wide enough to show its data.
    const std::string fresh = folder.file("new/k5x7.dat");
    ASSERT_TRUE(seed::WritePcUserSettings(fresh, path, seed::Member{1, 1, "abc"}));
    storage::ReadSettings(fresh, folder.file("new/"), after);
    EXPECT_GT(after.ListColWidths[1], storage::Settings().ListColWidths[1]);
    EXPECT_GT(after.DetailWidth, storage::Settings().DetailWidth);
    EXPECT_EQ(after.DbFolder, folder.file("db/"));
}

TEST_F(SeedTest, IsqlSeesTheSeededProjects)
{
    const QString isql = "/usr/bin/isql-fb";
    if (!QFileInfo(isql).isExecutable())
        GTEST_SKIP() << "isql-fb is not installed";
    // The seeder detaches before it returns; the embedded engine would otherwise
    // keep the file from another process.
    ASSERT_EQ(
        RunSeed({path, "--projects", "7", "--nodes-per-project", "3", "--files-folder", files}), 0);
    QProcess process;
    process.start(
        isql, {"-user", "SYSDBA", "-password", "tidewater", "-q", QString::fromStdString(path)});
    ASSERT_TRUE(process.waitForStarted());
    process.write("SELECT COUNT(*) FROM ZPROJECT;\nSELECT COUNT(*) FROM ZMN_7;\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QRegularExpression count("=+\\s+(\\d+)");
    auto it = count.globalMatch(output);
    QStringList numbers;
    while (it.hasNext())
        numbers << it.next().captured(1);
    EXPECT_EQ(numbers, (QStringList{"7", "3"})) << output.toStdString();
}

TEST(StatementBatchTest, SplitsIntoBlocksAndDoublesQuotesOnce)
{
    TempFolder folder;
    Database db;
    db.CreateDatabase(folder.file("B.FDB"));
    ASSERT_TRUE(db.Connected());
    ASSERT_TRUE(storage::CreateSectionTable(db));
    std::vector<std::string> sent;
    db.SetStatementObserver([&](std::string_view s) { sent.emplace_back(s); });
    {
        seed::StatementBatch batch(db, 3);
        for (int n = 1; n <= 7; ++n)
            ASSERT_TRUE(
                batch.AddInsert("SECTION", "N,SNAME",
                                {std::to_string(n), text::SqlText("O'Neil " + std::to_string(n))}));
        ASSERT_TRUE(batch.Flush());
        EXPECT_EQ(batch.blocksSent(), 3);
    }
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0],
              "EXECUTE BLOCK AS\r\nBEGIN\r\n"
              "  EXECUTE STATEMENT 'INSERT INTO SECTION (N,SNAME) VALUES (1,''O''''Neil 1'')';\r\n"
              "  EXECUTE STATEMENT 'INSERT INTO SECTION (N,SNAME) VALUES (2,''O''''Neil 2'')';\r\n"
              "  EXECUTE STATEMENT 'INSERT INTO SECTION (N,SNAME) VALUES (3,''O''''Neil 3'')';\r\n"
              "END\r\n");
    db.SetStatementObserver({});
    std::vector<Row> rows = AllRows(db, "SECTION", 2);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[6][1], "O'Neil 7");

    // A byte limit splits as well; a failing block stops the batch.
    seed::StatementBatch small(db, 100, 120);
    ASSERT_TRUE(small.AddInsert("SECTION", "N,SNAME", {"8", "'a'"}));
    ASSERT_TRUE(small.AddInsert("SECTION", "N,SNAME", {"9", "'b'"}));
    EXPECT_EQ(small.blocksSent(), 1);
    ASSERT_TRUE(small.AddInsert("SECTION", "N,SNAME", {"1", "'duplicate'"}));
    EXPECT_FALSE(small.Flush());
    EXPECT_TRUE(small.failed());
    EXPECT_FALSE(small.AddInsert("SECTION", "N,SNAME", {"10", "'c'"}));
    EXPECT_EQ(db.SelectAllWhere("SECTION", ""), 9);
}

TEST(SeedDatabaseTest, TablesAreMadeWithTheApplicationsOwnStatements)
{
    TempFolder folder;
    Database db;
    db.CreateDatabase(folder.file("T.FDB"));
    ASSERT_TRUE(db.Connected());
    std::string all;
    db.SetStatementObserver([&](std::string_view s) { all.append(s).append("\n--\n"); });
    seed::SeedOutcome outcome = seed::SeedDatabase(db, DemoOffice(Options(2, 2)));
    db.SetStatementObserver({});
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(outcome.counts.projects, 2);
    EXPECT_EQ(outcome.counts.nodes, 4);
    for (const auto& lines : {storage::SectionTableLines(), storage::MemberTableLines(),
                              storage::CompanyTableLines(), storage::ProjectTableLines()})
        EXPECT_NE(all.find(storage::JoinStatement(lines) + "\n--\n"), std::string::npos)
            << lines.front();
    for (const auto& lines :
         {storage::NameTreeTableLines("ZPRJ_2"), storage::DrawingTableLines("ZMN_2"),
          storage::RevisionTableLines("REV_2")})
        EXPECT_NE(all.find("EXECUTE STATEMENT " + text::SqlText(storage::JoinStatement(lines))),
                  std::string::npos)
            << lines.front();
    EXPECT_TRUE(db.TableExists("REV_1"));
    EXPECT_TRUE(db.TableExists("REV_2"));
    EXPECT_FALSE(db.TableExists("REV_3"));
    // Seeding the same database again is refused before anything is sent.
    all.clear();
    db.SetStatementObserver([&](std::string_view s) { all.append(s); });
    outcome = seed::SeedDatabase(db, DemoOffice(Options(2, 2)));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(all.find("INSERT"), std::string::npos);
    EXPECT_EQ(all.find("CREATE"), std::string::npos);
}
