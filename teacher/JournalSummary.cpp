#include "JournalSummary.h"

#include "AppError.h"
#include "ExportFile.h"
#include "Grading.h"
#include "TableCursor.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace {

// The figures of one group and lesson, or of one group, while the rows are read.
struct Tally
{
    int tests = 0;
    qint64 sum = 0;
    int best = 0;
    int good = 0;
    QSet<QString> learners;
    QSet<QString> tested;

    void add(const QString &fio, int percent)
    {
        learners.insert(fio);
        if (percent <= 0)
            return;
        tested.insert(fio);
        ++tests;
        sum += percent;
        best = std::max(best, percent);
        if (Grading::mark(percent, 100) >= 4)
            ++good;
    }

    JournalSummary::Line line(const QString &gruppa, const QString &urok, bool groupTotal) const
    {
        JournalSummary::Line l;
        l.gruppa = gruppa;
        l.urok = urok;
        l.groupTotal = groupTotal;
        l.tests = tests;
        if (tests > 0) {
            l.meanPercent = double(sum) / tests;
            l.bestPercent = best;
            l.goodSharePercent = 100.0 * good / tests;
        }
        l.visitedWithoutTest = int((learners - tested).size());
        return l;
    }
};

QCollator textOrder()
{
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setNumericMode(true);
    return collator;
}

QVariant whenTested(int tests, const QVariant &value)
{
    return tests > 0 ? value : QVariant();
}

} // namespace

JournalSummary JournalSummary::of(const TableCursor &journal)
{
    const int fio = journal.columnIndex(QStringLiteral("fio"));
    const int gruppa = journal.columnIndex(QStringLiteral("gruppa"));
    const int urok = journal.columnIndex(QStringLiteral("urok"));
    const int ocenka = journal.columnIndex(QStringLiteral("ocenka"));
    const int data = journal.columnIndex(QStringLiteral("data"));

    // Counted by hash, put in order once at the end: ordering text is slow.
    struct Group
    {
        Tally total;
        QHash<QString, Tally> lessons;
    };
    QHash<QString, Group> groups;
    QHash<QPair<QString, QString>, int> learnerIndex;
    JournalSummary summary;

    const int rows = journal.recordCount();
    for (int row = 0; row < rows; ++row) {
        const QString name = journal.valueAt(row, fio).toString();
        const QString group = journal.valueAt(row, gruppa).toString();
        const QString lesson = journal.valueAt(row, urok).toString();
        const int percent = journal.valueAt(row, ocenka).toInt();

        Group &g = groups[group];
        g.total.add(name, percent);
        g.lessons[lesson].add(name, percent);

        const auto key = qMakePair(group, name);
        auto found = learnerIndex.constFind(key);
        if (found == learnerIndex.constEnd()) {
            found = learnerIndex.insert(key, int(summary.m_learners.size()));
            summary.m_learners.append({name, group, {}});
        }
        if (percent > 0) {
            summary.m_learners[*found].tests.append(
                {journal.valueAt(row, data).toDate(), lesson, percent, Grading::mark(percent, 100)});
        }
    }

    const QCollator collator = textOrder();
    auto sorted = [&collator](QStringList texts) {
        std::sort(texts.begin(), texts.end(), [&collator](const QString &a, const QString &b) {
            return collator.compare(a, b) < 0;
        });
        return texts;
    };
    for (const QString &group : sorted(groups.keys())) {
        const Group &g = groups[group];
        for (const QString &lesson : sorted(g.lessons.keys()))
            summary.m_lines.append(g.lessons[lesson].line(group, lesson, false));
        summary.m_lines.append(g.total.line(group, QString(), true));
    }
    for (Learner &learner : summary.m_learners) {
        // A date that cannot be read goes last.
        std::stable_sort(learner.tests.begin(), learner.tests.end(), [](const Test &a, const Test &b) {
            if (a.date.isValid() != b.date.isValid())
                return a.date.isValid();
            return a.date < b.date;
        });
    }
    std::stable_sort(summary.m_learners.begin(), summary.m_learners.end(),
                     [&collator](const Learner &a, const Learner &b) {
                         const int byGroup = collator.compare(a.gruppa, b.gruppa);
                         return byGroup != 0 ? byGroup < 0 : collator.compare(a.fio, b.fio) < 0;
                     });
    return summary;
}

QString JournalSummary::zeroScoreNote()
{
    return QStringLiteral("Посещение урока и тест, выполненный на 0 %, записаны в журнал одинаково, с 0 баллов, "
                          "и различить их нельзя. Здесь тестами считаются только записи с баллами больше 0, "
                          "а записи с 0 баллов — посещениями.");
}

QString JournalSummary::groupTotalTitle()
{
    return QStringLiteral("Итого по группе");
}

QVector<ExportSheet> JournalSummary::sheets() const
{
    ExportSheet byLesson;
    byLesson.name = QStringLiteral("По группам и темам");
    byLesson.titles = QStringList{QStringLiteral("Учебная группа"), QStringLiteral("Тема занятия"),
                                  QStringLiteral("Тестов"), QStringLiteral("Средний балл, %"),
                                  QStringLiteral("Лучший балл, %"), QStringLiteral("Оценки 4 и 5, %"),
                                  QStringLiteral("Посетили без теста")};
    byLesson.rowCount = int(m_lines.size());
    byLesson.cell = [lines = m_lines](int row, int column) -> QVariant {
        const Line &l = lines.at(row);
        switch (column) {
        case 0:
            return l.gruppa;
        case 1:
            return l.groupTotal ? groupTotalTitle() : l.urok;
        case 2:
            return l.tests;
        case 3:
            return whenTested(l.tests, l.meanPercent);
        case 4:
            return whenTested(l.tests, l.bestPercent);
        case 5:
            return whenTested(l.tests, l.goodSharePercent);
        default:
            return l.visitedWithoutTest;
        }
    };
    byLesson.notes = QStringList{zeroScoreNote()};

    // One row per test; a learner without a test still gets a row.
    QVector<QPair<int, int>> rows;
    for (int i = 0; i < m_learners.size(); ++i) {
        if (m_learners.at(i).tests.isEmpty())
            rows.append({i, -1});
        for (int t = 0; t < m_learners.at(i).tests.size(); ++t)
            rows.append({i, t});
    }
    ExportSheet byLearner;
    byLearner.name = QStringLiteral("По учащимся");
    byLearner.titles = QStringList{QStringLiteral("ФИО  учащихся"), QStringLiteral("Учебная группа"),
                                   QStringLiteral("Дата занятия"),  QStringLiteral("Тема занятия"),
                                   QStringLiteral("Баллы"),         QStringLiteral("Оценка")};
    byLearner.rowCount = int(rows.size());
    byLearner.cell = [learners = m_learners, rows](int row, int column) -> QVariant {
        const Learner &learner = learners.at(rows.at(row).first);
        if (column == 0)
            return learner.fio;
        if (column == 1)
            return learner.gruppa;
        if (rows.at(row).second < 0)
            return QVariant();
        const Test &test = learner.tests.at(rows.at(row).second);
        switch (column) {
        case 2:
            return test.date.isValid() ? QVariant(test.date) : QVariant();
        case 3:
            return test.urok;
        case 4:
            return test.percent;
        default:
            return test.mark;
        }
    };
    byLearner.notes = QStringList{zeroScoreNote()};
    return {byLesson, byLearner};
}

void JournalSummary::write(const QString &path) const
{
    const std::optional<ExportFile::Format> format = ExportFile::formatOf(path);
    if (!format)
        throw AppError(ExportFile::cannotWrite(path, QStringLiteral("выгрузить итоги можно в файл .csv, .xlsx или .pdf")));
    switch (*format) {
    case ExportFile::Format::Csv:
        SheetFiles::writeCsv(path, sheets());
        break;
    case ExportFile::Format::Xlsx:
        SheetFiles::writeXlsx(path, sheets());
        break;
    case ExportFile::Format::Pdf:
        SheetFiles::writePdf(path, QStringLiteral("Итоги по журналу"), sheets());
        break;
    }
}
