#pragma once

#include <QObject>
#include <QString>

class TableCursor;

// The data module: the one connection to the course database and the three
// table cursors every window works through.
class TDataModule2 final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDataModule2)

public:
    // Connects to the database in `folder` (the current directory when empty)
    // and opens the tables; each failure is shown and start-up goes on.
    explicit TDataModule2(const QString &folder = QString(), QObject *parent = nullptr);
    ~TDataModule2() override;

    TableCursor *Turok;
    TableCursor *Tjurnal;
    TableCursor *Tpas;

    QString connectionName() const { return m_connectionName; }

private:
    void DataModuleCreate();
    void DataModuleDestroy();

    QString m_connectionName;
};

extern TDataModule2 *DataModule2;
