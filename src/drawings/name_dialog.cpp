#include "drawings/name_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "drawings/name_dialog_texts.h"
#include "drawings/name_tree_editing.h"
#include "widgets/byte_line_edit.h"

namespace drawings {

namespace {
constexpr int kNameBytes = 32;
}

TForm11::TForm11(widgets::ScreenContext context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(context)
{
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QString::fromUtf8(name_dialog_texts::kDesignCaption));

    Label1 = new QLabel(QString::fromUtf8(name_dialog_texts::kLabel1), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new widgets::ByteLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxBytes(kNameBytes);
    Edit1->setMinimumWidth(260);
    Label1->setBuddy(Edit1);
    Button3 = new QPushButton(QString::fromUtf8(name_dialog_texts::kButton3), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setDefault(true);
    Button4 = new QPushButton(QString::fromUtf8(name_dialog_texts::kButton4), this);
    Button4->setObjectName(QStringLiteral("Button4"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Edit1, Button3);
    setTabOrder(Button3, Button4);

    connect(Button3, &QPushButton::clicked, this, &TForm11::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm11::Button4Click);
}

void TForm11::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A spontaneous show is the dialog coming back from being minimised.
    if (!event->spontaneous())
        FormShow();
}

void TForm11::FormShow()
{
    Accepted = false;
    setWindowTitle(CaptionText);
    Edit1->setBytes(NameText);
    Edit1->setFocus();
}

void TForm11::Button3Click()
{
    const NameCheck check = CheckNodeName(Edit1->bytes());
    if (!check.message.isEmpty()) {
        context_.ports.Inform(this, check.message);
        Edit1->setFocus();
        return;
    }
    NameText = check.name;
    Accepted = true;
    accept();
}

void TForm11::Button4Click()
{
    Accepted = false;
    reject();
}

}  // namespace drawings
