#pragma once
// The paged project list: 100 projects a page, sorted and filtered, the chosen
// project's data in the details panel, and the editor or the detail window
// opened from it.

#include <QWidget>

#include "widgets/child_form.h"

#include "projects/project_page_loader.h"
#include "widgets/screen_context.h"

class QComboBox;
class QPushButton;
class QSplitter;

namespace widgets {
class ByteLineEdit;
class StringGrid;
}  // namespace widgets

namespace projects {

class ProjectDetailsPanel;

class TForm8 : public widgets::ChildForm {
    Q_OBJECT
public:
    explicit TForm8(widgets::ScreenContext context, QWidget* parent = nullptr);

    const ProjectPageLoader& loader() const { return loader_; }
    ProjectDetailsPanel* detailsPanel() const { return Panel1; }

public slots:
    void FormShow() override;
    void FormClose() override;
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void ComboBox1Select(int index);
    void ComboBox2Select(int index);
    void SG1SelectCell(int row);
    void SG1DblClick();
    void Button7Click();
    void Button8Click();

private:
    void ShowPage();
    int SelectedNumber() const;

    widgets::ScreenContext context_;
    ProjectPageLoader loader_;
    bool closed_ = false;

    QWidget* Panel2;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QComboBox* ComboBox1;
    widgets::ByteLineEdit* Edit1;
    QComboBox* ComboBox2;
    QSplitter* Splitter1;
    widgets::StringGrid* SG1;
    ProjectDetailsPanel* Panel1;
};

}  // namespace projects
