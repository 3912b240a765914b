#include "drawings/tree_items.h"

#include <QTreeWidgetItem>

#include "text/cp932.h"

namespace drawings {

namespace {
constexpr int kBytesRole = Qt::UserRole;
}

std::string ItemBytes(const QTreeWidgetItem* item)
{
    const QByteArray bytes = item->data(0, kBytesRole).toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void SetItemText(QTreeWidgetItem* item, const std::string& bytes)
{
    item->setText(0, text::FromCp932(bytes));
    item->setData(0, kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

BranchWalk WalkBranch(QTreeWidgetItem* item, const std::function<bool()>& stopRequested)
{
    BranchWalk walk;
    if (!item)
        return walk;
    const bool wholeTree = item->parent() == nullptr;
    QTreeWidgetItem* from = wholeTree ? item : item->parent();
    for (const QTreeWidgetItem* up = from->parent(); up; up = up->parent())
        ++walk.baseLevel;

    struct Level {
        QTreeWidgetItem* parent;
        int next;
        int depth;
    };
    std::vector<Level> levels{{from, 0, walk.baseLevel}};  // pre-order without recursion
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next >= level.parent->childCount()) {
            levels.pop_back();
            continue;
        }
        QTreeWidgetItem* child = level.parent->child(level.next++);
        const int depth = level.depth;
        if (stopRequested())
            break;
        walk.nodes.push_back({child, depth});
        if (child->childCount() > 0 && (wholeTree || child->isExpanded()))
            levels.push_back({child, 0, depth + 1});
    }
    return walk;
}

}  // namespace drawings
