#include "storage/service_manager.h"

#include <ibase.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#ifdef __linux__
#include <dirent.h>
#endif

#include "storage/database.h"
#include "storage/firebird_client.h"

namespace storage {

namespace {

// The answer of one query; the length fields of its items are two bytes.
constexpr std::size_t kResultBytes = 32768;
// A send block is limited by its own two-byte size.
constexpr std::size_t kMostSentBytes = 65000;

void AddText(std::string& spb, char tag, const std::string& value)
{
    spb.push_back(tag);
    spb.push_back(static_cast<char>(value.size() & 0xFF));
    spb.push_back(static_cast<char>((value.size() >> 8) & 0xFF));
    spb += value;
}

void AddNumber(std::string& spb, char tag, unsigned value)
{
    spb.push_back(tag);
    for (int shift = 0; shift < 32; shift += 8)
        spb.push_back(static_cast<char>((value >> shift) & 0xFF));
}

// Each query waits at most a second for output, so a quiet task is polled.
// Without the closing isc_info_end, so that data can follow.
std::string PollTimeout()
{
    return {char(isc_info_svc_timeout), 4, 0, 1, 0, 0, 0};
}

std::string PollOnly()
{
    return PollTimeout() + char(isc_info_end);
}

unsigned ReadLength(const char*& p, int bytes)
{
    unsigned value = static_cast<unsigned>(isc_vax_integer(p, static_cast<short>(bytes)));
    p += bytes;
    return value;
}

// What one answer held. `more` is false once the task has nothing left to say.
struct Answer {
    bool more = false;
    unsigned stdinWanted = 0;
};

// Walks one answer, handing the bytes of output items to `take`.
template <class Take>
Answer Parse(const std::vector<char>& result, Take&& take)
{
    Answer answer;
    const char* p = result.data();
    const char* const end = p + result.size();
    while (p < end && *p != isc_info_end) {
        switch (*p++) {
            case isc_info_svc_line:
            case isc_info_svc_to_eof: {
                unsigned length = ReadLength(p, 2);
                if (p + length > end)
                    throw fb::Error("malformed service answer", 0, false);
                if (length > 0) {
                    take(p, length);
                    answer.more = true;
                }
                p += length;
                break;
            }
            case isc_info_svc_stdin:
                answer.stdinWanted = ReadLength(p, 4);
                answer.more = answer.more || answer.stdinWanted > 0;
                break;
            case isc_info_truncated:
            case isc_info_svc_timeout:
            case isc_info_data_not_ready:
                answer.more = true;
                break;
            default:
                throw fb::Error("unexpected service answer item " + std::to_string(p[-1]), 0,
                                false);
        }
    }
    return answer;
}

int ThreadCount()
{
#ifdef __linux__
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
#else
    return 0;
#endif
}

// The engine in this process ends a task on a thread of its own, a moment
// after its last answer; a process that shuts the engine down before that
// thread is gone crashes inside the engine. So a local task is over only when
// the thread count has dropped below what it was at the task's last answer.
class EngineTask {
public:
    explicit EngineTask(const ServiceAddress& address) : local_(!IsServerPath(address.service)) {}
    void answered() { threadsAtEnd_ = ThreadCount(); }
    ~EngineTask()
    {
        if (!local_ || threadsAtEnd_ == 0)
            return;
        for (int i = 0; i < 200 && ThreadCount() >= threadsAtEnd_; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

private:
    bool local_;
    int threadsAtEnd_ = 0;
};

void Attach(fb::Service& service, const ServiceAddress& address)
{
    service.attach(address.service, Database::kUser, Database::kPassword);
}

// Attaches, starts the task on the database and asks for its output until it
// has no more. `send` makes what goes with each query from the last answer
// (nothing: stop); `take` gets each piece of output (false: stop). Leaving a
// task mid-stream ends it on the server.
template <class Send, class Take>
ServiceOutcome RunTask(const std::string& databasePath, std::string request,
                       const std::string& items, Send&& send, Take&& take)
{
    const ServiceAddress address = ServiceAddressOf(databasePath);
    EngineTask task(address);
    try {
        fb::Service service;
        Attach(service, address);
        AddText(request, isc_spb_dbname, address.database);
        service.start(request);
        task.answered();
        std::vector<char> result(kResultBytes);
        Answer answer;
        bool stopped = false;
        do {
            const std::optional<std::string> block = send(answer);
            if (!block)
                return {false, {}};
            service.query(*block, items, result);
            task.answered();
            answer = Parse(result, [&](const char* data, unsigned length) {
                stopped = stopped || !take(data, length);
            });
        } while (answer.more && !stopped);
        if (stopped)
            return {false, {}};
    } catch (const fb::Error& error) {
        return {false, error.what()};
    }
    return {true, {}};
}

}  // namespace

bool IsServerPath(std::string_view path)
{
    const std::size_t colon = path.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    if (colon == 1) {
        const char c = path[0];
        return !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
    }
    return true;
}

ServiceAddress ServiceAddressOf(const std::string& databasePath)
{
    if (!IsServerPath(databasePath))
        return {"service_mgr", databasePath};
    const std::size_t colon = databasePath.find(':');
    return {databasePath.substr(0, colon + 1) + "service_mgr", databasePath.substr(colon + 1)};
}

ServiceOutcome StreamBackup(const std::string& databasePath, const BackupSink& sink)
{
    std::string request{char(isc_action_svc_backup)};
    AddText(request, isc_spb_bkp_file, "stdout");
    return RunTask(
        databasePath, request, {char(isc_info_svc_to_eof)},
        [](const Answer&) { return PollOnly(); },
        [&](const char* data, unsigned length) { return sink(data, length); });
}

ServiceOutcome StreamRestore(const RestoreSource& source, const std::string& databasePath,
                             RestoreMode mode)
{
    std::string request{char(isc_action_svc_restore)};
    AddText(request, isc_spb_bkp_file, "stdin");
    AddNumber(request, isc_spb_options,
              mode == RestoreMode::Replace ? isc_spb_res_replace : isc_spb_res_create);
    std::vector<char> chunk;
    const auto send = [&](const Answer& answer) -> std::optional<std::string> {
        std::string block = PollTimeout();
        if (answer.stdinWanted > 0) {
            // The server refuses more than it asked for.
            chunk.resize(std::min<std::size_t>(answer.stdinWanted, kMostSentBytes));
            const long got = source(chunk.data(), chunk.size());
            if (got < 0)
                return std::nullopt;
            block.push_back(char(isc_info_svc_line));
            block.push_back(static_cast<char>(got & 0xFF));
            block.push_back(static_cast<char>((got >> 8) & 0xFF));
            block.append(chunk.data(), static_cast<std::size_t>(got));
        }
        return block + char(isc_info_end);
    };
    return RunTask(databasePath, request, {char(isc_info_svc_line), char(isc_info_svc_stdin)}, send,
                   [](const char*, unsigned) { return true; });
}

ServiceOutcome ValidateOnline(const std::string& databasePath, const ServiceLines& lines)
{
    std::string pending;
    const ServiceOutcome outcome = RunTask(
        databasePath, {char(isc_action_svc_validate)}, {char(isc_info_svc_to_eof)},
        [](const Answer&) { return PollOnly(); },
        [&](const char* data, unsigned length) {
            pending.append(data, length);
            std::size_t start = 0;
            for (std::size_t nl; (nl = pending.find('\n', start)) != std::string::npos;
                 start = nl + 1)
                lines(std::string_view(pending).substr(start, nl - start));
            pending.erase(0, start);
            return true;
        });
    if (!pending.empty())
        lines(pending);
    return outcome;
}

std::string ServerRoot(const std::string& host)
{
    const std::string name = host.empty() ? "service_mgr" : host + ":service_mgr";
    try {
        fb::Service service;
        service.attach(name, Database::kUser, Database::kPassword);
        std::vector<char> result(kResultBytes);
        service.query({}, std::string{char(isc_info_svc_get_env)}, result);
        const char* p = result.data();
        if (*p++ != isc_info_svc_get_env)
            return {};
        const unsigned length = ReadLength(p, 2);
        return std::string(p, std::min<std::size_t>(length, kResultBytes - 3));
    } catch (const fb::Error&) {
        return {};
    }
}

}  // namespace storage
