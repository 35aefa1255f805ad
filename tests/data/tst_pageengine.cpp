#include "Messages.h"
#include "PageEngine.h"
#include "PageEngineLoader.h"
#include "PageViewer.h"
#include "WidgetTestMain.h"

#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QtTest>

// The page viewer's engine lives in a module loaded at run time: a module
// that is missing or is not the engine must say so, and the program go on.
class TestPageEngine final : public QObject
{
    Q_OBJECT

private slots:
    void loadFrom_data();
    void loadFrom();
    void viewerWithoutModuleSaysSoOnce();
};

void TestPageEngine::loadFrom_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error"); // empty: the engine loads

    QTest::newRow("the program's module") << PageEngineLoader::modulePath() << QString();
    QTest::newRow("missing") << "missing/korvelta-pages.so" << "The page viewer's module is missing: ";
    QTest::newRow("not a library") << "text/korvelta-pages.so" << "The page viewer's module cannot be loaded: ";
    QTest::newRow("a library without the engine")
        << QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6" << " is not the page viewer's module";
}

void TestPageEngine::loadFrom()
{
    QFETCH(QString, file);
    QFETCH(QString, error);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("text"));
    QFile text(dir.filePath("text/korvelta-pages.so"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("no library\n");
    text.close();
    const QString path = QFileInfo(file).isAbsolute() ? file : dir.filePath(file);

    QString message;
    PageEngine *engine = PageEngineLoader::loadFrom(path, &message);
    if (error.isEmpty()) {
        QVERIFY2(engine, qPrintable(message));
        // The same engine however often it is asked for.
        QCOMPARE(PageEngineLoader::loadFrom(path, &message), engine);
        return;
    }
    QVERIFY(!engine);
    QVERIFY2(message.contains(error), qPrintable(message));
    QVERIFY2(message.contains(path), qPrintable(message));
}

void TestPageEngine::viewerWithoutModuleSaysSoOnce()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("korvelta-pages.so");
    PageEngineLoader::useModule(missing);
    Messages::Recorder recorder;

    PageViewer viewer;
    viewer.resize(300, 200);
    viewer.Navigate("C:\\course\\zas.mht");
    // Nothing is loaded before a window has painted itself.
    QVERIFY(!PageEngineLoader::attempted());
    viewer.show();
    QTRY_COMPARE(recorder.errors.size(), 1);
    QVERIFY2(recorder.errors.first().startsWith("The page viewer's module is missing: " + missing),
             qPrintable(recorder.errors.first()));

    viewer.Navigate("C:\\course\\urok1.htm");
    QVERIFY(!viewer.view());
    PageViewer second;
    second.Navigate("C:\\course\\urok2.htm");
    QTest::qWait(50);
    QCOMPARE(recorder.errors.size(), 1);
}

KORVELTA_WIDGET_TEST_MAIN(TestPageEngine)
#include "tst_pageengine.moc"
