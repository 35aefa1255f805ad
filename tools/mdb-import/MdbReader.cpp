#include "MdbReader.h"

#include <QDate>
#include <QFile>
#include <QJsonObject>

#include <mdbtools.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

// Long memo texts must arrive whole; the library cuts every value to this
// size. A memo typed in Access holds up to 65,535 characters, 3 bytes each
// at most in UTF-8.
constexpr size_t BindSize = 256 * 1024;

[[noreturn]] void fail(const QString &reason)
{
    throw std::runtime_error(reason.toStdString());
}

struct TableCloser
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableCloser>;

} // namespace

struct MdbReader::Handle
{
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

MdbReader::MdbReader(const QString &path)
    : m_handle(std::make_unique<Handle>())
{
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        fail(QStringLiteral("файл не открывается как база данных Access"));
    mdb_set_bind_size(m_handle->mdb, BindSize);
}

MdbReader::~MdbReader() = default;

QString MdbReader::dateText(double value)
{
    const double days = std::trunc(value);
    long long seconds = std::llround(std::fabs(value - days) * 86400.0);
    qint64 dayNumber = static_cast<qint64>(days);
    if (seconds >= 86400) {
        // Rounding reached midnight of the next day in the direction counted.
        seconds = 0;
        dayNumber += value < 0 ? -1 : 1;
    }
    const QDate date = QDate(1899, 12, 30).addDays(dayNumber);
    if (!date.isValid())
        fail(QStringLiteral("дата вне допустимого диапазона: %1").arg(value));
    return QStringLiteral("%1 %2:%3:%4")
        .arg(date.toString(Qt::ISODate))
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

namespace {

MdbCatalogEntry *findTable(GPtrArray *catalog, const QString &name)
{
    for (guint i = 0; i < catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
        if (entry->object_type == MDB_TABLE
            && QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    fail(QStringLiteral("не найдена таблица %1").arg(name));
}

// The columns of an open table, each bound to a buffer the library fills
// row by row.
struct BoundColumns
{
    explicit BoundColumns(MdbTableDef *table)
        : count(table->num_cols)
        , buffers(count)
        , lengths(count, 0)
        , types(count)
    {
        for (unsigned c = 0; c < count; ++c) {
            // Left uninitialised: the library writes each value with its end mark.
            buffers[c] = QByteArray(BindSize + 1, Qt::Uninitialized);
            auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
            names.append(QString::fromUtf8(column->name));
            types[c] = column->col_type;
            mdb_bind_column(table, static_cast<int>(c) + 1, buffers[c].data(), &lengths[c]);
        }
    }

    unsigned count;
    std::vector<QByteArray> buffers;
    std::vector<int> lengths;
    std::vector<int> types;
    QJsonArray names;
};

// The row just fetched. The bound texts make Null and "" alike; the row's
// own null mask and raw dates come from cracking it once more.
QJsonArray currentRow(MdbHandle *mdb, MdbTableDef *table, const BoundColumns &columns,
                      std::vector<MdbField> &fields, const QString &name)
{
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0)
        fail(QStringLiteral("повреждена строка таблицы %1").arg(name));
    start &= 0x1fff;
    const int cracked = mdb_crack_row(table, start, size, fields.data());
    if (cracked < static_cast<int>(columns.count))
        fail(QStringLiteral("повреждена строка таблицы %1").arg(name));

    QJsonArray row;
    for (unsigned c = 0; c < columns.count; ++c)
        row.append(QJsonValue());
    for (unsigned f = 0; f < columns.count; ++f) {
        const MdbField &field = fields[f];
        const int c = field.colnum;
        if (c < 0 || c >= static_cast<int>(columns.count))
            fail(QStringLiteral("повреждена строка таблицы %1").arg(name));
        if (field.is_null)
            continue;
        if (columns.types[c] == MDB_DATETIME) {
            if (field.siz != 8)
                fail(QStringLiteral("повреждена дата в таблице %1").arg(name));
            double raw = 0;
            std::memcpy(&raw, field.value, sizeof raw);
            row[c] = MdbReader::dateText(raw);
        } else {
            row[c] = QString::fromUtf8(columns.buffers[c].data(), columns.lengths[c]);
        }
    }
    return row;
}

QJsonObject readTable(MdbHandle *mdb, MdbCatalogEntry *entry, const QString &name)
{
    TablePtr table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()))
        fail(QStringLiteral("не читается таблица %1").arg(name));
    mdb_rewind_table(table.get());

    const BoundColumns columns(table.get());
    QJsonArray rows;
    std::vector<MdbField> fields(columns.count + 1);
    while (mdb_fetch_row(table.get()))
        rows.append(currentRow(mdb, table.get(), columns, fields, name));
    if (rows.size() != static_cast<qsizetype>(table->num_rows))
        fail(QStringLiteral("в таблице %1 прочитано строк: %2 из %3")
                 .arg(name).arg(rows.size()).arg(table->num_rows));

    QJsonObject object;
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("declared"), static_cast<qint64>(table->num_rows));
    object.insert(QStringLiteral("columns"), columns.names);
    object.insert(QStringLiteral("rows"), rows);
    return object;
}

} // namespace

QJsonArray MdbReader::readTables(const QStringList &names)
{
    MdbHandle *mdb = m_handle->mdb;
    // Read once: reading a table by name reads the catalog again and frees
    // the entries taken from it before.
    GPtrArray *catalog = mdb_read_catalog(mdb, MDB_TABLE);
    if (!catalog)
        fail(QStringLiteral("не читается список таблиц"));

    QJsonArray tables;
    for (const QString &name : names)
        tables.append(readTable(mdb, findTable(catalog, name), name));
    return tables;
}
