// Shows one screen on a prepared database and saves it as a PNG, so a person
// can look at any window without clicking through the application.
//   k5x7_screenshot NAME OUTPUT.png [DATABASE_PATH]
// NAME: main, a dialog (TForm2 TForm3 TForm4 TForm5 TForm6 TForm11 TForm12) or a
// child window (TForm7 TForm8 TForm9 TForm10, the last for project 1).

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/main_window_texts.h"
#include "app/qt_ui_ports.h"
#include "storage/settings.h"
#include "tools/admin/seeder.h"

namespace {

// Messages would block an unattended run; they go to the console instead.
class ConsolePorts : public app::QtUiPorts {
public:
    void Inform(QWidget*, const QString& message) override
    {
        std::fprintf(stderr, "message: %s\n", message.toUtf8().constData());
    }
    bool AskYesNo(QWidget*, const QString& message) override
    {
        std::fprintf(stderr, "question (answered No): %s\n", message.toUtf8().constData());
        return false;
    }
};

void SetApplicationFont()
{
    const QString family = QString::fromUtf8(app::main_window_texts::kFontFamily);
    QFont::insertSubstitutions(family, {"IPAGothic", "Noto Sans CJK JP"});
    QFont font(family);
    font.setPixelSize(app::main_window_texts::kFontPixels);
    QApplication::setFont(font);
}

// Points a settings file at the database, split the way the settings keep it.
void Configure(const QString& exePath, const QString& databasePath, int pcUser)
{
    storage::Settings s;
    seed::UseDemoLayout(s);
    QString path = databasePath;
    s.DbServer.clear();
    if (path.startsWith("localhost:")) {
        s.DbServer = "localhost:";
        path = path.mid(10);
    }
    int slash = path.lastIndexOf('/');
    s.DbFolder = path.left(slash + 1).toStdString();
    s.DbName = path.mid(slash + 1).toStdString();
    s.PcUserNo = pcUser;
    s.Form1 = {0, 0, 1000, 700};
    storage::WriteSettings((exePath + ".dat").toStdString(), s);
}

// The screen by its class name; child windows are opened the way the menu and
// the list open them.
QWidget* ChooseScreen(app::TForm1& mainWindow, const QString& name)
{
    const app::Dialogs& d = mainWindow.dialogs();
    const std::pair<const char*, QWidget*> dialogs[] = {
        {"TForm2", d.form2}, {"TForm3", d.form3},   {"TForm4", d.form4},  {"TForm5", d.form5},
        {"TForm6", d.form6}, {"TForm11", d.form11}, {"TForm12", d.form12}};
    for (const auto& [dialogName, dialog] : dialogs)
        if (name == dialogName)
            return dialog;
    if (name == "main")
        return &mainWindow;
    if (name == "TForm7")
        mainWindow.mnuProjectNewClick();
    else if (name == "TForm8")
        mainWindow.mnuProjectListClick();
    else if (name == "TForm9")
        mainWindow.mnuProjectChartClick();
    else if (name == "TForm10") {
        mainWindow.globals().CurrentProjectNo = 1;
        mainWindow.OpenProjectDetail();
    } else
        return nullptr;
    const auto windows = mainWindow.mdiArea()->subWindowList();
    if (windows.isEmpty())
        return nullptr;
    windows.last()->showMaximized();
    return &mainWindow;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: k5x7_screenshot NAME OUTPUT.png [DATABASE_PATH]\n");
        return 2;
    }
    SetApplicationFont();
    const QString name = argv[1];
    const QString output = argv[2];
    QTemporaryDir home;
    const QString exePath = home.path() + "/k5x7";
    if (argc > 3)
        Configure(exePath, QString::fromLocal8Bit(argv[3]), 1);

    ConsolePorts ports;
    app::TForm1 mainWindow(ports, exePath.toStdString());
    mainWindow.show();
    QApplication::processEvents();

    QWidget* target = ChooseScreen(mainWindow, name);
    if (!target) {
        std::fprintf(stderr, "unknown or unbuilt screen: %s\n", argv[1]);
        return 2;
    }
    if (target != &mainWindow)
        target->show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    if (!target->isVisible()) {
        std::fprintf(stderr, "%s closed itself at once (see the message above)\n", argv[1]);
        return 1;
    }
    if (!target->grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
