#include "app/window_menu.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>

#include "app/main_window_texts.h"

namespace app {

namespace texts = main_window_texts;

WindowMenu::WindowMenu(QMenuBar* bar, QMdiArea* area)
    : QObject(bar), area_(area), menu_(bar->addMenu(QString::fromUtf8(texts::kMenuWindow)))
{
    menu_->setObjectName("mnuWindow");
    connect(menu_, &QMenu::aboutToShow, this, &WindowMenu::Rebuild);
    Rebuild();
}

void WindowMenu::Rebuild()
{
    menu_->clear();
    QAction* cascade = menu_->addAction(QString::fromUtf8(texts::kMenuCascade));
    cascade->setObjectName("mnuWindowCascade");
    connect(cascade, &QAction::triggered, area_, &QMdiArea::cascadeSubWindows);
    QAction* tile = menu_->addAction(QString::fromUtf8(texts::kMenuTile));
    tile->setObjectName("mnuWindowTile");
    connect(tile, &QAction::triggered, area_, &QMdiArea::tileSubWindows);

    const QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    menu_->addSeparator();
    auto* group = new QActionGroup(menu_);
    for (QMdiSubWindow* window : windows) {
        // A caption with & in it must not grow an access key.
        QString caption = window->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu_->addAction(caption);
        action->setCheckable(true);
        action->setChecked(window == area_->activeSubWindow());
        group->addAction(action);
        QPointer<QMdiSubWindow> target(window);
        connect(action, &QAction::triggered, area_, [this, target] {
            if (target)
                area_->setActiveSubWindow(target);
        });
    }
}

}  // namespace app
