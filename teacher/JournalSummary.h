#pragma once

#include "SheetFiles.h"

#include <QDate>
#include <QString>
#include <QVector>

class TableCursor;

// The class's picture at a glance, from the journal rows in view: per group
// and lesson (and per group over all its lessons) how many tests, their mean
// and best percent, the share of marks 4 and 5, and how many learners came
// without taking a test; per learner, their tests in time order.
//
// A visit and a test scored 0 % are stored alike, with 0 points, so a test
// here is a row with more than 0 points; zeroScoreNote() says so wherever the
// figures are shown.
class JournalSummary final
{
public:
    // One group and lesson, or a group's total over its lessons.
    struct Line
    {
        QString gruppa;
        QString urok; // empty for a group's total
        bool groupTotal = false;
        int tests = 0;
        double meanPercent = 0; // these three only when tests > 0
        int bestPercent = 0;
        double goodSharePercent = 0; // tests marked 4 or 5, of all tests
        int visitedWithoutTest = 0;  // learners with rows here, none of them a test
    };
    struct Test
    {
        QDate date;
        QString urok;
        int percent = 0;
        int mark = 0; // on the five-point scale, as the result window gives it
    };
    // A learner is a name within a group.
    struct Learner
    {
        QString fio;
        QString gruppa;
        QVector<Test> tests; // by date; one day's tests in journal order
    };

    JournalSummary() = default;
    // Groups, lessons and learners in alphabetical order, a group's total
    // after its lessons.
    static JournalSummary of(const TableCursor &journal);

    const QVector<Line> &lines() const { return m_lines; }
    const QVector<Learner> &learners() const { return m_learners; }

    static QString zeroScoreNote();
    // What a group's total shows in place of a lesson.
    static QString groupTotalTitle();

    // The two tables, groups and lessons then learners' tests, as an export writes them.
    QVector<ExportSheet> sheets() const;
    // Writes the tables in the format of the file's extension (CSV, Excel or
    // PDF). AppError for another extension or a file that cannot be written.
    void write(const QString &path) const;

private:
    QVector<Line> m_lines;
    QVector<Learner> m_learners;
};
