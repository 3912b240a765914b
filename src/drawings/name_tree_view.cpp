#include "drawings/name_tree_view.h"

namespace drawings {

void NameTreeView::keyPressEvent(QKeyEvent* event)
{
    const QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() != before)
        emit currentChangedByKey();
}

}  // namespace drawings
