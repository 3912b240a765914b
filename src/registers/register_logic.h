#pragma once
// The section, member and company registers without their dialogs: one logic,
// configured per table. A dialog hands over the texts of its controls (CP932
// bytes) and shows what comes back: the message, the control to focus, and
// whether the grid is to be read again.

#include <QString>
#include <string>
#include <vector>
#include "text/mbcs.h"

#include "storage/database.h"
#include "storage/settings.h"

namespace registers {

enum class ColumnKind {
    Text,          // a name: quoted, NULL when empty, refused when it holds a quote
    NumberedItem,  // "N:name" chosen from a list: its number is written
};

// A column written after N, and the control the dialog holds it in.
struct ValueColumn {
    const char* name;
    ColumnKind kind;
    const char* field;       // objectName of the control
    const char* quoteFocus;  // objectName to focus when the text holds a quote
};

struct RegisterConfig;
using RowLoader = std::vector<storage::Row> (*)(storage::Database& db,
                                                const RegisterConfig& config);

struct RegisterConfig {
    const char* table;
    // The dialog's caption and its grid's header texts and column widths.
    const char* caption;
    std::vector<const char*> headers;
    std::vector<int> columnWidths;
    std::vector<bool> numberColumns;  // grid columns that hold numbers
    std::vector<ValueColumn> columns;
    int gridColumns;
    RowLoader loadRows;
    // The column (index into columns) that a change requires, and its message; -1 none.
    int requiredOnChange = -1;
    const char* requiredMessage = nullptr;
    // Grid cells that name the row in the delete question, joined by a full-width dash.
    std::vector<int> questionCells;
    // A table whose column still naming the row forbids deleting it; null: none.
    const char* referenceTable = nullptr;
    const char* referenceColumn = nullptr;
    const char* referenceMessage = nullptr;
};

const RegisterConfig& SectionRegister();
const RegisterConfig& MemberRegister();
const RegisterConfig& CompanyRegister();

// The typed number and one text per config column, as CP932 bytes.
struct RegisterInput {
    std::string number;
    std::vector<std::string> values;
};

struct RegisterOutcome {
    QString message;  // empty: nothing to tell
    QString focus;    // objectName of the control to focus; empty: none
    bool reload = false;
};

using text::IsBlank;

// Whether a register may open: a message when the settings are incomplete or
// the database is not attached, and the dialog closes.
RegisterOutcome CheckRegisterCanOpen(const storage::Settings& settings,
                                     const storage::Database& db);

// The member register's list of sections: the "none" item, then "N:SNAME" for
// every section in number order (only the first when there is no SECTION table).
std::vector<std::string> LoadSectionItems(storage::Database& db);
// The index of the first item after the first whose number is sn, else 0.
int FindSectionItem(const std::vector<std::string>& items, int sn);

class RegisterLogic {
public:
    RegisterLogic(storage::Database& db, const RegisterConfig& config) : db_(db), config_(config) {}

    const RegisterConfig& config() const { return config_; }

    // The grid's data rows, gridColumns cells each; none for an empty table.
    std::vector<storage::Row> LoadRows();
    // One more than the largest number; reserves nothing.
    std::string ProposeNumber();

    RegisterOutcome Add(const RegisterInput& input);
    RegisterOutcome Change(const RegisterInput& input);
    // The Yes/No question for a grid row; empty when the row has no number and
    // nothing is to be deleted.
    QString DeleteQuestion(const storage::Row& cells) const;
    // Run once the question was answered Yes.
    RegisterOutcome Delete(const storage::Row& cells);

private:
    // The quote check of add and change: the first text column holding a quote.
    RegisterOutcome CheckQuotes(const RegisterInput& input) const;
    std::vector<std::string> Columns() const;
    std::vector<std::string> Values(int number, const RegisterInput& input) const;

    storage::Database& db_;
    const RegisterConfig& config_;
};

}  // namespace registers
