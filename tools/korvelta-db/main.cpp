// korvelta-db upload [--force]: run in a course folder that holds db1.sqlite
// and db1.connection; copies the course's tables to that server.
// Exit codes: 0 copied, 1 usage, 2 a database cannot be opened,
// 3 refused (the server's journal has rows), 4 the copy failed (nothing changed).
#include "AppError.h"
#include "CourseUpload.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <memory>

namespace {

enum ExitCode { Copied = 0, Usage = 1, CannotOpen = 2, Refused = 3, CopyFailed = 4 };

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool force = args.contains(QStringLiteral("--force"));
    if (args.value(0) != QLatin1String("upload") || args.size() != (force ? 2 : 1)) {
        print(stderr, QStringLiteral(
            "usage: korvelta-db upload [--force]\n"
            "Run in a course folder that holds db1.sqlite and db1.connection (a libpq connection string).\n"
            "Creates the course tables on that server where missing and copies the file's rows into them;\n"
            "a server journal that already has rows is replaced only with --force."));
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
