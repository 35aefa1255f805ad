// korvelta-picture-reader wmf|emf: decodes the metafile on standard input and
// writes the picture to standard output (MetafileReader's format), or the
// decoder's message to standard error and exits with 1.
#include "AppError.h"
#include "MetafileReader.h"
#include "PictureDecoder.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Drawings are rendered without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString kind = args.value(1);
    if (args.size() != 2 || (kind != QLatin1String("wmf") && kind != QLatin1String("emf"))) {
        std::fputs("usage: korvelta-picture-reader wmf|emf < FILE\n", stderr);
        return 2;
    }
    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return 2;
    try {
        const QImage image = PictureDecoder::decode(
            kind == QLatin1String("wmf") ? PictureDecoder::Kind::Wmf : PictureDecoder::Kind::Emf, in.readAll());
        const QByteArray bytes = MetafileReader::encode(image);
        return out.write(bytes) == bytes.size() && out.flush() ? 0 : 1;
    } catch (const AppError &error) {
        std::fputs(error.message().toUtf8().constData(), stderr);
        return 1;
    }
}
