// korvelta-mdb-import FILE.mdb: writes the course tables of an Access file to
// standard output as JSON, or a reason to standard error and exits with 1.
#include "MdbReader.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char *argv[])
{
    // Texts arrive as UTF-8 whatever the locale of the machine.
    setenv("MDBICONV", "UTF-8", 1);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: korvelta-mdb-import FILE.mdb\n", stderr);
        return 2;
    }
    try {
        MdbReader reader(args.at(1));
        const QJsonArray tables = reader.readTables({QStringLiteral("urok"), QStringLiteral("jurnal"),
                                                     QStringLiteral("pas")});
        const QByteArray json = QJsonDocument(tables).toJson(QJsonDocument::Compact);
        if (std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout)
                != static_cast<size_t>(json.size())
            || std::fflush(stdout) != 0)
            return 1;
        return 0;
    } catch (const std::exception &error) {
        std::fputs(error.what(), stderr);
        std::fputc('\n', stderr);
        return 1;
    }
}
