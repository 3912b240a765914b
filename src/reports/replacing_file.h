#pragma once
// A file written beside its target under a short temporary name and put in
// the target's place only when it is complete: a stop, a full disk or a
// failed write leaves the target as it was and nothing part-written behind.
// The temporary name is short so that a target name of the longest length a
// folder allows still works.

#include <QString>
#include <QTemporaryFile>
#include <memory>

#include "reports/report_output.h"

namespace reports {

class ReplacingFile {
public:
    explicit ReplacingFile(QString target);
    ~ReplacingFile();  // removes the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file, open for writing.
    ReportResult Open();
    QIODevice& device() { return *file_; }
    // For a writer that opens the file by name itself: the temporary file is
    // closed and stays until Commit or destruction.
    QString HandOverPath();
    // Flushes, syncs and renames over the target.
    ReportResult Commit();

private:
    QString target_;
    std::unique_ptr<QTemporaryFile> file_;
    bool committed_ = false;
};

}  // namespace reports
