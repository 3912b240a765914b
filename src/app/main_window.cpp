#include "app/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

#include "app/frame_keys.h"
#include "app/main_window_texts.h"
#include "app/modal_focus_return.h"
#include "app/window_menu.h"
#include "preview/preview_window.h"
#include "reports/report_service.h"
#include "search/search_texts.h"
#include "text/cp932.h"
#include "widgets/child_form.h"

namespace app {

namespace texts = main_window_texts;

namespace {

// The smallest main window that still shows its menu; a damaged settings file
// must not make the window vanish.
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 120;

void Place(QWidget* window, const storage::WindowPlacement& placement)
{
    if (window)
        window->move(placement.left, placement.top);
}

void Keep(const QWidget* window, storage::WindowPlacement& placement)
{
    if (!window)
        return;
    placement.left = window->x();
    placement.top = window->y();
}

// A position stored on a screen that is gone, or with the title bar above the
// top, comes back to the primary screen, where the window can be grabbed.
QPoint ReachablePosition(QPoint stored)
{
    constexpr int kGrip = 40;
    const QRect titleBar(stored + QPoint(kGrip, 0), QSize(kGrip, kGrip / 2));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(titleBar))
            return stored;
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry().topLeft() : stored;
}

}  // namespace

TForm1::TForm1(widgets::UiPorts& ports, std::string exePath, FactoryMaker makeFactory)
    : ports_(ports), exePath_(std::move(exePath)), logic_(db_, globals_)
{
    setObjectName("TForm1");
    setWindowTitle(QString::fromUtf8(texts::kCaption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    const auto& design = globals_.settings.Form1;
    move(design.left, design.top);
    resize(design.width, design.height);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MdiArea");
    mdiArea_->setBackground(Qt::white);
    setCentralWidget(mdiArea_);

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setAutoFillBackground(true);
    QPalette palette = status->palette();
    palette.setColor(QPalette::Window, QColor(192, 220, 192));  // money green
    status->setPalette(palette);
    setStatusBar(status);

    BuildMenu();
    new FrameKeys(menuBar(), mdiArea_);
    new ModalFocusReturn(this);

    listOutput_ = std::make_unique<reports::ReportService>(db_, ports_);
    widgets::ScreenContext context{db_, globals_, ports_, this, listOutput_.get()};
    factory_ = makeFactory ? makeFactory(context) : std::make_unique<ScreenFactory>(context);
    dialogs_ = factory_->CreateDialogs(this);
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto menu = [bar](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(name);
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const char* caption, void (TForm1::*handler)()) {
        QAction* action = m->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    auto separator = [](QMenu* m, const char* name) { m->addSeparator()->setObjectName(name); };

    QMenu* file = menu("mnuFile", texts::kMenuFile);
    item(file, "mnuDBset", texts::kMenuDbSet, &TForm1::mnuDBsetClick);
    separator(file, "MnuDmy1");
    item(file, "mnuAddTable1", texts::kMenuSection, &TForm1::mnuAddTable1Click);
    item(file, "mnuAddTable2", texts::kMenuMember, &TForm1::mnuAddTable2Click);
    item(file, "mnuAddTable3", texts::kMenuCompany, &TForm1::mnuAddTable3Click);
    separator(file, "MnuDmy2");
    item(file, "mnuPCnameSet", texts::kMenuPcUser, &TForm1::mnuPCnameSetClick);
    separator(file, "MnuDmy3");
    item(file, "mnuExit", texts::kMenuExit, &TForm1::mnuExitClick);

    QMenu* project = menu("mnuProject", texts::kMenuProject);
    item(project, "mnuProjectNew", texts::kMenuProjectNew, &TForm1::mnuProjectNewClick);
    item(project, "mnuProjectEdit", texts::kMenuProjectEdit, &TForm1::mnuProjectEditClick);
    item(project, "mnuProjectList", texts::kMenuProjectList, &TForm1::mnuProjectListClick);
    item(project, "mnuProjectChart", texts::kMenuProjectChart, &TForm1::mnuProjectChartClick);
    item(project, "mnuDrawingSearch", search::texts::kMenuCommand, &TForm1::mnuDrawingSearchClick);

    new WindowMenu(bar, mdiArea_);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

bool TForm1::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (framePosition_ && frameGeometry().topLeft() != geometry().topLeft()) {
        const QPoint wanted = *framePosition_;
        framePosition_.reset();
        move(wanted);
    }
    return handled;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm1::FormShow()
{
    std::string message = logic_.StartUp(exePath_);
    ApplyPlacements();
    if (!message.empty())
        ports_.Inform(this, QString::fromUtf8(message.c_str()));
}

void TForm1::FormClose()
{
    if (closed_)
        return;
    closed_ = true;
    StorePlacements();
    logic_.Close();
}

void TForm1::ApplyPlacements()
{
    const storage::Settings& s = globals_.settings;
    move(ReachablePosition(QPoint(s.Form1.left, s.Form1.top)));
    framePosition_ = pos();
    resize(std::max(s.Form1.width, kMinWidth), std::max(s.Form1.height, kMinHeight));
    Place(dialogs_.form2, s.Form2);
    Place(dialogs_.form3, s.Form3);
    Place(dialogs_.form4, s.Form4);
    Place(dialogs_.form5, s.Form5);
    Place(dialogs_.form6, s.Form6);
    Place(dialogs_.form11, s.Form11);
    Place(dialogs_.form12, s.Form12);
}

void TForm1::StorePlacements()
{
    storage::Settings& s = globals_.settings;
    s.Form1 = {x(), y(), width(), height()};
    Keep(dialogs_.form2, s.Form2);
    Keep(dialogs_.form3, s.Form3);
    Keep(dialogs_.form4, s.Form4);
    Keep(dialogs_.form5, s.Form5);
    Keep(dialogs_.form6, s.Form6);
    Keep(dialogs_.form11, s.Form11);
    Keep(dialogs_.form12, s.Form12);
}

void TForm1::mnuDBsetClick()
{
    db_.DisconnectDatabase();
    if (dialogs_.form2)
        dialogs_.form2->exec();
    logic_.ConnectConfigured();
}

void TForm1::ShowModal(MenuCommand command, QDialog* dialog)
{
    if (logic_.Prepare(command) && dialog)
        dialog->exec();
}

void TForm1::mnuAddTable1Click()
{
    ShowModal(MenuCommand::SectionRegister, dialogs_.form3);
}

void TForm1::mnuAddTable2Click()
{
    ShowModal(MenuCommand::MemberRegister, dialogs_.form4);
}

void TForm1::mnuAddTable3Click()
{
    ShowModal(MenuCommand::CompanyRegister, dialogs_.form5);
}

void TForm1::mnuPCnameSetClick()
{
    ShowModal(MenuCommand::PcUser, dialogs_.form6);
}

void TForm1::mnuExitClick()
{
    close();
}

void TForm1::OpenChild(MenuCommand command, QWidget* (ScreenFactory::*make)(QWidget*),
                       const char* caption)
{
    if (logic_.Prepare(command))
        AddChild(make, caption);
}

void TForm1::AddChild(QWidget* (ScreenFactory::*make)(QWidget*), const char* caption)
{
    // A window that fails to open is dropped without a word.
    try {
        QWidget* child = (factory_.get()->*make)(this);
        if (!child)
            return;
        if (caption)
            child->setWindowTitle(QString::fromUtf8(caption));
        ShowChild(child);
    } catch (...) {
    }
}

void TForm1::ShowChild(QWidget* child)
{
    QMdiSubWindow* sub = mdiArea_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    FitInsideArea(sub);
}

// Each new window a title bar lower and to the right of the one before, from
// the area's top left, and never sticking out of what shows of the area.
void TForm1::FitInsideArea(QMdiSubWindow* sub)
{
    const QRect area = mdiArea_->viewport()->rect();
    const int others = static_cast<int>(mdiArea_->subWindowList().size()) - 1;
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub) + 4;
    const QPoint cascade(others * step, others * step);
    if (auto* form = qobject_cast<widgets::ChildForm*>(sub->widget()))
        form->FitFrameInside(area, cascade);
}

void TForm1::OpenProjectEditor()
{
    AddChild(&ScreenFactory::NewProjectEditor, globals_.ProjectEditMode == 0
                                                   ? texts::kProjectNewCaption
                                                   : texts::kProjectEditCaption);
}

void TForm1::OpenProjectDetail()
{
    AddChild(&ScreenFactory::NewProjectDetail, nullptr);
}

void TForm1::OpenPreview(const QString& path)
{
    ShowChild(new preview::PreviewWindow(path));
}

void TForm1::mnuProjectNewClick()
{
    OpenChild(MenuCommand::ProjectNew, &ScreenFactory::NewProjectEditor, texts::kProjectNewCaption);
}

void TForm1::mnuProjectEditClick()
{
    OpenChild(MenuCommand::ProjectEdit, &ScreenFactory::NewProjectEditor,
              texts::kProjectEditCaption);
}

void TForm1::mnuProjectListClick()
{
    OpenChild(MenuCommand::ProjectList, &ScreenFactory::NewProjectList, nullptr);
}

void TForm1::mnuProjectChartClick()
{
    OpenChild(MenuCommand::ProjectChart, &ScreenFactory::NewProjectChart, nullptr);
}

void TForm1::mnuDrawingSearchClick()
{
    OpenChild(MenuCommand::DrawingSearch, &ScreenFactory::NewDrawingSearch, nullptr);
}

}  // namespace app
