#include "widgets/save_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace widgets {

SaveChoice AskSaveFile(QWidget* parent, const SaveRequest& request)
{
    QFileDialog dialog(parent, request.caption, request.folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(request.filters);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString filter = dialog.selectedNameFilter();
    SaveChoice choice{dialog.selectedFiles().first(),
                      std::max(0, static_cast<int>(request.filters.indexOf(filter)))};
    const QRegularExpressionMatch suffix =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (QFileInfo(choice.path).suffix().isEmpty() && suffix.hasMatch())
        choice.path += "." + suffix.captured(1);
    return choice;
}

}  // namespace widgets
