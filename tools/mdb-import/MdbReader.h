#pragma once

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <memory>

// Reads the three course tables of a Jet 4 file through mdbtools and gives
// them as JSON: {"name", "declared", "columns", "rows"} per table. Texts come
// as strings, Null as null, dates as "YYYY-MM-DD HH:MM:SS".
class MdbReader final
{
public:
    explicit MdbReader(const QString &path);
    ~MdbReader();
    MdbReader(const MdbReader &) = delete;
    MdbReader &operator=(const MdbReader &) = delete;

    // Throws std::runtime_error with a reason for the user.
    QJsonArray readTables(const QStringList &names);

    // An Access date (days since 1899-12-30, the fraction the time of day,
    // counted away from that day for dates before it) as text.
    static QString dateText(double value);

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};
