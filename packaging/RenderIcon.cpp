// Build-time helper: draws the program's icon outline at one size into a PNG
// for the desktop's icon theme. Usage: render-icon <source.svg> <size> <out.png>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&sizeOk) : 0;
    if (!sizeOk || size <= 0 || size > 1024) {
        std::fputs("usage: render-icon <source.svg> <size> <out.png>\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(args.at(3), "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
