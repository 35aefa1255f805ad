#include "Messages.h"
#include "PasswordCheck.h"
#include "Platform.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit7.h"
#include "ui_Unit1.h"
#include "ui_Unit7.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QtTest>

#include <memory>

namespace {
const QString Wrong = QStringLiteral("Пароль неверный");
const QString Differ = QStringLiteral("Пароли не совпадают");
const QString Changed = QStringLiteral("Пароль успешно изменен");
} // namespace

// The password window on a course whose pas table holds a given value.
class TestPasswordWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void okButton_data();
    void okButton();
    void changePassword_data();
    void changePassword();
    void secondPanelStaysShownUntilEnter();
    void failedPostKeepsPanelWindowAndEdit();

private:
    // `stored` Null with `row` false: the pas table has no row at all.
    void start(const QVariant &stored, bool row = true);
    QVariant storedPassword() const { return m_course->scalar("SELECT pas FROM pas"); }

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TDataModule2> m_module;
    std::unique_ptr<TForm7> m_form7;
};

void TestPasswordWindow::start(const QVariant &stored, bool row)
{
    m_course = std::make_unique<TestCourse>();
    m_course->writeFile("log.log", "A\r\n");
    if (row)
        m_course->exec("INSERT INTO pas (pas) VALUES (?)", {stored});
    m_messages = std::make_unique<Messages::Recorder>();
    m_form1 = std::make_unique<TForm1>();
    Form1 = m_form1.get();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_form7 = std::make_unique<TForm7>();
    Form7 = m_form7.get();
    QCOMPARE(m_messages->errors, QStringList());
    m_form7->show();
}

void TestPasswordWindow::cleanup()
{
    m_form7.reset();
    m_form1.reset();
    m_module.reset();
    Form7 = nullptr;
    Form1 = nullptr;
    DataModule2 = nullptr;
    m_messages.reset();
    m_course.reset();
}

void TestPasswordWindow::okButton_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("hasRow");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("revealed");

    const QVariant hashed = PasswordCheck::hash("Учитель 1234");
    QTest::newRow("right password against a hash") << hashed << true << "Учитель 1234" << false << true;
    QTest::newRow("wrong password against a hash") << hashed << true << "Учитель 123" << false << false;
    QTest::newRow("letter case counts") << hashed << true << "учитель 1234" << false << false;
    QTest::newRow("wrong password hides a revealed item") << hashed << true << "" << true << false;
    QTest::newRow("the hash text itself is no password") << hashed << true << hashed.toString() << false << false;
    QTest::newRow("plain legacy value still matches") << QVariant("1234") << true << "1234" << false << true;
    QTest::newRow("plain legacy value, wrong text") << QVariant("1234") << true << "12345" << false << false;
    QTest::newRow("Null stored matches no empty box") << QVariant() << true << "" << false << false;
    QTest::newRow("no password row matches nothing") << QVariant() << false << "" << false << false;
}

void TestPasswordWindow::okButton()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, hasRow);
    QFETCH(QString, typed);
    QFETCH(bool, shownBefore);
    QFETCH(bool, revealed);
    start(stored, hasRow);
    Form1->ui->N1->setVisible(shownBefore);

    m_form7->ui->Edit1->setText(typed);
    m_form7->Button1Click();

    QCOMPARE(Form1->ui->N1->isVisible(), revealed);
    QCOMPARE(m_messages->infos, revealed ? QStringList() : QStringList{Wrong});
    QVERIFY(!m_form7->isVisible());
    QCOMPARE(m_messages->errors, QStringList());
    // The box keeps its text for the next opening.
    QCOMPARE(m_form7->ui->Edit1->text(), typed);
}

void TestPasswordWindow::changePassword_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QStringList>("infos");
    QTest::addColumn<QString>("opensAfterwards");

    QTest::newRow("matching boxes store a hash of the new password")
        << "1234" << "Новый пароль" << "Новый пароль" << QStringList{Changed} << "Новый пароль";
    QTest::newRow("differing boxes store nothing")
        << "1234" << "Новый пароль" << "новый пароль" << QStringList{Differ} << "1234";
    QTest::newRow("an empty new password is kept as one")
        << "1234" << "" << "" << QStringList{Changed} << "";
    QTest::newRow("a wrong current password opens no panel")
        << "4321" << "x" << "x" << QStringList{Wrong} << "1234";
}

void TestPasswordWindow::changePassword()
{
    QFETCH(QString, current);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QStringList, infos);
    QFETCH(QString, opensAfterwards);
    start(QVariant("1234"));

    m_form7->ui->Edit1->setText(current);
    // Every password box masks what is typed with "*".
    QCOMPARE(m_form7->ui->Edit1->displayText(), QString(current.size(), '*'));
    m_form7->Button2Click();
    const bool panelOpened = m_form7->ui->Panel2->isVisible();
    QCOMPARE(panelOpened, current == "1234");
    QVERIFY(m_form7->isVisible());
    if (panelOpened) {
        m_form7->ui->Edit2->setText(newPassword);
        m_form7->ui->Edit3->setText(confirmation);
        QCOMPARE(m_form7->ui->Edit2->displayText(), QString(newPassword.size(), '*'));
        QCOMPARE(m_form7->ui->Edit3->displayText(), QString(confirmation.size(), '*'));
        m_form7->Button3Click();
        QVERIFY(!m_form7->ui->Panel2->isVisible());
        QVERIFY(!m_form7->isVisible());
    }

    QCOMPARE(m_messages->infos, infos);
    QCOMPARE(m_messages->errors, QStringList());
    const QString stored = storedPassword().toString();
    QVERIFY(!storedPassword().isNull());
    const bool changed = infos == QStringList{Changed};
    // A new password never reaches the file as plain text.
    QCOMPARE(PasswordCheck::isHash(stored), changed);
    QVERIFY(PasswordCheck::matches(stored, opensAfterwards));
    if (changed)
        QVERIFY(!PasswordCheck::matches(stored, "1234"));
    QCOMPARE(m_course->scalar("SELECT COUNT(*) FROM pas").toInt(), 1);
}

void TestPasswordWindow::secondPanelStaysShownUntilEnter()
{
    start(QVariant("1234"));
    const int shortHeight = m_form7->height();
    m_form7->ui->Edit1->setText("1234");
    m_form7->Button2Click();
    QVERIFY(m_form7->ui->Panel2->isVisible());
    QTRY_COMPARE(m_form7->height(), shortHeight + 104);

    m_form7->Button1Click();
    QVERIFY(!m_form7->isVisible());
    m_form7->show();
    QVERIFY(m_form7->ui->Panel2->isVisible());
    QTRY_COMPARE(m_form7->height(), shortHeight + 104);
    QVERIFY(Form1->ui->N1->isVisible());

    // A wrong "Сменить пароль" leaves the shown panel as it was.
    m_form7->ui->Edit1->setText("x");
    m_form7->Button2Click();
    QVERIFY(m_form7->ui->Panel2->isVisible());
    QCOMPARE(m_messages->infos, QStringList{Wrong});
}

void TestPasswordWindow::failedPostKeepsPanelWindowAndEdit()
{
    start(QVariant("1234"));
    m_course->exec("CREATE TRIGGER refuse BEFORE UPDATE ON pas BEGIN SELECT RAISE(ABORT, 'pas is read-only'); END");
    m_form7->ui->Edit1->setText("1234");
    m_form7->Button2Click();
    m_form7->ui->Edit2->setText("new");
    m_form7->ui->Edit3->setText("new");
    m_form7->Button3Click();

    QCOMPARE(m_messages->errors, QStringList{"pas is read-only."});
    QCOMPARE(m_messages->infos, QStringList());
    QVERIFY(m_form7->ui->Panel2->isVisible());
    QVERIFY(m_form7->isVisible());
    QCOMPARE(DataModule2->Tpas->state(), TableCursor::State::Edit);
    QCOMPARE(storedPassword().toString(), QString("1234"));
}

KORVELTA_WIDGET_TEST_MAIN(TestPasswordWindow)

#include "tst_passwordwindow.moc"
