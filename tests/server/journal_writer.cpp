// korvelta-test-writer FOLDER NAME COUNT: one learner's copy of the program in
// miniature. Opens the folder's journal through the program's data layer,
// prints "ready", waits for a line on standard input (so that every writer of
// a test starts at once), then appends COUNT rows through JournalRows::append.
// Each row is reported as "written <код> <n>" only after its post returned, or
// as "failed <n> <message>". Exit code: 0 all written, 1 some failed, 2 no journal.
#include "AppError.h"
#include "CourseDatabase.h"
#include "JournalRows.h"
#include "TableCursor.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlDatabase>

#include <cstdio>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

int writeRows(const QString &folder, const QString &name, int count)
{
    const QString connection = QStringLiteral("writer");
    TableCursor journal(QStringLiteral("Tjurnal"), QStringLiteral("jurnal"), CourseDatabase::journalColumns());
    journal.setConnectionName(connection);
    journal.setDateColumns({QStringLiteral("data")});
    try {
        CourseDatabase::openFolder(connection, folder);
        journal.open();
    } catch (const AppError &error) {
        say(QStringLiteral("cannot open %1").arg(error.message()));
        return 2;
    }
    say(QStringLiteral("ready"));
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 2;

    int failed = 0;
    for (int n = 0; n < count; ++n) {
        try {
            JournalRows::append(journal, QDate(2026, 12, 1), name, QStringLiteral("ПИ-21"),
                                QStringLiteral("row %1").arg(n), n % 101);
            say(QStringLiteral("written %1 %2").arg(journal.value(QStringLiteral("код")).toLongLong()).arg(n));
        } catch (const AppError &error) {
            // Dropped, so that the next append does not post it after all.
            journal.cancel();
            say(QStringLiteral("failed %1 %2").arg(n).arg(QString(error.message()).replace(QLatin1Char('\n'), QLatin1Char(' '))));
            ++failed;
        }
    }
    journal.close();
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fputs("usage: korvelta-test-writer FOLDER NAME COUNT\n", stderr);
        return 2;
    }
    const int result = writeRows(args.at(1), args.at(2), args.at(3).toInt());
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    return result;
}
