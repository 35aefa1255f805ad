// render-icon SVG SIZE PNG: draws the program's scalable icon at one size for
// the icon themes that want bitmaps.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int size = args.value(2).toInt(&ok);
    if (args.size() != 4 || !ok || size <= 0) {
        std::fputs("usage: render-icon SVG SIZE PNG\n", stderr);
        return 1;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(args.at(3), "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
