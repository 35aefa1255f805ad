#include "CourseFolders.h"
#include "TestCourse.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#ifndef KORVELTA_PROGRAM
#error "KORVELTA_PROGRAM must name the program under test"
#endif

namespace {

// Runs xdotool against the test display and returns what it printed.
QString xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

QString visibleWindow(const QString &title)
{
    const QStringList ids = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}).split('\n');
    return ids.value(0);
}

// The course chooser, whatever the window system adds to its title.
QString chooserWindow()
{
    return xdotool({"search", "--onlyvisible", "--name", QStringLiteral("^Выбор курса")}).split('\n').value(0);
}

QPoint windowOrigin(const QString &window)
{
    const QString geometry = xdotool({"getwindowgeometry", window});
    const QRegularExpressionMatch m = QRegularExpression("Position: (\\d+),(\\d+)").match(geometry);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint();
}

// The window's title as the window manager and the task bar read it.
QString netWmName(const QString &window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-id", window, "_NET_WM_NAME"});
    xprop.waitForFinished(10000);
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const QRegularExpressionMatch m = QRegularExpression("= \"(.*)\"$").match(out);
    return m.hasMatch() ? m.captured(1) : out;
}

void clickAt(const QPoint &point)
{
    xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())});
    xdotool({"click", "1"});
    QTest::qWait(300);
}

} // namespace

// The real program, started as a learner starts it, driven through the X display.
class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void learnerVisitReachesTheJournal();
    void startedOutsideACourse_data();
    void startedOutsideACourse();
};

void TestProgram::learnerVisitReachesTheJournal()
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is not installed");

    TestCourse course;
    course.exec("INSERT INTO urok (urok, htm) VALUES ('Lesson one', 'uroki\\one.htm')");
    course.writeFile("uroki/one.htm", "<html><body>One</body></html>");
    course.writeFile("zas.mht", "MIME-Version: 1.0\r\nContent-Type: text/html\r\n\r\n<p>cover</p>");
    course.writeFile("log.log", "Lesson one\r\nSecond topic\r\n");

    QProcess program;
    program.setWorkingDirectory(course.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(KORVELTA_PROGRAM), {});
    QVERIFY(program.waitForStarted());

    QString start;
    QTRY_VERIFY_WITH_TIMEOUT(!(start = visibleWindow("Корвелта")).isEmpty(), 20000);
    const QPoint plate = windowOrigin(start);
    // The application title stands on the start screen alone.
    QCOMPARE(netWmName(start), QString("Корвелта"));
    QVERIFY(visibleWindow("Обучающая система").isEmpty());

    clickAt(plate + QPoint(600, 451)); // the name box
    xdotool({"type", "--delay", "50", "Smith John"});
    clickAt(plate + QPoint(520, 489)); // the group box
    xdotool({"type", "--delay", "50", "GR-1"});
    clickAt(plate + QPoint(527, 538)); // "Ввод"

    QString main;
    QTRY_VERIFY_WITH_TIMEOUT(!(main = visibleWindow("Обучающая система")).isEmpty(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindow("Корвелта").isEmpty(), 10000);
    QCOMPARE(netWmName(main), QString("Обучающая система"));

    // The first topic sits at the top of the tree, below the menu bar and the title bar.
    QTest::qWait(1000);
    const QPoint window = windowOrigin(main);
    for (int y = 60; y <= 80 && course.scalar("SELECT count(*) FROM jurnal").toInt() == 0; y += 4) {
        clickAt(window + QPoint(80, y));
        QTest::qWait(500);
    }

    QTRY_COMPARE_WITH_TIMEOUT(course.rows("SELECT urok, ocenka, fio, gruppa FROM jurnal"),
                              QStringList{"Lesson one|0|Smith John|GR-1"}, 10000);
    program.terminate();
    program.waitForFinished(10000);
}

void TestProgram::startedOutsideACourse_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("starts");
    QTest::newRow("Return opens the course used last, and the program runs there") << "Return" << true;
    QTest::newRow("Escape ends the program, nothing else shown") << "Escape" << false;
}

void TestProgram::startedOutsideACourse()
{
    QFETCH(QString, key);
    QFETCH(bool, starts);
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        QSKIP("xdotool is not installed");

    TestCourse course;
    course.writeFile("log.log", "Lesson one\r\n");
    // As the desktop menu starts it: in the home folder, which holds no course.
    QTemporaryDir home;
    const QString config = QDir(home.path()).filePath(".config");
    {
        QSettings settings(QDir(config).filePath("korvelta/korvelta.conf"), QSettings::IniFormat);
        RecentCourses(settings).use(course.path());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", config);

    QProcess program;
    program.setWorkingDirectory(home.path());
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(KORVELTA_PROGRAM), {});
    QVERIFY(program.waitForStarted());

    QString chooser;
    QTRY_VERIFY_WITH_TIMEOUT(!(chooser = chooserWindow()).isEmpty(), 20000);
    QVERIFY(visibleWindow("Корвелта").isEmpty());
    xdotool({"windowfocus", "--sync", chooser});
    xdotool({"key", key});

    if (!starts) {
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(!visibleWindow("Корвелта").isEmpty(), 20000);
    QVERIFY(chooserWindow().isEmpty());
    const QString cwd = QFileInfo(QStringLiteral("/proc/%1/cwd").arg(program.processId())).canonicalFilePath();
    QCOMPARE(cwd, QDir(course.path()).canonicalPath());
    program.terminate();
    program.waitForFinished(10000);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
