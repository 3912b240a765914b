#include "widgets/gantt_view.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "widgets/gantt_output.h"
#include "widgets/gantt_texts.h"
#include "widgets/print_preview.h"
#include "widgets/save_file_dialog.h"
#include "widgets/svg_canvas.h"

namespace widgets {

namespace {

constexpr double kWheelZoom = 1.25;  // per notch
constexpr double kKeyZoom = 1.5;
constexpr double kPanShare = 0.125;  // of the body's width, per notch or arrow key
constexpr int kNotch = 120;
constexpr double kMaxNotches = 10;  // a wheel flung hard counts as this many
constexpr double kEdgeGrip = 3;     // pixels either side of the label column's edge
constexpr double kMinimumLabelWidth = 24;
constexpr double kMaximumLabelWidth = 2000;
constexpr double kRowLimit = 1e9;

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

double Notches(int angle)
{
    return std::clamp(angle / static_cast<double>(kNotch), -kMaxNotches, kMaxNotches);
}

}  // namespace

GanttView::GanttView(QWidget* parent)
    : QWidget(parent),
      horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this))
{
    setMinimumSize(120, 80);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingBars_)
            return;
        GanttFrame frame = Frame();
        frame.scale.Show(dayScroll_.originDay + value / dayScroll_.unitsPerDay, frame.scale.Days());
        Keep(frame.scale);
    });
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!updatingBars_)
            SetRowAxis(value, value + (rows_.maximum - rows_.minimum));
    });
    UpdateScrollBars();
}

void GanttView::Clear()
{
    content_.Clear();
    highlighted_.reset();
    Changed();
}

void GanttView::AddBar(const GanttBar& bar)
{
    content_.Add(bar);
    // A build adds thousands of bars in a row: the scroll bars follow once, after it.
    if (!scrollBarsPending_) {
        scrollBarsPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                scrollBarsPending_ = false;
                UpdateScrollBars();
            },
            Qt::QueuedConnection);
    }
    update();
}

void GanttView::SetRowAxis(double minimum, double maximum)
{
    rows_ = {minimum, maximum};
    Changed();
}

void GanttView::ScrollRows(double delta)
{
    SetRowAxis(rows_.minimum + delta, rows_.maximum + delta);
}

void GanttView::StepRows(double delta)
{
    rows_ = timeline::ScrolledWithin(rows_, content_.Index().Rows(), delta);
    Changed();
}

void GanttView::SetDateLabelStepDays(int days)
{
    stepDays_ = std::max(1, days);
    update();
}

void GanttView::SetBackground(const QColor& color)
{
    background_ = color;
    update();
}

void GanttView::SetToday(const QDate& today)
{
    today_ = today;
    Changed();
}

void GanttView::FitAll()
{
    follow_ = true;
    Changed();
}

void GanttView::ShowDays(double firstDay, double days)
{
    GanttFrame frame = Frame();
    frame.scale.Show(firstDay, days);
    Keep(frame.scale);
}

void GanttView::ZoomAt(double x, double factor)
{
    GanttFrame frame = Frame();
    frame.scale.ZoomAt(x - frame.body.left(), factor);
    Keep(frame.scale);
}

void GanttView::Pan(double pixels)
{
    GanttFrame frame = Frame();
    frame.scale.Pan(pixels);
    Keep(frame.scale);
}

void GanttView::SetLabelWidth(double width)
{
    labelWidth_ = std::clamp(width, kMinimumLabelWidth, kMaximumLabelWidth);
    Changed();
}

void GanttView::Keep(const timeline::TimeScale& scale)
{
    follow_ = false;
    firstDay_ = scale.FirstDay();
    pixelsPerDay_ = scale.PixelsPerDay();
    Changed();
}

void GanttView::Changed()
{
    UpdateScrollBars();
    update();
}

QRectF GanttView::ChartArea() const
{
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRectF(0, 0, std::max(1, width() - bar), std::max(1, height() - bar));
}

std::pair<double, double> GanttView::DayExtent() const
{
    timeline::TimeScale scale;
    if (const auto days = content_.Index().Days())
        timeline::FitDays(scale, days->first, days->second);
    else
        timeline::ShowMonthOf(scale, today_.isValid() ? today_ : QDate(2000, 1, 1));
    return {scale.FirstDay(), scale.LastDay()};
}

GanttFrame GanttView::Frame() const
{
    GanttFrame frame;
    frame.font = PixelSized(font());
    frame.rows = rows_;
    frame.highlightedRow = highlighted_;
    frame.today = today_;
    frame.background = background_;
    frame.minimumStepDays = stepDays_;
    PlaceParts(frame, ChartArea(), labelWidth_);
    if (follow_) {
        const auto [first, last] = DayExtent();
        frame.scale.Show(first, last - first);
    } else {
        frame.scale.Show(firstDay_, frame.body.width() / pixelsPerDay_);
    }
    return frame;
}

void GanttView::UpdateScrollBars()
{
    updatingBars_ = true;
    const GanttFrame frame = Frame();
    const QRectF area = ChartArea();
    horizontal_->setGeometry(
        QRectF(frame.body.left(), area.bottom(), frame.body.width(), height() - area.height())
            .toRect());
    vertical_->setGeometry(
        QRectF(area.right(), frame.body.top(), width() - area.width(), frame.body.height())
            .toRect());

    const auto [first, last] = DayExtent();
    dayScroll_ = timeline::ScrollRangeOver(frame.scale, first, last);
    horizontal_->setRange(0, dayScroll_.maximum);
    horizontal_->setPageStep(dayScroll_.page);
    horizontal_->setSingleStep(std::max(1, dayScroll_.page / 10));
    horizontal_->setValue(dayScroll_.value);

    // Rows are whatever numbers the owner gives; the bar holds what int can.
    const auto whole = [](double rows) {
        return static_cast<int>(std::clamp(std::round(rows), -kRowLimit, kRowLimit));
    };
    const timeline::RowScrollRange rows = timeline::ScrollRangeOf(rows_, content_.Index().Rows());
    vertical_->setRange(whole(std::floor(rows.minimum)), whole(std::ceil(rows.maximum)));
    vertical_->setPageStep(std::max(1, whole(rows_.Span())));
    vertical_->setSingleStep(1);
    vertical_->setValue(whole(rows_.minimum));
    updatingBars_ = false;
}

int GanttView::BarAt(const QPoint& point) const
{
    return widgets::BarAt(content_, Frame(), point);
}

QRectF GanttView::BarRect(int index) const
{
    const timeline::PlacedBar* placed = content_.Index().Find(index);
    return placed ? QRectF(widgets::BarRect(Frame(), *placed)) : QRectF();
}

bool GanttView::OnLabelEdge(const QPointF& point) const
{
    const GanttFrame frame = Frame();
    return std::abs(point.x() - frame.labels.right()) <= kEdgeGrip &&
           point.y() <= frame.labels.bottom();
}

void GanttView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    PaintGantt(painter, content_, Frame(), palette());
}

void GanttView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateScrollBars();
}

void GanttView::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const GanttFrame frame = Frame();
    if (event->button() == Qt::LeftButton && OnLabelEdge(at)) {
        drag_ = Drag::LabelEdge;
        return;
    }
    if (event->button() == Qt::LeftButton && frame.body.contains(at)) {
        const int bar = widgets::BarAt(content_, frame, at);
        if (bar >= 0) {
            const double row = Bars()[static_cast<size_t>(bar)].row;
            highlighted_ = row;
            update();
            emit barClicked(bar, row);
            return;
        }
    }
    if (event->button() == Qt::LeftButton && frame.labels.contains(at)) {
        if (const auto row = widgets::RowAt(content_, frame, at.y())) {
            highlighted_ = row;
            update();
        }
        return;
    }
    if ((event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) &&
        (frame.body.contains(at) || frame.header.contains(at))) {
        drag_ = Drag::Pan;
        dragOrigin_ = at;
        dragFirstDay_ = frame.scale.FirstDay();
        setCursor(Qt::ClosedHandCursor);
    }
}

void GanttView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (drag_ == Drag::Pan) {
        GanttFrame frame = Frame();
        frame.scale.Show(dragFirstDay_ - (at.x() - dragOrigin_.x()) / frame.scale.PixelsPerDay(),
                         frame.scale.Days());
        Keep(frame.scale);
    } else if (drag_ == Drag::LabelEdge) {
        SetLabelWidth(at.x() - ChartArea().left());
    } else if (OnLabelEdge(at)) {
        setCursor(Qt::SplitHCursor);
    } else {
        unsetCursor();
    }
}

void GanttView::mouseReleaseEvent(QMouseEvent*)
{
    if (drag_ == Drag::Pan)
        unsetCursor();
    drag_ = Drag::None;
}

void GanttView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (angle.y() != 0)
            ZoomAt(event->position().x(), std::pow(kWheelZoom, Notches(angle.y())));
    } else if ((event->modifiers() & Qt::ShiftModifier) ||
               std::abs(angle.x()) > std::abs(angle.y())) {
        const int along = angle.x() != 0 ? angle.x() : angle.y();
        Pan(-Notches(along) * Frame().body.width() * kPanShare);
    } else {
        // Fine-grained wheels send fractions of a notch: rows move once a notch is full.
        wheelRemainder_ = std::clamp(wheelRemainder_ + angle.y(), -kNotch * 1000, kNotch * 1000);
        const int notches = wheelRemainder_ / kNotch;
        wheelRemainder_ -= notches * kNotch;
        if (notches != 0)
            StepRows(-notches);
    }
    event->accept();
}

void GanttView::keyPressEvent(QKeyEvent* event)
{
    const double centre = Frame().body.center().x();
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomAt(centre, kKeyZoom);
            break;
        case Qt::Key_Minus:
            ZoomAt(centre, 1 / kKeyZoom);
            break;
        case Qt::Key_Home:
            FitAll();
            break;
        case Qt::Key_Left:
            Pan(-Frame().body.width() * kPanShare);
            break;
        case Qt::Key_Right:
            Pan(Frame().body.width() * kPanShare);
            break;
        case Qt::Key_Up:
            StepRows(-1);
            break;
        case Qt::Key_Down:
            StepRows(1);
            break;
        case Qt::Key_PageUp:
            StepRows(-std::floor(rows_.Span()));
            break;
        case Qt::Key_PageDown:
            StepRows(std::floor(rows_.Span()));
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void GanttView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const double x =
        event->reason() == QContextMenuEvent::Mouse ? event->pos().x() : Frame().body.center().x();
    QAction* zoomIn = menu.addAction(U(gantt_texts::kMenuZoomIn));
    zoomIn->setShortcut(QKeySequence(Qt::Key_Plus));
    QAction* zoomOut = menu.addAction(U(gantt_texts::kMenuZoomOut));
    zoomOut->setShortcut(QKeySequence(Qt::Key_Minus));
    QAction* fitAll = menu.addAction(U(gantt_texts::kMenuFitAll));
    fitAll->setShortcut(QKeySequence(Qt::Key_Home));
    menu.addSeparator();
    QAction* saveImage = menu.addAction(U(gantt_texts::kMenuSaveImage));
    QAction* savePdf = menu.addAction(U(gantt_texts::kMenuSavePdf));
    QAction* print = menu.addAction(U(gantt_texts::kMenuPrint));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == zoomIn)
        ZoomAt(x, kKeyZoom);
    else if (chosen == zoomOut)
        ZoomAt(x, 1 / kKeyZoom);
    else if (chosen == fitAll)
        FitAll();
    else if (chosen == saveImage)
        SaveImageAs();
    else if (chosen == savePdf)
        SavePdfAs();
    else if (chosen == print)
        PrintChart();
}

bool GanttView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QPointF at = help->pos();
    const GanttFrame frame = Frame();
    QString text;
    QRect area;  // the tip goes when the pointer leaves it
    if (frame.body.contains(at)) {
        const int bar = widgets::BarAt(content_, frame, at);
        if (bar >= 0) {
            text = BarToolTip(Bars()[static_cast<size_t>(bar)]);
            area = BarRect(bar).toAlignedRect();
        }
    } else if (frame.labels.contains(at)) {
        if (const auto row = widgets::RowAt(content_, frame, at.y())) {
            text = content_.RowLabel(*row);
            const double half = frame.RowPixels() / 2;
            area = QRectF(QPointF(frame.labels.left(), frame.Y(*row) - half),
                          QPointF(frame.labels.right(), frame.Y(*row) + half))
                       .toAlignedRect();
        }
    } else if (frame.header.contains(at)) {
        text = timeline::DateOf(frame.scale.DayAt(at.x() - frame.body.left()))
                   .toString(QStringLiteral("yyyy/MM/dd"));
    }
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this, area);
    }
    return true;
}

bool GanttView::SaveImage(const QString& path)
{
    return WriteChartImage(content_, Frame(), size(), palette(), path);
}

bool GanttView::SavePdf(const QString& path)
{
    return WriteChartPdf(content_, Frame(), palette(), path);
}

QString GanttView::ChooseSavePath(const char* title, const QString& filters)
{
    if (choosePath_)
        return choosePath_(U(title), filters);
    return AskSaveFile(this, {U(title), QString(), QString(), filters.split(QStringLiteral(";;"))})
        .path;
}

void GanttView::SaveImageAs()
{
    // Without SVG support only the filter before ";;" (PNG) is offered.
    const QString all = U(gantt_texts::kImageFilters);
    const QString filters = SvgSupported() ? all : all.section(QStringLiteral(";;"), 0, 0);
    const QString path = ChooseSavePath(gantt_texts::kSaveImageTitle, filters);
    if (!path.isEmpty() && !SaveImage(path))
        Inform(U(gantt_texts::kImageNotSaved) + "\n" + QDir::toNativeSeparators(path));
}

void GanttView::SavePdfAs()
{
    const QString path = ChooseSavePath(gantt_texts::kSavePdfTitle, U(gantt_texts::kPdfFilters));
    if (!path.isEmpty() && !SavePdf(path))
        Inform(U(gantt_texts::kPdfNotSaved) + "\n" + QDir::toNativeSeparators(path));
}

void GanttView::PrintChart()
{
    QPrinter printer(QPrinter::HighResolution);
    UseA4Landscape(printer);
    const GanttFrame shown = Frame();
    bool failed = false;
    auto paint = [this, &shown, &failed](QPrinter* target) {
        QPainter painter;
        if (!painter.begin(target) || !PaintPages(painter, *target, content_, shown, palette()))
            failed = true;
    };
    const int pages = PageCount(content_, shown, printer);
    if (preview_)
        preview_(printer, pages, paint);
    else
        PreviewOrPrint(this, printer, pages, [&paint](QPrinter& target) { paint(&target); });
    if (failed)
        Inform(U(gantt_texts::kNotPrinted));
}

void GanttView::Inform(const QString& message)
{
    if (inform_)
        inform_(message);
    else
        QMessageBox::warning(this, QGuiApplication::applicationDisplayName(), message);
}

}  // namespace widgets
