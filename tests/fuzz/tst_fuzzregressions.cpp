// Every seed and every input that a fuzz run once found, fed again to its
// target's own checks in the ordinary build: a crash, a sanitizer-free abort of
// a broken rule or a hang here is the old fault back.
#include "AppError.h"
#include "MetafileReader.h"
#include "ReplayTable.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private slots:
    void replay_data();
    void replay();
};

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("file");
    for (int t = 0; t < int(std::size(ReplayTargets)); ++t) {
        const QString corpus = QString::fromLatin1(ReplayTargets[t].corpus);
        for (const char *kind : {"corpus", "regressions"}) {
            const QDir dir(QStringLiteral(KORVELTA_FUZZ_INPUTS "/%1/%2").arg(QLatin1String(kind), corpus));
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
                const QString row = QStringLiteral("%1 %2/%3").arg(QLatin1String(kind), corpus, name);
                QTest::newRow(qPrintable(row)) << t << dir.filePath(name);
            }
        }
    }
}

void TestFuzzRegressions::replay()
{
    QFETCH(int, target);
    QFETCH(QString, file);
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString corpus = QString::fromLatin1(ReplayTargets[target].corpus);
    if (corpus == QLatin1String("picture-wmf") || corpus == QLatin1String("picture-emf")) {
        // The program hands metafiles to the picture reader child, not to the
        // libraries in its own process: that is the path to hold.
        try {
            const QImage image = MetafileReader().decode(
                corpus == QLatin1String("picture-wmf") ? PictureDecoder::Kind::Wmf : PictureDecoder::Kind::Emf, bytes);
            QVERIFY(!image.isNull());
        } catch (const AppError &error) {
            QVERIFY(!error.message().isEmpty());
        }
        return;
    }
    QCOMPARE(ReplayTargets[target].run(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
}

QTEST_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
