#pragma once
// Whether a drawing's registered file is still there and whether it was
// written after the drawing was issued. The file system is looked at one
// folder at a time on a thread of its own, never touching the database: a
// folder costs at most the time-out however many files it has, after which
// its files not yet looked at (and those of other folders on the same share)
// are reported as not answering and the look moves on. The thread that hangs
// is left to the system; it holds nothing but its own copy of the names.

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "search/search_criteria.h"
#include "search/search_hit.h"

namespace search {

inline constexpr std::chrono::milliseconds kFolderTimeout{2000};

struct FileFacts {
    bool answered = false;
    bool exists = false;
    std::string modifiedDay;  // yyyymmdd, local time
};

// What the facts mean for the drawing: missing, changed after the later of
// its issue and revision dates (whole days), present, or no answer.
FileState StateFrom(const SearchHit& hit, const FileFacts& facts);

// Whether looking at the file can decide the condition for this drawing (an
// unissued drawing is never "changed after issue"; a group node has no file).
bool NeedsLook(const SearchHit& hit, FileCondition condition);
bool Satisfies(FileState state, FileCondition condition);

// The part of a folder that names its share or drive ("\\host\share",
// "//host/share", "Z:", "/mnt/zumen"): folders with the same root hang together.
std::string ShareRoot(const std::string& folder);

// The file system's answer for one path (CP932); may block on a dead share.
using FileProbe = std::function<FileFacts(const std::string& path)>;
FileFacts LookAtFile(const std::string& cp932Path);

// Looks at files folder by folder, remembering shares that did not answer.
class FileLooker {
public:
    explicit FileLooker(std::chrono::milliseconds timeout = kFolderTimeout,
                        FileProbe probe = LookAtFile)
        : timeout_(timeout), probe_(std::move(probe))
    {}

    // Facts for folder + each name (CP932, joined as they stand). Gives up on
    // the folder's remaining files `timeout` after it started, so a share that
    // answers slowly file by file cannot hold the look for long either.
    std::vector<FileFacts> Look(const std::string& folder, const std::vector<std::string>& names);

private:
    std::chrono::milliseconds timeout_;
    FileProbe probe_;
    std::unordered_set<std::string> silentRoots_;
};

// Looks at the files of the hits, sets their states and keeps the hits that
// satisfy the condition, in their order. Blocks for the looks.
void SettleFileStates(std::vector<SearchHit>& hits, FileCondition condition,
                      std::chrono::milliseconds timeout = kFolderTimeout);

struct FileRequest {
    int id = 0;  // the caller's, handed back with the result
    std::string folder;
    std::string name;
};

struct FileResult {
    int id = 0;
    FileFacts facts;
};

// The window's way of looking: requests are queued and looked at on a worker
// thread of the checker's own (never the shared pool, which exit waits for);
// results come back through `looked` on the checker's own thread, folder by
// folder. Destroying the checker cancels what is still queued and does not
// wait for a folder that hangs.
class FileStateChecker : public QObject {
    Q_OBJECT
public:
    explicit FileStateChecker(std::chrono::milliseconds timeout = kFolderTimeout,
                              FileProbe probe = LookAtFile, QObject* parent = nullptr);
    ~FileStateChecker() override;

    void Enqueue(std::vector<FileRequest> requests);
    // Drops what is queued; a folder being looked at still reports.
    void Cancel();
    // Requests not reported yet.
    int Outstanding() const { return outstanding_; }

signals:
    void looked(const std::vector<search::FileResult>& results);

private:
    struct Shared;
    void Deliver(const std::vector<FileResult>& results);

    std::shared_ptr<Shared> shared_;
    int outstanding_ = 0;
};

}  // namespace search
