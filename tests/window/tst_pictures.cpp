// The symbol pictures: a glyph in one pure ink on a white field with transparent margins, the
// red hint picture the blue drawing in red, and both crisp at any device pixel ratio.
#include "window_test_support.h"

#include "app/window_font.h"
#include "board/symbol_pictures.h"

#include <QPixmap>
#include <memory>

namespace {

constexpr std::array<Glyph, 17> kGlyphs{
    Glyph::x,      Glyph::no_x, Glyph::no_no_x, Glyph::ili, Glyph::ravno, Glyph::y,
    Glyph::so,     Glyph::sz,   Glyph::i,       Glyph::nol, Glyph::odin,  Glyph::z,
    Glyph::no_ili, Glyph::no_i, Glyph::no_y,    Glyph::imp, Glyph::ekv};

// The white field in logical pixels: 15 × 25, the arrows 25 × 25.
QRect fieldOf(Glyph glyph) {
    const bool arrow = glyph == Glyph::imp || glyph == Glyph::ekv;
    return arrow ? QRect(QPoint(3, 3), QPoint(27, 27)) : QRect(QPoint(8, 3), QPoint(22, 27));
}

QRect inDevicePixels(QRect logical, int dpr) {
    return {logical.topLeft() * dpr, logical.size() * dpr};
}

QImage imageOf(Picture picture, int dpr) {
    return symbolPixmap(picture, dpr).toImage().convertToFormat(QImage::Format_ARGB32);
}

const char* nameOf(Glyph glyph) {
    return glyphFileStem(glyph).data();
}

bool isWhite(QRgb pixel) {
    return (pixel & 0xFFFFFFu) == 0xFFFFFFu;
}

} // namespace

Q_DECLARE_METATYPE(Glyph)
Q_DECLARE_METATYPE(Picture::Ink)

class PicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installWindowFont(); }

    void glyphInOneInkOnAWhiteField_data() {
        QTest::addColumn<Glyph>("glyph");
        QTest::addColumn<Picture::Ink>("ink");
        QTest::addColumn<int>("dpr");
        for (Glyph glyph : kGlyphs)
            for (Picture::Ink ink : {Picture::Ink::blue, Picture::Ink::red})
                for (int dpr : {1, 2})
                    QTest::addRow("%s %s at %d", nameOf(glyph),
                                  ink == Picture::Ink::blue ? "blue" : "red", dpr)
                        << glyph << ink << dpr;
    }
    void glyphInOneInkOnAWhiteField() {
        QFETCH(Glyph, glyph);
        QFETCH(Picture::Ink, ink);
        QFETCH(int, dpr);
        const QPixmap pixmap = symbolPixmap(Picture{ink, glyph}, dpr);
        QCOMPARE(pixmap.size(), QSize(32, 32) * dpr);
        QCOMPARE(pixmap.devicePixelRatio(), qreal(dpr));
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        const QRect field = inDevicePixels(fieldOf(glyph), dpr);
        const bool blue = ink == Picture::Ink::blue;
        int strong = 0, white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                const QString at = QStringLiteral("pixel %1,%2 = %3").arg(x).arg(y).arg(p, 8, 16);
                if (!field.contains(x, y)) {
                    QVERIFY2(qAlpha(p) == 0, qPrintable(at));
                    continue;
                }
                QVERIFY2(qAlpha(p) == 255, qPrintable(at));
                // The glyph's ink blended with the white field, and nothing else.
                const int full = blue ? qBlue(p) : qRed(p);
                const int a = blue ? qRed(p) : qGreen(p), b = blue ? qGreen(p) : qBlue(p);
                QVERIFY2(full == 255 && qAbs(a - b) <= 1, qPrintable(at));
                strong += a < 64 ? 1 : 0;
                white += isWhite(p) ? 1 : 0;
            }
        QVERIFY2(strong >= 8 * dpr * dpr, qPrintable(QString::number(strong)));
        QVERIFY(white * 2 > field.width() * field.height());
    }

    void blankShowsNothing_data() {
        QTest::addColumn<int>("dpr");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
    }
    void blankShowsNothing() {
        QFETCH(int, dpr);
        const QImage image = imageOf(Picture::blank(), dpr);
        QCOMPARE(image.size(), QSize(32, 32) * dpr);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(qAlpha(image.pixel(x, y)), 0);
        QVERIFY(symbolPixmap(Picture::nothing(), dpr).isNull());
    }

    void redIsTheBlueDrawingInRed_data() {
        QTest::addColumn<Glyph>("glyph");
        QTest::addColumn<int>("dpr");
        for (Glyph glyph : kGlyphs)
            for (int dpr : {1, 2})
                QTest::addRow("%s at %d", nameOf(glyph), dpr) << glyph << dpr;
    }
    void redIsTheBlueDrawingInRed() {
        QFETCH(Glyph, glyph);
        QFETCH(int, dpr);
        const QImage blue = imageOf(Picture::blue(glyph), dpr);
        const QImage red = imageOf(Picture::red(glyph), dpr);
        QCOMPARE(red.size(), blue.size());
        for (int y = 0; y < blue.height(); ++y)
            for (int x = 0; x < blue.width(); ++x) {
                const QRgb b = blue.pixel(x, y), r = red.pixel(x, y);
                QCOMPARE(qAlpha(r), qAlpha(b));
                if (qAlpha(b) == 0) continue;
                // Red and blue channels trade places; the rest stays.
                QVERIFY2(qAbs(qRed(r) - qBlue(b)) <= 1 && qAbs(qBlue(r) - qRed(b)) <= 1 &&
                             qAbs(qGreen(r) - qGreen(b)) <= 1,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void everyGlyphHasItsOwnDrawing() {
        for (std::size_t i = 0; i < kGlyphs.size(); ++i)
            for (std::size_t j = i + 1; j < kGlyphs.size(); ++j)
                QVERIFY2(
                    imageOf(Picture::blue(kGlyphs[i]), 1) != imageOf(Picture::blue(kGlyphs[j]), 1),
                    qPrintable(
                        QStringLiteral("%1 = %2").arg(nameOf(kGlyphs[i])).arg(nameOf(kGlyphs[j]))));
    }

    // One horizontal stroke per negation above the symbol, the symbol itself unchanged.
    void negationBarsAreStrokesAboveTheSymbol_data() {
        QTest::addColumn<Glyph>("plain");
        QTest::addColumn<Glyph>("barred");
        QTest::addColumn<int>("bars");
        QTest::newRow("no_x") << Glyph::x << Glyph::no_x << 1;
        QTest::newRow("no_no_x") << Glyph::x << Glyph::no_no_x << 2;
        QTest::newRow("no_y") << Glyph::y << Glyph::no_y << 1;
        QTest::newRow("no_ili") << Glyph::ili << Glyph::no_ili << 1;
        QTest::newRow("no_i") << Glyph::i << Glyph::no_i << 1;
    }
    void negationBarsAreStrokesAboveTheSymbol() {
        QFETCH(Glyph, plain);
        QFETCH(Glyph, barred);
        QFETCH(int, bars);
        const QImage a = imageOf(Picture::blue(plain), 1);
        const QImage b = imageOf(Picture::blue(barred), 1);
        const QRect field = fieldOf(plain);
        auto inked = [&](const QImage& image, int y) {
            int count = 0;
            for (int x = field.left(); x <= field.right(); ++x)
                count += isWhite(image.pixel(x, y)) ? 0 : 1;
            return count;
        };
        int top = field.top();
        while (top <= field.bottom() && inked(a, top) == 0)
            ++top;
        QVERIFY(top > field.top() + 2);
        for (int y = top; y <= field.bottom(); ++y)
            QVERIFY2(inked(b, y) == inked(a, y), qPrintable(QString::number(y)));
        int strokes = 0;
        bool inStroke = false;
        for (int y = field.top(); y < top; ++y) {
            const int count = inked(b, y);
            if (count > 0 && !inStroke) {
                ++strokes;
                QVERIFY2(count >= field.width() - 2, qPrintable(QString::number(y)));
            }
            inStroke = count > 0;
        }
        QCOMPARE(strokes, bars);
    }

    void hintImagesHoldTheRedTwins_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("palette");
        const std::pair<const char*, const char*> twins[]{
            {"Image38", "Image1"},  {"Image39", "Image8"},  {"Image40", "Image4"},
            {"Image41", "Image11"}, {"Image42", "Image10"}, {"Image43", "Image12"},
            {"Image44", "Image13"}, {"Image45", "Image2"},  {"Image46", "Image9"},
            {"Image47", "Image5"},  {"Image48", "Image6"}};
        for (const auto& [hint, palette] : twins)
            QTest::newRow(hint) << hint << palette;
    }
    void hintImagesHoldTheRedTwins() {
        QFETCH(QString, hint);
        QFETCH(QString, palette);
        Form1Window window;
        const Picture blue = controlAs<SymbolImage>(window, palette)->picture();
        QCOMPARE(blue.ink, Picture::Ink::blue);
        QCOMPARE(controlAs<SymbolImage>(window, hint)->picture(), Picture::red(blue.glyph));
    }

    // Run also with QT_SCALE_FACTOR=2: the slot then draws its symbol at the screen's ratio.
    void slotDrawsCrisplyAtTheScreenRatio() {
        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
        Form1Window window;
        window.core().Image_DragDrop(34, "no_x");
        window.render();
        SymbolImage* slot = slotImage(window, kSlotCount);
        QCOMPARE(slot->picture(), Picture::blue(Glyph::no_x));
        QCOMPARE(slot->devicePixelRatioF(), ratio);

        const QPixmap grabbed = slot->grab();
        QCOMPARE(grabbed.devicePixelRatio(), ratio);
        QCOMPARE(grabbed.size(), QSize(32, 32) * ratio);
        const int dpr = qRound(ratio);
        const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = imageOf(Picture::blue(Glyph::no_x), dpr);
        const QRect field = inDevicePixels(fieldOf(Glyph::no_x), dpr);
        int strongBlue = 0;
        for (int y = field.top(); y <= field.bottom(); ++y)
            for (int x = field.left(); x <= field.right(); ++x) {
                const QRgb s = shown.pixel(x, y), d = drawn.pixel(x, y);
                QVERIFY2(qAbs(qRed(s) - qRed(d)) <= 1 && qAbs(qGreen(s) - qGreen(d)) <= 1 &&
                             qBlue(s) == qBlue(d),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                strongBlue += qBlue(s) == 255 && qRed(s) < 32 && qGreen(s) < 32 ? 1 : 0;
            }
        // The bar is two pixels thick: 2 × dpr rows of pure blue across the field.
        QVERIFY2(strongBlue >= 2 * dpr * field.width(), qPrintable(QString::number(strongBlue)));
        // The field's edge is sharp: no blend with what lies beside it.
        QVERIFY(shown.pixel(field.left() - 1, field.center().y()) !=
                shown.pixel(field.left(), field.center().y()));
        QVERIFY(isWhite(shown.pixel(field.left(), field.bottom())));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
