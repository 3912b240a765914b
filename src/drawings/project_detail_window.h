#pragma once
// The project detail window: the name tree of one project on the left, and
// on the right the selected node's information, drawing list and drawing
// chart. The project is the one named by CurrentProjectNo when the window is
// shown, and stays so for the window's life.

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "drawings/drawing_branch_pages.h"
#include "drawings/drawing_info_page.h"
#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "drawings/tree_items.h"
#include "widgets/child_form.h"
#include "widgets/screen_context.h"

class QPushButton;
class QScrollArea;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace drawings {

class NameTreeView;
class TForm11;
class TForm12;

class TForm10 : public widgets::ChildForm {
    Q_OBJECT
public:
    // nameDialog asks for node names; without it nodes cannot be made or renamed.
    // revisionDialog edits a drawing's revision history; without it Button8 does nothing.
    TForm10(widgets::ScreenContext context, TForm11* nameDialog, TForm12* revisionDialog = nullptr,
            QWidget* parent = nullptr);
    ~TForm10() override;

    int ProjectNo() const { return projectNo_; }

public slots:
    void FormShow() override;
    void FormClose() override;
    void ButtonCClick();
    void ButtonM1Click();
    void ButtonM2Click();
    void ButtonM3Click();
    // Registers chosen files as new last children of the selected node.
    void ButtonM4Click();
    void ButtonM5Click();
    void TreeView1Click();
    void TreeView1ContextPopup(const QPoint& position);
    // The project's drawing issue register.
    void IssueRegisterClick();
    // The issue set PDF of the item's branch (the project node: the whole project).
    void IssueSetClick(QTreeWidgetItem* item);

    // The pages' own handlers, reachable as the window's.
    void Button1Click() { infoPage_->Button1Click(); }
    void Button2Click() { infoPage_->Button2Click(); }
    void Button3Click() { infoPage_->Button3Click(); }
    void Button4Click() { infoPage_->Button4Click(); }
    void Button5Click() { infoPage_->Button5Click(); }
    void Button6Click() { infoPage_->Button6Click(); }
    void Button7Click() { infoPage_->Button7Click(); }
    void Button8Click() { infoPage_->Button8Click(); }
    void Button9Click() { infoPage_->Button9Click(); }
    void Edit11DblClick(int box) { infoPage_->Edit11DblClick(box); }
    void SG1DblClick() { listPage_->SG1DblClick(); }
    void Chart1Resize() { chartPage_->Chart1Resize(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    QTreeWidgetItem* SelectedItem() const;
    // The node number of the selected item, 0 when none is selected.
    int SelectedNodeNumber() const;
    QTreeWidgetItem* ProjectItem() const;
    QTreeWidgetItem* ItemOfParent(int parentNumber);
    void ShowNode(int number);
    // The branch the list and chart show, up to an Esc.
    BranchWalk WalkSelectedBranch(QTreeWidgetItem* item);

    widgets::ScreenContext context_;
    TForm11* nameDialog_;
    int projectNo_ = 0;
    std::unique_ptr<ProjectDetailLogic> logic_;
    bool closed_ = false;

    QSplitter* Splitter1;
    NameTreeView* TreeView1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QScrollArea* ScrollBox1;
    DrawingInfoPage* infoPage_;
    DrawingListPage* listPage_;    // TabSheet2
    DrawingChartPage* chartPage_;  // TabSheet3
    QWidget* Panel1;
    QPushButton* ButtonC;
    QPushButton* ButtonM1;
    QPushButton* ButtonM2;
    QPushButton* ButtonM3;
    QPushButton* ButtonM4;
    QPushButton* ButtonM5;
    QStatusBar* StatusBar1;
};

}  // namespace drawings
