#pragma once
// The main window: a multiple-document frame whose menu opens every screen. It
// owns the one database connection and the shared values.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/main_menu_logic.h"
#include "app/screen_factory.h"
#include "storage/app_globals.h"
#include "storage/database.h"

class QMdiArea;
class QMdiSubWindow;

namespace app {

class TForm1 : public QMainWindow, public widgets::WindowOpener {
    Q_OBJECT
public:
    using FactoryMaker = std::function<std::unique_ptr<ScreenFactory>(widgets::ScreenContext)>;

    // exePath decides where the settings file lives.
    TForm1(widgets::UiPorts& ports, std::string exePath, FactoryMaker makeFactory = {});
    ~TForm1() override;

    storage::Database& database() { return db_; }
    storage::AppGlobals& globals() { return globals_; }
    const Dialogs& dialogs() const { return dialogs_; }
    QMdiArea* mdiArea() const { return mdiArea_; }

    void FormShow();
    void FormClose();

    void mnuDBsetClick();
    void mnuAddTable1Click();
    void mnuAddTable2Click();
    void mnuAddTable3Click();
    void mnuPCnameSetClick();
    void mnuExitClick();
    void mnuProjectNewClick();
    void mnuProjectEditClick();
    void mnuProjectListClick();
    void mnuProjectChartClick();
    void mnuDrawingSearchClick();

    void OpenProjectEditor() override;
    void OpenProjectDetail() override;
    void OpenPreview(const QString& path) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildMenu();
    void ApplyPlacements();
    void StorePlacements();
    void ShowModal(MenuCommand command, QDialog* dialog);
    void OpenChild(MenuCommand command, QWidget* (ScreenFactory::*make)(QWidget*),
                   const char* caption);
    void AddChild(QWidget* (ScreenFactory::*make)(QWidget*), const char* caption);
    void ShowChild(QWidget* child);
    void FitInsideArea(QMdiSubWindow* sub);

    storage::Database db_;
    storage::AppGlobals globals_;
    widgets::UiPorts& ports_;
    std::string exePath_;
    MainMenuLogic logic_;
    std::unique_ptr<widgets::ListOutput> listOutput_;  // before the screens that use it
    std::unique_ptr<ScreenFactory> factory_;
    Dialogs dialogs_;
    QMdiArea* mdiArea_ = nullptr;
    bool shown_ = false;
    // The stored frame position, set again once the window manager's frame is
    // known: placed while the window is being shown, it lands on the client area.
    std::optional<QPoint> framePosition_;
    bool closed_ = false;
};

}  // namespace app
