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

#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "widgets/child_form.h"
#include "widgets/screen_context.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace widgets {
class ByteLineEdit;
class GanttView;
class StringGrid;
}  // namespace widgets

namespace drawings {

class TForm11;
class TForm12;
struct DrawingPage;
struct PageOutcome;

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
    void ButtonM5Click();
    void TreeView1Click();

    // The information page's buttons. They change only the page's controls;
    // Button9Click alone writes the drawing record, and Button8Click's editor
    // writes the revision table.
    void Button1Click();  // choose the drawing's file
    void Button2Click();  // open it with its program
    void Button3Click();  // its header text into the first memo line
    void Button4Click();  // check stamp
    void Button5Click();  // approval stamp
    void Button6Click();  // issue stamp
    void Button7Click();  // the newest revision
    void Button8Click();  // the revision history editor
    void Button9Click();  // save; drawing nodes only
    // Today's date into the date box `box` (11 to 16) that was double-clicked.
    void Edit11DblClick(int box);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildInformationPage();
    void ShowNodeInfo(int number, const std::string& name);
    // The list and chart pages of the selected branch; they stay empty until
    // those pages are built.
    void FillDrawingList(QTreeWidgetItem* item);
    void BuildDrawingChart(QTreeWidgetItem* item);
    QTreeWidgetItem* SelectedItem() const;
    // The node number of the selected item, 0 when none is selected.
    int SelectedNodeNumber() const;
    QTreeWidgetItem* ProjectItem() const;
    QTreeWidgetItem* ItemOfParent(int parentNumber);
    void SetDrawingControlsVisible(bool visible);

    widgets::ScreenContext context_;
    TForm11* nameDialog_;
    int projectNo_ = 0;
    std::unique_ptr<ProjectDetailLogic> logic_;
    std::vector<std::string> memberItems_;  // CP932, the same in all five combos
    // Whether the information page holds its node as stored; a read over a
    // lost connection leaves it blank, and saving that would wipe the record.
    bool pageRead_ = false;
    bool closed_ = false;

    QSplitter* Splitter1;
    QTreeWidget* TreeView1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QScrollArea* ScrollBox1;
    widgets::StringGrid* SG1;
    widgets::GanttView* Chart1;
    QWidget* Panel1;
    QPushButton* ButtonC;
    QPushButton* ButtonM1;
    QPushButton* ButtonM2;
    QPushButton* ButtonM3;
    QPushButton* ButtonM4;
    QPushButton* ButtonM5;
    QStatusBar* StatusBar1;

    // Label1 to Label20, Edit1 to Edit16, ComboBox1 to ComboBox5, Button1 to
    // Button9, each at its number minus one.
    std::array<QLabel*, 20> labels_{};
    std::array<widgets::ByteLineEdit*, 16> edits_{};
    std::array<QComboBox*, 5> combos_{};
    std::array<QPushButton*, 9> buttons_{};
    QPlainTextEdit* Memo1;

    // Information page buttons.
    void ConnectInformationPage();
    DrawingPage PageInput() const;
    void Apply(const PageOutcome& outcome);
    void ShowRevisionLines(const std::vector<std::string>& lines);
    TForm12* revisionDialog_ = nullptr;

    // File registration, and the drawing list and chart pages.
public slots:
    // Registers chosen files as new last children of the selected node.
    void ButtonM4Click();
    // Opens the file of the list row double-clicked.
    void SG1DblClick();
    // Fits the chart's row axis to its height.
    void Chart1Resize();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct WalkedNode {
        QTreeWidgetItem* item;
        int depth;  // the project node has depth 0
    };
    void ConnectDrawingPages();
    // The items the list and the chart show for the selected item, in order,
    // up to an Esc; baseLevel gets the depth names are indented from.
    std::vector<WalkedNode> WalkNodes(QTreeWidgetItem* item, int& baseLevel);
};

}  // namespace drawings
