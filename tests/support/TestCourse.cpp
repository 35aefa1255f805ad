#include "TestCourse.h"

#include "AppError.h"
#include "CourseDatabase.h"
#include "FixtureFile.h"
#include "TableCursor.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {
int serial = 0;

// A connection of its own to the test server's maintenance database, for as long as it lives.
class AdminConnection final
{
public:
    explicit AdminConnection(const QString &name)
        : m_name(name)
    {
        CourseDatabase::openPostgreSql(m_name, TestCourse::serverConnectionString());
    }
    ~AdminConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    AdminConnection(const AdminConnection &) = delete;
    AdminConnection &operator=(const AdminConnection &) = delete;

    bool exec(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (query.exec(sql))
            return true;
        qWarning("test server: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return false;
    }

private:
    QString m_name;
};
} // namespace

TestCourse::TestCourse(bool withDatabase)
    : m_previousDir(QDir::currentPath())
    , m_connection(QStringLiteral("test-course-%1").arg(++serial))
{
    QDir::setCurrent(m_dir.path());
    if (withDatabase)
        createDatabase();
}

TestCourse::TestCourse(Backend backend)
    : m_previousDir(QDir::currentPath())
    , m_connection(QStringLiteral("test-course-%1").arg(++serial))
    , m_backend(backend)
{
    QDir::setCurrent(m_dir.path());
    createDatabase();
}

TestCourse::~TestCourse()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    dropServerDatabase();
    QDir::setCurrent(m_previousDir);
}

QString TestCourse::serverConnectionString()
{
    return qEnvironmentVariable("KORVELTA_TEST_PG").trimmed();
}

QString TestCourse::backendName(Backend backend)
{
    return backend == Backend::PostgreSql ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
}

QString TestCourse::filePath(const QString &relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

void TestCourse::writeFile(const QString &relative, const QByteArray &bytes) const
{
    FixtureFile::write(filePath(relative), bytes);
}

QByteArray TestCourse::readFile(const QString &relative) const
{
    return FixtureFile::read(filePath(relative));
}

void TestCourse::createDatabase()
{
    if (m_backend == Backend::PostgreSql) {
        createServerDatabase();
        return;
    }
    writeFile(QString::fromLatin1(CourseDatabase::FileName), QByteArray());
    CourseDatabase::openSqlite(m_connection, filePath(QString::fromLatin1(CourseDatabase::FileName)));
    CourseDatabase::createSchema(m_connection);
}

void TestCourse::createServerDatabase()
{
    if (serverConnectionString().isEmpty())
        qFatal("a server course needs KORVELTA_TEST_PG");
    const QString name = QStringLiteral("korvelta_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(serial);
    try {
        {
            AdminConnection admin(m_connection + QStringLiteral("-admin"));
            if (!admin.exec(QStringLiteral("CREATE DATABASE %1").arg(name)))
                qFatal("cannot create the test database %s", qPrintable(name));
        }
        m_serverDatabase = name;
        m_connectionString = serverConnectionString() + QStringLiteral(" dbname=") + name;
        writeFile(QString::fromLatin1(CourseDatabase::ConnectionFileName), m_connectionString.toUtf8() + '\n');
        CourseDatabase::openPostgreSql(m_connection, m_connectionString);
        CourseDatabase::createSchema(m_connection);
    } catch (const AppError &error) {
        qFatal("test server: %s", qPrintable(error.message()));
    }
}

void TestCourse::dropServerDatabase()
{
    if (m_serverDatabase.isEmpty())
        return;
    try {
        // FORCE: a connection the code under test left open must not keep the database.
        AdminConnection(m_connection + QStringLiteral("-admin"))
            .exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_serverDatabase));
    } catch (const AppError &error) {
        qWarning("test server: %s", qPrintable(error.message()));
    }
    m_serverDatabase.clear();
}

void TestCourse::reconnect()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.close();
    if (!db.open())
        qFatal("test course: cannot connect again: %s", qPrintable(db.lastError().text()));
}

void TestCourse::exec(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    if (binds.isEmpty()) {
        // Unprepared: the server prepares no definitions (triggers, functions).
        if (!query.exec(sql))
            qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return;
    }
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

void TestCourse::addJournalRow(const QString &fio, const QString &gruppa, int ocenka, const QString &urok,
                               const QString &date) const
{
    exec(QStringLiteral("INSERT INTO jurnal (fio, gruppa, ocenka, urok, data) VALUES (?, ?, ?, ?, ?)"),
         {fio, gruppa, ocenka, urok, date});
}

std::unique_ptr<TableCursor> TestCourse::openJournal() const
{
    auto journal = std::make_unique<TableCursor>(QStringLiteral("Tjurnal"), QStringLiteral("jurnal"),
                                                 CourseDatabase::journalColumns());
    journal->setConnectionName(m_connection);
    journal->setDateColumns({QStringLiteral("data")});
    journal->open();
    return journal;
}

std::unique_ptr<TableCursor> TestCourse::openLessons() const
{
    auto lessons = std::make_unique<TableCursor>(QStringLiteral("Turok"), QStringLiteral("urok"),
                                                 CourseDatabase::lessonColumns());
    lessons->setConnectionName(m_connection);
    lessons->open();
    return lessons;
}
