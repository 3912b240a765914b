#include "app/qt_ui_ports.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "widgets/escape_watch.h"

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
    QFileDialog dialog(parent, request.title, request.initialFolder);
    dialog.setNameFilters(request.filters);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
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
    return widgets::EscapeWatch::Pressed();
}

void QtUiPorts::ResetEscape()
{
    widgets::EscapeWatch::Reset();
}

}  // namespace app
