#include "BenchCases.h"
#include "Samples.h"

#include "CourseDatabase.h"
#include "JournalExport.h"
#include "JournalFilterText.h"
#include "JournalSummary.h"
#include "JournalPruning.h"
#include "JournalReport.h"
#include "TableCursor.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>
#include <vector>

namespace {

constexpr int JournalRowCount = 100000;
constexpr int ReportRowCount = 10000;
constexpr int Learners = 1000;

// A connection to one database file for as long as it lives.
class Connection final
{
    Q_DISABLE_COPY_MOVE(Connection)

public:
    Connection(const QString &name, const QString &path)
        : m_name(name)
    {
        CourseDatabase::openSqlite(m_name, path);
    }
    ~Connection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    const QString &name() const { return m_name; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

QString learner(int i)
{
    return QStringLiteral("Ученик %1").arg(i % Learners);
}

// A journal of visits (about 60 %) and test results of 1000 learners in 20 groups.
void writeJournal(const QString &path, int rows)
{
    QFile(path).open(QIODevice::WriteOnly);
    Connection connection(QStringLiteral("bench-journal-fill"), path);
    CourseDatabase::createSchema(connection.name());
    QSqlDatabase db = connection.db();
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO jurnal (urok, data, ocenka, fio, gruppa) VALUES (?, ?, ?, ?, ?)"));
    const QDate start(2025, 9, 1);
    for (int i = 0; i < rows; ++i) {
        query.bindValue(0, QStringLiteral("Тема %1: законы электрических цепей").arg(i % 60));
        query.bindValue(1, start.addDays(i % 300).toString(Qt::ISODate));
        query.bindValue(2, (i % 5) < 3 ? 0 : (i * 37) % 101);
        query.bindValue(3, learner(i));
        query.bindValue(4, QStringLiteral("ПИ-%1").arg(i % 20));
        query.exec();
    }
    db.commit();
}

std::unique_ptr<TableCursor> journalOn(const Connection &connection)
{
    auto journal = std::make_unique<TableCursor>(QStringLiteral("Tjurnal"), QStringLiteral("jurnal"),
                                                 CourseDatabase::journalColumns());
    journal->setConnectionName(connection.name());
    journal->setDateColumns({QStringLiteral("data")});
    return journal;
}

// Reads every row a statement returns, value by value, as the cursor must.
std::vector<QVariant> readAll(QSqlQuery &query, int columns)
{
    std::vector<QVariant> values;
    values.reserve(size_t(JournalRowCount) * size_t(columns));
    while (query.next()) {
        for (int c = 0; c < columns; ++c)
            values.push_back(query.value(c));
    }
    return values;
}

void journalOfManyRows(const BenchReport &report)
{
    QTemporaryDir dir;
    const QString master = dir.filePath(QStringLiteral("master.sqlite"));
    writeJournal(master, JournalRowCount);

    // Ours and the bare statement in turns, so that a busy moment of the
    // machine falls on both; only the opening is timed, not the closing before it.
    {
        Connection connection(QStringLiteral("bench-journal"), master);
        auto journal = journalOn(connection);
        Samples open, bareOpen;
        for (int run = 0; run < benchRuns(); ++run) {
            journal->close();
            open.add(fastestMs(1, [&] { journal->open(); }));
            bareOpen.add(fastestMs(1, [&] {
                QSqlQuery query(connection.db());
                query.setForwardOnly(true);
                query.exec(QStringLiteral("SELECT rowid, \"код\", urok, data, ocenka, fio, gruppa FROM jurnal ORDER BY 1"));
                readAll(query, 7);
            }));
        }
        reportSamples(report, QStringLiteral("open, 100000 rows"), open, QStringLiteral("< 200 ms"));
        reportSamples(report, QStringLiteral("  bare SELECT of all rows"), bareOpen, QString());
        report({QStringLiteral("  ratio"), ratio(open.median(), bareOpen.median()), QStringLiteral("x"),
                QStringLiteral("< 1.2 x")});

        journal->setFiltered(true);
        int serial = 0;
        Samples filter, bareFilter;
        for (int run = 0; run < benchRuns(); ++run) {
            filter.add(fastestMs(1, [&] {
                JournalFilterText::fromBoxes(learner(++serial), QString()).applyTo(*journal);
            }));
            bareFilter.add(fastestMs(1, [&] {
                QSqlQuery query(connection.db());
                query.setForwardOnly(true);
                query.prepare(QStringLiteral("SELECT rowid, \"код\", urok, data, ocenka, fio, gruppa FROM jurnal "
                                             "WHERE fio = ? ORDER BY 1"));
                query.addBindValue(learner(++serial));
                query.exec();
                readAll(query, 7);
            }));
        }
        reportSamples(report, QStringLiteral("filter change, switch on"), filter, QStringLiteral("< 50 ms"));
        reportSamples(report, QStringLiteral("  bare SELECT ... WHERE fio = ?"), bareFilter, QString());
        report({QStringLiteral("  ratio"), ratio(filter.median(), bareFilter.median()), QStringLiteral("x"), QString()});
    }

    // Each deletion runs on a fresh copy of the journal; only the deletion is timed.
    const QString work = dir.filePath(QStringLiteral("work.sqlite"));
    Samples prune, barePrune;
    for (int run = 0; run < benchRuns(); ++run) {
        QFile::remove(work);
        QFile::copy(master, work);
        {
            Connection connection(QStringLiteral("bench-journal-prune"), work);
            auto journal = journalOn(connection);
            journal->open();
            prune.add(fastestMs(1, [&] {
                JournalPruning::deleteRowsWithoutMarks(*journal, journal->filter(), false);
            }));
        }
        QFile::remove(work);
        QFile::copy(master, work);
        {
            Connection connection(QStringLiteral("bench-journal-prune"), work);
            barePrune.add(fastestMs(1, [&] {
                QSqlQuery query(connection.db());
                query.exec(QStringLiteral("DELETE FROM jurnal WHERE ocenka = 0"));
            }));
        }
    }
    reportSamples(report, QStringLiteral("delete rows without marks (60000)"), prune, QStringLiteral("< 1000 ms"));
    reportSamples(report, QStringLiteral("  bare DELETE ... WHERE ocenka = 0"), barePrune, QString());
    report({QStringLiteral("  ratio"), ratio(prune.median(), barePrune.median()), QStringLiteral("x"),
            QStringLiteral("< 2 x")});
}

void reportOfManyRows(const BenchReport &report)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db1.sqlite"));
    writeJournal(path, ReportRowCount);
    Connection connection(QStringLiteral("bench-journal-report"), path);
    auto journal = journalOn(connection);
    journal->open();
    JournalReport layout;
    int pages = 0;
    const double ms = fastestMs(2, [&] {
        pages = layout.renderToPdf(*journal, dir.filePath(QStringLiteral("report.pdf")));
    });
    report({QStringLiteral("report of 10000 rows to PDF (%1 pages)").arg(pages), ms, QStringLiteral("ms"),
            QStringLiteral("< 2000 ms")});
}

// A journal of many rows in a folder of its own, open, for the cases that
// write files beside it.
class OpenJournal final
{
    Q_DISABLE_COPY_MOVE(OpenJournal)

public:
    explicit OpenJournal(const QString &connectionName)
        : m_connection(connectionName, filled(m_dir.filePath(QStringLiteral("db1.sqlite"))))
        , m_journal(journalOn(m_connection))
    {
        m_journal->open();
    }
    QString filePath(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    TableCursor &journal() const { return *m_journal; }

private:
    static QString filled(const QString &path)
    {
        writeJournal(path, JournalRowCount);
        return path;
    }

    QTemporaryDir m_dir;
    Connection m_connection;
    std::unique_ptr<TableCursor> m_journal;
};

QString describeFile(const QString &path)
{
    return QStringLiteral("%1 (%2 MB)").arg(QFileInfo(path).suffix().toUpper()).arg(QFileInfo(path).size() / 1e6, 0, 'f', 1);
}

// The whole journal written to each export format, as the journal tab and
// korvelta-db export write it.
void exportOfManyRows(const BenchReport &report)
{
    OpenJournal open(QStringLiteral("bench-journal-export"));
    const struct
    {
        const char *file;
        const char *target;
    } formats[] = {{"journal.csv", "< 2000 ms"}, {"journal.xlsx", "< 2000 ms"}, {"journal.pdf", ""}};
    for (const auto &format : formats) {
        const QString file = open.filePath(format.file);
        const double ms = fastestMs(format.target[0] ? 3 : 1, [&] { JournalExport::write(open.journal(), file); });
        report({QStringLiteral("export of 100000 rows to %1").arg(describeFile(file)), ms, QStringLiteral("ms"),
                QString::fromLatin1(format.target)});
    }
}

// The summaries of the whole journal, worked out and written to each format.
void summaryOfManyRows(const BenchReport &report)
{
    OpenJournal open(QStringLiteral("bench-journal-summary"));
    JournalSummary summary;
    const double ms = fastestMs(3, [&] { summary = JournalSummary::of(open.journal()); });
    report({QStringLiteral("summaries of 100000 rows"), ms, QStringLiteral("ms"), QString()});
    for (const char *name : {"summary.csv", "summary.xlsx", "summary.pdf"}) {
        const QString file = open.filePath(name);
        const double written = fastestMs(1, [&] { summary.write(file); });
        report({QStringLiteral("  written to %1").arg(describeFile(file)), written, QStringLiteral("ms"), QString()});
    }
}

} // namespace

std::vector<BenchCase> journalBenchCases()
{
    return {{QStringLiteral("journal"), journalOfManyRows},
            {QStringLiteral("journal-report"), reportOfManyRows},
            {QStringLiteral("journal-export"), exportOfManyRows},
            {QStringLiteral("journal-summary"), summaryOfManyRows}};
}
