#pragma once
// The project chart: the projects whose dates fall into a chosen range as a
// Gantt chart, one row per project, and the clicked project's data in the
// details panel, from which the editor or the detail window is opened.

#include <QWidget>

#include "widgets/child_form.h"

#include "projects/project_chart_logic.h"
#include "widgets/screen_context.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QSplitter;

namespace widgets {
class ByteLineEdit;
class GanttView;
}  // namespace widgets

namespace projects {

class ProjectDetailsPanel;

class TForm9 : public widgets::ChildForm {
    Q_OBJECT
public:
    static constexpr double kRowPage = 10;  // rows one △ or ▽ scrolls

    explicit TForm9(widgets::ScreenContext context, QWidget* parent = nullptr);

    ProjectDetailsPanel* detailsPanel() const { return Panel1; }
    widgets::GanttView* chart() const { return Chart1; }

    // RadioGroup1's checked item, -1 for none.
    int RadioGroupIndex() const;
    void SetRadioGroupIndex(int index);

public slots:
    void FormShow() override;
    void FormClose() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Chart1ClickSeries(double row);
    void Button7Click();
    void Button8Click();

private:
    void BuildChart();

    widgets::ScreenContext context_;
    ProjectChartLogic logic_;
    bool closed_ = false;

    QWidget* Panel2;
    widgets::ByteLineEdit* EditD1;
    widgets::ByteLineEdit* EditD2;
    QGroupBox* RadioGroup1;
    QButtonGroup* radioItems_;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QSplitter* Splitter1;
    widgets::GanttView* Chart1;
    ProjectDetailsPanel* Panel1;
};

}  // namespace projects
