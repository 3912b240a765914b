#pragma once
// The window menu of the multiple-document frame: cascade, tile, and the
// open child windows by caption with the active one checked; choosing one
// activates it. The list is made afresh each time the menu opens.

#include <QObject>

class QMdiArea;
class QMenu;
class QMenuBar;

namespace app {

class WindowMenu : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMenuBar* bar, QMdiArea* area);

    QMenu* menu() const { return menu_; }

private:
    void Rebuild();

    QMdiArea* area_;
    QMenu* menu_;
};

}  // namespace app
