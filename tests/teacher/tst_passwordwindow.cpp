#include "Components.h"
#include "Messages.h"
#include "PasswordCheck.h"
#include "Platform.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit7.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QWidget>
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
    std::unique_ptr<ProgramWindows> m_windows;
};

void TestPasswordWindow::start(const QVariant &stored, bool row)
{
    m_course = std::make_unique<TestCourse>();
    m_course->writeFile("log.log", "A\r\n");
    if (row)
        m_course->exec("INSERT INTO pas (pas) VALUES (?)", {stored});
    m_messages = std::make_unique<Messages::Recorder>();
    m_windows = std::make_unique<ProgramWindows>();
    QCOMPARE(m_messages->errors, QStringList());
    Form7->show();
}

void TestPasswordWindow::cleanup()
{
    m_windows.reset();
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
    component<QAction>(Form1, "N1")->setVisible(shownBefore);

    component<QLineEdit>(Form7, "Edit1")->setText(typed);
    Form7->Button1Click();

    QCOMPARE(component<QAction>(Form1, "N1")->isVisible(), revealed);
    QCOMPARE(m_messages->infos, revealed ? QStringList() : QStringList{Wrong});
    QVERIFY(!Form7->isVisible());
    QCOMPARE(m_messages->errors, QStringList());
    // The box keeps its text for the next opening.
    QCOMPARE(component<QLineEdit>(Form7, "Edit1")->text(), typed);
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

    component<QLineEdit>(Form7, "Edit1")->setText(current);
    // Every password box masks what is typed with "*".
    QCOMPARE(component<QLineEdit>(Form7, "Edit1")->displayText(), QString(current.size(), '*'));
    Form7->Button2Click();
    const bool panelOpened = component<QWidget>(Form7, "Panel2")->isVisible();
    QCOMPARE(panelOpened, current == "1234");
    QVERIFY(Form7->isVisible());
    if (panelOpened) {
        component<QLineEdit>(Form7, "Edit2")->setText(newPassword);
        component<QLineEdit>(Form7, "Edit3")->setText(confirmation);
        QCOMPARE(component<QLineEdit>(Form7, "Edit2")->displayText(), QString(newPassword.size(), '*'));
        QCOMPARE(component<QLineEdit>(Form7, "Edit3")->displayText(), QString(confirmation.size(), '*'));
        Form7->Button3Click();
        QVERIFY(!component<QWidget>(Form7, "Panel2")->isVisible());
        QVERIFY(!Form7->isVisible());
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
    const int shortHeight = Form7->height();
    component<QLineEdit>(Form7, "Edit1")->setText("1234");
    Form7->Button2Click();
    QVERIFY(component<QWidget>(Form7, "Panel2")->isVisible());
    QTRY_COMPARE(Form7->height(), shortHeight + 104);

    Form7->Button1Click();
    QVERIFY(!Form7->isVisible());
    Form7->show();
    QVERIFY(component<QWidget>(Form7, "Panel2")->isVisible());
    QTRY_COMPARE(Form7->height(), shortHeight + 104);
    QVERIFY(component<QAction>(Form1, "N1")->isVisible());

    // A wrong "Сменить пароль" leaves the shown panel as it was.
    component<QLineEdit>(Form7, "Edit1")->setText("x");
    Form7->Button2Click();
    QVERIFY(component<QWidget>(Form7, "Panel2")->isVisible());
    QCOMPARE(m_messages->infos, QStringList{Wrong});
}

void TestPasswordWindow::failedPostKeepsPanelWindowAndEdit()
{
    start(QVariant("1234"));
    m_course->exec("CREATE TRIGGER refuse BEFORE UPDATE ON pas BEGIN SELECT RAISE(ABORT, 'pas is read-only'); END");
    component<QLineEdit>(Form7, "Edit1")->setText("1234");
    Form7->Button2Click();
    component<QLineEdit>(Form7, "Edit2")->setText("new");
    component<QLineEdit>(Form7, "Edit3")->setText("new");
    Form7->Button3Click();

    QCOMPARE(m_messages->errors, QStringList{"pas is read-only."});
    QCOMPARE(m_messages->infos, QStringList());
    QVERIFY(component<QWidget>(Form7, "Panel2")->isVisible());
    QVERIFY(Form7->isVisible());
    QCOMPARE(DataModule2->Tpas->state(), TableCursor::State::Edit);
    QCOMPARE(storedPassword().toString(), QString("1234"));
}

KORVELTA_WIDGET_TEST_MAIN(TestPasswordWindow)

#include "tst_passwordwindow.moc"
