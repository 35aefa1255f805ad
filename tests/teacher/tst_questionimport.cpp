#include "Components.h"
#include "DBEdit.h"
#include "Messages.h"
#include "PageViewer.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "TestWindowButtons.h"
#include "Unit1.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "WidgetTestMain.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QWebEngineView>
#include <QtTest>

#include <map>
#include <memory>

namespace {

const QString Lesson = QStringLiteral("Закон Ома");
const QString BankFilter = QStringLiteral("Вопросы Aiken и GIFT|*.txt;*.gift|Все файлы|*.*");

// Seven questions whose right answers fall on every letter; the same bank in both formats.
const QByteArray AikenBank = "Единица силы тока?\nA. ампер\nB. вольт\nC. ом\nANSWER: A\n\n"
                             "Единица напряжения?\nA) ампер\nB) вольт\nANSWER: B\n\n"
                             "Единица сопротивления?\nA. ватт\nB. вольт\nC. ом\nD. фарад\nANSWER: C\n\n"
                             "Единица мощности?\nA. ом\nB. вольт\nC. ампер\nD. ватт\nE. джоуль\nANSWER: D\n\n"
                             "Единица работы?\nA. ом\nB. вольт\nC. ампер\nD. ватт\nE. джоуль\nANSWER: E\n\n"
                             "I = U / R — это закон…\nA. Джоуля\nB. Ома\nC. Кулона\nANSWER: B\n\n"
                             "Амперметр включают\nA. параллельно\nB. последовательно\nANSWER: B\n";
const QByteArray GiftBank = "// Единицы\n::1::Единица силы тока?{=ампер ~вольт ~ом}\n\n"
                            "::2::Единица напряжения?{~ампер =вольт}\n\n"
                            "::3::Единица сопротивления?{~ватт ~вольт =ом ~фарад}\n\n"
                            "::4::Единица мощности?{~ом ~вольт ~ампер =ватт ~джоуль}\n\n"
                            "::5::Единица работы?{~ом ~вольт ~ампер ~ватт =джоуль}\n\n"
                            "::6::I = U / R — это закон…{\n~Джоуля\n=Ома\n~Кулона\n}\n\n"
                            "::7::Амперметр включают{~параллельно =последовательно}\n\n"
                            "Земля круглая{T}\n";

// The right option of each question, as the teacher wrote it.
const std::map<QString, QString> RightAnswers = {
    {"Единица силы тока?", "ампер"},       {"Единица напряжения?", "вольт"},
    {"Единица сопротивления?", "ом"},      {"Единица мощности?", "ватт"},
    {"Единица работы?", "джоуль"},         {"I = U / R — это закон…", "Ома"},
    {"Амперметр включают", "последовательно"},
};

// The lines of a question page as the learner reads them.
QStringList shownLines(const QString &page)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    QStringList lines;
    for (const QString &line : document.toPlainText().split(u'\n', Qt::SkipEmptyParts))
        lines << line.trimmed();
    return lines;
}

} // namespace

// "Импорт вопросов…" in the lesson editor, and the imported test taken in the test window.
class TestQuestionImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void importedTestTakenToFullMarks_data();
    void importedTestTakenToFullMarks();
    void refusedImportChangesNothing_data();
    void refusedImportChangesNothing();

private:
    QString testValue() const { return m_course->scalar("SELECT test FROM urok WHERE urok = ?", {Lesson}).toString(); }

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
};

void TestQuestionImport::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->exec("INSERT INTO urok (urok, htm, test) VALUES (?, 'uroki\\u1.htm', 'testy\\old\\otwet.txt')", {Lesson});
    m_course->writeFile("testy/old/otwet.txt", "A\r\n");
    m_course->writeFile("testy/old/1.htm", "<html><body>Старый вопрос</body></html>");
    m_course->writeFile("log.log", QStringLiteral("%1\r\n").arg(Lesson).toUtf8().prepend("\xEF\xBB\xBF"));
    m_course->writeFile("zas.mht", "");
    m_messages = std::make_unique<Messages::Recorder>();

    m_windows = std::make_unique<ProgramWindows>();

    component<QLineEdit>(Form6, "Edit1")->setText("Петров Пётр");
    component<QLineEdit>(Form6, "Edit2")->setText("ПИ-21");
    QVERIFY(DataModule2->Turok->locate("urok", Lesson));
    QCOMPARE(m_messages->errors, QStringList());
}

void TestQuestionImport::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_course.reset();
}

void TestQuestionImport::importedTestTakenToFullMarks_data()
{
    QTest::addColumn<QString>("bankName");
    QTest::addColumn<QByteArray>("bank");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("folderMadeInTheDialog");

    QTest::newRow("Aiken, the folder not made yet") << "ohm.txt" << AikenBank << "" << false;
    QTest::newRow("GIFT, a true/false question left out; an empty folder made in the dialog")
        << "ohm.gift" << GiftBank << "ohm.gift:20: вопрос «верно/неверно» пропущен" << true;
}

void TestQuestionImport::importedTestTakenToFullMarks()
{
    QFETCH(QString, bankName);
    QFETCH(QByteArray, bank);
    QFETCH(QString, note);
    QFETCH(bool, folderMadeInTheDialog);
    m_course->writeFile("banks/" + bankName, bank);
    if (folderMadeInTheDialog)
        QVERIFY(QDir(m_course->path()).mkpath("testy/ohm"));
    Form4->show();

    m_messages->fileAnswers << m_course->filePath("banks/" + bankName) << m_course->filePath("testy/ohm");
    component<QPushButton>(Form4, "ImportQuestionsButton")->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_messages->fileFilters, QStringList{BankFilter});
    QCOMPARE(m_messages->infos.size(), 1);
    QVERIFY2(m_messages->infos.first().startsWith(
                 "Импортировано вопросов: 7. Тест в папке testy\\ohm присоединён к уроку «Закон Ома»."),
             qPrintable(m_messages->infos.first()));
    QCOMPARE(m_messages->infos.first().contains(note), true);
    // Attached as "Выбрать тест" attaches a key.
    QCOMPARE(testValue(), QString("testy\\ohm\\otwet.txt"));
    QCOMPARE(component<DBEdit>(Form4, "DBEdit4")->text(), QString("testy\\ohm\\otwet.txt"));
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);

    Form1->nn5Click();
    QVERIFY(Form13->isVisible());
    component<QPushButton>(Form13, "BitBtn41")->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(Form13->session().questionCount, 7);
    for (int slot = 1; slot <= 40; ++slot) {
        numberButtons().at(slot - 1)->click();
        QString page;
        QTRY_VERIFY(!(page = component<PageViewer>(Form13, "WebBrowser1")->view()->url().toLocalFile()).isEmpty()
                    && page.endsWith(QStringLiteral("/%1.htm").arg(Form13->session().TestSlot[slot].question)));
        // The learner reads the question and picks the letter shown beside its right answer.
        const QStringList lines = shownLines(page);
        QVERIFY2(lines.size() >= 3 && RightAnswers.count(lines.first()), qPrintable(lines.join(u'|')));
        const QString right = RightAnswers.at(lines.first());
        int letter = -1;
        for (int i = 1; i < lines.size(); ++i) {
            if (lines.at(i) == QStringLiteral("%1) %2").arg(QChar(u'A' + i - 1)).arg(right))
                letter = i - 1;
        }
        QVERIFY2(letter >= 0, qPrintable(lines.join(u'|')));
        answerButtons().at(letter)->click();
    }
    component<QPushButton>(Form13, "BitBtn42")->click();
    QVERIFY(Form5->isVisible());
    Form5->FormActivate();
    QCOMPARE(component<QLabel>(Form5, "Label4")->text(), QString("40"));
    QCOMPARE(component<QLabel>(Form5, "Label5")->text(), QString("100"));
    QCOMPARE(component<QLabel>(Form5, "Label6")->text(), QString("5"));
    component<QPushButton>(Form5, "Button1")->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_course->rows("SELECT urok, ocenka, fio FROM jurnal"), QStringList{"Закон Ома|100|Петров Пётр"});
}

void TestQuestionImport::refusedImportChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bank");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QString>("info");

    const QByteArray good = "Вопрос\nA. да\nB. нет\nANSWER: A\n";
    QTest::newRow("bank with errors: all of them in one window")
        << QByteArray("Первый\nA. 1\nF. 2\nANSWER: A\n\nВторой\nA. 1\nB. 2\nANSWER: C\n")
        << QStringList{"<course>/bank.txt", "<course>/testy/new"}
        << QStringList{"Вопросы не импортированы: в файле <course>/bank.txt ошибок: 2. Ничего не записано; "
                       "исправьте файл и повторите импорт.\n"
                       "<course>/bank.txt:3: вариант F вне A–E: в окне теста пять кнопок ответа\n"
                       "<course>/bank.txt:9: ANSWER: C, но варианта C у вопроса нет"}
        << "";
    QTest::newRow("bank that cannot be read") << QByteArray() << QStringList{"<course>/missing.txt", "<course>/testy/new"}
                                              << QStringList{"Файл вопросов не прочитан.\n<course>/missing.txt: файл не читается"}
                                              << "";
    QTest::newRow("folder holding a test") << good << QStringList{"<course>/bank.txt", "<course>/testy/old"}
                                           << QStringList() << "Папка <course>/testy/old не пуста";
    QTest::newRow("folder holding other files") << good << QStringList{"<course>/bank.txt", "<course>/testy"}
                                                << QStringList() << "Папка <course>/testy не пуста";
    QTest::newRow("folder outside the course") << good << QStringList{"<course>/bank.txt", "<course>-other/t"}
                                               << QStringList() << "внутри папки курса";
    QTest::newRow("the course folder itself") << good << QStringList{"<course>/bank.txt", "<course>"}
                                              << QStringList() << "внутри папки курса";
    QTest::newRow("bank dialog cancelled") << good << QStringList() << QStringList() << "";
    QTest::newRow("folder dialog cancelled") << good << QStringList{"<course>/bank.txt"} << QStringList() << "";
}

void TestQuestionImport::refusedImportChangesNothing()
{
    QFETCH(QByteArray, bank);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, errors);
    QFETCH(QString, info);
    if (!bank.isEmpty())
        m_course->writeFile("bank.txt", bank);
    for (QString &answer : answers)
        answer.replace("<course>", m_course->path());
    for (QString &error : errors)
        error.replace("<course>", m_course->path());
    info.replace("<course>", m_course->path());
    const QStringList before = m_course->rows("SELECT * FROM urok");
    const QStringList files = QDir(m_course->filePath("testy")).entryList(QDir::AllEntries | QDir::Hidden
                                                                              | QDir::NoDotAndDotDot);

    m_messages->fileAnswers = answers;
    component<QPushButton>(Form4, "ImportQuestionsButton")->click();

    if (!errors.isEmpty() && errors.first().contains("не прочитан")) {
        // The system's reason follows the file name.
        QCOMPARE(m_messages->errors.size(), 1);
        QVERIFY2(m_messages->errors.first().startsWith(errors.first()), qPrintable(m_messages->errors.first()));
    } else {
        QCOMPARE(m_messages->errors, errors);
    }
    QCOMPARE(m_messages->infos.size(), info.isEmpty() ? 0 : 1);
    if (!info.isEmpty())
        QVERIFY2(m_messages->infos.first().contains(info), qPrintable(m_messages->infos.first()));
    QCOMPARE(m_messages->fileAnswers, QStringList());
    QCOMPARE(m_course->rows("SELECT * FROM urok"), before);
    QCOMPARE(QDir(m_course->filePath("testy")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             files);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
}

KORVELTA_WIDGET_TEST_MAIN(TestQuestionImport)
#include "tst_questionimport.moc"
