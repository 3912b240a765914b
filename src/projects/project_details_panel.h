#pragma once
// The read-only panel of one project's data under the project list and the
// project chart. It reads the project itself; its owner decides which project
// and what its edit and detail buttons open.

#include <QWidget>

#include "storage/database.h"
#include "widgets/screen_context.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSplitter;

namespace widgets {
class ByteLineEdit;
}

namespace projects {

class ProjectDetailsPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTallHeight = 172;
    static constexpr int kShortHeight = 28;  // the first row with its buttons only

    // With numberLabel the panel keeps the hidden LabelN, the number of the
    // project it shows, for an owner that has no grid row to read it from.
    ProjectDetailsPanel(storage::Database& db, bool numberLabel, QWidget* parent = nullptr);

    // Every field empty and the creator label without a name.
    void Clear();
    // Clears, then shows the project (nothing for a number below 1).
    void ShowProject(int number);

    QString ProjectName() const;
    QString ShownNumber() const;

    // The panel's height; inside a splitter the other pane takes the rest.
    int PanelHeight() const { return height(); }
    void SetPanelHeight(int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void Button5Click();
    void Button6Click();

signals:
    void editRequested();    // Button7
    void detailRequested();  // Button8

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    storage::Database& db_;
    QWidget* content_;  // laid out at its own height; the panel shows what fits
    widgets::ByteLineEdit* Edit2;
    widgets::ByteLineEdit* Edit3;
    widgets::ByteLineEdit* Edit4;
    widgets::ByteLineEdit* Edit5;
    widgets::ByteLineEdit* Edit6;
    widgets::ByteLineEdit* Edit7;
    widgets::ByteLineEdit* Edit8;
    widgets::ByteLineEdit* Edit9;
    widgets::ByteLineEdit* Edit10;
    widgets::ByteLineEdit* Edit11;
    widgets::ByteLineEdit* Edit12;
    QCheckBox* CheckBox1;
    QLabel* LabelA;
    QLabel* LabelN = nullptr;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
};

// The layout the list and the chart share: the top row, then the view above
// the panel in Splitter1, which gives any new height to the view.
QSplitter* LayOutWithDetails(QWidget* window, QWidget* topRow, QWidget* view,
                             ProjectDetailsPanel* panel);

// What the panel's edit and detail buttons open for a project number; nothing
// for a number below 1, and opening never reports a failure.
void OpenEditorFor(widgets::ScreenContext& context, int number);
void OpenDetailFor(widgets::ScreenContext& context, int number);

}  // namespace projects
