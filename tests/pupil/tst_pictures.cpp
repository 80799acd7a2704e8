// The symbol pictures: a glyph in one pure ink on a white field with transparent margins, the
// red hint picture the blue drawing in red, and both crisp at any device pixel ratio.
#include "window_test_support.h"

#include "look/window_font.h"
#include "pupil/symbol_pictures.h"

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

// A box of the 32-unit picture in device pixels, at `scale` device pixels per unit.
QRect inDevicePixels(QRect logical, int scale) {
    return {logical.topLeft() * scale, logical.size() * scale};
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

// The screen's ratio the test runs at: 1, or 2 under QT_SCALE_FACTOR=2.
qreal screenRatio() {
    return qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
}

// Where the negation bar of a barred drawing lies, in the 32-unit picture: x 8 … 22, y 8 … 9.
constexpr int kBarLeft = 8, kBarRight = 22, kBarTop = 8, kBarBottom = 9, kSlotUnits = 32;

// The bar's ink in full strength, blue or red, as the drawings and the joins paint it.
bool isInk(QRgb pixel, char ink) {
    const int full = ink == 'R' ? qRed(pixel) : qBlue(pixel);
    const int other = ink == 'R' ? qBlue(pixel) : qRed(pixel);
    return full == 255 && other < 32 && qGreen(pixel) < 32;
}

bool isAnyInk(QRgb pixel) {
    return isInk(pixel, 'B') || isInk(pixel, 'R');
}

// Device pixels per unit of the 32-unit picture: the zoom times the screen's ratio. The zooms
// the pictures are checked at make it a whole number.
int deviceScale(int zoom) {
    return zoom / 100 * qRound(screenRatio());
}

// The slot row as the window paints it, with whatever lies over it, in device pixels.
QImage grabRow(MainWindow& window) {
    const QRect first = slotImage(window, 1)->geometry();
    const QRect last = slotImage(window, kSlotCount)->geometry();
    const QRect row(slotImage(window, 1)->mapTo(&window, QPoint(0, 0)),
                    QSize(last.right() - first.left() + 1, first.height()));
    const QPixmap grabbed = window.grab(row);
    if (grabbed.devicePixelRatio() != screenRatio())
        qFatal("row grabbed at ratio %f", grabbed.devicePixelRatio());
    return grabbed.toImage().convertToFormat(QImage::Format_RGB32);
}

// Sets the row from slot `first` on: tags as the pupil drops them, "r:tag" a red hint picture
// of that symbol, "-" an empty slot.
void layRow(MainWindow& window, int first, const QString& tokens) {
    int k = first;
    for (const QString& token : tokens.split(' ', Qt::SkipEmptyParts)) {
        if (token == "-") {
            window.form().state.slot(k) = Slot{Picture::blank(), ""};
        } else if (token.startsWith("r:")) {
            const std::string tag = token.mid(2).toStdString();
            window.form().state.slot(k).picture = Picture::red(glyphOfTag(tag));
        } else {
            window.form().drop(k, token.toStdString());
        }
        ++k;
    }
    window.render();
}

// The painted row against what it must show: gaps[k - 1] is 'B' or 'R' where the bars of
// slots k and k + 1 join in that ink, '.' where they do not. A joined gap is ink across the
// bar's rows and otherwise as the empty row shows it; a gap not joined is all as the empty row
// shows it. Each run of joined gaps is one unbroken bar from the bar's start in its first slot
// to its end in its last, and no longer.
void expectJoins(const QImage& shown, const QImage& empty, const QString& gaps, int zoom = 100) {
    QCOMPARE(gaps.size(), kSlotCount - 1);
    QCOMPARE(shown.size(), empty.size());
    const int dpr = deviceScale(zoom); // device pixels per unit
    const int slotPx = kSlotUnits * dpr;
    QCOMPARE(shown.width(), kSlotCount * slotPx);
    for (int k = 1; k < kSlotCount; ++k) {
        const char join = gaps[k - 1].toLatin1();
        const int from = ((k - 1) * kSlotUnits + kBarRight + 1) * dpr;
        const int to = (k * kSlotUnits + kBarLeft) * dpr; // one past the gap
        for (int y = 0; y < shown.height(); ++y)
            for (int x = from; x < to; ++x) {
                const QRgb p = shown.pixel(x, y);
                const bool barRow = y >= kBarTop * dpr && y < (kBarBottom + 1) * dpr;
                const bool right = join != '.' && barRow ? isInk(p, join) : p == empty.pixel(x, y);
                if (!right)
                    QFAIL(qPrintable(QStringLiteral("gap %1 (%2), pixel %3,%4 = %5")
                                         .arg(k)
                                         .arg(join)
                                         .arg(x)
                                         .arg(y)
                                         .arg(p, 8, 16)));
            }
    }
    for (int k = 1; k < kSlotCount; ++k) {
        if (gaps[k - 1] == '.' || (k > 1 && gaps[k - 2] == gaps[k - 1])) continue;
        const char join = gaps[k - 1].toLatin1();
        int last = k + 1;
        while (last < kSlotCount && gaps[last - 1] == join)
            ++last;
        const int from = ((k - 1) * kSlotUnits + kBarLeft) * dpr;
        const int to = ((last - 1) * kSlotUnits + kBarRight + 1) * dpr; // one past the bar
        for (int y = kBarTop * dpr; y < (kBarBottom + 1) * dpr; ++y) {
            const QString run =
                QStringLiteral("bar of slots %1 … %2, row %3").arg(k).arg(last).arg(y);
            for (int x = from; x < to; ++x)
                if (!isInk(shown.pixel(x, y), join))
                    QFAIL(qPrintable(run + QStringLiteral(", x %1").arg(x)));
            QVERIFY2(!isAnyInk(shown.pixel(from - 1, y)), qPrintable(run));
            if (to < shown.width()) QVERIFY2(!isAnyInk(shown.pixel(to, y)), qPrintable(run));
        }
    }
}

} // namespace

// expectJoins, ending the test at its first failure rather than piling up more.
#define EXPECT_JOINS(...)                                                                          \
    do {                                                                                           \
        expectJoins(__VA_ARGS__);                                                                  \
        if (QTest::currentTestFailed()) return;                                                    \
    } while (false)

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

    // Run also with QT_SCALE_FACTOR=2: the slot then draws its symbol at the screen's ratio,
    // and at every zoom from the drawing itself, not from a smaller picture blown up.
    void slotDrawsCrisplyAtTheScreenRatio_data() {
        QTest::addColumn<int>("zoom");
        for (int zoom : {100, 200, 300})
            QTest::addRow("%d %%", zoom) << zoom;
    }
    void slotDrawsCrisplyAtTheScreenRatio() {
        QFETCH(int, zoom);
        const qreal ratio = screenRatio();
        MainWindow window;
        ZOOM_TO(window, zoom);
        window.form().drop(kSlotCount, "no_x");
        window.render();
        SymbolImage* slot = slotImage(window, kSlotCount);
        QCOMPARE(slot->picture(), Picture::blue(Glyph::notX));
        QCOMPARE(slot->devicePixelRatioF(), ratio);

        const QPixmap grabbed = slot->grab();
        QCOMPARE(grabbed.devicePixelRatio(), ratio);
        const int dpr = deviceScale(zoom);
        QCOMPARE(grabbed.size(), QSize(32, 32) * dpr);
        const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = symbolPixmap(Picture::blue(Glyph::notX), ratio, 32 * zoom / 100)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(drawn.size(), shown.size());
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
        // Pure white right up to each corner of the field, and not a pixel beyond.
        for (const QPoint corner :
             {field.topLeft(), field.topRight(), field.bottomLeft(), field.bottomRight()}) {
            const QString at = QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y());
            QVERIFY2(isWhite(shown.pixel(corner)) && qAlpha(shown.pixel(corner)) == 255,
                     qPrintable(at));
            const QPoint outside(corner.x() + (corner.x() == field.left() ? -1 : 1),
                                 corner.y() + (corner.y() == field.top() ? -1 : 1));
            QVERIFY2(!isWhite(shown.pixel(outside)) || qAlpha(shown.pixel(outside)) < 255,
                     qPrintable(at));
        }
    }

    // Barred pictures side by side in one ink read as one bar over them all; any other
    // neighbour leaves the gap as it is. Run also with QT_SCALE_FACTOR=2.
    void negationBarsJoinAcrossTheGaps_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("joins"); // gap after each slot of the row but the last
        struct Row {
            const char* name;
            int first;
            QString row, joins;
        };
        const std::vector<Row> rows{
            {"law 7 left side", 1, "no_x no_ili no_y равно", "BB."},
            {"law 8 left side", 1, "no_x no_i no_y равно", "BB."},
            {"at the end of the row", 17, "no_x no_ili no_y", "BB"},
            {"barred all along", 1,
             "no_x no_i no_y no_ili no_x no_i no_y no_ili no_x "
             "no_i no_y no_ili no_x no_i no_y no_ili no_x no_i no_y",
             QString(kSlotCount - 1, 'B')},
            {"lone no_x beside y", 4, "y no_x y", ".."},
            {"lone no_y beside an empty slot", 9, "- no_y -", ".."},
            {"lone no_i beside so and sz", 1, "so no_i sz", ".."},
            {"no_no_x beside no_x", 2, "no_x no_no_x no_x", ".."},
            {"no_no_x twice", 2, "no_no_x no_no_x", "."},
            {"red hint beside blue", 5, "no_x r:no_x r:no_i no_y", ".R."},
            {"red run", 10, "r:no_x r:no_ili r:no_y", "RR"},
            {"blue run ending in red", 12, "no_x no_ili r:no_y", "B."},
            {"two runs apart", 1, "no_x no_y x no_i no_ili", "B..B"},
        };
        for (int zoom : {100, 200, 300})
            for (const Row& r : rows)
                QTest::addRow("%d %%, %s", zoom, r.name) << zoom << r.first << r.row << r.joins;
    }
    void negationBarsJoinAcrossTheGaps() {
        QFETCH(int, zoom);
        QFETCH(int, first);
        QFETCH(QString, row);
        QFETCH(QString, joins);
        MainWindow window;
        ZOOM_TO(window, zoom);
        const QImage empty = grabRow(window);
        layRow(window, first, row);
        QString gaps(kSlotCount - 1, '.');
        gaps.replace(first - 1, joins.size(), joins);
        EXPECT_JOINS(grabRow(window), empty, gaps, zoom);

        // Emptied again, the row shows no bar between the slots.
        layRow(window, 1, QString("- ").repeated(kSlotCount));
        EXPECT_JOINS(grabRow(window), empty, QString(kSlotCount - 1, '.'), zoom);
    }

    // The trainer draws law 7's left side at question 7 with one bar over "x ∨ y"; the red hint
    // and what the pupil drops beside it join nothing; the next law's left side joins again.
    void trainerLeftSideShowsOneBar() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage empty = grabRow(window);
        clickThroughWindow(window, "Cmd3_Start");
        while (window.form().state.question < 7)
            clickThroughWindow(window, "Command1");
        QCOMPARE(lawSides(7).left,
                 (std::vector<Glyph>{Glyph::notX, Glyph::notOrSign, Glyph::notY, Glyph::equals}));
        QCOMPARE(slotImage(window, 2)->picture(), Picture::blue(Glyph::notOrSign));
        const QString lawSeven = "BB" + QString(kSlotCount - 3, '.');
        EXPECT_JOINS(grabRow(window), empty, lawSeven);

        clickThroughWindow(window, "Command3");
        QCOMPARE(slotImage(window, 7)->picture(), Picture::red(Glyph::notY));
        EXPECT_JOINS(grabRow(window), empty, lawSeven);
        window.form().drop(8, "no_i");
        window.render();
        EXPECT_JOINS(grabRow(window), empty, lawSeven);

        clickThroughWindow(window, "Command1");
        QCOMPARE(slotImage(window, 2)->picture(), Picture::blue(Glyph::notAndSign));
        EXPECT_JOINS(grabRow(window), empty, lawSeven);

        // The bars lie over the slots without taking their clicks and drops.
        for (int k = 1; k <= kSlotCount; ++k)
            QCOMPARE(window.childAt(centreInWindow(window, slotImage(window, k))),
                     static_cast<QWidget*>(slotImage(window, k)));
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
