#include "app/database_settings_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/database_settings_logic.h"
#include "widgets/byte_line_edit.h"
#include "widgets/named.h"

namespace app {

namespace {

using widgets::Named;

namespace database_settings_texts {
constexpr char kCaption[] = "データベース設定";
constexpr char kLabel1[] = "サーバー名（IPアドレス＋':'";
constexpr char kLabel5[] = "　又は、'localhost:'）";
constexpr char kEdit1Hint[] =
    "1台で運用する場合は「localhost:」、サーバーの場合はそのIPアドレス＋':'（例：「192.168.0.0:"
    "」等）を入力して下さい。";
constexpr char kLabel2[] = "サーバーのデータのフォルダ";
constexpr char kEdit2Hint[] =
    "データベースファイルを作成するサーバー上のフォルダ名を入力して下さい。最後は必ず「\\」で終わっ"
    "て下さい。例：「C:\\data\\」";
constexpr char kLabel3[] = "データベース名";
constexpr char kEdit3Hint[] =
    "データベース名（ファイル名）を入力して下さい。拡張子は「."
    "FDB」となります。フォルダ名は入力しないで下さい。";
constexpr char kButton1[] = "OK(&Y)";
constexpr char kButton2[] = "キャンセル(&N)";
}  // namespace database_settings_texts

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption)
{
    return Named(new QLabel(QString::fromUtf8(caption), parent), name);
}

widgets::ByteLineEdit* MakeEdit(QWidget* parent, const char* name, const char* hint)
{
    auto* edit = Named(new widgets::ByteLineEdit(parent), name);
    edit->setToolTip(QString::fromUtf8(hint));
    edit->setMinimumWidth(320);
    return edit;
}

}  // namespace

TForm2::TForm2(widgets::ScreenContext context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(context)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QString::fromUtf8(database_settings_texts::kCaption));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Label1 = MakeLabel(this, "Label1", database_settings_texts::kLabel1);
    Label5 = MakeLabel(this, "Label5", database_settings_texts::kLabel5);
    Edit1 = MakeEdit(this, "Edit1", database_settings_texts::kEdit1Hint);
    Label2 = MakeLabel(this, "Label2", database_settings_texts::kLabel2);
    Edit2 = MakeEdit(this, "Edit2", database_settings_texts::kEdit2Hint);
    Label3 = MakeLabel(this, "Label3", database_settings_texts::kLabel3);
    Edit3 = MakeEdit(this, "Edit3", database_settings_texts::kEdit3Hint);
    Button1 = Named(new QPushButton(QString::fromUtf8(database_settings_texts::kButton1), this),
                    "Button1");
    Button2 = Named(new QPushButton(QString::fromUtf8(database_settings_texts::kButton2), this),
                    "Button2");
    Button1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label5);
    layout->addWidget(Edit1);
    layout->addSpacing(6);
    layout->addWidget(Label2);
    layout->addWidget(Edit2);
    layout->addSpacing(6);
    layout->addWidget(Label3);
    layout->addWidget(Edit3);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A spontaneous show is the window coming back from being minimised.
    if (!event->spontaneous())
        FormShow();
}

void TForm2::FormShow()
{
    const storage::Settings& settings = context_.globals.settings;
    Edit1->setBytes(settings.DbServer);
    Edit2->setBytes(settings.DbFolder);
    Edit3->setBytes(settings.DbName);
    Edit1->setFocus();
}

void TForm2::Button1Click()
{
    const DatabaseSettingsInput input{Edit1->bytes(), Edit2->bytes(), Edit3->bytes()};
    const DatabaseSettingsOutcome outcome =
        ApplyDatabaseSettings(input, context_.db, context_.globals.settings);
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
    if (outcome.closeDialog) {
        accept();
        return;
    }
    if (QWidget* target = findChild<QWidget*>(outcome.focus))
        target->setFocus();
}

void TForm2::Button2Click()
{
    reject();
}

}  // namespace app
