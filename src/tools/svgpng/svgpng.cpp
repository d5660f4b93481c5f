// svgpng: renders an SVG picture into a square PNG of the given size; the build uses it for the
// desktop icon's fixed sizes. Usage: svgpng IN.svg SIZE OUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char **argv)
{
    // No window is shown: the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool ok = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&ok) : 0;
    if (!ok || size < 1 || size > 4096) {
        std::fprintf(stderr, "usage: svgpng IN.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svgpng: %s is not a readable SVG picture\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    if (!image.save(args.at(3), "PNG")) {
        std::fprintf(stderr, "svgpng: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
