#pragma once
// Registering chosen files in a project's name tree: each file becomes a node
// under the selected one, with a drawing row that already holds the file's
// name, folder, dates, the registering member and, for a drawing file, the
// header text. No widgets: the window hands over the paths the file dialog
// gave and shows what comes back.
//
// Paths are QStrings as the dialog returns them; everything stored is CP932.
// A path with a character that has no CP932 form, or that does not fit the
// 255-byte columns, cannot be stored as it is and is refused rather than
// stored altered.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "storage/database.h"

namespace drawings {

// A file's creation and last-write days, "yyyymmdd" in the PC's local time;
// each is empty when it cannot be read or names no valid date (a file time
// before 1899-12-30 or after 9999 would not fit the date columns).
//
// Creation is the birth time where the file system records one (Linux: statx
// STATX_BTIME, most local file systems) and otherwise the status-change time,
// the closest Linux has: both are when this copy of the file came to be here,
// as the creation time of a copied file is on Windows.
struct FileDays {
    std::string created;
    std::string modified;
};
FileDays ReadFileDays(const QString& path);

enum class Refusal {
    None,
    UnstorableName,  // a character with no CP932 form
    TooLong,         // file name or folder over 255 bytes
};

// What one chosen file is stored as.
struct FileEntry {
    QString path;  // as the dialog gave it
    Refusal refusal = Refusal::None;
    std::string fileName;    // after the last separator, whole
    std::string folder;      // stored path up to and including the last separator
    std::string nodeName;    // the file name in at most 32 bytes, no colon
    FileDays days;           // empty for a file that cannot be found
    std::string headerText;  // empty for files without a readable header
};

// Names, dates and header text of one file; a refused file gets its names only.
FileEntry DescribeFile(const QString& path);

// The drawing row's values after N: file, folder, header text as MEMO1, the
// member as maker, the file's days, and no stamps.
std::vector<std::string> DrawingValuesOf(const FileEntry& file, int member);

// The LastDrawingFolder a choice leaves: the first file's folder as the dialog
// gave it (no drive letter replaced); nothing when it has no CP932 form.
std::optional<std::string> ChosenFolder(const QString& firstPath);

struct RegisteredFile {
    int number = 0;
    std::string itemText;  // node name + " :" + number
};

struct RegistrationOutcome {
    int registered = 0;
    bool stopped = false;  // the user stopped it; what was stored stays
    bool failed = false;   // a node could not be stored; later files were not tried
    std::vector<FileEntry> refused;
    QString message;  // what to tell the user; empty when all went well
};

class FileRegistration {
public:
    FileRegistration(storage::Database& db, const ProjectTables& tables, int member);

    // One described file as a new last child of parentNumber: tree row and
    // drawing row together, or nothing. firstNumber as for CreateNode.
    NodeCreation Store(int parentNumber, const FileEntry& file, int firstNumber = 0);

    // The files in the given order. keepGoing(done) is asked before each file;
    // onStored is told of each node stored, as it is stored. Only the first
    // file's number is looked up; each later file tries the number after the
    // one before, so the run takes time linear in the files (the maxima are
    // not served by the tables' ascending keys) and one transaction a file.
    RegistrationOutcome RegisterFiles(int parentNumber, const QStringList& paths,
                                      const std::function<bool(int done)>& keepGoing,
                                      const std::function<void(const RegisteredFile&)>& onStored);

private:
    NameTreeEditor editor_;
    int member_;
};

}  // namespace drawings
