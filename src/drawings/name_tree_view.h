#pragma once
// The detail window's name tree: a keyboard move of the current item is told
// apart from a click, so the window shows the node either way but loads it
// once per click.

#include <QTreeWidget>

namespace drawings {

class NameTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

signals:
    void currentChangedByKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace drawings
