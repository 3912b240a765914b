#include "tools/admin/seeder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <set>

#include "storage/database.h"
#include "storage/schema.h"
#include "storage/service_manager.h"
#include "storage/settings.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "tools/admin/seed_texts.h"

namespace seed {

namespace {

QString Local(std::string_view s)
{
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

std::string FromLocal(const QString& s)
{
    return s.toLocal8Bit().toStdString();
}

std::string Text(const std::string& value)
{
    return value.empty() ? std::string("NULL") : text::SqlText(value);
}

std::string Int(int value)
{
    return std::to_string(value);
}

std::string WithSeparator(QString folder)
{
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return FromLocal(folder);
}

bool IsLocalServer(std::string_view server)
{
    return QString::fromLatin1(server.data(), static_cast<qsizetype>(server.size()))
               .compare("localhost:", Qt::CaseInsensitive) == 0;
}

std::set<std::string> ExistingTables(storage::Database& db)
{
    std::set<std::string> names;
    if (!db.OpenQuery({storage::kTableNamesQuery}))
        return names;
    for (bool row = db.QueryFirst(); row && !db.QueryEof(); row = db.QueryNext()) {
        std::string name = db.QueryRow().empty() ? std::string() : db.QueryRow()[0];
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        names.insert(name);
    }
    db.CloseQuery();
    return names;
}

struct ProjectTables {
    std::string tree;
    std::string drawings;
    std::string revisions;
};

ProjectTables TablesOf(int n)
{
    return {"ZPRJ_" + Int(n), "ZMN_" + Int(n), "REV_" + Int(n)};
}

constexpr const char* kFixedTables[] = {"ZPROJECT", "SECTION", "MEMBER", "COMPANY"};

constexpr std::string_view kTreeColumns = "N,NAME,MN,PARENT_N";
constexpr std::string_view kDrawingColumns =
    "N,FILE_NAME,PATH_NAME,ZUMENN,MTITLE,STITLE,MEMO1,MEMO2,MEMO3,MN,DDATE,UDATE,"
    "KN,KDATE,AN,ADATE,PN,PDATE,RN,RDATE";
constexpr std::string_view kRevisionColumns = "N,ZN,CONT,RN,RDATE";
constexpr std::string_view kProjectColumns =
    "N,MN,CN,PRNAME,MTITLE,STITLE,MEMO1,MEMO2,MEMO3,NOUKI,PDATE1,PDATE2,DATE1,DATE2,NDATE,ENDF";

std::vector<std::string> DrawingValues(int n, const Drawing& d)
{
    return {Int(n),           Text(d.fileName), Text(d.pathName), Text(d.number),  Text(d.title),
            Text(d.subtitle), Text(d.memo1),    Text(d.memo2),    Text(d.memo3),   Int(d.mn),
            Text(d.made),     Text(d.updated),  Int(d.checker),   Text(d.checked), Int(d.approver),
            Text(d.approved), Int(d.issuer),    Text(d.issued),   Int(d.reviser),  Text(d.revised)};
}

std::vector<std::string> ProjectValues(const Project& p)
{
    return {Int(p.n),
            Int(p.mn),
            Int(p.cn),
            Text(p.name),
            Text(p.title),
            Text(p.subtitle),
            Text(p.memo1),
            Text(p.memo2),
            Text(p.memo3),
            Text(p.due),
            Text(p.plannedStart),
            Text(p.plannedEnd),
            Text(p.actualStart),
            Text(p.actualEnd),
            Text(p.delivered),
            Int(p.done)};
}

SeedOutcome Failure(std::string message, SeedCounts counts = {}, int blocks = 0)
{
    return {false, std::move(message), counts, blocks};
}

// Tables of this many projects are created in one commit.
constexpr int kProjectsPerDdlBlock = 100;

}  // namespace

bool IsServerPath(std::string_view path)
{
    return storage::IsServerPath(path);
}

DatabaseLocation SplitDatabasePath(std::string_view path)
{
    DatabaseLocation location;
    std::string_view rest = path;
    if (IsServerPath(path)) {
        std::size_t colon = path.find(':');
        location.server = std::string(path.substr(0, colon + 1));
        rest = path.substr(colon + 1);
    }
    std::size_t slash = rest.find_last_of("/\\");
    if (slash == std::string_view::npos) {
        location.name = std::string(rest);
    } else {
        location.folder = std::string(rest.substr(0, slash + 1));
        location.name = std::string(rest.substr(slash + 1));
    }
    return location;
}

std::string AbsoluteDatabasePath(const std::string& path)
{
    if (IsServerPath(path))
        return path;
    return FromLocal(QDir::toNativeSeparators(QFileInfo(Local(path)).absoluteFilePath()));
}

std::string DefaultFilesFolder(const std::string& databasePath)
{
    DatabaseLocation location = SplitDatabasePath(databasePath);
    if (!location.server.empty() && !IsLocalServer(location.server))
        return {};
    QString folder = Local(location.folder);
    if (folder.isEmpty())
        folder = QDir::currentPath();
    return WithSeparator(QDir(folder).absoluteFilePath("files"));
}

StatementBatch::StatementBatch(storage::Database& db, int maxStatements, std::size_t maxBytes)
    : db_(db), maxStatements_(std::max(1, maxStatements)), maxBytes_(maxBytes)
{}

bool StatementBatch::Add(std::string_view statement)
{
    if (failed_)
        return false;
    std::string line = "  EXECUTE STATEMENT " + text::SqlText(statement) + ";";
    if (!lines_.empty() &&
        (static_cast<int>(lines_.size()) >= maxStatements_ || bytes_ + line.size() > maxBytes_)) {
        if (!Flush())
            return false;
    }
    bytes_ += line.size() + 2;
    lines_.push_back(std::move(line));
    return true;
}

bool StatementBatch::AddInsert(std::string_view table, std::string_view columns,
                               const std::vector<std::string>& values)
{
    std::string statement = "INSERT INTO ";
    statement.append(table).append(" (").append(columns).append(") VALUES (");
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            statement += ',';
        statement += values[i];
    }
    statement += ")";
    return Add(statement);
}

bool StatementBatch::Flush()
{
    if (failed_)
        return false;
    if (lines_.empty())
        return true;
    storage::Lines block;
    block.reserve(lines_.size() + 3);
    block.push_back("EXECUTE BLOCK AS");
    block.push_back("BEGIN");
    for (auto& line : lines_)
        block.push_back(std::move(line));
    block.push_back("END");
    lines_.clear();
    bytes_ = 0;
    ++blocks_;
    if (!db_.ExecuteDdl(block))
        failed_ = true;
    return !failed_;
}

std::string RefusalReason(storage::Database& db, const DemoOffice& office)
{
    if (!db.Connected())
        return texts::kNotAttached;
    for (const char* table : kFixedTables) {
        if (!db.TableExists(table))
            continue;
        int rows = db.SelectAllWhere(table, "");
        if (rows != 0)
            return rows < 0 ? table + std::string(texts::kRowsUnreadable)
                            : table + std::string(texts::kAlreadyHolds) + std::to_string(rows) +
                                  texts::kRowsOnlyEmpty;
    }
    const std::set<std::string> existing = ExistingTables(db);
    for (int n = 1; n <= office.options().projects; ++n) {
        ProjectTables t = TablesOf(n);
        for (const std::string& name : {t.tree, t.drawings, t.revisions})
            if (existing.count(name) && db.SelectAllWhere(name, "") != 0)
                return name + texts::kTableHoldsRows;
    }
    return {};
}

SeedOutcome WriteSampleFiles(const DemoOffice& office, const std::string& folder)
{
    SeedCounts counts;
    QDir dir(Local(folder));
    if (!QDir().mkpath(dir.absolutePath()))
        return Failure(texts::kCannotMakeFilesFolder + folder);
    for (const SampleFile& file : office.sampleFiles()) {
        QFile out(dir.absoluteFilePath(text::FromCp932(file.name)));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(file.bytes.data(), static_cast<qint64>(file.bytes.size())) !=
                static_cast<qint64>(file.bytes.size()))
            return Failure(texts::kCannotWrite + FromLocal(out.fileName()), counts);
        ++counts.files;
    }
    return {true, {}, counts, 0};
}

SeedOutcome SeedDatabase(storage::Database& db, const DemoOffice& office)
{
    if (std::string reason = RefusalReason(db, office); !reason.empty())
        return Failure(reason);

    using Creator = bool (*)(storage::Database&);
    const std::pair<const char*, Creator> fixed[] = {
        {"SECTION", storage::CreateSectionTable},
        {"MEMBER", storage::CreateMemberTable},
        {"COMPANY", storage::CreateCompanyTable},
        {"ZPROJECT", storage::CreateProjectTable},
    };
    for (const auto& [name, create] : fixed)
        if (!db.TableExists(name) && !create(db))
            return Failure(texts::kCannotCreateTable + std::string(name));

    SeedCounts counts;
    int blocks = 0;
    StatementBatch batch(db);
    for (const Section& s : office.sections()) {
        batch.AddInsert("SECTION", "N,SNAME", {Int(s.n), Text(s.name)});
        ++counts.sections;
    }
    for (const Member& m : office.members()) {
        batch.AddInsert("MEMBER", "N,SN,PNAME", {Int(m.n), Int(m.section), Text(m.name)});
        ++counts.members;
    }
    for (const Company& c : office.companies()) {
        batch.AddInsert("COMPANY", "N,CNAME,BNAME", {Int(c.n), Text(c.name), Text(c.department)});
        ++counts.companies;
    }

    const std::set<std::string> existing = ExistingTables(db);
    std::vector<std::vector<std::string>> projectRows;
    const int projects = office.options().projects;
    for (int first = 1; first <= projects; first += kProjectsPerDdlBlock) {
        const int last = std::min(projects, first + kProjectsPerDdlBlock - 1);
        // A table becomes usable when its creating transaction commits, so each
        // group's tables are committed before any of its rows is sent.
        StatementBatch ddl(db);
        for (int n = first; n <= last; ++n) {
            const ProjectTables t = TablesOf(n);
            if (!existing.count(t.tree))
                ddl.Add(storage::JoinStatement(storage::NameTreeTableLines(t.tree)));
            if (!existing.count(t.drawings))
                ddl.Add(storage::JoinStatement(storage::DrawingTableLines(t.drawings)));
            if (!existing.count(t.revisions))
                ddl.Add(storage::JoinStatement(storage::RevisionTableLines(t.revisions)));
        }
        if (!ddl.Flush())
            return Failure(
                texts::kCannotCreateProjectTables + Int(first) + texts::kRangeSeparator + Int(last),
                counts, batch.blocksSent() + ddl.blocksSent());
        blocks += ddl.blocksSent();

        for (int n = first; n <= last; ++n) {
            const Project p = office.project(n);
            const ProjectTables t = TablesOf(n);
            batch.AddInsert(t.tree, kTreeColumns, {"0", Text(p.name), Int(p.mn), "0"});
            for (const Node& node : p.nodes) {
                batch.AddInsert(t.tree, kTreeColumns,
                                {Int(node.n), Text(node.name), Int(node.mn), Int(node.parent)});
                batch.AddInsert(t.drawings, kDrawingColumns, DrawingValues(node.n, node.drawing));
            }
            for (const Revision& r : p.revisions)
                batch.AddInsert(
                    t.revisions, kRevisionColumns,
                    {Int(r.n), Int(r.node), Text(r.content), Int(r.reviser), Text(r.date)});
            if (batch.failed())
                return Failure(texts::kProjectRowsFailed + Int(n), counts,
                               blocks + batch.blocksSent());
            counts.nodes += static_cast<int>(p.nodes.size());
            counts.drawings += static_cast<int>(p.nodes.size());
            counts.revisions += static_cast<int>(p.revisions.size());
            projectRows.push_back(ProjectValues(p));
        }
    }
    // Projects last: a database that lists projects has all of their rows.
    if (!batch.Flush())
        return Failure(texts::kRowsFailed, counts, blocks + batch.blocksSent());
    for (const auto& values : projectRows) {
        batch.AddInsert("ZPROJECT", kProjectColumns, values);
        ++counts.projects;
    }
    if (!batch.Flush())
        return Failure(texts::kProjectsFailed, counts, blocks + batch.blocksSent());
    return {true, {}, counts, blocks + batch.blocksSent()};
}

void UseDemoLayout(storage::Settings& s)
{
    s.Form1 = {40, 30, 1100, 760};
    s.ListWidth = 860;
    s.ListHeight = 560;
    s.ListColWidths = {56, 240, 240, 110, 100, 40};
    s.ListPanelHeight = 172;
    s.ChartWidth = 1000;
    s.ChartHeight = 600;
    s.ChartPanelHeight = 172;
    s.DetailWidth = 1000;
    s.DetailHeight = 620;
    s.DetailTreeWidth = 240;
    s.DetailColWidths = {56, 200, 120, 100, 80, 80, 80, 80, 80, 80, 80, 80, 80};
}

bool WritePcUserSettings(const std::string& settingsFile, const std::string& databasePath,
                         const Member& user)
{
    QFileInfo info(Local(settingsFile));
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    storage::Settings settings;
    if (info.exists())
        storage::ReadSettings(settingsFile, WithSeparator(info.absolutePath()), settings);
    else
        UseDemoLayout(settings);
    DatabaseLocation location = SplitDatabasePath(databasePath);
    settings.DbServer = location.server;
    settings.DbFolder = location.folder;
    settings.DbName = location.name;
    settings.PcUserNo = user.n;
    settings.PcUserName = user.name;
    return storage::WriteSettings(settingsFile, settings);
}

const char* const kUsage = texts::kUsage;

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error)
{
    CommandLine command;
    auto number = [&](const std::string& option, const std::string& value, int limit, int& out) {
        if (value.empty() || value.size() > 9 || !text::IsAllDigits(value) ||
            std::stoi(value) > limit) {
            error = option + texts::kNeedsNumber + std::to_string(limit);
            return false;
        }
        out = std::stoi(value);
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool inlineValue = false;
        if (arg == "--settings-only") {
            command.settingsOnly = true;
            continue;
        }
        if (arg.rfind("--", 0) == 0) {
            if (std::size_t eq = arg.find('='); eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                inlineValue = true;
            }
        } else {
            if (!command.database.empty()) {
                error = texts::kTwoDatabases + arg;
                return std::nullopt;
            }
            command.database = arg;
            continue;
        }
        if (arg != "--projects" && arg != "--nodes-per-project" && arg != "--files-folder" &&
            arg != "--pc-user-settings") {
            error = texts::kUnknownOption + arg;
            return std::nullopt;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = arg + texts::kNeedsValue;
                return std::nullopt;
            }
            value = args[++i];
        }
        bool ok = true;
        if (arg == "--projects")
            ok = number(arg, value, 100000, command.projects);
        else if (arg == "--nodes-per-project")
            ok = number(arg, value, 10000, command.nodesPerProject);
        else if (arg == "--files-folder")
            command.filesFolder = value;
        else
            command.settingsFile = value;
        if (!ok)
            return std::nullopt;
        if (value.empty()) {
            error = arg + texts::kNeedsValue;
            return std::nullopt;
        }
    }
    if (command.database.empty()) {
        error = texts::kNoDatabase;
        return std::nullopt;
    }
    return command;
}

int RunSeedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto started = std::chrono::steady_clock::now();
    for (const auto& arg : args)
        if (arg == "-h" || arg == "--help") {
            out << kUsage;
            return 0;
        }
    std::string error;
    std::optional<CommandLine> command = ParseCommandLine(args, error);
    if (!command) {
        err << texts::kPrefix << error << "\n" << kUsage;
        return 2;
    }

    const std::string databasePath = AbsoluteDatabasePath(command->database);
    const std::string filesFolder =
        command->filesFolder.empty()
            ? DefaultFilesFolder(databasePath)
            : WithSeparator(QFileInfo(Local(command->filesFolder)).absoluteFilePath());
    if (filesFolder.empty()) {
        err << texts::kPrefix << texts::kFilesFolderForOtherHost << "\n";
        return 1;
    }
    std::optional<std::string> storedFolder = text::ToCp932(Local(filesFolder));
    if (!storedFolder || storedFolder->size() > static_cast<std::size_t>(kFileBytes)) {
        err << texts::kPrefix << texts::kFilesFolderUnstorable << filesFolder << "\n";
        return 1;
    }

    OfficeOptions options;
    options.projects = command->projects;
    options.nodesPerProject = command->nodesPerProject;
    options.filesFolder = *storedFolder;
    const DemoOffice office(options);

    if (command->settingsOnly) {
        if (command->settingsFile.empty()) {
            err << texts::kPrefix << texts::kSettingsOnlyNeedsFile << "\n";
            return 2;
        }
        if (!WritePcUserSettings(command->settingsFile, databasePath, office.members().front())) {
            err << texts::kPrefix << texts::kCannotWriteSettings << command->settingsFile << "\n";
            return 1;
        }
        out << texts::kPrefix << command->settingsFile << texts::kSettingsPointAt << databasePath
            << "\n";
        return 0;
    }

    SeedOutcome files;
    SeedOutcome seeded;
    {
        if (!IsServerPath(databasePath))
            QDir().mkpath(QFileInfo(Local(databasePath)).absolutePath());
        storage::Database db;
        db.ConnectDatabase(databasePath);
        if (!db.Connected())
            db.CreateDatabase(databasePath);
        if (!db.Connected()) {
            err << texts::kPrefix << texts::kCannotAttachOrCreate << databasePath << "\n";
            return 1;
        }
        if (std::string reason = RefusalReason(db, office); !reason.empty()) {
            err << texts::kPrefix << reason << texts::kNothingSeeded << databasePath << "\n";
            return 1;
        }
        files = WriteSampleFiles(office, filesFolder);
        if (!files.ok) {
            err << texts::kPrefix << files.message << "\n";
            return 1;
        }
        seeded = SeedDatabase(db, office);
        if (!seeded.ok) {
            err << texts::kPrefix << seeded.message << texts::kFailedIn << databasePath << "\n";
            return 1;
        }
        // The embedded engine holds the file until the last detach.
        db.DisconnectDatabase();
    }

    if (!command->settingsFile.empty() &&
        !WritePcUserSettings(command->settingsFile, databasePath, office.members().front())) {
        err << texts::kPrefix << texts::kCannotWriteSettings << command->settingsFile << "\n";
        return 1;
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const SeedCounts& c = seeded.counts;
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.2f", seconds);
    out << texts::kPrefix << databasePath << texts::kSections << c.sections << texts::kMembers
        << c.members << texts::kCompanies << c.companies << texts::kProjects << c.projects
        << texts::kNodes << c.nodes << texts::kDrawings << c.drawings << texts::kRevisions
        << c.revisions << texts::kFiles << files.counts.files << texts::kFilesIn << filesFolder
        << texts::kCommits << seeded.blocks << texts::kSeconds << elapsed << texts::kSecondsUnit
        << "\n";
    return 0;
}

}  // namespace seed
