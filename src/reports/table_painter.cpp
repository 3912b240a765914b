#include "reports/table_painter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <numeric>

#include "reports/report_texts.h"
#include "text/cp932.h"

namespace reports {

namespace {

constexpr double kTitlePoints = 13;
constexpr double kHeadingPoints = 9;
constexpr double kCellPoints = 8;
constexpr double kCellPaddingMm = 1.0;
constexpr double kGapMm = 2.5;
constexpr double kStampBoxMm = 22;
const QColor kHeaderFill(225, 225, 225);

// One line of a cell: no line breaks or control characters on a printed row.
QString PrintedText(const std::string& cp932)
{
    QString text = text::FromCp932(WithoutControlBytes(cp932));
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text;
}

QFont ReportFont(double points, bool bold = false)
{
    QFont font(ReportFontFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

QPageLayout ReportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QString ReportFontFamily()
{
    static const QString family = [] {
        for (const char* candidate :
             {"IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "MS Gothic", "Yu Gothic", "Meiryo"})
            if (QFontDatabase::hasFamily(QString::fromLatin1(candidate)))
                return QString::fromLatin1(candidate);
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

ReportResult ReadAllRows(const text::TextTable& table, std::vector<text::TextRow>& rows,
                         const ReportProgress& progress)
{
    rows.clear();
    if (table.rowCount > 0)
        rows.reserve(static_cast<std::size_t>(table.rowCount));
    return WriteRows(table, progress, [&](const text::TextRow& row) {
        rows.push_back(row);
        return true;
    });
}

struct TablePainter::Metrics {
    double width = 0;  // the paint rectangle, in device pixels
    double height = 0;
    double mm = 1;  // device pixels to the millimetre
    QFont title, heading, cell, header;
    double titleHeight = 0, headingHeight = 0, rowHeight = 0;
    double tableTop = 0;  // where the header row starts
    double footerHeight = 0;
    int rowsPerPage = 1;
    std::vector<double> columnX;  // left edges, then the right edge of the last
};

TablePainter::TablePainter(const text::TextTable& table, std::vector<text::TextRow> rows,
                           QDate printed)
    : table_(table), rows_(std::move(rows)), printed_(printed)
{}

TablePainter::Metrics TablePainter::Measure(QPagedPaintDevice& device) const
{
    Metrics m;
    m.width = device.width();
    m.height = device.height();
    m.mm = device.logicalDpiY() / 25.4;
    m.title = ReportFont(kTitlePoints, true);
    m.heading = ReportFont(kHeadingPoints);
    m.cell = ReportFont(kCellPoints);
    m.header = ReportFont(kCellPoints, true);
    // Metrics of fonts measured on the device itself, whose resolution they follow.
    m.titleHeight = QFontMetricsF(m.title, &device).height();
    m.headingHeight = QFontMetricsF(m.heading, &device).height();
    m.rowHeight = QFontMetricsF(m.cell, &device).height() * 1.5;
    m.tableTop = m.titleHeight + m.headingHeight * static_cast<double>(table_.headingLines.size()) +
                 kGapMm * m.mm;
    m.footerHeight = table_.footer.empty() ? 0 : (kStampBoxMm + kGapMm) * m.mm;
    const double body = m.height - m.tableTop - m.rowHeight - m.footerHeight;
    m.rowsPerPage = std::max(1, static_cast<int>(body / m.rowHeight));

    const std::size_t columns = table_.headers.size();
    std::vector<double> weights(columns, 1.0);
    for (std::size_t c = 0; c < columns && c < table_.columnWidths.size(); ++c)
        weights[c] = std::max(1, table_.columnWidths[c]);
    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    m.columnX.push_back(0);
    for (double w : weights)
        m.columnX.push_back(m.columnX.back() + m.width * w / std::max(total, 1.0));
    return m;
}

int TablePainter::PageCount(QPagedPaintDevice& device) const
{
    const int perPage = Measure(device).rowsPerPage;
    const int rows = static_cast<int>(rows_.size());
    return std::max(1, (rows + perPage - 1) / perPage);
}

ReportResult TablePainter::Paint(QPagedPaintDevice& device, const ReportProgress& progress) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return ReportResult::Failure(texts::kPrintFailed);
    const ReportResult painted = PaintOn(painter, device, false, progress);
    if (!painter.end() && painted.done())
        return ReportResult::Failure(texts::kPrintFailed);
    return painted;
}

ReportResult TablePainter::PaintOn(QPainter& painter, QPagedPaintDevice& device,
                                   bool startWithNewPage, const ReportProgress& progress) const
{
    const Metrics m = Measure(device);
    const int pages = PageCount(device);
    for (int page = 0; page < pages; ++page) {
        if ((page > 0 || startWithNewPage) && !device.newPage())
            return ReportResult::Failure(texts::kPrintFailed);
        PaintPage(painter, m, page, pages);
        if (progress && !progress(page + 1, pages))
            return {ReportStatus::Stopped, {}};
    }
    return {};
}

void TablePainter::PaintPage(QPainter& painter, const Metrics& m, int page, int pages) const
{
    const double pad = kCellPaddingMm * m.mm;
    const QPen thin(Qt::black, std::max(1.0, 0.15 * m.mm));

    // Head: title and heading lines on the left; date printed and page on the right.
    painter.setPen(Qt::black);
    painter.setFont(m.title);
    painter.drawText(QRectF(0, 0, m.width, m.titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     PrintedText(table_.title));
    painter.setFont(m.heading);
    const QString stamp = text::Utf8(texts::kPrintedOn) +
                          printed_.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral("    ") +
                          QString::number(page + 1) + text::Utf8(texts::kPageOf) +
                          QString::number(pages);
    painter.drawText(QRectF(0, 0, m.width, m.titleHeight), Qt::AlignRight | Qt::AlignVCenter,
                     stamp);
    double y = m.titleHeight;
    for (const std::string& line : table_.headingLines) {
        painter.drawText(QRectF(0, y, m.width, m.headingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         PrintedText(line));
        y += m.headingHeight;
    }

    const auto drawRow = [&](const text::TextRow& cells, double top, bool header) {
        painter.setFont(header ? m.header : m.cell);
        const QFontMetricsF metrics(painter.font(), painter.device());
        for (std::size_t c = 0; c + 1 < m.columnX.size(); ++c) {
            const QRectF cell(m.columnX[c], top, m.columnX[c + 1] - m.columnX[c], m.rowHeight);
            if (header)
                painter.fillRect(cell, kHeaderFill);
            painter.setPen(thin);
            painter.drawRect(cell);
            if (c >= cells.size())
                continue;
            const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
            const Qt::Alignment align =
                !header && table_.IsNumberColumn(c) ? Qt::AlignRight : Qt::AlignLeft;
            painter.setPen(Qt::black);
            painter.drawText(
                inner, align | Qt::AlignVCenter,
                metrics.elidedText(PrintedText(cells[c]), Qt::ElideRight, inner.width()));
        }
    };

    drawRow(table_.headers, m.tableTop, true);
    const std::size_t first =
        static_cast<std::size_t>(page) * static_cast<std::size_t>(m.rowsPerPage);
    const std::size_t last =
        std::min(rows_.size(), first + static_cast<std::size_t>(m.rowsPerPage));
    double top = m.tableTop + m.rowHeight;
    for (std::size_t r = first; r < last; ++r, top += m.rowHeight)
        drawRow(rows_[r], top, false);

    if (!table_.footer.empty()) {
        const double side = kStampBoxMm * m.mm;
        const QRectF box(m.width - side, m.height - side, side, side);
        painter.setPen(thin);
        painter.drawRect(box);
        painter.setFont(m.heading);
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(0, pad, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                         PrintedText(table_.footer));
    }
}

}  // namespace reports
