#pragma once

#include "JournalSummary.h"

#include <QObject>

class QLabel;
class QTableWidget;
class QTreeWidget;
class TableCursor;

// The "Итоги" tab: the summaries of the journal rows in view, per group and
// lesson in a table with the note on visits and 0 % tests under it, and per
// learner in a tree of their tests. Worked out again whenever the rows in
// view change while the tab is shown, and when it is shown again after they
// changed.
class JournalSummaryView final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JournalSummaryView)

public:
    JournalSummaryView(QTableWidget *lines, QLabel *note, QTreeWidget *learners, QObject *parent = nullptr);

    void bind(TableCursor *journal);
    // Whether the tab is the one shown.
    void setShown(bool shown);
    // Works the summaries out from the rows in view now and shows them.
    void refresh();
    const JournalSummary &summary() const { return m_summary; }

private:
    void journalChanged();
    void showLines();
    void showLearners();

    QTableWidget *m_lines;
    QLabel *m_note;
    QTreeWidget *m_learners;
    TableCursor *m_journal = nullptr;
    JournalSummary m_summary;
    bool m_shown = false;
    bool m_stale = true;
    bool m_refreshQueued = false;
};
