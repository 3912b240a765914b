#pragma once
// The drawing list and drawing chart pages of the project detail window: the
// project's own row or bars, then the drawings of the walked branch.

#include <QWidget>
#include <functional>

#include "drawings/drawing_chart_logic.h"
#include "drawings/tree_items.h"
#include "text/text_table.h"
#include "widgets/screen_context.h"

namespace widgets {
class GanttView;
class StringGrid;
}  // namespace widgets

namespace drawings {

class ProjectDetailLogic;

class DrawingListPage : public QWidget {
    Q_OBJECT
public:
    DrawingListPage(widgets::ScreenContext context, QWidget* parent = nullptr);

    // Headers and column widths from the settings.
    void Prepare();
    void StoreColumnWidths();
    void Fill(ProjectDetailLogic& logic, const BranchWalk& walk);
    // Opens the file of the row double-clicked.
    void SG1DblClick();
    // What the list shows, for the printer and files.
    text::TextTable Table() const;

private:
    widgets::ScreenContext context_;
    widgets::StringGrid* SG1;
    std::vector<ListRow> rows_;  // the rows shown, as stored bytes
};

class DrawingChartPage : public QWidget {
    Q_OBJECT
public:
    DrawingChartPage(widgets::ScreenContext context, QWidget* parent = nullptr);

    void Build(ProjectDetailLogic& logic, const BranchWalk& walk);
    // Fits the row axis to the chart's height.
    void Chart1Resize();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    widgets::ScreenContext context_;
    widgets::GanttView* Chart1;
    int wheelRemainder_ = 0;  // a fine-grained wheel's part of a notch
};

}  // namespace drawings
