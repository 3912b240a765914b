#include "plain_client.h"

#include <fcntl.h>
#include <ibase.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "bench_support.h"

extern char** environ;

namespace plain_client {

namespace {

using bench_support::Fail;

void Check(const ISC_STATUS* status, const char* what)
{
    if (status[0] == 1 && status[1] != 0) {
        char text[512];
        const ISC_STATUS* vector = status;
        fb_interpret(text, sizeof text, &vector);
        Fail(std::string(what) + ": " + text);
    }
}

// One value as text into `out`; the number of bytes written.
size_t ValueText(const XSQLVAR& var, char* out, size_t room)
{
    if ((var.sqltype & 1) && *var.sqlind < 0)
        return 0;
    const char* data = var.sqldata;
    auto integer = [&](long long v) {
        return static_cast<size_t>(std::to_chars(out, out + room, v).ptr - out);
    };
    switch (var.sqltype & ~1) {
        case SQL_VARYING: {
            short length;
            std::memcpy(&length, data, sizeof length);
            std::memcpy(out, data + sizeof length, static_cast<size_t>(length));
            return static_cast<size_t>(length);
        }
        case SQL_TEXT:
            std::memcpy(out, data, static_cast<size_t>(var.sqllen));
            return static_cast<size_t>(var.sqllen);
        case SQL_SHORT: {
            short v;
            std::memcpy(&v, data, sizeof v);
            return integer(v);
        }
        case SQL_LONG: {
            ISC_LONG v;
            std::memcpy(&v, data, sizeof v);
            return integer(v);
        }
        case SQL_INT64: {
            ISC_INT64 v;
            std::memcpy(&v, data, sizeof v);
            return integer(v);
        }
        default:
            return 0;
    }
}

}  // namespace

namespace {

isc_db_handle Attach(const std::string& databasePath)
{
    ISC_STATUS_ARRAY status;
    isc_db_handle db = 0;
    std::string dpb{static_cast<char>(isc_dpb_version1)};
    for (auto [tag, value] :
         {std::pair{isc_dpb_user_name, "SYSDBA"}, std::pair{isc_dpb_password, "tidewater"}}) {
        dpb.push_back(static_cast<char>(tag));
        dpb.push_back(static_cast<char>(std::strlen(value)));
        dpb += value;
    }
    isc_attach_database(status, 0, databasePath.c_str(), &db, static_cast<short>(dpb.size()),
                        dpb.data());
    Check(status, "attach");
    return db;
}

Reading ReadOnce(isc_db_handle& db, const std::vector<std::string>& statements)
{
    ISC_STATUS_ARRAY status;
    Reading reading;
    const auto start = std::chrono::steady_clock::now();
    isc_tr_handle tr = 0;
    isc_start_transaction(status, &tr, 1, &db, 0, nullptr);
    Check(status, "start transaction");
    std::vector<char> text(64 * 1024);
    for (const std::string& sql : statements) {
        isc_stmt_handle stmt = 0;
        isc_dsql_allocate_statement(status, &db, &stmt);
        Check(status, "allocate");
        auto storage = std::make_unique<char[]>(XSQLDA_LENGTH(1));
        auto* out = reinterpret_cast<XSQLDA*>(storage.get());
        out->version = SQLDA_VERSION1;
        out->sqln = 1;
        isc_dsql_prepare(status, &tr, &stmt, 0, sql.c_str(), 3, out);
        Check(status, "prepare");
        if (out->sqld > out->sqln) {
            const short n = out->sqld;
            storage = std::make_unique<char[]>(XSQLDA_LENGTH(n));
            out = reinterpret_cast<XSQLDA*>(storage.get());
            out->version = SQLDA_VERSION1;
            out->sqln = n;
            isc_dsql_describe(status, &stmt, 3, out);
            Check(status, "describe");
        }
        std::vector<std::vector<char>> buffers(static_cast<size_t>(out->sqld));
        std::vector<short> nulls(static_cast<size_t>(out->sqld));
        for (short i = 0; i < out->sqld; ++i) {
            buffers[i].resize(static_cast<size_t>(out->sqlvar[i].sqllen) + 8);
            out->sqlvar[i].sqldata = buffers[i].data();
            out->sqlvar[i].sqlind = &nulls[i];
        }
        isc_dsql_execute(status, &tr, &stmt, 3, nullptr);
        Check(status, "execute");
        while (isc_dsql_fetch(status, &stmt, 3, out) == 0) {
            ++reading.rows;
            for (short i = 0; i < out->sqld; ++i)
                reading.textBytes +=
                    static_cast<long long>(ValueText(out->sqlvar[i], text.data(), text.size()));
        }
        Check(status, "fetch");
        isc_dsql_free_statement(status, &stmt, DSQL_drop);
    }
    isc_commit_transaction(status, &tr);
    reading.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return reading;
}

}  // namespace

std::vector<Reading> Read(const std::string& databasePath,
                          const std::vector<std::string>& statements, int passes)
{
    isc_db_handle db = Attach(databasePath);
    std::vector<Reading> readings;
    for (int pass = 0; pass < passes; ++pass)
        readings.push_back(ReadOnce(db, statements));
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &db);
    return readings;
}

Reading Read(const std::string& databasePath, const std::vector<std::string>& statements)
{
    return Read(databasePath, statements, 1).front();
}

ChildRun RunChild(const std::vector<std::string>& args)
{
    char outputName[] = "/tmp/k5x7-bench-child-XXXXXX";
    const int fd = mkstemp(outputName);
    if (fd < 0)
        Fail("cannot make a file for the child's output");
    close(fd);

    std::vector<std::string> all{"/proc/self/exe", kChildFlag};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputName, O_WRONLY | O_TRUNC, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        Fail("cannot start the child");
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail("the child " + args.front() + " failed");

    ChildRun run;
    std::ifstream in(outputName);
    std::stringstream text;
    text << in.rdbuf();
    run.output = text.str();
    unlink(outputName);
    const size_t at = run.output.rfind("seconds ");
    if (at == std::string::npos ||
        std::sscanf(run.output.c_str() + at, "seconds %lf cpu %lf peak %ld", &run.seconds,
                    &run.cpuSeconds, &run.peakKiB) != 3)
        Fail("the child " + args.front() + " reported no figures");
    return run;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Report(double seconds, double cpuSeconds)
{
    long peak = -1;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            peak = std::strtol(line.c_str() + 6, nullptr, 10);
    std::printf("seconds %.6f cpu %.6f peak %ld\n", seconds, cpuSeconds, peak);
    std::fflush(stdout);
}

}  // namespace plain_client
