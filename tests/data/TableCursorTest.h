#pragma once

#include "AppError.h"
#include "CourseDatabase.h"
#include "KeyedDelete.h"
#include "TableCursor.h"
#include "TestCourse.h"

#include <QDate>
#include <QSqlDatabase>
#include <QtTest>

#include <memory>

// The cursor's operations on both back ends, a real SQLite file and a database
// on the test server: where the current row goes, what happens to a pending
// edit, Null against empty, the filter.
class TestTableCursor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void nullAndEmptyAreDifferent();
    void locate_data();
    void locate();
    void locateFinishesPendingEdit_data();
    void locateFinishesPendingEdit();
    void insertPostsAtEndAndBecomesCurrent();
    void deleteMovesCurrent_data();
    void deleteMovesCurrent();
    void deleteWhileInsertingCancels();
    void editRules();
    void walkWithFirstNextEof();
    void datesAreStoredWithoutTime();
    void filter_data();
    void filter();
    void filterChangePostsPendingEdit();
    void removeAllInViewDeletesOnlyRowsInView();
    void removeAllInViewAcrossStatements_data();
    void removeAllInViewAcrossStatements();
    void refreshShowsRowsOfOtherCopies();
    void engineErrorOnPostKeepsState();
    void closedTableErrors();
    void missingDatabaseIsNotCreated();

private:
    void openLessons();
    void openJournal();
    QStringList lessonTitles() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_lessons;
    std::unique_ptr<TableCursor> m_journal;
    QString m_connection = QStringLiteral("cursor-under-test");
};
