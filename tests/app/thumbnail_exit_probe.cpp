// A window that asks for the thumbnail of the file it is given and ends on a
// termination signal as the program does: for the test that a helper under
// way never holds the exit.

#include <QApplication>
#include <QWidget>

#include "app/termination_signals.h"
#include "preview/thumbnail_loader.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    QWidget window;
    window.show();
    auto* loader = new preview::ThumbnailLoader(QSize(64, 45), &window);
    loader->Request(QString::fromLocal8Bit(argv[1]));
    app::TerminationSignals termination(&window);
    return application.exec();
}
