// Draws the program's SVG icon as a square PNG of the given side, for the icon themes
// that want fixed sizes (or as an .ico, for Windows). Runs at build time: no display, no
// platform plugin.
//   render_icon <input.svg> <side in px> <output.png|output.ico>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <stdexcept>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <input.svg> <side> <output.png>\n", argv[0]);
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[3]);
    int side = 0;
    try {
        side = std::stoi(argv[2]);
    } catch (const std::exception&) {
    }
    if (side < 1 || side > 1024) {
        std::fprintf(stderr, "render_icon: bad side '%s'\n", argv[2]);
        return 2;
    }

    QSvgRenderer renderer(input);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();

    if (!image.save(output, output.endsWith(QLatin1String(".ico")) ? "ICO" : "PNG")) {
        std::fprintf(stderr, "render_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
