// The symbol pictures: a glyph in one pure ink on a white field with transparent margins, the
// red hint picture the blue drawing in red, and both crisp at any device pixel ratio.
#include "window_test_support.h"

#include "window/symbol_pictures.h"
#include "window/window_font.h"

#include <QPixmap>
#include <memory>
#include <vector>

namespace {

// The glyphs of the 17 tags.
std::vector<Glyph> allGlyphs() {
    std::vector<Glyph> glyphs;
    for (std::string_view tag : law_keys::kTags)
        glyphs.push_back(glyphOfTag(tag));
    return glyphs;
}

// The white field in logical pixels: 15 × 25, the arrows 25 × 25.
QRect fieldOf(Glyph glyph) {
    const bool arrow = glyph == Glyph::implies || glyph == Glyph::equivalent;
    return arrow ? QRect(QPoint(3, 3), QPoint(27, 27)) : QRect(QPoint(8, 3), QPoint(22, 27));
}

QRect inDevicePixels(QRect logical, int dpr) {
    return {logical.topLeft() * dpr, logical.size() * dpr};
}

QImage imageOf(Picture picture, int dpr) {
    return symbolPixmap(picture, dpr).toImage().convertToFormat(QImage::Format_ARGB32);
}

const char* nameOf(Glyph glyph) {
    return symbolOf(glyph).drawing.data();
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
        for (Glyph glyph : allGlyphs())
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
        for (Glyph glyph : allGlyphs())
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
        const std::vector<Glyph> kGlyphs = allGlyphs();
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
        QTest::newRow("no_x") << Glyph::x << Glyph::notX << 1;
        QTest::newRow("no_no_x") << Glyph::x << Glyph::notNotX << 2;
        QTest::newRow("no_y") << Glyph::y << Glyph::notY << 1;
        QTest::newRow("no_ili") << Glyph::orSign << Glyph::notOrSign << 1;
        QTest::newRow("no_i") << Glyph::andSign << Glyph::notAndSign << 1;
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
        const QStringList hints = hintImageNames();
        for (std::size_t i = 0; i < kHintImageTags.size(); ++i) {
            const QString hint = hints[qsizetype(i)];
            QTest::newRow(qPrintable(hint)) << hint << paletteImageOf(kHintImageTags[i]);
        }
    }
    void hintImagesHoldTheRedTwins() {
        QFETCH(QString, hint);
        QFETCH(QString, palette);
        MainWindow window;
        const Picture blue = controlAs<SymbolImage>(window, palette)->picture();
        QCOMPARE(blue.ink, Picture::Ink::blue);
        QCOMPARE(controlAs<SymbolImage>(window, hint)->picture(), Picture::red(blue.glyph));
    }

    // Run also with QT_SCALE_FACTOR=2: the slot then draws its symbol at the screen's ratio.
    void slotDrawsCrisplyAtTheScreenRatio() {
        const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
        MainWindow window;
        window.form().drop(kSlotCount, "no_x");
        window.render();
        SymbolImage* slot = slotImage(window, kSlotCount);
        QCOMPARE(slot->picture(), Picture::blue(Glyph::notX));
        QCOMPARE(slot->devicePixelRatioF(), ratio);

        const QPixmap grabbed = slot->grab();
        QCOMPARE(grabbed.devicePixelRatio(), ratio);
        QCOMPARE(grabbed.size(), QSize(32, 32) * ratio);
        const int dpr = qRound(ratio);
        const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = imageOf(Picture::blue(Glyph::notX), dpr);
        const QRect field = inDevicePixels(fieldOf(Glyph::notX), dpr);
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
