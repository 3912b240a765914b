#include "app/screen_factory.h"

#include "app/database_settings_dialog.h"
#include "app/pc_user_dialog.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "drawings/revision_history_dialog.h"
#include "projects/project_chart_window.h"
#include "projects/project_editor_window.h"
#include "projects/project_list_window.h"
#include "registers/company_register_dialog.h"
#include "registers/member_register_dialog.h"
#include "registers/section_register_dialog.h"
#include "search/search_window.h"

namespace app {

Dialogs ScreenFactory::CreateDialogs(QWidget* mainWindow)
{
    Dialogs dialogs;
    dialogs.form2 = new TForm2(context_, mainWindow);
    dialogs.form3 = new registers::TForm3(context_, mainWindow);
    dialogs.form4 = new registers::TForm4(context_, mainWindow);
    dialogs.form12 = new drawings::TForm12(context_, mainWindow);
    dialogs.form6 = new TForm6(context_, mainWindow);
    dialogs.form11 = new drawings::TForm11(context_, mainWindow);
    dialogs.form5 = new registers::TForm5(context_, mainWindow);
    return dialogs;
}

QWidget* ScreenFactory::NewProjectEditor(QWidget*)
{
    return new projects::TForm7(context_);
}

QWidget* ScreenFactory::NewProjectList(QWidget*)
{
    return new projects::TForm8(context_);
}

QWidget* ScreenFactory::NewProjectChart(QWidget*)
{
    return new projects::TForm9(context_);
}

QWidget* ScreenFactory::NewProjectDetail(QWidget* mainWindow)
{
    auto* nameDialog = mainWindow ? mainWindow->findChild<drawings::TForm11*>() : nullptr;
    auto* revisionDialog = mainWindow ? mainWindow->findChild<drawings::TForm12*>() : nullptr;
    return new drawings::TForm10(context_, nameDialog, revisionDialog);
}

QWidget* ScreenFactory::NewDrawingSearch(QWidget*)
{
    return new search::SearchWindow(context_);
}

}  // namespace app
