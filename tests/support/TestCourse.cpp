#include "TestCourse.h"

#include "CourseDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {
int serial = 0;
}

TestCourse::TestCourse(bool withDatabase)
    : m_previousDir(QDir::currentPath())
    , m_connection(QStringLiteral("test-course-%1").arg(++serial))
{
    QDir::setCurrent(m_dir.path());
    if (withDatabase)
        createDatabase();
}

TestCourse::~TestCourse()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    QDir::setCurrent(m_previousDir);
}

QString TestCourse::filePath(const QString &relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

void TestCourse::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString full = filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture file %s", qPrintable(full));
}

QByteArray TestCourse::readFile(const QString &relative) const
{
    QFile file(filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TestCourse::createDatabase()
{
    writeFile(QString::fromLatin1(CourseDatabase::FileName), QByteArray());
    CourseDatabase::openSqlite(m_connection, filePath(QString::fromLatin1(CourseDatabase::FileName)));
    CourseDatabase::createSchema(m_connection);
}

void TestCourse::exec(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    if (!query.prepare(sql))
        qFatal("fixture SQL does not prepare: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec())
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

QVariant TestCourse::scalar(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.prepare(sql);
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return QVariant();
    return query.value(0);
}

QStringList TestCourse::rows(const QString &sql) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    QStringList out;
    if (!query.exec(sql))
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < query.record().count(); ++i)
            cells << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}
