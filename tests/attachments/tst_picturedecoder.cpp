#include "AppError.h"
#include "MetafileReader.h"
#include "PictureDecoder.h"
#include "PictureFixtures.h"
#include "TestCourse.h"

#include <QtTest>

// The decoder a lesson picture goes to, and what each one makes of small files.
class TestPictureDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decodesByExtension_data();
    void decodesByExtension();
    void refusesWhatItCannotRead_data();
    void refusesWhatItCannotRead();
    void metafileReaderFailures_data();
    void metafileReaderFailures();
};

namespace {

bool isRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
bool isBlue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }

} // namespace

void TestPictureDecoder::decodesByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");

    const QSize s(40, 20);
    QTest::newRow("jpg") << "p.jpg" << PictureFixtures::image("jpg", s) << s;
    QTest::newRow("jpeg") << "p.jpeg" << PictureFixtures::image("jpg", s) << s;
    QTest::newRow("JPG upper case") << "P.JPG" << PictureFixtures::image("jpg", s) << s;
    QTest::newRow("grey jpg") << "g.jpg" << PictureFixtures::image("jpg", s) << s;
    QTest::newRow("bmp") << "p.bmp" << PictureFixtures::image("bmp", s) << s;
    QTest::newRow("Bmp mixed case") << "p.Bmp" << PictureFixtures::image("bmp", s) << s;
    QTest::newRow("ico") << "p.ico" << PictureFixtures::image("ico", QSize(32, 32)) << QSize(32, 32);
    QTest::newRow("wmf") << "p.wmf" << PictureFixtures::wmf(QSize(200, 100)) << QSize(200, 100);
    QTest::newRow("EMF upper case") << "P.EMF" << PictureFixtures::emf(QSize(200, 100)) << QSize(200, 100);
    QTest::newRow("no extension, png inside") << "picture" << PictureFixtures::image("png", s) << s;
    QTest::newRow("trailing dot, jpeg inside") << "picture." << PictureFixtures::image("jpg", s) << s;
    QTest::newRow("dot in the folder only") << "v1.2\\picture" << PictureFixtures::image("bmp", s) << s;
}

void TestPictureDecoder::decodesByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    TestCourse course(false);
    course.writeFile(QString(name).replace('\\', '/'), bytes);

    QImage picture;
    try {
        picture = PictureDecoder::load(course.path() + "\\" + name);
    } catch (const AppError &error) {
        QFAIL(qPrintable(error.message()));
    }
    QCOMPARE(picture.size(), size);
    if (QByteArray(QTest::currentDataTag()) == "grey jpg")
        return;
    // Left half red, right half blue: orientation and colour order are right.
    const int y = size.height() / 2;
    QVERIFY2(isRed(picture.pixel(size.width() / 4, y)), qPrintable(QColor(picture.pixel(size.width() / 4, y)).name()));
    QVERIFY2(isBlue(picture.pixel(size.width() * 3 / 4, y)),
             qPrintable(QColor(picture.pixel(size.width() * 3 / 4, y)).name()));
}

void TestPictureDecoder::refusesWhatItCannotRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QByteArray png = PictureFixtures::image("png", QSize(8, 8));
    QTest::newRow("unknown extension") << "p.png" << png << "Unknown picture file extension (.png)";
    QTest::newRow("unknown extension keeps its case") << "p.GiF" << png << "Unknown picture file extension (.GiF)";
    QTest::newRow("corrupt jpeg") << "p.jpg" << QByteArray("this is not a picture at all")
                                  << "Not a JPEG file: starts with 0x74 0x68";
    QTest::newRow("png named as jpeg") << "p.jpeg" << png << "Not a JPEG file: starts with 0x89 0x50";
    QTest::newRow("empty jpeg") << "p.jpg" << QByteArray() << "Empty input file";
    QTest::newRow("png named as bmp") << "p.bmp" << png << "Unable to read image data";
    QTest::newRow("corrupt wmf") << "p.wmf" << QByteArray(64, 'x')
                                 << "Windows metafile: the file is not a metafile or is corrupted";
    QTest::newRow("corrupt emf") << "p.emf" << QByteArray(64, 'x')
                                 << "Enhanced metafile: the file is not a metafile or is corrupted";
    QTest::newRow("no extension, not a picture") << "picture" << QByteArray("plain text")
                                                 << "Unsupported image format";
}

void TestPictureDecoder::refusesWhatItCannotRead()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TestCourse course(false);
    course.writeFile(name, bytes);
    try {
        PictureDecoder::load(course.path() + "\\" + name);
        QFAIL("decoded a picture it should refuse");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), message);
    }
}

// The metafile reader child failing in each way it can: the program gets a
// message and goes on.
void TestPictureDecoder::metafileReaderFailures_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("message");
    QTest::newRow("reader crashes") << QByteArray("kill -SEGV $$\n")
                                    << "Windows metafile: the file is damaged (the decoder stopped on it)";
    QTest::newRow("reader hangs") << QByteArray("sleep 30\n") << "Windows metafile: the file could not be decoded in 0.5 s";
    QTest::newRow("reader gives its reason") << QByteArray("echo 'Windows metafile: unexpected end of file' >&2; exit 1\n")
                                             << "Windows metafile: unexpected end of file";
    QTest::newRow("reader output cut short") << QByteArray("printf 'KPIC\\004\\000\\000\\000\\004\\000\\000\\000abc'\n")
                                             << "Windows metafile: the picture reader gave an incomplete picture";
    QTest::newRow("reader missing") << QByteArray() << "Windows metafile: the picture reader";
}

void TestPictureDecoder::metafileReaderFailures()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, message);
    TestCourse course(false);
    const QString reader = course.filePath("reader.sh");
    if (!script.isEmpty()) {
        course.writeFile("reader.sh", "#!/bin/sh\ncat >/dev/null\n" + script);
        QFile::setPermissions(reader, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    try {
        MetafileReader(reader, 500).decode(PictureDecoder::Kind::Wmf, PictureFixtures::wmf(QSize(8, 8)));
        QFAIL("a failed reader gave a picture");
    } catch (const AppError &error) {
        QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
    }
}

QTEST_MAIN(TestPictureDecoder)
#include "tst_picturedecoder.moc"
