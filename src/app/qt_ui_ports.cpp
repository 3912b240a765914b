#include "app/qt_ui_ports.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "text/platform.h"

namespace app {

QString ApplicationTitle()
{
    return QStringLiteral("k5x7－図面管理");
}

void QtUiPorts::Inform(QWidget* parent, const QString& message)
{
    QMessageBox::information(parent, ApplicationTitle(), message, QMessageBox::Ok);
}

bool QtUiPorts::AskYesNo(QWidget* parent, const QString& message)
{
    return QMessageBox::question(parent, ApplicationTitle(), message,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QStringList QtUiPorts::ChooseFiles(QWidget* parent, const widgets::FileDialogRequest& request)
{
    const QString filter = request.filters.join(";;");
    if (request.multiple)
        return QFileDialog::getOpenFileNames(parent, request.title, request.initialFolder, filter);
    QString one =
        QFileDialog::getOpenFileName(parent, request.title, request.initialFolder, filter);
    return one.isEmpty() ? QStringList() : QStringList{one};
}

bool QtUiPorts::OpenWithAssociatedProgram(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QDate QtUiPorts::Today()
{
    return QDate::currentDate();
}

bool QtUiPorts::EscapePressed()
{
    return text::IsEscapePressed();
}

void QtUiPorts::ResetEscape()
{
    text::ResetEscapePressed();
}

}  // namespace app
