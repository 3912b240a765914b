#include <QApplication>
#include <QFont>
#include <QMessageBox>

#include "app/main_window.h"
#include "app/main_window_texts.h"
#include "app/qt_translations.h"
#include "app/qt_ui_ports.h"
#include "app/termination_signals.h"
#include "text/platform.h"

int main(int argc, char** argv)
{
    text::PinLocalTimeZone();
    QApplication application(argc, argv);
    application.setApplicationName("k5x7");
    app::InstallQtTranslations(application);

    // The captions are laid out for one Japanese gothic face at 13 pixels.
    const QString family = QString::fromUtf8(app::main_window_texts::kFontFamily);
    QFont::insertSubstitutions(family, {"IPAGothic", "Noto Sans CJK JP", "Noto Sans Mono CJK JP"});
    QFont font(family);
    font.setPixelSize(app::main_window_texts::kFontPixels);
    QApplication::setFont(font);

    if (const std::string problem = text::DatabaseClientLoadError(); !problem.empty()) {
        QMessageBox::critical(nullptr, QString::fromUtf8(app::main_window_texts::kCaption),
                              QString::fromUtf8(app::main_window_texts::kClientLibraryMissing) +
                                  QStringLiteral("\n\n") + QString::fromUtf8(problem.c_str()));
        return 1;
    }

    app::QtUiPorts ports;
    app::TForm1 mainWindow(ports, QCoreApplication::applicationFilePath().toStdString());
    mainWindow.show();
    app::TerminationSignals termination(&mainWindow);
    return application.exec();
}
