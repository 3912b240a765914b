#pragma once
// A list laid out on pages: A4 landscape unless the device says otherwise,
// every page headed by the list's title and heading lines with the date
// printed and "page / pages", then the header row and as many rows as fit,
// the grid's columns scaled to the page width, in a Japanese font. A list
// with a foot (the issue register's receipt stamp) has it on every page.

#include <QDate>
#include <QPageLayout>
#include <vector>

#include "reports/report_output.h"
#include "text/text_table.h"

class QPagedPaintDevice;
class QPainter;

namespace reports {

// What every printed list starts from: A4 landscape, 10 mm margins.
QPageLayout ReportPageLayout();

// The rows of a table read into memory, since pages are counted before the
// first is drawn and a preview draws them more than once.
ReportResult ReadAllRows(const text::TextTable& table, std::vector<text::TextRow>& rows,
                         const ReportProgress& progress = {});

class TablePainter {
public:
    TablePainter(const text::TextTable& table, std::vector<text::TextRow> rows, QDate printed);

    // For the device's page size and resolution.
    int PageCount(QPagedPaintDevice& device) const;
    // Draws every page; progress counts pages. Failed when the device cannot
    // be painted on.
    ReportResult Paint(QPagedPaintDevice& device, const ReportProgress& progress = {}) const;
    // The same with a painter already active on the device, after the pages
    // drawn before: startWithNewPage when the device's current page is taken.
    ReportResult PaintOn(QPainter& painter, QPagedPaintDevice& device, bool startWithNewPage,
                         const ReportProgress& progress = {}) const;

private:
    struct Metrics;
    Metrics Measure(QPagedPaintDevice& device) const;
    void PaintPage(QPainter& painter, const Metrics& m, int page, int pages) const;

    const text::TextTable& table_;
    std::vector<text::TextRow> rows_;
    QDate printed_;
};

// The family the lists are printed in: the first Japanese gothic the system has.
QString ReportFontFamily();

}  // namespace reports
