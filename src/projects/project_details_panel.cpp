#include "projects/project_details_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <numeric>

#include "projects/project_details.h"
#include "projects/project_details_texts.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"

namespace projects {

using text::Utf8;

ProjectDetailsPanel::ProjectDetailsPanel(storage::Database& db, bool numberLabel, QWidget* parent)
    : QWidget(parent), db_(db)
{
    setObjectName(QStringLiteral("Panel1"));
    setMinimumHeight(0);
    content_ = new QWidget(this);

    auto edit = [this](const char* name, int limit) {
        auto* e = new widgets::ByteLineEdit(content_);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxBytes(limit);
        e->setReadOnly(true);
        // Compact rows: the tall panel (172) shows every row.
        e->setFixedHeight(e->fontMetrics().height() + 3);
        return e;
    };
    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(Utf8(text), content_);
        l->setBuddy(buddy);
        return l;
    };
    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(Utf8(text), content_);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };

    Edit2 = edit("Edit2", 32);
    Edit3 = edit("Edit3", 80);
    Edit4 = edit("Edit4", 80);
    Edit5 = edit("Edit5", 80);
    Edit6 = edit("Edit6", 80);
    Edit7 = edit("Edit7", 80);
    Edit8 = edit("Edit8", 80);
    Edit9 = edit("Edit9", 16);
    Edit10 = edit("Edit10", 16);
    Edit11 = edit("Edit11", 16);
    Edit12 = edit("Edit12", 16);
    CheckBox1 = new QCheckBox(Utf8(details_texts::kLabelDone), content_);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setEnabled(false);
    LabelA = new QLabel(content_);
    LabelA->setObjectName(QStringLiteral("LabelA"));
    if (numberLabel) {
        LabelN = new QLabel(content_);
        LabelN->setObjectName(QStringLiteral("LabelN"));
        LabelN->hide();
    }
    Button5 = button("Button5", details_texts::kButtonTaller);
    Button6 = button("Button6", details_texts::kButtonShorter);
    Button7 = button("Button7", details_texts::kButtonEdit);
    Button8 = button("Button8", details_texts::kButtonDetail);
    for (QPushButton* b : {Button5, Button6})
        b->setFixedWidth(b->fontMetrics().height() * 2);

    auto* grid = new QGridLayout(content_);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    auto* first = new QHBoxLayout;
    first->addWidget(Edit2, 3);
    first->addWidget(CheckBox1);
    first->addWidget(LabelA, 2);
    first->addWidget(Button5);
    first->addWidget(Button6);
    first->addWidget(Button7);
    first->addWidget(Button8);
    grid->addWidget(label(details_texts::kLabelName, Edit2), 0, 0);
    grid->addLayout(first, 0, 1, 1, 7);
    grid->addWidget(label(details_texts::kLabelClient, Edit3), 1, 0);
    grid->addWidget(Edit3, 1, 1, 1, 7);
    grid->addWidget(label(details_texts::kLabelTitle, Edit4), 2, 0);
    grid->addWidget(Edit4, 2, 1, 1, 7);
    grid->addWidget(label(details_texts::kLabelSubtitle, Edit5), 3, 0);
    grid->addWidget(Edit5, 3, 1, 1, 7);
    grid->addWidget(label(details_texts::kLabelMemo, Edit6), 4, 0);
    grid->addWidget(Edit6, 4, 1, 1, 7);
    grid->addWidget(Edit7, 5, 1, 1, 7);
    grid->addWidget(Edit8, 6, 1, 1, 7);
    grid->addWidget(label(details_texts::kLabelDue, Edit9), 7, 0);
    grid->addWidget(Edit9, 7, 1);
    grid->addWidget(label(details_texts::kLabelPlanned, Edit10), 7, 2);
    grid->addWidget(Edit10, 7, 3);
    grid->addWidget(label(details_texts::kLabelActual, Edit11), 7, 4);
    grid->addWidget(Edit11, 7, 5);
    grid->addWidget(label(details_texts::kLabelDelivered, Edit12), 7, 6);
    grid->addWidget(Edit12, 7, 7);
    for (int c : {1, 3, 5, 7})
        grid->setColumnStretch(c, 1);

    connect(Button5, &QPushButton::clicked, this, &ProjectDetailsPanel::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &ProjectDetailsPanel::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &ProjectDetailsPanel::editRequested);
    connect(Button8, &QPushButton::clicked, this, &ProjectDetailsPanel::detailRequested);

    Clear();
}

QSize ProjectDetailsPanel::sizeHint() const
{
    return content_->sizeHint();
}

QSize ProjectDetailsPanel::minimumSizeHint() const
{
    return {0, 0};
}

void ProjectDetailsPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The rows keep their height; a low panel shows the first rows only.
    content_->setGeometry(0, 0, width(), std::max(content_->sizeHint().height(), height()));
}

void ProjectDetailsPanel::Clear()
{
    for (widgets::ByteLineEdit* e :
         {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11, Edit12})
        e->setBytes("");
    CheckBox1->setChecked(false);
    LabelA->setText(Utf8(details_texts::kLabelCreator));
    if (LabelN)
        LabelN->clear();
}

void ProjectDetailsPanel::ShowProject(int number)
{
    Clear();
    if (number <= 0)
        return;
    const ProjectDetails d = LoadProjectDetails(db_, number);
    if (LabelN)
        LabelN->setText(text::FromCp932(d.number));
    Edit2->setBytes(d.name);
    Edit4->setBytes(d.title);
    Edit5->setBytes(d.subtitle);
    Edit6->setBytes(d.memo1);
    Edit7->setBytes(d.memo2);
    Edit8->setBytes(d.memo3);
    Edit9->setBytes(d.due);
    const QString join = Utf8(details_texts::kPeriodJoin);
    Edit10->setText(text::FromCp932(d.plannedStart) + join + text::FromCp932(d.plannedEnd));
    Edit11->setText(text::FromCp932(d.actualStart) + join + text::FromCp932(d.actualEnd));
    Edit12->setBytes(d.delivered);
    CheckBox1->setChecked(d.done);
    if (d.hasClient)
        Edit3->setText(text::FromCp932(d.clientName) + Utf8(details_texts::kClientGap) +
                       text::FromCp932(d.clientDepartment));
    if (d.hasCreator)
        LabelA->setText(Utf8(details_texts::kLabelCreator) + text::FromCp932(d.creatorName));
}

QString ProjectDetailsPanel::ProjectName() const
{
    return Edit2->text();
}

QString ProjectDetailsPanel::ShownNumber() const
{
    return LabelN ? LabelN->text() : QString();
}

void ProjectDetailsPanel::SetPanelHeight(int h)
{
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter) {
        resize(width(), h);
        return;
    }
    QList<int> sizes = splitter->sizes();
    const int index = splitter->indexOf(this);
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    const int others = total - sizes[index];
    const int room = std::max(total - h, 0);
    // The other panes share what the panel leaves, in their present proportion.
    for (int i = 0; i < sizes.size(); ++i)
        if (i != index)
            sizes[i] = others > 0 ? sizes[i] * room / others : room / (sizes.size() - 1);
    sizes[index] = h;
    splitter->setSizes(sizes);
}

void ProjectDetailsPanel::Button5Click()
{
    SetPanelHeight(kTallHeight);
}

void ProjectDetailsPanel::Button6Click()
{
    SetPanelHeight(kShortHeight);
}

QSplitter* LayOutWithDetails(QWidget* window, QWidget* topRow, QWidget* view,
                             ProjectDetailsPanel* panel)
{
    auto* splitter = new QSplitter(Qt::Vertical, window);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(view);
    splitter->addWidget(panel);
    // The panel is bottom-aligned: a taller window gives its room to the view.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topRow);
    layout->addWidget(splitter, 1);
    return splitter;
}

void OpenEditorFor(widgets::ScreenContext& context, int number)
{
    if (number <= 0)
        return;
    context.globals.ProjectEditMode = 1;
    context.globals.CurrentProjectNo = number;
    try {
        if (context.opener)
            context.opener->OpenProjectEditor();
    } catch (...) {
    }
}

void OpenDetailFor(widgets::ScreenContext& context, int number)
{
    if (number <= 0)
        return;
    context.globals.CurrentProjectNo = number;
    try {
        if (context.opener)
            context.opener->OpenProjectDetail();
    } catch (...) {
    }
}

}  // namespace projects
