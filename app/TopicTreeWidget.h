#pragma once

#include "TopicTreeFile.h"

#include <QString>
#include <QVector>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The topic tree of a tree widget as the topic file stores it, and back.
namespace TopicTreeWidget {

// Every node in pre-order: a node, its whole subtree, then its next sibling.
QVector<TopicNode> nodesOf(const QTreeWidget &tree);

// Replaces the tree's content with `nodes`, each item made by `newItem`.
void fill(QTreeWidget &tree, const QVector<TopicNode> &nodes,
          const std::function<QTreeWidgetItem *(const QString &text)> &newItem);

} // namespace TopicTreeWidget
