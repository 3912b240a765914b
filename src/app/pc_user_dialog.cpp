#include "app/pc_user_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/pc_user_logic.h"
#include "text/cp932.h"

namespace app {

namespace {

namespace pc_user_texts {
constexpr char kCaption[] = "PC利用者名の登録";
constexpr char kLabel1[] = "PC利用者名：";
constexpr char kButton1[] = "OK(&Y)";
constexpr char kButton2[] = "キャンセル(&N)";
}  // namespace pc_user_texts

}  // namespace

TForm6::TForm6(widgets::ScreenContext context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(context)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QString::fromUtf8(pc_user_texts::kCaption));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Label1 = new QLabel(QString::fromUtf8(pc_user_texts::kLabel1), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMinimumWidth(200);
    Label1->setBuddy(ComboBox1);
    Button1 = new QPushButton(QString::fromUtf8(pc_user_texts::kButton1), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QString::fromUtf8(pc_user_texts::kButton2), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(ComboBox1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ComboBox1, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A spontaneous show is the window coming back from being minimised.
    if (!event->spontaneous())
        FormShow();
}

void TForm6::FormShow()
{
    items_.clear();
    ComboBox1->clear();
    const PcUserOutcome check = CheckPcUserDialogCanOpen(context_.globals.settings, context_.db);
    if (check.closeDialog) {
        context_.ports.Inform(this, check.message);
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    items_ = LoadMemberItems(context_.db);
    for (const std::string& item : items_)
        ComboBox1->addItem(text::FromCp932(item));
    ComboBox1->setCurrentIndex(FindPcUserItem(items_, context_.globals.settings.PcUserNo));
    ComboBox1->setFocus();
}

void TForm6::Button1Click()
{
    const PcUserOutcome outcome =
        ApplyPcUser(items_, ComboBox1->currentIndex(), context_.globals.settings);
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
    if (outcome.closeDialog)
        accept();
}

void TForm6::Button2Click()
{
    reject();
}

}  // namespace app
