#include "MdbImport.h"

#include "AppError.h"
#include "CourseDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <vector>

namespace {

constexpr char MdbFileName[] = "db1.mdb";
constexpr qint64 JetPageSize = 4096;
constexpr char ReaderName[] = "korvelta-mdb-import";

[[noreturn]] void fail(const QString &mdbPath, const QString &reason)
{
    throw AppError(QStringLiteral("Файл %1 не удалось импортировать: %2. Курс не перенесён")
                       .arg(QDir::toNativeSeparators(QFileInfo(mdbPath).absoluteFilePath()), reason),
                   ErrorKind::Import);
}

QString defaultReader()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QString::fromLatin1(ReaderName));
    if (QFileInfo(beside).isExecutable())
        return beside;
    // An installed program keeps its helpers in a folder of their own, off PATH.
    const QString installed = QDir(programDir.filePath(QStringLiteral(KORVELTA_HELPERS_FROM_PROGRAM)))
                                  .filePath(QString::fromLatin1(ReaderName));
    if (QFileInfo(installed).isExecutable())
        return installed;
#ifdef KORVELTA_MDB_IMPORT_BUILT
    // Tests and benchmarks run from their own folders of the build tree.
    return QStringLiteral(KORVELTA_MDB_IMPORT_BUILT);
#else
    return beside;
#endif
}

// One table as the reader gives it, with its columns found by name (Access
// names ignore letter case).
class SourceTable final
{
public:
    SourceTable(const QJsonArray &tables, const QString &name, const QString &mdbPath)
        : m_name(name)
        , m_mdbPath(mdbPath)
    {
        for (const QJsonValue &value : tables) {
            const QJsonObject table = value.toObject();
            if (table.value(QStringLiteral("name")).toString() != name)
                continue;
            m_columns = table.value(QStringLiteral("columns")).toArray();
            m_rows = table.value(QStringLiteral("rows")).toArray();
            if (m_rows.size() != table.value(QStringLiteral("declared")).toInteger(-1))
                fail(mdbPath, QStringLiteral("в таблице %1 прочитаны не все строки").arg(name));
            return;
        }
        fail(mdbPath, QStringLiteral("не найдена таблица %1").arg(name));
    }

    QString name() const { return m_name; }
    qsizetype rowCount() const { return m_rows.size(); }

    int column(const QString &name) const
    {
        for (qsizetype i = 0; i < m_columns.size(); ++i) {
            if (m_columns.at(i).toString().compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        }
        fail(m_mdbPath, QStringLiteral("в таблице %1 нет столбца %2").arg(m_name, name));
    }

    QVariant text(qsizetype row, int column) const
    {
        const QJsonValue value = m_rows.at(row).toArray().at(column);
        return value.isNull() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(value.toString());
    }

    QVariant integer(qsizetype row, int column) const
    {
        const QVariant value = text(row, column);
        if (value.isNull())
            return QVariant(QMetaType(QMetaType::LongLong));
        bool ok = false;
        const qlonglong number = value.toString().toLongLong(&ok);
        if (!ok)
            fail(m_mdbPath, QStringLiteral("в таблице %1 не число: %2").arg(m_name, value.toString()));
        return number;
    }

    // The journal keeps dates only.
    QVariant date(qsizetype row, int column) const
    {
        const QVariant value = text(row, column);
        return value.isNull() ? value : QVariant(value.toString().left(10));
    }

private:
    QString m_name;
    QString m_mdbPath;
    QJsonArray m_columns;
    QJsonArray m_rows;
};

// How the reader's text of a column becomes a value of the course database.
QVariant converted(const SourceTable &table, qsizetype row, int column, const QString &name)
{
    if (name == QLatin1String("код") || name == QLatin1String("ocenka"))
        return table.integer(row, column);
    if (name == QLatin1String("data"))
        return table.date(row, column);
    return table.text(row, column);
}

// One table to copy: the course database's columns, found by name in the source.
struct TableCopy
{
    TableCopy(const SourceTable &table, const QStringList &names)
        : source(table)
        , columns(names)
    {
        for (const QString &name : columns)
            sourceColumns.push_back(source.column(name));
    }

    void run(QSqlDatabase &db, const QString &mdbPath) const
    {
        QSqlQuery query(db);
        if (!query.prepare(CourseDatabase::insertStatement(source.name(), columns)))
            fail(mdbPath, QStringLiteral("ошибка записи базы: %1").arg(query.lastError().text()));
        for (qsizetype row = 0; row < source.rowCount(); ++row) {
            for (int i = 0; i < columns.size(); ++i)
                query.bindValue(i, converted(source, row, sourceColumns[i], columns.at(i)));
            if (!query.exec())
                fail(mdbPath, QStringLiteral("ошибка записи базы: %1").arg(query.lastError().text()));
        }
    }

    const SourceTable &source;
    QStringList columns;
    std::vector<int> sourceColumns;
};

MdbImport::Summary writeDatabase(const QJsonArray &tables, const QString &path, const QString &mdbPath)
{
    const SourceTable lessons(tables, QStringLiteral("urok"), mdbPath);
    const SourceTable journal(tables, QStringLiteral("jurnal"), mdbPath);
    const SourceTable passwords(tables, QStringLiteral("pas"), mdbPath);
    // Row identities are kept: the journal's rows stay the same rows. The
    // password stays the plain value it was; it matches until it is changed.
    const TableCopy copies[] = {
        {lessons, CourseDatabase::lessonColumns()},
        {journal, CourseDatabase::journalColumns()},
        {passwords, CourseDatabase::passwordColumns()},
    };

    const QString connection = QStringLiteral("korvelta-import-%1").arg(reinterpret_cast<quintptr>(&tables));
    MdbImport::Summary summary;
    {
        CourseDatabase::openSqlite(connection, path);
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        struct Closer
        {
            QSqlDatabase &db;
            ~Closer()
            {
                if (db.isOpen()) {
                    db.rollback();
                    db.close();
                }
            }
        } closer{db};
        CourseDatabase::createSchema(connection);
        if (!db.transaction())
            fail(mdbPath, QStringLiteral("ошибка записи базы: %1").arg(db.lastError().text()));
        for (const TableCopy &copy : copies)
            copy.run(db, mdbPath);
        if (!db.commit())
            fail(mdbPath, QStringLiteral("ошибка записи базы: %1").arg(db.lastError().text()));

        summary.lessons = static_cast<int>(lessons.rowCount());
        summary.journalRows = static_cast<int>(journal.rowCount());
        if (passwords.rowCount() > 0) {
            const QVariant first = passwords.text(0, copies[2].sourceColumns.front());
            summary.passwordFound = !first.isNull() && !first.toString().isEmpty();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return summary;
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

MdbImport::MdbImport(const QString &readerProgram, int timeoutMs)
    : m_readerProgram(readerProgram.isEmpty() ? defaultReader() : readerProgram)
    , m_timeoutMs(timeoutMs)
{
}

std::optional<QString> MdbImport::importFolder(const QString &folder) const
{
    const QDir dir(folder);
    const QString mdb = dir.filePath(QString::fromLatin1(MdbFileName));
    const QString sqlite = dir.filePath(QString::fromLatin1(CourseDatabase::FileName));
    if (!QFileInfo(mdb).isFile() || QFileInfo::exists(sqlite))
        return std::nullopt;
    return summaryText(importFile(mdb, sqlite));
}

MdbImport::Summary MdbImport::importFile(const QString &mdbPath, const QString &sqlitePath) const
{
    // The reading library is not handed a file that cannot be a Jet 4 database.
    const QString problem = signatureProblem(mdbPath);
    if (!problem.isEmpty())
        fail(mdbPath, problem);

    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MDBICONV"), QStringLiteral("UTF-8"));
    reader.setProcessEnvironment(environment);
    reader.start(m_readerProgram, {QFileInfo(mdbPath).absoluteFilePath()});
    if (!reader.waitForStarted())
        fail(mdbPath, QStringLiteral("не запускается программа чтения %1").arg(m_readerProgram));
    ReaderOutcome outcome;
    if (!reader.waitForFinished(m_timeoutMs)) {
        reader.kill();
        reader.waitForFinished();
        outcome.timedOut = true;
    } else {
        outcome.crashed = reader.exitStatus() == QProcess::CrashExit;
        outcome.exitCode = reader.exitCode();
        outcome.standardOutput = reader.readAllStandardOutput();
        outcome.standardError = reader.readAllStandardError();
    }
    return importReaderOutcome(outcome, mdbPath, sqlitePath);
}

MdbImport::Summary MdbImport::importReaderOutcome(const ReaderOutcome &outcome, const QString &mdbPath,
                                                  const QString &sqlitePath)
{
    if (outcome.timedOut)
        fail(mdbPath, QStringLiteral("чтение файла не закончилось за отведённое время"));
    if (outcome.crashed)
        fail(mdbPath, QStringLiteral("программа чтения завершилась аварийно, файл повреждён"));
    if (outcome.exitCode != 0) {
        // The library writes its own warnings first; the reader's reason is the last line.
        const QString reason = QString::fromUtf8(outcome.standardError).trimmed().split(QLatin1Char('\n')).last();
        fail(mdbPath, reason.isEmpty() ? QStringLiteral("файл не читается") : reason);
    }

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(outcome.standardOutput, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isArray())
        fail(mdbPath, QStringLiteral("программа чтения выдала неполные данные"));

    // Written beside the target and renamed at the end, so that an import
    // stopped half-way leaves no half database behind.
    const QFileInfo target(sqlitePath);
    QString temporaryPath;
    {
        QTemporaryFile temporary(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX.part")));
        temporary.setAutoRemove(false);
        if (!temporary.open())
            fail(mdbPath, QStringLiteral("нельзя создать файл в папке %1").arg(QDir::toNativeSeparators(target.absolutePath())));
        temporaryPath = temporary.fileName();
    }
    try {
        const Summary summary = writeDatabase(document.array(), temporaryPath, mdbPath);
        // rename() fails rather than replace a db1.sqlite made meanwhile.
        if (!QFile::rename(temporaryPath, target.absoluteFilePath()))
            fail(mdbPath, QStringLiteral("нельзя создать файл %1").arg(QDir::toNativeSeparators(target.absoluteFilePath())));
        removeDatabaseFiles(temporaryPath);
        return summary;
    } catch (const AppError &error) {
        removeDatabaseFiles(temporaryPath);
        if (error.kind() == ErrorKind::Import)
            throw;
        fail(mdbPath, error.message());
    } catch (...) {
        removeDatabaseFiles(temporaryPath);
        throw;
    }
}

QString MdbImport::signatureProblem(const QString &mdbPath)
{
    QFile file(mdbPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("файл не открывается: %1").arg(file.errorString());
    const QByteArray header = file.read(0x15);
    static const char magic[] = "\x00\x01\x00\x00Standard Jet DB\x00";
    if (header.size() < 0x15 || header.left(20) != QByteArray(magic, 20))
        return QStringLiteral("это не файл базы данных Access");
    if (static_cast<unsigned char>(header.at(0x14)) != 0x01)
        return QStringLiteral("файл не в формате Access 2000 (Jet 4)");
    const qint64 size = file.size();
    if (size < 2 * JetPageSize || size % JetPageSize != 0)
        return QStringLiteral("размер файла (%1 байт) не кратен странице в %2 байт: файл обрезан или повреждён")
            .arg(size)
            .arg(JetPageSize);
    return QString();
}

QString MdbImport::summaryText(const Summary &summary)
{
    return QStringLiteral("Курс перенесён из db1.mdb в db1.sqlite: уроков — %1, записей журнала — %2, %3.")
        .arg(summary.lessons)
        .arg(summary.journalRows)
        .arg(summary.passwordFound ? QStringLiteral("пароль найден") : QStringLiteral("пароль не найден"));
}
