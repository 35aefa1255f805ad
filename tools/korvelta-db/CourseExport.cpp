#include "CourseExport.h"

#include "CourseDatabase.h"
#include "ExportFile.h"
#include "JournalExport.h"
#include "JournalFilterText.h"
#include "TableCursor.h"

#include <QDir>
#include <QSqlDatabase>

std::optional<CourseExport::Options> CourseExport::parse(const QStringList &arguments, QString *error)
{
    Options options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!options.file.isEmpty()) {
                *error = QStringLiteral("one file only: %1").arg(argument);
                return std::nullopt;
            }
            options.file = argument;
            continue;
        }
        static const QStringList known{QStringLiteral("--fio"), QStringLiteral("--gruppa"), QStringLiteral("--from"),
                                       QStringLiteral("--to")};
        if (!known.contains(argument)) {
            *error = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        }
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("%1 needs a value").arg(argument);
            return std::nullopt;
        }
        const QString value = arguments.at(++i);
        if (argument == QLatin1String("--fio")) {
            options.fio = value;
        } else if (argument == QLatin1String("--gruppa")) {
            options.gruppa = value;
        } else {
            const QDate date = parseDate(value);
            if (!date.isValid()) {
                *error = QStringLiteral("%1 %2 is not a date: write YYYY-MM-DD or DD.MM.YYYY").arg(argument, value);
                return std::nullopt;
            }
            (argument == QLatin1String("--from") ? options.from : options.to) = date;
        }
    }
    if (options.file.isEmpty()) {
        *error = QStringLiteral("no file named");
        return std::nullopt;
    }
    if (!ExportFile::formatOf(options.file)) {
        *error = QStringLiteral("%1: the file must end in .csv, .xlsx or .pdf").arg(options.file);
        return std::nullopt;
    }
    return options;
}

QDate CourseExport::parseDate(const QString &text)
{
    const QDate iso = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return iso.isValid() ? iso : QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

CourseExport::CourseExport(const QString &folder)
    : m_connection(QStringLiteral("korvelta-db-export"))
    , m_folder(folder)
{
    try {
        CourseDatabase::openFolder(m_connection, folder);
        m_journal = std::make_unique<TableCursor>(QStringLiteral("Tjurnal"), QStringLiteral("jurnal"),
                                                  CourseDatabase::journalColumns());
        m_journal->setConnectionName(m_connection);
        m_journal->setDateColumns({QStringLiteral("data")});
        m_journal->open();
    } catch (...) {
        closeConnection();
        throw;
    }
}

CourseExport::~CourseExport()
{
    closeConnection();
}

void CourseExport::closeConnection()
{
    m_journal.reset();
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

int CourseExport::write(const Options &options)
{
    JournalFilterText::fromBoxes(options.fio, options.gruppa).withDates(options.from, options.to).applyTo(*m_journal);
    m_journal->setFiltered(true);
    return JournalExport::write(*m_journal, QDir(m_folder).absoluteFilePath(options.file));
}
