#include "CourseChooser.h"
#include "Components.h"
#include "CourseFolders.h"
#include "Messages.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// The chooser window as a user drives it: each row is a few steps and what
// the window and the remembered list show after them.
class TestCourseChooser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void choices_data();
    void choices();
    void withoutRecentOrDemo();

private:
    QString folder(const QString &name) const { return m_root.filePath(name); }
    QString names(const QStringList &folders) const;
    void step(CourseChooser &chooser, const QString &action);

    QTemporaryDir m_root;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<RecentCourses> m_recent;
};

void TestCourseChooser::init()
{
    QVERIFY(m_root.isValid());
    QDir root(m_root.path());
    for (const QString course : {"a", "b", "c"}) {
        QVERIFY(root.mkpath(course));
        QFile marker(root.filePath(course + "/log.log"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
    }
    QVERIFY(root.mkpath("plain"));
    QVERIFY(root.mkpath("install/demo"));
    QFile demo(root.filePath("install/demo/db1.sqlite"));
    QVERIFY(demo.open(QIODevice::WriteOnly));
    m_settings = std::make_unique<QSettings>(root.filePath("korvelta.conf"), QSettings::IniFormat);
    m_recent = std::make_unique<RecentCourses>(*m_settings);
}

void TestCourseChooser::cleanup()
{
    m_recent.reset();
    m_settings.reset();
    QDir(m_root.path()).removeRecursively();
    QDir().mkpath(m_root.path());
}

QString TestCourseChooser::names(const QStringList &folders) const
{
    QStringList out;
    for (const QString &f : folders)
        out << QDir(QDir(m_root.path()).canonicalPath()).relativeFilePath(f);
    return out.join(QLatin1Char(' '));
}

void TestCourseChooser::step(CourseChooser &chooser, const QString &action)
{
    const QString verb = action.section(QLatin1Char(' '), 0, 0);
    const QString argument = action.section(QLatin1Char(' '), 1);
    if (verb == QLatin1String("open")) {
        QTest::mouseClick(component<QPushButton>(&chooser, "openButton"), Qt::LeftButton);
    } else if (verb == QLatin1String("double-click")) {
        QListWidget *list = component<QListWidget>(&chooser, "recentList");
        const QRect row = list->visualItemRect(list->item(argument.toInt()));
        // The view takes a double click on the row its first click pressed.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    } else if (verb == QLatin1String("browse")) {
        // The folder dialog is modal: answer it from inside its own event loop.
        QTimer::singleShot(0, this, [this, argument] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (argument.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(folder(argument));
            static_cast<QDialog *>(dialog)->accept();
        });
        QTest::mouseClick(component<QPushButton>(&chooser, "browseButton"), Qt::LeftButton);
    } else if (verb == QLatin1String("demo")) {
        QTest::mouseClick(component<QPushButton>(&chooser, "demoButton"), Qt::LeftButton);
    } else if (verb == QLatin1String("cancel")) {
        QTest::mouseClick(component<QPushButton>(&chooser, "cancelButton"), Qt::LeftButton);
    } else if (verb == QLatin1String("remove")) {
        QVERIFY(QDir(folder(argument)).removeRecursively());
    } else {
        QFAIL(qPrintable("unknown step " + action));
    }
}

void TestCourseChooser::choices_data()
{
    QTest::addColumn<QString>("recent");   // remembered before, the last used first
    QTest::addColumn<QString>("steps");    // separated by "; "
    QTest::addColumn<QString>("outcome");  // "chose <folder>", "open" (still asking) or "cancelled"
    QTest::addColumn<int>("errors");       // how many error boxes were shown
    QTest::addColumn<QString>("remembered");

    QTest::newRow("the last used course, opened") << "b a" << "open" << "chose b" << 0 << "b a";
    QTest::newRow("an older course, double-clicked") << "b a c" << "double-click 2" << "chose c" << 0 << "c b a";
    QTest::newRow("a course picked in the folder dialog") << "a" << "browse c" << "chose c" << 0 << "c a";
    QTest::newRow("a folder that is no course is refused and the window stays")
        << "a" << "browse plain" << "open" << 1 << "a";
    QTest::newRow("refused, then a course") << "a" << "browse plain; browse b" << "chose b" << 1 << "b a";
    QTest::newRow("folder dialog cancelled: still asking") << "a" << "browse" << "open" << 0 << "a";
    QTest::newRow("the demo course is copied and opened")
        << "a" << "demo" << "chose home/Korvelta/demo" << 0 << "home/Korvelta/demo a";
    QTest::newRow("the demo course a second time opens the same copy")
        << "home/Korvelta/demo" << "demo" << "chose home/Korvelta/demo" << 0 << "home/Korvelta/demo";
    QTest::newRow("cancelled") << "b a" << "cancel" << "cancelled" << 0 << "b a";
    QTest::newRow("a listed course that vanished meanwhile is refused")
        << "b a" << "remove b; open" << "open" << 1 << "a";
}

void TestCourseChooser::choices()
{
    QFETCH(QString, recent);
    QFETCH(QString, steps);
    QFETCH(QString, outcome);
    QFETCH(int, errors);
    QFETCH(QString, remembered);

    const QString demoCopy = CourseFolders::demoCopyFolder(folder("home"));
    const QStringList before = recent.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
        if (*it == QLatin1String("home/Korvelta/demo"))
            CourseFolders::copyDemoOnce(folder("install/demo"), demoCopy);
        m_recent->use(folder(*it));
    }

    Messages::Recorder messages;
    CourseChooser chooser(*m_recent, folder("install/demo"), demoCopy);
    chooser.show();
    QCOMPARE(component<QListWidget>(&chooser, "recentList")->count(), before.size());
    for (const QString &action : steps.split(QStringLiteral("; ")))
        step(chooser, action);

    QVERIFY2(messages.errors.size() == errors, qPrintable(messages.errors.join(" / ")));
    if (errors > 0)
        QVERIFY2(messages.errors.first().contains("нет курса"), qPrintable(messages.errors.first()));
    if (outcome == QLatin1String("open")) {
        QVERIFY(chooser.isVisible());
    } else if (outcome == QLatin1String("cancelled")) {
        QVERIFY(!chooser.isVisible());
        QCOMPARE(chooser.result(), int(QDialog::Rejected));
    } else {
        QVERIFY(!chooser.isVisible());
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(names({QDir(chooser.chosenFolder()).canonicalPath()}), outcome.section(' ', 1));
        QVERIFY(CourseFolders::isCourse(chooser.chosenFolder()));
    }
    QCOMPARE(names(m_recent->folders()), remembered);
}

void TestCourseChooser::withoutRecentOrDemo()
{
    Messages::Recorder messages;
    CourseChooser chooser(*m_recent, QString(), folder("home/Korvelta/demo"));
    chooser.show();
    QVERIFY(!component<QListWidget>(&chooser, "recentList")->isVisible());
    QVERIFY(!component<QPushButton>(&chooser, "openButton")->isVisible());
    QVERIFY(!component<QPushButton>(&chooser, "demoButton")->isVisible());
    // Return goes to the folder dialog, the one way left to a course.
    QVERIFY(component<QPushButton>(&chooser, "browseButton")->isDefault());
}

KORVELTA_WIDGET_TEST_MAIN(TestCourseChooser)
#include "tst_coursechooser.moc"
