#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// One node of the topic tree, as the file stores it: its level and its text.
struct TopicNode
{
    int level = 0;
    QString text;

    bool operator==(const TopicNode &other) const { return level == other.level && text == other.text; }
};

// The topic tree file (log.log): one line per node in pre-order, the node's
// level given by leading tabs. Course files are windows-1251; a tree holding a
// text that windows-1251 cannot hold is written as UTF-8 with a byte-order mark.
class TopicTreeFile final
{
public:
    struct ReadResult
    {
        QVector<TopicNode> nodes;   // the nodes read, also those before a bad line
        std::optional<QString> error;
    };

    static ReadResult parse(const QByteArray &bytes);
    static QByteArray serialize(const QVector<TopicNode> &nodes);

    // Reads the file; throws AppError "Cannot open file ..." when it cannot be read.
    static ReadResult read(const QString &path);
    // Writes through a temporary file and a rename, so that a failed write leaves
    // the old file whole; throws AppError "Cannot create file ..." on failure.
    static void write(const QString &path, const QVector<TopicNode> &nodes);
};
