#include "search/file_state.h"

#include <QDateTime>
#include <QFileInfo>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "text/char_length.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace search {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

using text::CharLength;

// Where the n-th separator after `from` is, walking whole characters (a
// trail byte may be 0x5C), or the end.
std::size_t AfterComponents(const std::string& s, std::size_t from, int components)
{
    std::size_t i = from;
    while (i < s.size()) {
        if (IsSeparator(s[i]) && --components == 0)
            return i;
        i += CharLength(s, i);
    }
    return s.size();
}

std::string DayOf(const QDateTime& time)
{
    const QDate d = time.toLocalTime().date();
    char day[16];
    std::snprintf(day, sizeof day, "%04d%02d%02d", d.year(), d.month(), d.day());
    return day;
}

// What a look thread and its waiter share; the thread may outlive the waiter.
struct LookProgress {
    std::mutex mutex;
    std::condition_variable progress;
    std::vector<FileFacts> facts;
    std::size_t done = 0;
};

}  // namespace

FileFacts LookAtFile(const std::string& cp932Path)
{
    FileFacts facts;
    const QFileInfo info(text::FromCp932(cp932Path));
    facts.answered = true;
    facts.exists = info.isFile();
    if (facts.exists)
        facts.modifiedDay = DayOf(info.lastModified());
    return facts;
}

FileState StateFrom(const SearchHit& hit, const FileFacts& facts)
{
    if (!facts.answered)
        return FileState::NoAnswer;
    if (!facts.exists)
        return FileState::Missing;
    if (!HasDate(hit.issued))
        return FileState::Present;
    std::string_view since = hit.issued;
    if (HasDate(hit.revised) && hit.revised > hit.issued)
        since = hit.revised;
    return facts.modifiedDay > since ? FileState::ChangedAfterIssue : FileState::Present;
}

bool NeedsLook(const SearchHit& hit, FileCondition condition)
{
    if (text::IsBlank(hit.fileName))
        return false;
    return condition != FileCondition::ChangedAfterIssue || HasDate(hit.issued);
}

bool Satisfies(FileState state, FileCondition condition)
{
    switch (condition) {
        case FileCondition::Any:
            return true;
        case FileCondition::Missing:
            return state == FileState::Missing;
        case FileCondition::ChangedAfterIssue:
            return state == FileState::ChangedAfterIssue;
    }
    return false;
}

std::string ShareRoot(const std::string& folder)
{
    if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]))
        return folder.substr(0, AfterComponents(folder, 2, 2));
    if (folder.size() >= 2 && folder[1] == ':' && static_cast<unsigned char>(folder[0]) < 0x80)
        return folder.substr(0, 2);
    if (!folder.empty() && IsSeparator(folder[0]))
        return folder.substr(0, AfterComponents(folder, 1, 2));
    return {};
}

std::vector<FileFacts> FileLooker::Look(const std::string& folder,
                                        const std::vector<std::string>& names)
{
    const std::string root = ShareRoot(folder);
    if (!root.empty() && silentRoots_.count(root))
        return std::vector<FileFacts>(names.size());

    auto look = std::make_shared<LookProgress>();
    look->facts.resize(names.size());
    try {
        std::thread([look, folder, names, probe = probe_] {
            for (std::size_t i = 0; i < names.size(); ++i) {
                FileFacts facts = probe(folder + names[i]);
                std::lock_guard<std::mutex> lock(look->mutex);
                look->facts[i] = std::move(facts);
                look->done = i + 1;
                look->progress.notify_all();
            }
        }).detach();
    } catch (const std::system_error&) {
        return std::vector<FileFacts>(names.size());  // no thread to spare: no answer
    }

    std::unique_lock<std::mutex> lock(look->mutex);
    look->progress.wait_for(lock, timeout_, [&] { return look->done == names.size(); });
    if (look->done < names.size() && !root.empty())
        silentRoots_.insert(root);
    return look->facts;
}

void SettleFileStates(std::vector<SearchHit>& hits, FileCondition condition,
                      std::chrono::milliseconds timeout)
{
    // Folders in the order they first appear, so that the looks follow the results.
    std::map<std::string, std::vector<std::size_t>> byFolder;
    std::vector<std::string> order;
    std::vector<bool> keep(hits.size(), condition == FileCondition::Any);
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (!NeedsLook(hits[i], condition))
            continue;
        auto [it, added] = byFolder.try_emplace(hits[i].folder);
        if (added)
            order.push_back(hits[i].folder);
        it->second.push_back(i);
    }
    FileLooker looker(timeout);
    for (const std::string& folder : order) {
        const std::vector<std::size_t>& members = byFolder[folder];
        std::vector<std::string> names;
        for (std::size_t i : members)
            names.push_back(hits[i].fileName);
        const std::vector<FileFacts> facts = looker.Look(folder, names);
        for (std::size_t k = 0; k < members.size(); ++k) {
            SearchHit& hit = hits[members[k]];
            hit.fileState = StateFrom(hit, facts[k]);
            keep[members[k]] = Satisfies(hit.fileState, condition);
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (!keep[i])
            continue;
        if (kept != i)
            hits[kept] = std::move(hits[i]);
        ++kept;
    }
    hits.resize(kept);
}

struct FileStateChecker::Shared {
    Shared(std::chrono::milliseconds timeout, FileProbe probe) : looker(timeout, std::move(probe))
    {}

    std::mutex mutex;
    std::deque<std::pair<std::string, std::vector<FileRequest>>> folders;
    bool running = false;
    FileStateChecker* receiver = nullptr;
    FileLooker looker;  // used by the one running worker only

    static void Drain(const std::shared_ptr<Shared>& self)
    {
        for (;;) {
            std::pair<std::string, std::vector<FileRequest>> job;
            {
                std::lock_guard<std::mutex> lock(self->mutex);
                if (self->folders.empty() || !self->receiver) {
                    self->running = false;
                    return;
                }
                job = std::move(self->folders.front());
                self->folders.pop_front();
            }
            std::vector<std::string> names;
            for (const FileRequest& r : job.second)
                names.push_back(r.name);
            const std::vector<FileFacts> facts = self->looker.Look(job.first, names);
            std::vector<FileResult> results;
            for (std::size_t i = 0; i < facts.size(); ++i)
                results.push_back({job.second[i].id, facts[i]});
            std::lock_guard<std::mutex> lock(self->mutex);
            if (FileStateChecker* receiver = self->receiver)
                QMetaObject::invokeMethod(
                    receiver, [receiver, results] { receiver->Deliver(results); },
                    Qt::QueuedConnection);
        }
    }
};

FileStateChecker::FileStateChecker(std::chrono::milliseconds timeout, FileProbe probe,
                                   QObject* parent)
    : QObject(parent), shared_(std::make_shared<Shared>(timeout, std::move(probe)))
{
    shared_->receiver = this;
}

FileStateChecker::~FileStateChecker()
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->receiver = nullptr;
    shared_->folders.clear();
}

void FileStateChecker::Enqueue(std::vector<FileRequest> requests)
{
    if (requests.empty())
        return;
    outstanding_ += static_cast<int>(requests.size());
    std::lock_guard<std::mutex> lock(shared_->mutex);
    // Consecutive requests of one folder make one look.
    for (FileRequest& r : requests) {
        auto& folders = shared_->folders;
        if (folders.empty() || folders.back().first != r.folder)
            folders.emplace_back(r.folder, std::vector<FileRequest>{});
        folders.back().second.push_back(std::move(r));
    }
    if (shared_->running)
        return;
    shared_->running = true;
    try {
        std::thread([shared = shared_] { Shared::Drain(shared); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: what was asked gets no answer rather than a wait.
        shared_->running = false;
        std::vector<FileResult> unanswered;
        for (const auto& folder : shared_->folders)
            for (const FileRequest& r : folder.second)
                unanswered.push_back({r.id, {}});
        shared_->folders.clear();
        QMetaObject::invokeMethod(
            this, [this, unanswered] { Deliver(unanswered); }, Qt::QueuedConnection);
    }
}

void FileStateChecker::Cancel()
{
    std::lock_guard<std::mutex> lock(shared_->mutex);
    for (const auto& folder : shared_->folders)
        outstanding_ -= static_cast<int>(folder.second.size());
    shared_->folders.clear();
}

void FileStateChecker::Deliver(const std::vector<FileResult>& results)
{
    outstanding_ -= static_cast<int>(results.size());
    emit looked(results);
}

}  // namespace search
