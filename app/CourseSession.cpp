#include "CourseSession.h"

#include "AppError.h"
#include "JournalRows.h"
#include "LessonPaths.h"
#include "TableCursor.h"

#include <QDate>
#include <QFile>

namespace {

const QString TitleColumn = QStringLiteral("urok");

[[noreturn]] void closedTable(const char *name)
{
    throw AppError(QString::fromLatin1(name) + QStringLiteral(": Cannot perform this operation on a closed dataset"),
                   ErrorKind::Database);
}

} // namespace

void CourseSession::attachTables(TableCursor *lessons, TableCursor *journal)
{
    m_lessons = lessons;
    m_journal = journal;
}

TableCursor &CourseSession::lessons() const
{
    if (!m_lessons)
        closedTable("Turok");
    return *m_lessons;
}

TableCursor &CourseSession::journal() const
{
    if (!m_journal)
        closedTable("Tjurnal");
    return *m_journal;
}

void CourseSession::setLearner(const QString &name, const QString &group)
{
    m_learnerName = name;
    m_learnerGroup = group;
}

void CourseSession::openTopic(const QString &topic)
{
    lessons().locate(TitleColumn, topic);
}

QString CourseSession::columnOf(LessonCommand command)
{
    switch (command) {
    case LessonCommand::Picture:
        return QStringLiteral("jpg");
    case LessonCommand::Video:
        return QStringLiteral("avi");
    case LessonCommand::Narration:
        return QStringLiteral("wav");
    case LessonCommand::Test:
        return QStringLiteral("test");
    case LessonCommand::Page:
        return QStringLiteral("htm");
    case LessonCommand::Program:
        return QStringLiteral("exe");
    }
    return QString();
}

QVector<LessonCommandState> CourseSession::lessonCommands() const
{
    QVector<LessonCommandState> states;
    for (LessonCommand command : {LessonCommand::Picture, LessonCommand::Video, LessonCommand::Narration,
                                  LessonCommand::Test, LessonCommand::Page, LessonCommand::Program})
        states.append({command, LessonPaths::isSet(lessons().value(columnOf(command)))});
    return states;
}

std::optional<QString> CourseSession::existingLessonFile(const QString &appDir, const QString &column) const
{
    const auto path = LessonPaths::resolveLessonFile(appDir, lessons().value(column));
    if (path && LessonPaths::fileExists(*path))
        return path;
    return std::nullopt;
}

QString CourseSession::currentLessonTitle() const
{
    return lessons().value(TitleColumn).toString();
}

void CourseSession::recordInJournal(const QString &lesson, int score)
{
    if (m_learnerName.isEmpty())
        return;
    JournalRows::append(journal(), QDate::currentDate(), m_learnerName, m_learnerGroup, lesson, score);
}

void CourseSession::recordVisit(const QString &topic)
{
    // The node's own text, not the lesson row's title: a topic that matches no
    // row is recorded under its own name.
    recordInJournal(topic, 0);
}

void CourseSession::recordTestResult(int percent)
{
    if (m_learnerName.isEmpty())
        return;
    recordInJournal(currentLessonTitle(), percent);
}

void CourseSession::addTopicRow(const QString &title)
{
    TableCursor &table = lessons();
    table.insert();
    table.setValue(TitleColumn, title);
    table.post();
}

void CourseSession::removeTopicRow(const QString &title)
{
    TableCursor &table = lessons();
    if (table.locate(TitleColumn, title))
        table.remove();
}

TopicTreeFile::ReadResult CourseSession::readTopicTree(const QString &path)
{
    m_treePath = path;
    m_treeReadIncomplete = false;
    TopicTreeFile::ReadResult tree = TopicTreeFile::read(path);
    m_treeReadIncomplete = tree.error.has_value();
    return tree;
}

void CourseSession::saveTopicTree(const QVector<TopicNode> &nodes,
                                  const std::function<void(const QString &)> &notify)
{
    // The rest of a file read only up to a bad line would be lost by the write.
    if (m_treeReadIncomplete && QFile::exists(m_treePath)) {
        const QString backup = m_treePath + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(m_treePath, backup))
            throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(backup, QStringLiteral("Copy failed")),
                           ErrorKind::FileCreate);
        notify(QStringLiteral("Файл %1 был прочитан не полностью. Его прежнее содержимое сохранено в файле %2.")
                   .arg(m_treePath, backup));
    }
    TopicTreeFile::write(m_treePath, nodes);
    m_treeReadIncomplete = false;
}
