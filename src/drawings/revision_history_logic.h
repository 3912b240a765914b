#pragma once
// The revision history of one drawing without its dialog: the entries of the
// project's revision table whose ZN is the drawing, the checks and writes of
// add, change and delete, and the proposal of a number. The dialog hands over
// its control texts (CP932 bytes) and shows what comes back.

#include <QDate>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "storage/database.h"
#include "storage/settings.h"

namespace drawings {

// "yyyymmdd"; empty for an invalid date.
std::string DateString(const QDate& date);

// The texts of the dialog's fields.
struct RevisionInput {
    std::string number;   // Edit1
    std::string content;  // Edit2
    std::string reviser;  // the selected item of ComboBox1, "N:name"
    std::string date;     // Edit3
};

struct RevisionOutcome {
    QString message;  // empty: nothing to tell
    QString focus;    // objectName of the control to focus; empty: none
    bool reload = false;
};

// Why the dialog cannot be used (it then closes), or an empty outcome.
RevisionOutcome CheckRevisionEditorCanOpen(const storage::Settings& settings,
                                           const storage::Database& db);

// "0:指定無し", then "N:PNAME" for every member in number order; only the
// first when there is no MEMBER table.
std::vector<std::string> LoadReviserItems(storage::Database& db);

class RevisionHistoryLogic {
public:
    RevisionHistoryLogic(storage::Database& db, int projectNo, int drawingNo);

    const std::string& table() const { return table_; }

    // The grid's rows: N, CONT, RN, RDATE of this drawing's entries in number
    // order; none when there are none or the table is missing.
    std::vector<storage::Row> LoadRows();
    // One more than the largest number in the whole table, since N is unique
    // across every drawing of the project; reserves nothing.
    std::string ProposeNumber();

    RevisionOutcome Add(const RevisionInput& input);
    // Only an entry of this drawing can be changed: the number of another
    // drawing's entry counts as unused, so that entry is never taken over.
    RevisionOutcome Change(const RevisionInput& input);
    // The Yes/No question for a grid row (N, CONT, ...); empty when the row has
    // no number and there is nothing to delete.
    static QString DeleteQuestion(const storage::Row& cells);
    // Run once the question was answered Yes.
    RevisionOutcome Delete(const storage::Row& cells);

private:
    // The checks add and change share; an empty outcome when all pass.
    static RevisionOutcome Check(const RevisionInput& input);
    std::vector<std::string> Values(int number, const RevisionInput& input) const;

    storage::Database& db_;
    int drawingNo_;
    std::string table_;
};

}  // namespace drawings
