#include "JournalFilterText.h"
#include "JournalReport.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit2.h"
#include "Unit8.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

constexpr double PointInMm = 25.4 / 72.0;
constexpr double Margin = 10.0;
constexpr double HeadingBand = 14.8;
constexpr double RowBand = 6.1;

// One word of the PDF's text as poppler finds it, in millimetres from the
// page's top-left corner.
struct Word
{
    int page;
    QString text;
    double left, top, right, bottom;
};

QString unescaped(QString text)
{
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'")
        .replace("&#39;", "'");
    return text.replace("&amp;", "&");
}

QVector<Word> readWords(const QString &pdf)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qFatal("pdftotext failed on %s", qPrintable(pdf));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression token(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QVector<Word> words;
    int page = 0;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        words.append({page, unescaped(m.captured(5)), m.captured(1).toDouble() * PointInMm,
                      m.captured(2).toDouble() * PointInMm, m.captured(3).toDouble() * PointInMm,
                      m.captured(4).toDouble() * PointInMm});
    }
    return words;
}

const Word *findWord(const QVector<Word> &words, const QString &text, int page = 0)
{
    for (const Word &w : words) {
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    }
    return nullptr;
}

int pagesOf(const QVector<Word> &words)
{
    int pages = 0;
    for (const Word &w : words)
        pages = std::max(pages, w.page);
    return pages;
}

} // namespace

// The report written to PDF and read back with poppler: where its texts stand
// and how its bands flow over the pages.
class TestJournalReport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void positions_data();
    void positions();
    void fieldPrintsOnlyTheLinesThatFit();
    void rowsFlowOntoTheNextPageWithoutHeading();
    void emptyJournalPrintsItsThreeBands();
    void emptyRowBandShowsOnlyItsRules();
    void reportWalksTheRowsInView();
    void previewShowsThePagesAndReturnsWhenClosed();

private:
    void addRow(const QString &fio, const QString &gruppa, const QString &urok, int ocenka,
                const QString &date = QStringLiteral("2026-03-02"));
    void openJournal();
    QVector<Word> render(int expectedPages);

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_journal;
    JournalReport m_report;
};

void TestJournalReport::init()
{
    m_course = std::make_unique<TestCourse>();
}

void TestJournalReport::cleanup()
{
    m_journal.reset();
    m_course.reset();
}

void TestJournalReport::addRow(const QString &fio, const QString &gruppa, const QString &urok, int ocenka,
                               const QString &date)
{
    m_course->addJournalRow(fio, gruppa, ocenka, urok, date);
}

void TestJournalReport::openJournal()
{
    m_journal = m_course->openJournal();
}

QVector<Word> TestJournalReport::render(int expectedPages)
{
    const QString pdf = m_course->filePath("report.pdf");
    const int pages = m_report.renderToPdf(*m_journal, pdf);
    const QVector<Word> words = readWords(pdf);
    if (pages != expectedPages || pagesOf(words) != expectedPages)
        qWarning("expected %d pages, laid out %d, PDF has %d", expectedPages, pages, pagesOf(words));
    return words;
}

void TestJournalReport::positions_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");

    const double row = Margin + HeadingBand + 0.5;
    const double heading = Margin + 9.8;
    QTest::newRow("title") << "Результаты" << Margin + 31.8 << Margin;
    QTest::newRow("heading of names") << "ФИО" << Margin + 2.1 << heading;
    QTest::newRow("heading of groups") << "Учебная" << Margin + 50.8 << heading;
    QTest::newRow("heading of lessons") << "Тема" << Margin + 81.8 << heading;
    QTest::newRow("heading of marks") << "Баллы" << Margin + 159.3 << heading;
    QTest::newRow("heading of dates") << "Дата" << Margin + 176.2 << heading;
    QTest::newRow("row: name") << "Иванов" << Margin + 1.3 << row;
    QTest::newRow("row: group") << "ПИ-21" << Margin + 49.7 << row;
    QTest::newRow("row: lesson") << "Закон" << Margin + 81.5 << row;
    QTest::newRow("row: mark") << "75" << Margin + 159.8 << row;
    QTest::newRow("row: date in the short date format")
        << QLocale::system().toString(QDate(2026, 3, 2), QLocale::ShortFormat).section(' ', 0, 0)
        << Margin + 172.2 << row;
    QTest::newRow("signature caption") << "Роспись" << Margin + 147.6 << Margin + HeadingBand + RowBand + 11.6;
}

void TestJournalReport::positions()
{
    QFETCH(QString, word);
    QFETCH(double, left);
    QFETCH(double, top);

    addRow("Иванов Иван", "ПИ-21", "Закон Ома", 75);
    openJournal();
    const QVector<Word> words = render(1);
    const Word *found = findWord(words, word);
    QVERIFY2(found, qPrintable(word));
    QVERIFY2(qAbs(found->left - left) <= 0.5, qPrintable(QString("left %1 mm, wanted %2").arg(found->left).arg(left)));
    QVERIFY2(qAbs(found->top - top) <= 0.5, qPrintable(QString("top %1 mm, wanted %2").arg(found->top).arg(top)));
}

void TestJournalReport::fieldPrintsOnlyTheLinesThatFit()
{
    QStringList many;
    for (int i = 1; i <= 40; ++i)
        many << QString("слово%1").arg(i);
    addRow("Иванов", "ПИ-21", many.join(' '), 0);
    addRow("Петров", "ПИ-21", "Закон Ома", 0);
    openJournal();
    const QVector<Word> words = render(1);

    const double top = Margin + HeadingBand + 0.5;
    const Word *first = findWord(words, "слово1");
    QVERIFY(first);
    QVERIFY(!findWord(words, "слово40"));
    int printed = 0;
    for (const Word &w : words) {
        if (!w.text.startsWith("слово"))
            continue;
        ++printed;
        QVERIFY2(qAbs(w.top - top) <= 0.5, qPrintable(w.text + " is not on the first line"));
        QVERIFY2(w.right <= Margin + 81.5 + 77.5 + 0.1, qPrintable(w.text + " runs past the field"));
    }
    QVERIFY(printed > 1);
    // The band did not grow: the next row stands one band lower.
    const Word *next = findWord(words, "Петров");
    QVERIFY(next);
    QVERIFY(qAbs(next->top - (top + RowBand)) <= 0.5);
}

void TestJournalReport::rowsFlowOntoTheNextPageWithoutHeading()
{
    for (int i = 1; i <= 50; ++i)
        addRow(QString("Ученик%1").arg(i, 2, 10, QLatin1Char('0')), "ПИ-21", "Закон Ома", i);
    openJournal();
    const QVector<Word> words = render(2);
    QCOMPARE(pagesOf(words), 2);

    // 42 rows fit below the heading on the first page of 277 mm.
    const Word *lastOnFirst = findWord(words, "Ученик42", 1);
    QVERIFY(lastOnFirst);
    QVERIFY(qAbs(lastOnFirst->top - (Margin + HeadingBand + 41 * RowBand + 0.5)) <= 0.5);
    const Word *firstOnSecond = findWord(words, "Ученик43", 2);
    QVERIFY(firstOnSecond);
    QVERIFY(qAbs(firstOnSecond->top - (Margin + 0.5)) <= 0.5);
    QVERIFY(!findWord(words, "Результаты", 2));
    QVERIFY(!findWord(words, "ФИО", 2));
    const Word *caption = findWord(words, "Роспись", 2);
    QVERIFY(caption);
    QVERIFY(qAbs(caption->top - (Margin + 8 * RowBand + 11.6)) <= 0.5);
}

void TestJournalReport::emptyJournalPrintsItsThreeBands()
{
    openJournal();
    const QVector<Word> words = render(1);
    QStringList texts;
    for (const Word &w : words)
        texts << w.text;
    QCOMPARE(texts.join(' '), QStringLiteral("Результаты учебной деятельности учащихся ФИО учащихся Учебная группа "
                                             "Тема учебного занятия Баллы Дата Роспись преподавателя"));
    // The empty row band keeps its place between heading and closing band.
    const Word *caption = findWord(words, "Роспись");
    QVERIFY(caption);
    QVERIFY(qAbs(caption->top - (Margin + HeadingBand + RowBand + 11.6)) <= 0.5);
}

void TestJournalReport::emptyRowBandShowsOnlyItsRules()
{
    openJournal();
    const QString pdf = m_course->filePath("report.pdf");
    m_report.renderToPdf(*m_journal, pdf);
    // 254 dots per inch: ten pixels to the millimetre.
    QProcess process;
    process.start("pdftoppm", {"-r", "254", "-gray", "-singlefile", pdf, m_course->filePath("page")});
    QVERIFY(process.waitForFinished(30000) && process.exitCode() == 0);
    QImage page(m_course->filePath("page.pgm"));
    QVERIFY(!page.isNull());
    auto darkIn = [&page](double x1, double y1, double x2, double y2) {
        for (int y = int(y1 * 10); y <= int(y2 * 10); ++y) {
            for (int x = int(x1 * 10); x <= int(x2 * 10); ++x) {
                if (qGray(page.pixel(x, y)) < 128)
                    return true;
            }
        }
        return false;
    };
    const double band = Margin + HeadingBand;
    // The rule across the band at 5.4 mm, and a vertical rule through the band.
    QVERIFY(darkIn(Margin + 20, band + 5.2, Margin + 20, band + 5.6));
    QVERIFY(darkIn(Margin + 48.9, band + 2.5, Margin + 49.3, band + 2.5));
    QVERIFY(darkIn(Margin + 170.1, band + 2.5, Margin + 170.5, band + 2.5));
    // Nothing inside its cells.
    QVERIFY(!darkIn(Margin + 1, band + 0.3, Margin + 48.5, band + 5.0));
    QVERIFY(!darkIn(Margin + 81, band + 0.3, Margin + 158.5, band + 5.0));
}

void TestJournalReport::reportWalksTheRowsInView()
{
    addRow("Иванов", "ПИ-21", "Первая", 0);
    addRow("Петров", "ПИ-21", "Вторая", 50);
    addRow("Иванов", "ПИ-21", "Третья", 80);
    addRow("Сидоров", "ЭК-3", "Четвёртая", 0);
    openJournal();
    m_journal->setFiltered(true);
    JournalFilterText::fromBoxes("Иванов", QString()).applyTo(*m_journal);
    m_journal->edit();
    m_journal->setValue("urok", "Исправленная");

    const QVector<Word> words = render(1);
    // The pending edit was posted first and is printed.
    QCOMPARE(m_course->rows("SELECT urok FROM jurnal WHERE rowid = 1"), QStringList{"Исправленная"});
    QVERIFY(findWord(words, "Исправленная"));
    QVERIFY(findWord(words, "Третья"));
    QVERIFY(!findWord(words, "Петров"));
    QVERIFY(!findWord(words, "Сидоров"));
    // The walk ends on the last row in view.
    QCOMPARE(m_journal->currentIndex(), 1);
    QCOMPARE(m_journal->value("urok").toString(), QStringLiteral("Третья"));
}

void TestJournalReport::previewShowsThePagesAndReturnsWhenClosed()
{
    for (int i = 1; i <= 50; ++i)
        addRow(QString("Ученик%1").arg(i), "ПИ-21", "Закон Ома", i);
    TDataModule2 module(m_course->path());
    DataModule2 = &module;
    TForm8 form;
    Form8 = &form;

    int pageCount = -1;
    bool sawPreview = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        sawPreview = dialog != nullptr;
        if (!dialog)
            return;
        if (auto *preview = dialog->findChild<QPrintPreviewWidget *>())
            pageCount = preview->pageCount();
        dialog->reject();
    });
    Form8->Preview();

    Form8 = nullptr;
    DataModule2 = nullptr;
    QVERIFY(sawPreview);
    QCOMPARE(pageCount, 2);
    QCOMPARE(module.Tjurnal->currentIndex(), 49);
}

QTEST_MAIN(TestJournalReport)
#include "tst_journalreport.moc"
