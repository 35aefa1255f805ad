// db1.connection: the text a course folder names its server with, down to the
// connection string the database driver hands to libpq.
#include "AppError.h"
#include "CourseDatabase.h"
#include "FuzzSupport.h"

#include <QMap>

#include <libpq-fe.h>

namespace {

// Keyword -> value of a libpq connection string; false when it does not parse.
bool parse(const QByteArray &conninfo, QMap<QString, QString> &values)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(conninfo.constData(), &error);
    PQfreemem(error);
    if (!options)
        return false;
    for (const PQconninfoOption *option = options; option->keyword; ++option) {
        if (option->val)
            values.insert(QString::fromLatin1(option->keyword), QString::fromUtf8(option->val));
    }
    PQconninfoFree(options);
    return true;
}

// The driver's own assembly of the string it connects with: the four named
// settings quoted, then the options with every ';' made a space.
QByteArray driverConnectString(const CourseDatabase::ServerSettings &settings)
{
    auto quote = [](QString value) {
        value.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    };
    QString text;
    if (!settings.host.isEmpty())
        text += QLatin1String("host=") + quote(settings.host);
    if (!settings.databaseName.isEmpty())
        text += QLatin1String(" dbname=") + quote(settings.databaseName);
    if (!settings.userName.isEmpty())
        text += QLatin1String(" user=") + quote(settings.userName);
    if (!settings.password.isEmpty())
        text += QLatin1String(" password=") + quote(settings.password);
    if (!settings.connectOptions.isEmpty())
        text += QLatin1Char(' ') + QString(settings.connectOptions).replace(QLatin1Char(';'), QLatin1Char(' '));
    return text.toUtf8();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString connectionString = CourseDatabase::connectionStringFromText(FuzzSupport::bytes(data, size));
    CourseDatabase::ServerSettings settings;
    try {
        settings = CourseDatabase::serverSettings(connectionString);
    } catch (const AppError &) {
        return 0; // refused with libpq's reason: the message the user sees
    }

    // What the driver connects with says what the file said, value for value.
    QMap<QString, QString> meant;
    FUZZ_CHECK(parse(connectionString.toUtf8(), meant));
    QMap<QString, QString> sent;
    FUZZ_CHECK(parse(driverConnectString(settings), sent));
    meant.remove(QStringLiteral("connect_timeout"));
    sent.remove(QStringLiteral("connect_timeout"));
    for (const QString &empty : {QStringLiteral("host"), QStringLiteral("dbname"), QStringLiteral("user"),
                                 QStringLiteral("password")}) {
        // An empty one of these is left for libpq's default, as an absent one.
        if (meant.value(empty).isEmpty())
            meant.remove(empty);
    }
    FUZZ_CHECK(sent == meant);
    return 0;
}
