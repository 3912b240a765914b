#include "projects/project_editor_window.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "projects/child_window.h"
#include "projects/project_editor_texts.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"

namespace projects {

using text::Utf8;

TForm7::TForm7(widgets::ScreenContext context, QWidget* parent)
    : ChildForm(parent), context_(context), logic_(context.db, context.globals)
{
    setObjectName(QStringLiteral("TForm7"));
    UseFixedBorder(this);

    auto edit = [this](const char* name, int limit) {
        auto* e = new widgets::ByteLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxBytes(limit);
        return e;
    };
    auto label = [this](const char* text, QWidget* buddy = nullptr) {
        auto* l = new QLabel(Utf8(text), this);
        if (buddy)
            l->setBuddy(buddy);
        return l;
    };
    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(Utf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };

    Edit1 = edit("Edit1", 8);
    Edit1->setFocusPolicy(Qt::ClickFocus);
    widgets::SwitchOffInputMethod(Edit1);
    Label2 = new QLabel(Utf8(editor_texts::kLabelCreator), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(16);
    ComboEdit = new widgets::ByteLineEdit(ComboBox1);
    ComboEdit->setMaxBytes(32);
    ComboBox1->setLineEdit(ComboEdit);
    ComboBox1->setCompleter(nullptr);  // a typed name stays as typed
    Edit2 = edit("Edit2", 32);
    Edit3 = edit("Edit3", 80);
    Edit4 = edit("Edit4", 80);
    Edit5 = edit("Edit5", 80);
    Edit6 = edit("Edit6", 80);
    Edit7 = edit("Edit7", 80);
    Edit8 = edit("Edit8", 16);
    Edit9 = edit("Edit9", 8);
    Edit10 = edit("Edit10", 8);
    Edit11 = edit("Edit11", 8);
    Edit12 = edit("Edit12", 8);
    Edit13 = edit("Edit13", 0);
    for (widgets::ByteLineEdit* date : {Edit9, Edit10, Edit11, Edit12, Edit13})
        widgets::SwitchOffInputMethod(date);
    CheckBox1 = new QCheckBox(Utf8(editor_texts::kLabelDone), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button4 = button("Button4", editor_texts::kButtonLoad);
    Button1 = button("Button1", editor_texts::kButtonSave);
    Button2 = button("Button2", editor_texts::kButtonClear);
    Button3 = button("Button3", editor_texts::kButtonClose);

    const int dateWidth = Edit9->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12;
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit9),
                       static_cast<QWidget*>(Edit10), static_cast<QWidget*>(Edit11),
                       static_cast<QWidget*>(Edit12), static_cast<QWidget*>(Edit13)})
        w->setFixedWidth(dateWidth);
    const int wide = Edit3->fontMetrics().horizontalAdvance(QString(80, QLatin1Char('0'))) + 12;
    Edit3->setMinimumWidth(wide);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    int row = 0;
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(Edit1);
    numberRow->addWidget(Button4);
    numberRow->addSpacing(16);
    numberRow->addWidget(Label2, 1);
    grid->addWidget(label(editor_texts::kLabelNumber, Edit1), row, 0);
    grid->addLayout(numberRow, row++, 1, 1, 5);
    grid->addWidget(label(editor_texts::kLabelClient, ComboBox1), row, 0);
    grid->addWidget(ComboBox1, row++, 1, 1, 5);
    grid->addWidget(label(editor_texts::kLabelName, Edit2), row, 0);
    grid->addWidget(Edit2, row++, 1, 1, 5);
    grid->addWidget(label(editor_texts::kLabelTitle, Edit3), row, 0);
    grid->addWidget(Edit3, row++, 1, 1, 5);
    grid->addWidget(label(editor_texts::kLabelSubtitle, Edit4), row, 0);
    grid->addWidget(Edit4, row++, 1, 1, 5);
    grid->addWidget(label(editor_texts::kLabelMemo, Edit5), row, 0);
    grid->addWidget(Edit5, row++, 1, 1, 5);
    grid->addWidget(Edit6, row++, 1, 1, 5);
    grid->addWidget(Edit7, row++, 1, 1, 5);
    grid->addWidget(label(editor_texts::kLabelDue, Edit8), row, 0);
    grid->addWidget(Edit8, row++, 1, 1, 2);
    grid->addWidget(label(editor_texts::kLabelPlanned), row, 0);
    grid->addWidget(label(editor_texts::kLabelStart, Edit9), row, 1);
    grid->addWidget(Edit9, row, 2);
    grid->addWidget(label(editor_texts::kLabelEnd, Edit10), row, 3);
    grid->addWidget(Edit10, row++, 4);
    grid->addWidget(label(editor_texts::kLabelActual), row, 0);
    grid->addWidget(label(editor_texts::kLabelStart, Edit11), row, 1);
    grid->addWidget(Edit11, row, 2);
    grid->addWidget(label(editor_texts::kLabelEnd, Edit12), row, 3);
    grid->addWidget(Edit12, row++, 4);
    grid->addWidget(label(editor_texts::kLabelDelivered, Edit13), row, 0);
    grid->addWidget(Edit13, row, 2);
    grid->addWidget(CheckBox1, row++, 4);
    grid->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* order[] = {Button4, ComboBox1, Edit2,     Edit3,   Edit4,   Edit5,
                        Edit6,   Edit7,     Edit8,     Edit9,   Edit10,  Edit11,
                        Edit12,  Edit13,    CheckBox1, Button1, Button2, Button3};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Enter saves and Esc closes wherever the focus is; Enter on another
    // button presses that button.
    for (QWidget* w : order)
        w->installEventFilter(this);
    ComboEdit->installEventFilter(this);
    Edit1->installEventFilter(this);

    connect(Button4, &QPushButton::clicked, this, &TForm7::Button4Click);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
}

bool TForm7::event(QEvent* event)
{
    // Moving into the main frame's sub-window: that window gets the fixed border.
    if (event->type() == QEvent::ParentChange)
        UseFixedBorder(this);
    return QWidget::event(event);
}

bool TForm7::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Edit1) {
            Edit1DblClick();
            return true;
        }
        for (widgets::ByteLineEdit* date : {Edit9, Edit10, Edit11, Edit12, Edit13})
            if (watched == date) {
                Edit9DblClick(date);
                return true;
            }
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            if (ComboBox1->view()->isVisible())
                return false;  // Esc closes the open list first
            Button3->click();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (ComboBox1->view()->isVisible())
                return false;
            if (auto* pressed = qobject_cast<QPushButton*>(watched))
                pressed->click();
            else
                Button1->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm7::FormShow()
{
    LockFrameSize(this);
    logic_.Start();
    Edit1->setBytes(logic_.mode() == 0 ? logic_.ProposeNumber() : std::string());
    SetCreatorLabel(context_.globals.settings.PcUserName);
    FillClientList();
    SetComboText("");
    if (logic_.mode() == 0) {
        Focus(EditorControl::ComboBox1);
        return;
    }
    Focus(EditorControl::Edit1);
    if (logic_.projectNo() > 0) {
        Edit1->setBytes(std::to_string(logic_.projectNo()));
        Button4Click();
    }
}

// Nothing to store: an editor keeps no layout, and its frame frees it.
void TForm7::FormClose() {}

void TForm7::FillClientList()
{
    logic_.LoadClientItems();
    ComboBox1->clear();
    for (const std::string& item : logic_.clientItems())
        ComboBox1->addItem(text::FromCp932(item));
}

std::string TForm7::ComboBytes() const
{
    // A picked item keeps its stored bytes; typed text is converted.
    const QString shown = ComboBox1->currentText();
    const auto& items = logic_.clientItems();
    for (int i = 0; i < ComboBox1->count() && i < static_cast<int>(items.size()); ++i)
        if (ComboBox1->itemText(i) == shown)
            return items[i];
    return ComboEdit->bytes();
}

void TForm7::SetComboText(const std::string& bytes)
{
    ComboBox1->setCurrentIndex(-1);
    ComboEdit->setBytes(bytes);
}

void TForm7::SetCreatorLabel(const std::string& name)
{
    Label2->setText(Utf8(editor_texts::kLabelCreator) + text::FromCp932(name));
}

void TForm7::Focus(EditorControl control)
{
    QWidget* target = nullptr;
    switch (control) {
        case EditorControl::None:
            return;
        case EditorControl::Edit1:
            target = Edit1;
            break;
        case EditorControl::ComboBox1:
            target = ComboBox1;
            break;
        case EditorControl::Edit2:
            target = Edit2;
            break;
        case EditorControl::Edit9:
            target = Edit9;
            break;
        case EditorControl::Edit10:
            target = Edit10;
            break;
        case EditorControl::Edit11:
            target = Edit11;
            break;
        case EditorControl::Edit12:
            target = Edit12;
            break;
        case EditorControl::Edit13:
            target = Edit13;
            break;
    }
    target->setFocus(Qt::OtherFocusReason);
}

ProjectForm TForm7::CollectForm() const
{
    ProjectForm form;
    form.number = Edit1->bytes();
    form.client = ComboBytes();
    const widgets::ByteLineEdit* edits[] = {Edit2, Edit3, Edit4,  Edit5,  Edit6,  Edit7,
                                            Edit8, Edit9, Edit10, Edit11, Edit12, Edit13};
    for (int i = 0; i < kEditorTextCount; ++i)
        form.texts[i] = edits[i]->bytes();
    form.done = CheckBox1->isChecked();
    return form;
}

void TForm7::Edit1DblClick()
{
    Edit1->setBytes(logic_.ProposeNumber());
}

void TForm7::Edit9DblClick(widgets::ByteLineEdit* field)
{
    field->setText(context_.ports.Today().toString(QStringLiteral("yyyyMMdd")));
}

void TForm7::Button4Click()
{
    const LoadOutcome outcome = logic_.Load(Edit1->bytes());
    if (!outcome.form) {
        Edit1->setBytes("");
        Focus(outcome.focus);
        return;
    }
    const ProjectForm& form = *outcome.form;
    SetComboText(form.client);
    Edit1->setBytes(form.number);
    widgets::ByteLineEdit* edits[] = {Edit2, Edit3, Edit4,  Edit5,  Edit6,  Edit7,
                                      Edit8, Edit9, Edit10, Edit11, Edit12, Edit13};
    for (int i = 0; i < kEditorTextCount; ++i)
        edits[i]->setBytes(form.texts[i]);
    CheckBox1->setChecked(form.done);
    if (outcome.creatorName)
        SetCreatorLabel(*outcome.creatorName);
    Focus(outcome.focus);
}

void TForm7::Button1Click()
{
    const SaveOutcome outcome = logic_.Save(CollectForm());
    if (outcome.newClientItem) {
        ComboBox1->addItem(text::FromCp932(*outcome.newClientItem));
        SetComboText(*outcome.newClientItem);
    }
    if (outcome.clearNumber)
        Edit1->setBytes("");
    for (const QString& message : outcome.messages)
        context_.ports.Inform(this, message);
    Focus(outcome.focus);
}

void TForm7::Button2Click()
{
    for (widgets::ByteLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9,
                                     Edit10, Edit11, Edit12, Edit13})
        e->setBytes("");
    SetComboText("");
    CheckBox1->setChecked(false);
    SetCreatorLabel(context_.globals.settings.PcUserName);
}

void TForm7::Button3Click()
{
    CloseFrame(this);
}

}  // namespace projects
