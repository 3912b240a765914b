#pragma once
// The project editor: a child window that creates a project or edits one,
// as ProjectEditMode and CurrentProjectNo said when it was shown.

#include <QWidget>

#include "widgets/child_form.h"

#include "projects/project_editor_logic.h"
#include "widgets/screen_context.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace widgets {
class ByteLineEdit;
}

namespace projects {

class TForm7 : public widgets::ChildForm {
    Q_OBJECT
public:
    explicit TForm7(widgets::ScreenContext context, QWidget* parent = nullptr);

    const ProjectEditorLogic& logic() const { return logic_; }

public slots:
    void FormShow() override;
    void FormClose() override;
    void Edit1DblClick();
    void Edit9DblClick(widgets::ByteLineEdit* field);
    void Button4Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ProjectForm CollectForm() const;
    std::string ComboBytes() const;
    void SetComboText(const std::string& bytes);
    void FillClientList();
    void Focus(EditorControl control);
    void SetCreatorLabel(const std::string& name);

    widgets::ScreenContext context_;
    ProjectEditorLogic logic_;

    widgets::ByteLineEdit* Edit1;
    QLabel* Label2;
    QComboBox* ComboBox1;
    widgets::ByteLineEdit* ComboEdit;  // ComboBox1's own line
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
    widgets::ByteLineEdit* Edit13;
    QCheckBox* CheckBox1;
    QPushButton* Button4;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
};

}  // namespace projects
