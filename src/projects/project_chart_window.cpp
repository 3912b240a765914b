#include "projects/project_chart_window.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "projects/child_window.h"
#include "projects/project_chart_texts.h"
#include "projects/project_details_panel.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"
#include "widgets/gantt_view.h"

namespace projects {

using text::Utf8;

namespace {

constexpr int kDateBytes = 8;
constexpr double kRowAxisMinimum = 0;
constexpr double kRowAxisMaximum = 11;  // ten rows visible, row 1 at the top

QColor ColorOf(std::uint32_t rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Keeps its row of controls at their natural widths: a window narrower than
// the row cuts it off at the right instead of squeezing its labels unreadable.
class ClippingPanel : public QWidget {
public:
    explicit ClippingPanel(QWidget* parent) : QWidget(parent), row_(new QWidget(this))
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QWidget* row() const { return row_; }
    QSize sizeHint() const override { return row_->sizeHint(); }
    QSize minimumSizeHint() const override { return {1, row_->sizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        row_->setGeometry(0, 0, std::max(width(), row_->sizeHint().width()), height());
    }

private:
    QWidget* row_;
};

}  // namespace

TForm9::TForm9(widgets::ScreenContext context, QWidget* parent)
    : ChildForm(parent), context_(context), logic_(context.db)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(Utf8(chart_texts::kCaption));

    auto* clipping = new ClippingPanel(this);
    Panel2 = clipping;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    QWidget* row = clipping->row();
    auto dateEdit = [row](const char* name) {
        auto* e = new widgets::ByteLineEdit(row);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxBytes(kDateBytes);
        widgets::SwitchOffInputMethod(e);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
        return e;
    };
    auto button = [row](const char* name, const char* text) {
        auto* b = new QPushButton(Utf8(text), row);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    EditD1 = dateEdit("EditD1");
    EditD2 = dateEdit("EditD2");

    RadioGroup1 = new QGroupBox(Utf8(chart_texts::kFilterCaption), row);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    radioItems_ = new QButtonGroup(RadioGroup1);
    auto* columns = new QHBoxLayout(RadioGroup1);
    columns->setContentsMargins(4, 0, 4, 0);
    int id = 0;
    for (const char* item :
         {chart_texts::kFilterItem0, chart_texts::kFilterItem1, chart_texts::kFilterItem2}) {
        auto* radio = new QRadioButton(Utf8(item), RadioGroup1);
        radioItems_->addButton(radio, id++);
        columns->addWidget(radio);
    }

    Button1 = button("Button1", chart_texts::kButtonRefresh);
    Button2 = button("Button2", chart_texts::kButtonUp);
    Button3 = button("Button3", chart_texts::kButtonDown);
    for (QPushButton* b : {Button2, Button3})
        b->setFixedSize(b->fontMetrics().height() * 2, b->fontMetrics().height() + 4);

    auto* top = new QHBoxLayout(row);
    top->setContentsMargins(2, 2, 2, 2);
    auto* startLabel = new QLabel(Utf8(chart_texts::kLabelStart), row);
    startLabel->setBuddy(EditD1);
    top->addWidget(startLabel);
    top->addWidget(EditD1);
    top->addSpacing(8);
    auto* endLabel = new QLabel(Utf8(chart_texts::kLabelEnd), row);
    endLabel->setBuddy(EditD2);
    top->addWidget(endLabel);
    top->addWidget(EditD2);
    top->addSpacing(8);
    top->addWidget(RadioGroup1);
    top->addWidget(Button1);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(Button2);
    arrows->addWidget(Button3);
    top->addLayout(arrows);
    top->addStretch(1);

    Chart1 = new widgets::GanttView(this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->SetRowAxis(kRowAxisMinimum, kRowAxisMaximum);
    Chart1->SetMessenger([this](const QString& message) { context_.ports.Inform(this, message); });
    Panel1 = new ProjectDetailsPanel(context_.db, true, this);
    Splitter1 = LayOutWithDetails(this, Panel2, Chart1, Panel1);

    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm9::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm9::Button3Click);
    connect(Chart1, &widgets::GanttView::barClicked, this,
            [this](int, double row) { Chart1ClickSeries(row); });
    connect(Panel1, &ProjectDetailsPanel::editRequested, this, &TForm9::Button7Click);
    connect(Panel1, &ProjectDetailsPanel::detailRequested, this, &TForm9::Button8Click);
}

int TForm9::RadioGroupIndex() const
{
    return radioItems_->checkedId();
}

void TForm9::SetRadioGroupIndex(int index)
{
    if (QAbstractButton* item = radioItems_->button(index)) {
        item->setChecked(true);
        return;
    }
    // No such item: none is checked, as an item index of -1 means.
    radioItems_->setExclusive(false);
    for (QAbstractButton* item : radioItems_->buttons())
        item->setChecked(false);
    radioItems_->setExclusive(true);
}

void TForm9::FormShow()
{
    const storage::Settings& s = context_.globals.settings;
    ResizeFrame({s.ChartWidth, s.ChartHeight});
    Panel1->SetPanelHeight(s.ChartPanelHeight);
    EditD1->setBytes(s.ChartStartDate);
    EditD2->setBytes(s.ChartEndDate);
    SetRadioGroupIndex(s.ChartFilter);
    Panel1->Clear();
    BuildChart();
    Button1->setFocus(Qt::OtherFocusReason);
}

void TForm9::FormClose()
{
    // Stored as they are: limits apply only when the settings file is read.
    if (closed_ || !WasShown())
        return;
    closed_ = true;
    Chart1->Clear();
    storage::Settings& s = context_.globals.settings;
    const QSize frame = StoredFrameSize();
    s.ChartWidth = frame.width();
    s.ChartHeight = frame.height();
    s.ChartPanelHeight = Panel1->PanelHeight();
    s.ChartStartDate = EditD1->bytes();
    s.ChartEndDate = EditD2->bytes();
    s.ChartFilter = RadioGroupIndex();
}

void TForm9::BuildChart()
{
    const ChartBuildOutcome outcome =
        logic_.Build(EditD1->bytes(), EditD2->bytes(), RadioGroupIndex());
    // The scroll position stays: a build does not touch the row axis.
    Chart1->Clear();
    Chart1->SetToday(context_.ports.Today());
    for (const ChartRow& row : outcome.rows) {
        const QString label = text::FromCp932(row.label);
        for (const storage::ChartSpan& span : row.spans)
            Chart1->AddBar({span.start, span.end, static_cast<double>(row.row), label,
                            ColorOf(span.rgb),
                            Utf8(chart_texts::kBarPeriods[static_cast<int>(span.period)])});
    }
    Chart1->SetDateLabelStepDays(1);
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
}

void TForm9::Button1Click()
{
    BuildChart();
}

void TForm9::Button2Click()
{
    Chart1->ScrollRows(-kRowPage);
}

void TForm9::Button3Click()
{
    Chart1->ScrollRows(kRowPage);
}

void TForm9::Chart1ClickSeries(double row)
{
    // Empties the panel first; a row outside the chart shows nothing.
    Panel1->ShowProject(logic_.ProjectAtRow(row));
}

void TForm9::Button7Click()
{
    OpenEditorFor(context_, text::StrToIntOrZero(text::ToCp932Lossy(Panel1->ShownNumber())));
}

void TForm9::Button8Click()
{
    if (!Panel1->ProjectName().isEmpty())
        OpenDetailFor(context_, text::StrToIntOrZero(text::ToCp932Lossy(Panel1->ShownNumber())));
}

}  // namespace projects
