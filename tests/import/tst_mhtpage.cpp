#include "PageViewer.h"
#include "Platform.h"
#include "TestCourse.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

// Web archives saved by Word name their pictures by file:///C:/ and relative
// locations; the page viewer must show those pictures, and keep showing the
// pages WebEngine already shows by itself.
class TestMhtPage final : public QObject
{
    Q_OBJECT

private slots:
    void wordPicturesRender_data();
    void wordPicturesRender();
    void archiveLoader_data();
    void archiveLoader();
};

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KORVELTA_FIXTURES "/mht/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture %s is missing", qPrintable(name));
    return file.readAll();
}

QVariant evaluate(QWebEngineView &view, const QString &script)
{
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(20);
    return result;
}

bool loadPage(PageViewer &viewer, const QString &path)
{
    QSignalSpy loaded(viewer.view(), &QWebEngineView::loadFinished);
    viewer.Navigate(path);
    return loaded.wait(20000) && loaded.first().first().toBool();
}

} // namespace

void TestMhtPage::wordPicturesRender_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("width");

    QTest::newRow("relative reference to a file:///C:/ part") << "relative" << 37;
    QTest::newRow("absolute file:///C:/ reference in other letter case") << "absolute" << 23;
    QTest::newRow("cid: reference") << "cid" << 11;
}

void TestMhtPage::wordPicturesRender()
{
    QFETCH(QString, image);
    QFETCH(int, width);

    TestCourse course(false);
    course.writeFile(QStringLiteral("Uroki/urok1.mht"), fixture(QStringLiteral("word-file-locations.mht")));
    PageViewer viewer;
    viewer.resize(800, 600);
    viewer.show();
    QVERIFY(loadPage(viewer, course.path() + QStringLiteral("\\uroki\\URok1.mht")));

    // The page's own text arrives decoded from its windows-1251 part.
    QCOMPARE(evaluate(*viewer.view(), QStringLiteral("document.title")).toString(), QStringLiteral("Урок 1. Закон Ома"));
    const QString script = QStringLiteral("(function(){var i=document.getElementById('%1');"
                                          "return i && i.complete ? i.naturalWidth : -1;})()").arg(image);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(*viewer.view(), script).toInt(), width, 10000);
}

void TestMhtPage::archiveLoader_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("title");

    QTest::newRow("Word archive is served by the viewer") << "urok1.mht" << fixture("word-file-locations.mht")
                                                          << "korvelta-mht" << "Урок 1. Закон Ома";
    QTest::newRow("IE archive with http locations stays with WebEngine")
        << "ie.mht" << fixture("ie-http-locations.mht") << "file" << "IE page";
    QTest::newRow("plain page stays a file page") << "a.htm" << QByteArray("<html><title>Plain</title></html>")
                                                  << "file" << "Plain";
    QTest::newRow("damaged archive goes to WebEngine as it is") << "bad.mht" << QByteArray("not a web archive")
                                                                << "file" << "";
}

void TestMhtPage::archiveLoader()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, scheme);
    QFETCH(QString, title);

    TestCourse course(false);
    course.writeFile(file, bytes);
    PageViewer viewer;
    viewer.resize(800, 600);
    viewer.show();
    QSignalSpy loaded(viewer.view(), &QWebEngineView::loadFinished);
    viewer.Navigate(course.path() + QLatin1Char('\\') + file);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(viewer.view()->url().scheme(), scheme);
    if (!title.isEmpty())
        QTRY_COMPARE_WITH_TIMEOUT(viewer.view()->title(), title, 10000);
}

KORVELTA_WIDGET_TEST_MAIN(TestMhtPage)

#include "tst_mhtpage.moc"
