#include "JournalRows.h"

#include "TableCursor.h"

namespace JournalRows {

void append(TableCursor &journal, const QDate &date, const QString &fio, const QString &gruppa,
            const QString &urok, int ocenka)
{
    journal.insert();
    journal.setValue(QStringLiteral("data"), date);
    journal.setValue(QStringLiteral("fio"), fio.left(NameWidth));
    journal.setValue(QStringLiteral("gruppa"), gruppa.left(GroupWidth));
    journal.setValue(QStringLiteral("urok"), urok.left(LessonWidth));
    journal.setValue(QStringLiteral("ocenka"), ocenka);
    journal.post();
}

} // namespace JournalRows
