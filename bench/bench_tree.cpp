#include "BenchCases.h"

#include "CourseSession.h"
#include "Messages.h"
#include "TopicTreeFile.h"
#include "Unit1.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

QVector<TopicNode> bigTree(int count)
{
    // Ten roots, each with chapters of lessons, three levels deep.
    QVector<TopicNode> nodes;
    nodes.reserve(count);
    for (int i = 0; nodes.size() < count; ++i) {
        const int level = (i % 10 == 0) ? 0 : (i % 10 < 3 ? 1 : 2);
        nodes.append({level, QStringLiteral("Тема номер %1: электрические цепи").arg(i)});
    }
    return nodes;
}

void treeFile(const BenchReport &report)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("log.log");
    const QVector<TopicNode> nodes = bigTree(10000);
    TopicTreeFile::write(path, nodes);

    // The window reads the tree of the current folder at creation: give it this one.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Messages::Recorder messages;
    CourseSession session;
    TForm1 form(session);
    const double read = fastestMs(5, [&] { form.setTopicNodes(TopicTreeFile::read(path).nodes); });
    const double write = fastestMs(5, [&] { TopicTreeFile::write(path, form.topicNodes()); });
    report({"read 10,000 nodes into the tree", read, "ms", "< 50 ms"});
    report({"write 10,000 nodes from the tree", write, "ms", "< 20 ms"});
    QDir::setCurrent(previous);
}

} // namespace

std::vector<BenchCase> treeBenchCases()
{
    return {{"tree-file", treeFile}};
}
