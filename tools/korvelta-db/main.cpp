// korvelta-db upload [--force]: run in a course folder that holds db1.sqlite
// and db1.connection; copies the course's tables to that server.
// korvelta-db export FILE.csv|FILE.xlsx|FILE.pdf [--fio NAME] [--gruppa GROUP]
// [--from DATE] [--to DATE]: run in a course folder; writes its journal rows.
// Exit codes: 0 done, 1 usage, 2 a database cannot be opened,
// 3 refused (the server's journal has rows), 4 the copy or the export failed
// (nothing changed).
#include "AppError.h"
#include "CourseExport.h"
#include "CourseUpload.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {

enum ExitCode { Copied = 0, Usage = 1, CannotOpen = 2, Refused = 3, CopyFailed = 4 };

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
}

const char UsageText[] =
    "usage: korvelta-db upload [--force]\n"
    "       korvelta-db export FILE.csv|FILE.xlsx|FILE.pdf [--fio NAME] [--gruppa GROUP] [--from DATE] [--to DATE]\n"
    "Run in a course folder.\n"
    "upload: the folder holds db1.sqlite and db1.connection (a libpq connection string). Creates the\n"
    "course tables on that server where missing and copies the file's rows into them; a server journal\n"
    "that already has rows is replaced only with --force.\n"
    "export: writes the journal rows of the course's database (db1.sqlite, or the server named in\n"
    "db1.connection) to a CSV, Excel or PDF file; --fio and --gruppa keep the rows of that name and\n"
    "group, as the journal's filter does; --from and --to keep the dates between them, both included\n"
    "(YYYY-MM-DD or DD.MM.YYYY).";

int exportJournal(const QStringList &args)
{
    QString error;
    const std::optional<CourseExport::Options> options = CourseExport::parse(args, &error);
    if (!options) {
        print(stderr, QStringLiteral("korvelta-db export: %1\n%2").arg(error, QString::fromUtf8(UsageText)));
        return Usage;
    }
    std::unique_ptr<CourseExport> course;
    try {
        course = std::make_unique<CourseExport>(QDir::currentPath());
    } catch (const AppError &error) {
        print(stderr, QStringLiteral("korvelta-db: cannot open: %1").arg(error.message()));
        return CannotOpen;
    }
    try {
        const int rows = course->write(*options);
        print(stdout, QStringLiteral("Exported %1 journal rows to %2.").arg(rows).arg(options->file));
    } catch (const AppError &error) {
        print(stderr, QStringLiteral("korvelta-db: the export failed, nothing was written: %1").arg(error.message()));
        return CopyFailed;
    }
    return Copied;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "export") == 0) {
        // The PDF report needs fonts, which come with a GUI application; it
        // never shows a window, so it runs the same with no display at all.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return exportJournal(QCoreApplication::arguments().mid(2));
    }

    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool force = args.contains(QStringLiteral("--force"));
    if (args.value(0) != QLatin1String("upload") || args.size() != (force ? 2 : 1)) {
        print(stderr, QString::fromUtf8(UsageText));
        return Usage;
    }

    std::unique_ptr<CourseUpload> upload;
    try {
        upload = std::make_unique<CourseUpload>(QDir::currentPath());
    } catch (const AppError &error) {
        print(stderr, QStringLiteral("korvelta-db: cannot open: %1").arg(error.message()));
        return CannotOpen;
    }
    try {
        if (upload->run(force) == CourseUpload::Outcome::RefusedJournalHasRows) {
            print(stderr, QStringLiteral("korvelta-db: the server's journal already holds %1 rows; nothing was changed.\n"
                                         "Run \"korvelta-db upload --force\" to replace the server's tables with db1.sqlite.")
                              .arg(upload->serverJournalRows()));
            return Refused;
        }
    } catch (const AppError &error) {
        print(stderr, QStringLiteral("korvelta-db: the copy failed, the server is unchanged: %1").arg(error.message()));
        return CopyFailed;
    }
    const CourseUpload::Counts counts = upload->copied();
    print(stdout, QStringLiteral("Copied db1.sqlite to the server: %1 lessons, %2 journal rows, %3 passwords.")
                      .arg(counts.lessons).arg(counts.journal).arg(counts.passwords));
    return Copied;
}
