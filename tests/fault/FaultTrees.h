#pragma once

#include "TopicTreeFile.h"

// The two large topic trees that the program writes in turn while a test
// kills it: a log.log left behind must be one of them, whole.
inline QVector<TopicNode> faultTree(char name)
{
    QVector<TopicNode> nodes;
    for (int i = 0; i < 20000; ++i)
        nodes.append({i % 3, QStringLiteral("Тема %1 %2").arg(QLatin1Char(name)).arg(i)});
    return nodes;
}
