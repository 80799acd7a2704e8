// The installed icons: every hicolor size is a PNG of exactly that size, drawn from the
// program's icon (teal ground, yellow ampersand, arrow and disjunction sign, transparent round
// corners) and filling the whole square; the scalable icon is a square SVG.
// The install prefix comes in ZL_STAGE.
#include <QDir>
#include <QImage>
#include <QSvgRenderer>
#include <QtTest>
#include <algorithm>

namespace {

QString stage() {
    return qEnvironmentVariable("ZL_STAGE");
}

// The icon's id is the desktop entry's name; the entry is checked on its own elsewhere.
QString iconId() {
    const QStringList entries =
        QDir(stage() + "/share/applications").entryList({"*.desktop"}, QDir::Files);
    return entries.size() == 1 ? entries.first().chopped(QStringLiteral(".desktop").size())
                               : QString();
}

// How much yellower than teal a pixel is: about 255 for the ink, about -100 for the ground,
// in between where the two are blended at an edge.
int yellowness(QRgb p) {
    return qRed(p) - qBlue(p);
}

bool isGround(QRgb p) {
    return qAlpha(p) > 200 && qGreen(p) > qRed(p) + 60 && qBlue(p) > qRed(p) + 60;
}

// Strongest yellow in a rectangle given in the drawing's own 32 × 32 units.
int maxYellowness(const QImage& image, double x0, double y0, double x1, double y1) {
    const double scale = image.width() / 32.0;
    int best = -1000;
    for (int y = int(y0 * scale); y < int(y1 * scale); ++y)
        for (int x = int(x0 * scale); x < int(x1 * scale); ++x)
            best = std::max(best, yellowness(image.pixel(x, y)));
    return best;
}

} // namespace

class InstalledIcons : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY2(!stage().isEmpty(), "ZL_STAGE is not set");
        QVERIFY2(!iconId().isEmpty(), "no single desktop entry to name the icon");
    }

    void png_data() {
        QTest::addColumn<int>("side");
        for (int side : {16, 24, 32, 48, 64, 128, 256})
            QTest::addRow("%dx%d", side, side) << side;
    }

    void png() {
        QFETCH(int, side);
        const QString path = QString("%1/share/icons/hicolor/%2x%2/apps/%3.png")
                                 .arg(stage())
                                 .arg(side)
                                 .arg(iconId());
        QImage image;
        QVERIFY2(image.load(path, "PNG"), qPrintable("cannot read " + path));
        QCOMPARE(image.size(), QSize(side, side));
        QVERIFY(image.hasAlphaChannel());
        image = image.convertToFormat(QImage::Format_ARGB32);

        // Round corners let the panel show through.
        for (QPoint corner :
             {QPoint(0, 0), QPoint(side - 1, 0), QPoint(0, side - 1), QPoint(side - 1, side - 1)})
            QVERIFY2(qAlpha(image.pixel(corner)) < 128, "a corner is opaque");

        // Mostly teal ground; the ink is a good part of the rest.
        int ground = 0, ink = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const QRgb p = image.pixel(x, y);
                ground += isGround(p);
                ink += qAlpha(p) > 200 && yellowness(p) > 150;
            }
        const int area = side * side;
        QVERIFY2(ground > area / 2,
                 qPrintable(QString("teal ground covers %1 of %2 pixels").arg(ground).arg(area)));
        QVERIFY2(ink > area / 20,
                 qPrintable(QString("yellow ink covers %1 of %2 pixels").arg(ink).arg(area)));

        // Each sign in its place, and ground where the drawing has none: a drawing scaled
        // to the wrong size or mirrored fails here.
        QVERIFY2(maxYellowness(image, 22, 4, 30, 12) > 60, "no arrow at the top right");
        QVERIFY2(maxYellowness(image, 22, 14, 30, 26) > 60, "no disjunction sign at the right");
        QVERIFY2(maxYellowness(image, 4, 5, 21, 27) > 60, "no ampersand at the left");
        QVERIFY2(maxYellowness(image, 23, 28, 29, 31) < 0,
                 "ink at the bottom right, where there is none");
        QVERIFY2(maxYellowness(image, 15, 1, 21, 3.5) < 0, "ink at the top, where there is none");
        QVERIFY2(maxYellowness(image, 2, 2, 6, 6) < 0, "ink at the top left, where there is none");
    }

    void scalable() {
        const QString path =
            QString("%1/share/icons/hicolor/scalable/apps/%2.svg").arg(stage(), iconId());
        QSvgRenderer renderer(path);
        QVERIFY2(renderer.isValid(), qPrintable("not a valid SVG: " + path));
        const QRectF box = renderer.viewBoxF();
        QVERIFY(!box.isEmpty());
        QCOMPARE(box.width(), box.height());
    }
};

QTEST_GUILESS_MAIN(InstalledIcons)
#include "tst_installed_icons.moc"
