#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <optional>

class TableCursor;

// korvelta-db export: the journal of the course folder's database (db1.sqlite,
// or the server its db1.connection names) written to a CSV, Excel or PDF
// file, narrowed by name, group and dates as the journal tab's filter narrows
// it.
class CourseExport final
{
    Q_DISABLE_COPY_MOVE(CourseExport)

public:
    struct Options
    {
        QString file;
        QString fio;
        QString gruppa;
        QDate from;
        QDate to;
    };

    // The arguments after "export". nullopt with the reason in `error` when
    // they are not a valid export command.
    static std::optional<Options> parse(const QStringList &arguments, QString *error);
    // A date as YYYY-MM-DD or DD.MM.YYYY; an invalid date otherwise.
    static QDate parseDate(const QString &text);

    // Opens the folder's journal; AppError when the database or its journal
    // cannot be opened.
    explicit CourseExport(const QString &folder);
    ~CourseExport();

    // Writes the rows the options select; returns their number. AppError when
    // the file cannot be written (an earlier file of that name is kept).
    int write(const Options &options);

private:
    void closeConnection();

    QString m_connection;
    QString m_folder;
    std::unique_ptr<TableCursor> m_journal;
};
