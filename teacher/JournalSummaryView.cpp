#include "JournalSummaryView.h"

#include "TableCursor.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

// As the journal grid shows values: dates in the short date format.
QString shown(const QVariant &value)
{
    if (value.isNull())
        return QString();
    const QLocale locale = QLocale::system();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::Double:
        return locale.toString(value.toDouble(), 'f', 1);
    default:
        return value.toString();
    }
}

bool isNumber(const QVariant &value)
{
    return value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double;
}

} // namespace

JournalSummaryView::JournalSummaryView(QTableWidget *lines, QLabel *note, QTreeWidget *learners, QObject *parent)
    : QObject(parent)
    , m_lines(lines)
    , m_note(note)
    , m_learners(learners)
{
    const QVector<ExportSheet> sheets = JournalSummary().sheets();
    m_lines->setColumnCount(int(sheets.at(0).titles.size()));
    m_lines->setHorizontalHeaderLabels(sheets.at(0).titles);
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lines->verticalHeader()->hide();
    m_lines->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lines->horizontalHeader()->setStretchLastSection(true);
    m_lines->verticalHeader()->setDefaultSectionSize(m_lines->fontMetrics().height() + 6);
    m_note->setText(JournalSummary::zeroScoreNote());
    m_note->setWordWrap(true);
    m_learners->setColumnCount(int(sheets.at(1).titles.size()));
    m_learners->setHeaderLabels(sheets.at(1).titles);
    m_learners->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_learners->header()->setStretchLastSection(false);
}

void JournalSummaryView::bind(TableCursor *journal)
{
    m_journal = journal;
    connect(journal, &TableCursor::rowsReset, this, &JournalSummaryView::journalChanged);
    connect(journal, &TableCursor::rowValuesChanged, this, &JournalSummaryView::journalChanged);
    journalChanged();
}

void JournalSummaryView::setShown(bool shown)
{
    m_shown = shown;
    if (m_shown && m_stale)
        refresh();
}

void JournalSummaryView::journalChanged()
{
    m_stale = true;
    // A burst of changes (a deletion of many rows) is summed up once.
    if (!m_shown || m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        if (m_shown && m_stale)
            refresh();
    });
}

void JournalSummaryView::refresh()
{
    m_summary = (m_journal && m_journal->isActive()) ? JournalSummary::of(*m_journal) : JournalSummary();
    m_stale = false;
    showLines();
    showLearners();
}

void JournalSummaryView::showLines()
{
    const ExportSheet sheet = m_summary.sheets().at(0);
    m_lines->setRowCount(sheet.rowCount);
    for (int row = 0; row < sheet.rowCount; ++row) {
        const bool total = m_summary.lines().at(row).groupTotal;
        for (int column = 0; column < sheet.titles.size(); ++column) {
            const QVariant value = sheet.cell(row, column);
            auto *item = new QTableWidgetItem(shown(value));
            if (isNumber(value))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (total) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            m_lines->setItem(row, column, item);
        }
    }
}

void JournalSummaryView::showLearners()
{
    m_learners->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(m_summary.learners().size());
    for (const JournalSummary::Learner &learner : m_summary.learners()) {
        const QString count = learner.tests.isEmpty() ? QStringLiteral("нет тестов")
                                                      : QStringLiteral("тестов: %1").arg(learner.tests.size());
        auto *item = new QTreeWidgetItem(QStringList{learner.fio, learner.gruppa, QString(), count});
        for (const JournalSummary::Test &test : learner.tests) {
            auto *child = new QTreeWidgetItem(item, QStringList{QString(), QString(), shown(test.date), test.urok,
                                                                QString::number(test.percent), QString::number(test.mark)});
            child->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
            child->setTextAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
        }
        items << item;
    }
    m_learners->addTopLevelItems(items);
}
