#include "Unit2.h"

#include "CourseDatabase.h"
#include "JournalRows.h"
#include "MdbImport.h"
#include "Messages.h"
#include "TableCursor.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>

TDataModule2 *DataModule2 = nullptr;

namespace {
int connectionSerial = 0;
}

TDataModule2::TDataModule2(const QString &folder, QObject *parent)
    : QObject(parent)
    , Turok(new TableCursor(QStringLiteral("Turok"), QStringLiteral("urok"),
                            CourseDatabase::lessonColumns(), this))
    , Tjurnal(new TableCursor(QStringLiteral("Tjurnal"), QStringLiteral("jurnal"),
                              CourseDatabase::journalColumns(), this))
    , Tpas(new TableCursor(QStringLiteral("Tpas"), QStringLiteral("pas"),
                           CourseDatabase::passwordColumns(), this))
    , m_connectionName(QStringLiteral("korvelta-%1").arg(++connectionSerial))
{
    // Without its engine the program cannot run at all: this error leaves the module.
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        throw AppError(QStringLiteral("The SQLite database driver is not available"), ErrorKind::EngineMissing);

    Tjurnal->setDateColumns({QStringLiteral("data")});
    // The journal's field widths: names and groups typed into its grid are cut as the learner's are.
    Tjurnal->setMaxLength(QStringLiteral("fio"), JournalRows::NameWidth);
    Tjurnal->setMaxLength(QStringLiteral("gruppa"), JournalRows::GroupWidth);
    Tjurnal->setMaxLength(QStringLiteral("urok"), JournalRows::LessonWidth);
    for (TableCursor *table : {Turok, Tjurnal, Tpas})
        table->setConnectionName(m_connectionName);

    // Loading: the connection, then each table; every failure gets its own box.
    const QString dir = folder.isEmpty() ? QDir::currentPath() : folder;
    const bool onServer = QFileInfo::exists(QDir(dir).filePath(QString::fromLatin1(CourseDatabase::ConnectionFileName)));
    // A course folder made for the Windows program brings only db1.mdb; a folder
    // whose database is on the server has nothing to import.
    if (!onServer) {
        Messages::guarded([&] {
            if (const std::optional<QString> imported = MdbImport().importFolder(dir))
                Messages::showInfo(*imported);
        });
    }
    // An unreachable server is the same "cannot be opened" case as a missing
    // file, with the server's own text. A connection lost later is made again
    // by the next command that needs it (CourseDatabase::connection).
    Messages::guarded([&] { CourseDatabase::openFolder(m_connectionName, dir); });
    for (TableCursor *table : {Turok, Tjurnal, Tpas})
        Messages::guarded([table] { table->open(); });

    Messages::guarded([this] { DataModuleCreate(); });
}

TDataModule2::~TDataModule2()
{
    // The windows may already be going: closing the tables at exit tells no view.
    for (TableCursor *table : {Turok, Tjurnal, Tpas})
        table->blockSignals(true);
    DataModuleDestroy();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void TDataModule2::DataModuleCreate()
{
    Turok->open();
    Tjurnal->open();
    Tpas->open();
}

void TDataModule2::DataModuleDestroy()
{
    Turok->close();
    Tjurnal->close();
    Tpas->close();
}
