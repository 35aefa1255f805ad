#include "TopicTreeWidget.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace TopicTreeWidget {

QVector<TopicNode> nodesOf(const QTreeWidget &tree)
{
    QVector<TopicNode> nodes;
    std::function<void(QTreeWidgetItem *, int)> walk = [&](QTreeWidgetItem *item, int level) {
        nodes.append({level, item->text(0)});
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), level + 1);
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        walk(tree.topLevelItem(i), 0);
    return nodes;
}

void fill(QTreeWidget &tree, const QVector<TopicNode> &nodes,
          const std::function<QTreeWidgetItem *(const QString &text)> &newItem)
{
    tree.setUpdatesEnabled(false);
    tree.clear();
    QVector<QTreeWidgetItem *> lastAtLevel;
    QList<QTreeWidgetItem *> roots;
    for (const TopicNode &node : nodes) {
        QTreeWidgetItem *item = newItem(node.text);
        if (node.level == 0)
            roots.append(item);
        else
            lastAtLevel.at(node.level - 1)->addChild(item);
        lastAtLevel.resize(node.level + 1);
        lastAtLevel[node.level] = item;
    }
    tree.addTopLevelItems(roots);
    tree.setUpdatesEnabled(true);
}

} // namespace TopicTreeWidget
