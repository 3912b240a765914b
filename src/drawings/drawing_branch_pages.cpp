#include "drawings/drawing_branch_pages.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>

#include "drawings/detail_texts.h"
#include "drawings/drawing_chart_logic.h"
#include "drawings/drawing_list_report.h"
#include "drawings/drawing_rows.h"
#include "drawings/node_text.h"
#include "drawings/project_detail_logic.h"
#include "storage/project_periods.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "widgets/gantt_view.h"
#include "widgets/list_output_menu.h"
#include "widgets/string_grid.h"

namespace drawings {

using text::Utf8;

namespace texts = detail_texts;

namespace {

constexpr int kListColumns = 13;
constexpr double kChartRowMinimum = -1;
constexpr int kChartInitialMaximum = 11;
constexpr int kWheelNotch = 120;
const QColor kListHeaderColor(133, 182, 235);
const QColor kChartBackground(194, 193, 255);

QVBoxLayout* BareLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

storage::Row ReadProjectRow(storage::Database& db, int projectNo)
{
    storage::Row project(storage::kProjectColumns);
    db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo), project);
    return project;
}

// The walk's own Esc has already cut the branch, and what it walked is
// filled; a new Esc during the reading of the rows stops that too.
std::function<bool()> StopOnNewEscape(widgets::ScreenContext& context)
{
    context.ports.ResetEscape();
    return [&context] { return context.ports.EscapePressed(); };
}

}  // namespace

DrawingListPage::DrawingListPage(widgets::ScreenContext context, QWidget* parent)
    : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("TabSheet2"));
    SG1 = new widgets::StringGrid(kListColumns, this);
    SG1->setObjectName(QStringLiteral("SG1"));
    BareLayout(this)->addWidget(SG1);
    SG1->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; }")
            .arg(kListHeaderColor.name()));
    connect(SG1, &QTableWidget::cellDoubleClicked, this, &DrawingListPage::SG1DblClick);
    widgets::AttachListOutput(SG1, context_.listOutput, [this] { return Table(); });
}

void DrawingListPage::Prepare()
{
    const storage::Settings& s = context_.globals.settings;
    SG1->SetRowCount(2);
    QStringList headers;
    for (const char* header : texts::kListHeaders)
        headers << Utf8(header);
    SG1->SetHeaders(headers);
    SG1->ClearRow(1);
    SG1->SetColumnWidths(std::vector<int>(s.DetailColWidths.begin(), s.DetailColWidths.end()));
}

void DrawingListPage::StoreColumnWidths()
{
    storage::Settings& s = context_.globals.settings;
    const std::vector<int> widths = SG1->ColumnWidths();
    for (size_t i = 0; i < s.DetailColWidths.size() && i < widths.size(); ++i)
        s.DetailColWidths[i] = widths[i];
}

void DrawingListPage::Fill(ProjectDetailLogic& logic, const BranchWalk& walk)
{
    std::vector<ListedNode> nodes;
    nodes.reserve(walk.nodes.size());
    for (const WalkedNode& node : walk.nodes) {
        ParsedNode parsed = ParseNodeText(ItemBytes(node.item));
        nodes.push_back({parsed.number, std::move(parsed.name), node.depth});
    }
    rows_ = DrawingListRows(context_.db, logic.tables(), logic.projectNo(), nodes, walk.baseLevel,
                            StopOnNewEscape(context_));

    SG1->setUpdatesEnabled(false);
    SG1->SetRowCount(2);
    SG1->ClearRow(1);
    SG1->SetRowCount(static_cast<int>(rows_.size()) + 1);
    for (size_t r = 0; r < rows_.size(); ++r)
        for (int c = 0; c < kListColumns; ++c)
            SG1->SetCell(c, static_cast<int>(r) + 1, text::FromCp932(rows_[r][c]));
    SG1->setUpdatesEnabled(true);
}

text::TextTable DrawingListPage::Table() const
{
    return DrawingListTable(rows_.empty() ? std::string() : rows_.front()[1], rows_,
                            SG1->ColumnWidths());
}

void DrawingListPage::SG1DblClick()
{
    const int row = SG1->Row();
    if (row <= 1 || row >= SG1->RowCount())
        return;
    const QString path = SG1->Cell(3, row) + SG1->Cell(2, row);
    if (path.isEmpty())
        context_.ports.Inform(this, Utf8(texts::kListNoPathOrFile));
    else if (QFileInfo(path).isFile())
        context_.ports.OpenWithAssociatedProgram(path);
    else
        context_.ports.Inform(this, Utf8(texts::kListFileMissing));
}

DrawingChartPage::DrawingChartPage(widgets::ScreenContext context, QWidget* parent)
    : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("TabSheet3"));
    Chart1 = new widgets::GanttView(this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    BareLayout(this)->addWidget(Chart1);
    Chart1->SetBackground(kChartBackground);
    Chart1->SetDateLabelStepDays(1);
    Chart1->SetRowAxis(kChartRowMinimum, kChartInitialMaximum);
    Chart1->setMinimumSize(0, 0);  // the page decides; a low chart keeps rows 0 to 3
    Chart1->SetMessenger([this](const QString& message) { context_.ports.Inform(this, message); });
    Chart1->installEventFilter(this);
}

bool DrawingChartPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Chart1 && event->type() == QEvent::Resize) {
        Chart1Resize();
    } else if (watched == Chart1 && event->type() == QEvent::Wheel &&
               static_cast<QWheelEvent*>(event)->modifiers() == Qt::NoModifier &&
               static_cast<QWheelEvent*>(event)->angleDelta().y() != 0) {
        // One row a notch; rows past the chart's height are reached by scrolling,
        // never above row 0. The chart zooms and pans the days itself.
        wheelRemainder_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int steps = wheelRemainder_ / kWheelNotch;
        wheelRemainder_ -= steps * kWheelNotch;
        const double delta = std::max<double>(-steps, kChartRowMinimum - Chart1->RowMinimum());
        if (delta != 0)
            Chart1->ScrollRows(delta);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DrawingChartPage::Build(ProjectDetailLogic& logic, const BranchWalk& walk)
{
    const storage::Row project = ReadProjectRow(context_.db, logic.projectNo());
    Chart1->Clear();
    Chart1->SetToday(context_.ports.Today());
    Chart1->SetRowAxis(kChartRowMinimum, ChartRowAxisMaximum(Chart1->height()));

    const QString projectName = text::FromCp932(project[3]);
    const storage::ProjectSpans spans = storage::ProjectSpansOf(project);
    for (const storage::ChartSpan& span : spans.spans)
        Chart1->AddBar({span.start, span.end, 0, projectName, QColor::fromRgb(span.rgb),
                        Utf8(texts::kBarPeriods[static_cast<int>(span.period)])});
    Chart1->SetDateLabelStepDays(1);
    int row = spans.spans.empty() ? 0 : 1;

    std::vector<ParsedNode> nodes;
    std::vector<int> numbers;
    for (const WalkedNode& node : walk.nodes) {
        nodes.push_back(ParseNodeText(ItemBytes(node.item)));
        numbers.push_back(nodes.back().number);
    }
    const WalkRows read =
        ReadWalkRows(context_.db, logic.tables().drawing, numbers, StopOnNewEscape(context_));
    for (std::size_t i = 0; i < read.filled; ++i) {
        const ParsedNode& node = nodes[i];
        const auto found = read.rows.find(node.number);
        if (node.number <= 0 || found == read.rows.end())
            continue;
        const std::vector<DrawingBar> bars = DrawingBarsOf(found->second);
        const QString label = text::FromCp932(node.name);
        for (const DrawingBar& bar : bars)
            Chart1->AddBar({bar.start, bar.end, static_cast<double>(row), label,
                            QColor::fromRgb(bar.rgb),
                            Utf8(texts::kBarStages[static_cast<int>(bar.stage)])});
        if (!bars.empty())
            ++row;
    }
}

void DrawingChartPage::Chart1Resize()
{
    // Keeps the rows scrolled to, with as many rows below as the height holds.
    const double top = Chart1->RowMinimum();
    Chart1->SetRowAxis(top, top - kChartRowMinimum + ChartRowAxisMaximum(Chart1->height()));
}

}  // namespace drawings
