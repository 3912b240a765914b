#pragma once
// The output of every list: asks for the file (or shows the print preview),
// writes with a progress box whose 中止 stops it, and tells how it ended. The
// dialogs that would block are functions, so tests answer them.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

#include "reports/report_output.h"
#include "storage/database.h"
#include "widgets/list_output.h"
#include "widgets/save_file_dialog.h"
#include "widgets/ui_ports.h"

class QDialog;
class QPrinter;

namespace reports {

using widgets::SaveChoice;
using widgets::SaveRequest;

struct OutputDialogs {
    std::function<SaveChoice(QWidget*, const SaveRequest&)> chooseSaveFile;
    // Lets the user look at the pages and print them: paint draws them on the
    // printer it is given (the preview's or the chosen printer's).
    std::function<void(QWidget*, QPrinter&, int pages,
                       const std::function<ReportResult(QPrinter&)>& paint)>
        print;
    // Runs a modal dialog to its end.
    std::function<void(QDialog*)> run;
};

// The file dialog, the print preview (the print dialog for lists too long to
// preview) and exec().
OutputDialogs DesktopOutputDialogs();

class ReportService : public widgets::ListOutput {
public:
    ReportService(storage::Database& db, widgets::UiPorts& ports,
                  OutputDialogs dialogs = DesktopOutputDialogs());

    void Output(QWidget* parent, widgets::ListFormat format, const text::TextTable& table) override;
    void IssueRegister(QWidget* parent, int projectNo) override;
    void IssueSet(QWidget* parent, int projectNo, int node) override;

private:
    void Save(QWidget* parent, widgets::ListFormat format, const text::TextTable& table);
    void Print(QWidget* parent, const text::TextTable& table);

    storage::Database& db_;
    widgets::UiPorts& ports_;
    OutputDialogs dialogs_;
    QString folder_;  // where the last file went
};

}  // namespace reports
