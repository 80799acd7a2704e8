// The window's controls: that each exists under its name with the right kind of widget, the rules
// of their places and stacking, what shows when the window opens, and their accessible names.
#include "window_test_support.h"

#include "look/window_font.h"
#include "pupil/control_table.h"
#include "pupil/negation_bars.h"
#include "pupil/shape_widget.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtMath>
#include <memory>

namespace {

enum class Kind { button, textBox, pictureBox, option, frame, label, shape, image };

bool isWindowedKind(Kind kind) {
    return kind != Kind::label && kind != Kind::shape && kind != Kind::image;
}

Kind kindOf(const QString& name) {
    if (kCommandButtons.contains(name)) return Kind::button;
    if (kTextBoxes.contains(name)) return Kind::textBox;
    if (kPictureBoxes.contains(name)) return Kind::pictureBox;
    if (kOptionButtons.contains(name)) return Kind::option;
    if (kFrames.contains(name)) return Kind::frame;
    if (kLabels.contains(name)) return Kind::label;
    if (name.startsWith("Shape")) return Kind::shape;
    return Kind::image;
}

QStringList allControlNames() {
    return kCommandButtons + kTextBoxes + kPictureBoxes + kOptionButtons + kFrames + kLabels +
           shapeNames() + kImages;
}

const ControlEntry* tableEntry(const QString& name) {
    for (const ControlEntry& entry : controlTable())
        if (qs(entry.name) == name) return &entry;
    return nullptr;
}

// Stacking among siblings: later in the parent's children = drawn on top.
qsizetype stackIndex(const QWidget* widget) {
    return widget->parentWidget()->children().indexOf(widget);
}

// How two boxes of the same parent stand to each other. Scaling every edge by one factor and
// rounding keeps each of these as it is.
QString relation(const QRect& a, const QRect& b) {
    if (a == b) return QStringLiteral("same box");
    if (a.contains(b)) return QStringLiteral("holds");
    if (b.contains(a)) return QStringLiteral("held by");
    if (a.intersects(b)) return QStringLiteral("overlaps");
    const bool rowsMeet = a.top() <= b.bottom() && b.top() <= a.bottom();
    const bool columnsMeet = a.left() <= b.right() && b.left() <= a.right();
    if (rowsMeet && a.right() + 1 == b.left()) return QStringLiteral("touches on the right");
    if (rowsMeet && b.right() + 1 == a.left()) return QStringLiteral("touches on the left");
    if (columnsMeet && a.bottom() + 1 == b.top()) return QStringLiteral("touches below");
    if (columnsMeet && b.bottom() + 1 == a.top()) return QStringLiteral("touches above");
    return QStringLiteral("apart");
}

// The box the control table gives a control at a zoom, each edge scaled on its own.
QRect tableBoxAt(const ControlEntry& entry, int zoom) {
    const int left = pixelsAt(entry.left, zoom), top = pixelsAt(entry.top, zoom);
    return QRect(QPoint(left, top), QPoint(pixelsAt(entry.left + entry.width, zoom) - 1,
                                           pixelsAt(entry.top + entry.height, zoom) - 1));
}

// What the window shows at a zoom and must show again at that zoom: each control's box, font
// and picture size.
struct Shown {
    QRect box;
    QFont font;
    QSize picture;
};

} // namespace

Q_DECLARE_METATYPE(Kind)

// Each control's box, font and picture as the window shows them now.
QHash<QString, Shown> shownNow(const MainWindow& window) {
    QHash<QString, Shown> shown;
    for (const QString& name : allControlNames()) {
        QWidget* widget = window.control(name);
        if (!widget) continue;
        auto* label = qobject_cast<QLabel*>(widget);
        const QSize picture = label && !label->pixmap().isNull()
                                  ? label->pixmap().deviceIndependentSize().toSize()
                                  : QSize();
        shown.insert(name, {widget->geometry(), widget->font(), picture});
    }
    return shown;
}

// How wide a control draws on a see-through ground: the columns it paints anything in.
int inkWidth(QWidget* widget) {
    QImage drawn(widget->size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    widget->render(&drawn, {}, {}, QWidget::DrawChildren);
    int left = drawn.width(), right = -1;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (qAlpha(drawn.pixel(x, y)) > 0) left = qMin(left, x), right = qMax(right, x);
    return right - left + 1;
}

// Adds the rows for every tested zoom, each row of `addRows` once per zoom.
template <class AddRows> void forEachZoom(AddRows addRows) {
    for (int zoom : kTestedZooms)
        addRows(zoom, QStringLiteral("%1 %, ").arg(zoom));
}

class WindowLayoutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;
    QHash<QString, Shown> atHundred;        // as the window opens, at 100 %
    QHash<QString, int> atHundredIndicator; // the option buttons' indicators, drawn at 100 %

    QWidget* need(const QString& name) {
        QWidget* widget = window->control(name);
        if (!widget) qWarning("no control %s", qPrintable(name));
        return widget;
    }

  private slots:
    void initTestCase() {
        installWindowFont();
        window = std::make_unique<MainWindow>();
        QCOMPARE(window->zoomPercent(), 100);
        atHundred = shownNow(*window);
        for (const QString& name : kOptionButtons)
            atHundredIndicator[name] = inkWidth(need(name));
        QVERIFY(atHundredIndicator[kOptionButtons.front()] >= 8);
    }
    // Each test finds the window at 100 %, as it opens.
    void cleanup() { window->setZoom(100); }
    void cleanupTestCase() { window.reset(); }

    void controlHasItsKind_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Kind>("kind");
        for (const QString& name : allControlNames())
            QTest::newRow(qPrintable(name)) << name << kindOf(name);
    }
    void controlHasItsKind() {
        QFETCH(QString, name);
        QFETCH(Kind, kind);
        QWidget* widget = window->control(name);
        QVERIFY(widget);
        QCOMPARE(widget->objectName(), name);
        switch (kind) {
        case Kind::button:
            QVERIFY(qobject_cast<QPushButton*>(widget));
            break;
        case Kind::textBox:
            QVERIFY(qobject_cast<QLineEdit*>(widget));
            QVERIFY(qobject_cast<QLineEdit*>(widget)->isReadOnly());
            break;
        case Kind::pictureBox: {
            auto* box = qobject_cast<QLabel*>(widget);
            QVERIFY(box);
            QVERIFY(!box->pixmap().isNull());
            QVERIFY(!box->hasScaledContents()); // drawn unscaled, clipped by the box
            QCOMPARE(box->alignment(), Qt::AlignLeft | Qt::AlignTop);
            break;
        }
        case Kind::option:
            QVERIFY(qobject_cast<QRadioButton*>(widget));
            break;
        case Kind::frame:
            QVERIFY(qobject_cast<QGroupBox*>(widget));
            break;
        case Kind::label: {
            auto* label = qobject_cast<QLabel*>(widget);
            QVERIFY(label);
            QVERIFY(label->pixmap().isNull());
            QCOMPARE(label->textFormat(), Qt::PlainText); // a law name is never read as markup
            QVERIFY(label->wordWrap());
            break;
        }
        case Kind::shape:
            QVERIFY(dynamic_cast<ShapeWidget*>(widget));
            // Outlines lie over the slots: the pointer and drops must pass through them.
            QVERIFY(widget->testAttribute(Qt::WA_TransparentForMouseEvents));
            break;
        case Kind::image:
            QVERIFY(qobject_cast<SymbolImage*>(widget));
            break;
        }
    }

    void windowHasExactlyItsControls() {
        QSet<QString> found;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (!name.isEmpty() && !name.startsWith("qt_")) found.insert(name);
        }
        const QStringList expected = allControlNames();
        QCOMPARE(expected.size(), 87);
        QCOMPARE(found, QSet<QString>(expected.begin(), expected.end()));
        QVERIFY(!window->control("Shape2(9)"));
    }

    void windowHasFixedClientArea_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("size");
        QTest::newRow("100 %") << 100 << QSize(643, 405);
        QTest::newRow("150 %") << 150 << QSize(965, 608); // 964.5 × 607.5, rounded up
        QTest::newRow("200 %") << 200 << QSize(1286, 810);
        QTest::newRow("300 %") << 300 << QSize(1929, 1215);
    }
    void windowHasFixedClientArea() {
        QFETCH(int, zoom);
        QFETCH(QSize, size);
        ZOOM_TO(*window, zoom);
        QCOMPARE(window->size(), size);
        QCOMPARE(window->minimumSize(), size);
        QCOMPARE(window->maximumSize(), size);
        QCOMPARE(window->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(!window->windowIcon().isNull());
        const QImage icon = window->windowIcon().pixmap(32, 32).toImage();
        QVERIFY(!icon.isNull());
        // The yellow signs on a dark teal ground.
        QVERIFY(qRed(icon.pixel(1, 16)) < 40 && qGreen(icon.pixel(1, 16)) > 60);
        bool yellow = false;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QColor c = icon.pixelColor(x, y);
                yellow = yellow || (c.red() > 200 && c.green() > 180 && c.blue() < 80);
            }
        QVERIFY(yellow);
    }

    void slotsFormOneTouchingRow_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<int>("side");
        QTest::newRow("100 %") << 100 << QPoint(16, 168) << 32;
        QTest::newRow("150 %") << 150 << QPoint(24, 252) << 48;
        QTest::newRow("200 %") << 200 << QPoint(32, 336) << 64;
        QTest::newRow("300 %") << 300 << QPoint(48, 504) << 96;
    }
    void slotsFormOneTouchingRow() {
        QFETCH(int, zoom);
        QFETCH(QPoint, first);
        QFETCH(int, side);
        ZOOM_TO(*window, zoom);
        QCOMPARE(slotImage(*window, 1)->pos(), first);
        for (int k = 1; k <= kSlotCount; ++k) {
            SymbolImage* slot = slotImage(*window, k);
            QVERIFY(slot);
            QCOMPARE(slot->size(), QSize(side, side));
            QCOMPARE(slot->y(), first.y());
            QCOMPARE(slot->x(), first.x() + side * (k - 1));
            QCOMPARE(slot->parentWidget(), window.get());
        }
        // The joined negation bars lie over the whole row.
        const NegationBars* bars = nullptr;
        for (QObject* child : window->children())
            if (auto* overlay = dynamic_cast<NegationBars*>(child)) bars = overlay;
        QVERIFY(bars);
        QCOMPARE(bars->geometry(), QRect(first, QSize(side * kSlotCount, side)));
    }

    void outlinesLieOverOddSlots_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("outline");
        QTest::addColumn<int>("slot");
        forEachZoom([](int zoom, const QString& at) {
            for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10})
                QTest::newRow(qPrintable(at + QStringLiteral("Shape2(%1)").arg(index)))
                    << zoom << QStringLiteral("Shape2(%1)").arg(index) << 2 * qMin(index, 9) + 1;
        });
    }
    void outlinesLieOverOddSlots() {
        QFETCH(int, zoom);
        QFETCH(QString, outline);
        QFETCH(int, slot);
        ZOOM_TO(*window, zoom);
        QWidget* shape = need(outline);
        SymbolImage* image = slotImage(*window, slot);
        QVERIFY(shape && image);
        QCOMPARE(shape->pos(), image->pos());
        QVERIFY(shape->geometry().contains(image->geometry()));
        // One table pixel wider than the slot, scaled.
        QVERIFY2(shape->width() - image->width() <= qCeil(zoom / 100.0),
                 qPrintable(QStringLiteral("%1 over %2").arg(shape->width()).arg(image->width())));
        QVERIFY2(stackIndex(shape) > stackIndex(image), "outline drawn beneath its slot");
        // The pointer goes through the outline to the slot.
        QCOMPARE(window->childAt(image->geometry().center()), image);
        QCOMPARE(window->childAt(image->geometry().topLeft() + QPoint(1, 1)), image);
    }

    void bandLiesUnderTheWholeRow() {
        QWidget* band = need("Shape1");
        QVERIFY(band);
        for (int k = 1; k <= kSlotCount; ++k)
            QVERIFY(band->geometry().contains(slotImage(*window, k)->geometry()));
        for (QObject* sibling : window->children())
            if (auto* widget = qobject_cast<QWidget*>(sibling); widget && widget != band)
                QVERIFY2(stackIndex(widget) > stackIndex(band), qPrintable(widget->objectName()));
    }

    void windowedControlsAreAboveWindowlessOnes() {
        QList<QWidget*> windowed, windowless;
        for (const QString& name : allControlNames()) {
            QWidget* widget = need(name);
            QVERIFY(widget);
            if (widget->parentWidget() != window.get()) continue;
            (isWindowedKind(kindOf(name)) ? windowed : windowless) << widget;
        }
        QVERIFY(windowed.size() >= 15 && windowless.size() >= 60);
        for (QWidget* above : windowed)
            for (QWidget* below : windowless)
                QVERIFY2(stackIndex(above) > stackIndex(below),
                         qPrintable(above->objectName() + " under " + below->objectName()));
    }

    // Every control the pupil clicks or drops on is what the pointer finds at its centre.
    void controlsAreReachableAtTheirCentre_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("name");
        forEachZoom([](int zoom, const QString& at) {
            for (const QString& name : kCommandButtons + kOptionButtons + kTextBoxes +
                                           paletteNames() + numbered("Image", 16, 34))
                QTest::newRow(qPrintable(at + name)) << zoom << name;
        });
    }
    void controlsAreReachableAtTheirCentre() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        ZOOM_TO(*window, zoom);
        QWidget* widget = need(name);
        QVERIFY(widget);
        QWidget* hit = window->childAt(centreInWindow(*window, widget));
        QVERIFY2(hit == widget || widget->isAncestorOf(hit),
                 qPrintable(name + " covered by " + (hit ? hit->objectName() : "nothing")));
    }

    void framesHoldTheirLabels_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("label");
        forEachZoom([](int zoom, const QString& at) {
            for (auto [frame, label] : {std::pair{"Frame1", "Label3"},
                                        {"Frame2", "Label4"},
                                        {"Frame3", "Label5"},
                                        {"Frame4", "Label7"},
                                        {"Frame4", "Label8"}})
                QTest::newRow(qPrintable(at + label)) << zoom << QString(frame) << QString(label);
        });
    }
    void framesHoldTheirLabels() {
        QFETCH(int, zoom);
        QFETCH(QString, frame);
        QFETCH(QString, label);
        ZOOM_TO(*window, zoom);
        QWidget* box = need(frame);
        QWidget* inner = need(label);
        QVERIFY(box && inner);
        QCOMPARE(inner->parentWidget(), box);
        QVERIFY(box->rect().contains(inner->geometry()));
    }

    void optionButtonsAreLevelWithTheirLabels_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("label");
        forEachZoom([](int zoom, const QString& at) {
            QTest::newRow(qPrintable(at + "trainer"))
                << zoom << QStringLiteral("Option1(0)") << QStringLiteral("Label7");
            QTest::newRow(qPrintable(at + "test"))
                << zoom << QStringLiteral("Option1(1)") << QStringLiteral("Label8");
        });
    }
    void optionButtonsAreLevelWithTheirLabels() {
        QFETCH(int, zoom);
        QFETCH(QString, option);
        QFETCH(QString, label);
        ZOOM_TO(*window, zoom);
        QWidget* button = need(option);
        QWidget* caption = need(label);
        QVERIFY(button && caption);
        QCOMPARE(button->parentWidget(), window.get()); // on the window, over the frame
        const QRect b = button->geometry();
        const QRect c(caption->mapTo(window.get(), QPoint()), caption->size());
        QVERIFY2(qAbs(b.center().y() - c.center().y()) <= 3 * zoom / 100,
                 qPrintable(QStringLiteral("%1 vs %2").arg(b.center().y()).arg(c.center().y())));
        QVERIFY(b.right() < c.left());                    // beside the caption, not over it
        QVERIFY(c.left() - b.right() <= 16 * zoom / 100); // and close to it
        QVERIFY(need("Frame4")->geometry().contains(b));
    }

    void paletteImagesHaveDistinctPlacesOffTheRow_data() {
        QTest::addColumn<int>("zoom");
        for (int zoom : kTestedZooms)
            QTest::addRow("%d %%", zoom) << zoom;
    }
    void paletteImagesHaveDistinctPlacesOffTheRow() {
        QFETCH(int, zoom);
        ZOOM_TO(*window, zoom);
        QSet<QPoint> places;
        const QRect row =
            slotImage(*window, 1)->geometry().united(slotImage(*window, kSlotCount)->geometry());
        for (const QString& name : paletteNames()) {
            QWidget* image = need(name);
            QVERIFY(image);
            QCOMPARE(image->size(), QSize(32, 32) * zoom / 100);
            QVERIFY2(!places.contains(image->pos()), qPrintable(name));
            places.insert(image->pos());
            QVERIFY2(!image->geometry().intersects(row), qPrintable(name));
        }
        QCOMPARE(places.size(), 17);
    }

    // Each control stands where the control table puts it, scaled: every edge on its own, so
    // that nothing the table lays edge to edge gets a gap or an overlap.
    void controlGeometryIsItsTableBoxScaled_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("box");
        for (int zoom : kZoomSteps) // every step: cheap, and steps such as 125 % round apart
            for (const ControlEntry& entry : controlTable())
                QTest::addRow("%d %%, %s", zoom, qPrintable(qs(entry.name)))
                    << zoom << qs(entry.name) << qs(entry.container) << tableBoxAt(entry, zoom);
    }
    void controlGeometryIsItsTableBoxScaled() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, box);
        ZOOM_TO(*window, zoom);
        QWidget* widget = need(name);
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget(),
                 container.isEmpty() ? window.get() : window->control(container));
        QCOMPARE(widget->geometry(), box);
    }

    // Whatever touches, holds, overlaps or stands apart from what at 100 % does so at every
    // zoom: the slots still touch, the outlines still hold their slots, the frames their labels.
    void controlsKeepTheirPlacesToEachOther_data() {
        QTest::addColumn<int>("zoom");
        for (int zoom : kZoomSteps)
            if (zoom != 100) QTest::addRow("%d %%", zoom) << zoom;
    }
    void controlsKeepTheirPlacesToEachOther() {
        QFETCH(int, zoom);
        ZOOM_TO(*window, zoom);
        const QHash<QString, Shown> now = shownNow(*window);
        const QStringList names = allControlNames();
        int touching = 0;
        for (const QString& a : names)
            for (const QString& b : names) {
                if (a >= b || need(a)->parentWidget() != need(b)->parentWidget()) continue;
                const QString before = relation(atHundred[a].box, atHundred[b].box);
                const QString after = relation(now[a].box, now[b].box);
                QVERIFY2(after == before,
                         qPrintable(QStringLiteral("%1 %2 %3 at 100 %, but %4 at %5 %")
                                        .arg(a, before, b, after)
                                        .arg(zoom)));
                touching += before.startsWith("touches") ? 1 : 0;
            }
        QVERIFY2(touching >= kSlotCount - 1, qPrintable(QString::number(touching)));
    }

    // Back at 100 % the window is as it opened: nothing is scaled from an earlier zoom.
    void zoomingBackShowsTheWindowAsItOpened() {
        for (int zoom : {300, 150, 200, 100})
            ZOOM_TO(*window, zoom);
        const QHash<QString, Shown> now = shownNow(*window);
        for (const QString& name : allControlNames()) {
            QCOMPARE(now[name].box, atHundred[name].box);
            QCOMPARE(now[name].font.pointSizeF(), atHundred[name].font.pointSizeF());
            QCOMPARE(now[name].picture, atHundred[name].picture);
        }
        QCOMPARE(window->size(), QSize(643, 405));
    }

    // Every text control's font is its size at 100 % times the zoom, in the same face.
    void fontsScaleWithTheZoom_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("name");
        forEachZoom([](int zoom, const QString& at) {
            for (const QString& name :
                 kCommandButtons + kTextBoxes + kOptionButtons + kFrames + kLabels)
                QTest::newRow(qPrintable(at + name)) << zoom << name;
        });
    }
    void fontsScaleWithTheZoom() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        ZOOM_TO(*window, zoom);
        const QFont before = atHundred[name].font, now = need(name)->font();
        QVERIFY(before.pointSizeF() > 0);
        QCOMPARE(now.pointSizeF(), before.pointSizeF() * zoom / 100);
        QCOMPARE(now.italic(), before.italic());
        QCOMPARE(QFontInfo(now).family(), QFontInfo(before).family());
        // The message box of the rules takes the window's font.
        QCOMPARE(window->font().pointSizeF(), kWindowFontPt * zoom / 100);
    }

    // A portrait fills its box as at 100 %, scaled smoothly rather than in blocks of pixels.
    void portraitsScaleSmoothly_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("name");
        forEachZoom([](int zoom, const QString& at) {
            for (const QString& name : kPictureBoxes)
                QTest::newRow(qPrintable(at + name)) << zoom << name;
        });
    }
    void portraitsScaleSmoothly() {
        QFETCH(int, zoom);
        QFETCH(QString, name);
        ZOOM_TO(*window, zoom);
        auto* box = controlAs<QLabel>(*window, name);
        QVERIFY(box);
        const QPixmap shown = box->pixmap();
        QVERIFY(!shown.isNull());
        const QSizeF expected = QSizeF(atHundred[name].picture) * zoom / 100.0;
        const QSizeF size = shown.deviceIndependentSize();
        QVERIFY2(qAbs(size.width() - expected.width()) <= 1 &&
                     qAbs(size.height() - expected.height()) <= 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        QCOMPARE(shown.devicePixelRatio(), box->devicePixelRatioF());
        if (zoom % 100 != 0 || zoom == 100) return;
        // Blown up pixel by pixel, every n × n block would be one colour.
        const QImage image = shown.toImage().convertToFormat(QImage::Format_RGB32);
        const int n = zoom / 100;
        int blocks = 0, plain = 0;
        for (int y = 0; y + n <= image.height(); y += n)
            for (int x = 0; x + n <= image.width(); x += n) {
                bool same = true;
                for (int dy = 0; dy < n && same; ++dy)
                    for (int dx = 0; dx < n && same; ++dx)
                        same = image.pixel(x + dx, y + dy) == image.pixel(x, y);
                ++blocks;
                plain += same ? 1 : 0;
            }
        QVERIFY2(
            plain * 2 < blocks,
            qPrintable(QStringLiteral("%1 of %2 blocks of one colour").arg(plain).arg(blocks)));
    }

    // The outlines' lines, the portraits' sunken frames and the option buttons' round
    // indicators grow with the zoom.
    void linesAndIndicatorsScale_data() {
        QTest::addColumn<int>("zoom");
        for (int zoom : kTestedZooms)
            QTest::addRow("%d %%", zoom) << zoom;
    }
    void linesAndIndicatorsScale() {
        QFETCH(int, zoom);
        ZOOM_TO(*window, zoom);
        const double factor = zoom / 100.0;
        auto closeToFactor = [factor](double width) { return qAbs(width - factor) <= 0.5; };
        for (const QString& name : shapeNames()) {
            QWidget* shape = need(name);
            QImage drawn(shape->size(), QImage::Format_ARGB32_Premultiplied);
            drawn.fill(Qt::transparent);
            shape->render(&drawn, {}, {}, QWidget::DrawChildren);
            // The left line: the opaque ink from the edge, across the middle row.
            const int y = drawn.height() / 2;
            int line = 0;
            while (line < drawn.width() / 4 && qAlpha(drawn.pixel(line, y)) == 255 &&
                   drawn.pixelColor(line, y) ==
                       shape->palette().color(QPalette::WindowText).toRgb())
                ++line;
            QVERIFY2(closeToFactor(line), qPrintable(name + QStringLiteral(": %1 px").arg(line)));
        }
        for (const QString& name : kPictureBoxes) {
            auto* box = controlAs<QLabel>(*window, name);
            QVERIFY2(closeToFactor(box->lineWidth()),
                     qPrintable(name + QStringLiteral(": %1 px").arg(box->lineWidth())));
        }
        for (const QString& name : kOptionButtons) {
            auto* option = controlAs<QRadioButton>(*window, name);
            QStyleOptionButton style;
            style.initFrom(option);
            const QRect indicator =
                option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
            QVERIFY(option->rect().contains(indicator));
            // The round indicator as drawn, by its ink; the caption ("Option1", as in the table)
            // lies beyond the box at every zoom and shows nowhere.
            const int drawn = inkWidth(option), before = atHundredIndicator[name];
            QVERIFY2(drawn <= indicator.width() && qAbs(drawn - before * factor) <= 2,
                     qPrintable(QStringLiteral("%1 px drawn in a %2 px indicator, %3 px at 100 %")
                                    .arg(drawn)
                                    .arg(indicator.width())
                                    .arg(before)));
        }
    }

    // The control table against the palette as the tests write it out: each palette image
    // carries its symbol's tag when dragged and shows the symbol in blue.
    void paletteImageCarriesItsSymbol_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tag");
        for (const PlacedSymbol& placed : kPaletteLayout)
            QTest::addRow("Image%d", placed.image) << imageName(placed.image) << qs(placed.tag);
    }
    void paletteImageCarriesItsSymbol() {
        QFETCH(QString, name);
        QFETCH(QString, tag);
        const ControlEntry* entry = tableEntry(name);
        QVERIFY(entry);
        QCOMPARE(qs(entry->text), tag);
        QVERIFY(entry->visible);
        auto* image = controlAs<SymbolImage>(*window, name);
        QVERIFY(image);
        QVERIFY(!image->isHidden());
        QCOMPARE(image->tag(), tag);
        QCOMPARE(image->picture(), Picture::blue(glyphOfTag(tag.toStdString())));
        QVERIFY(!image->acceptDrops());
    }

    // The hidden hint pictures hold their symbols in red and are neither dragged nor dropped on.
    void hintImageHoldsItsSymbolHidden_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tag");
        for (std::size_t i = 0; i < kHintImageTags.size(); ++i) {
            const QString name = imageName(kFirstHintImage + int(i));
            QTest::newRow(qPrintable(name)) << name << qs(kHintImageTags[i]);
        }
    }
    void hintImageHoldsItsSymbolHidden() {
        QFETCH(QString, name);
        QFETCH(QString, tag);
        const ControlEntry* entry = tableEntry(name);
        QVERIFY(entry);
        QCOMPARE(qs(entry->text), tag);
        QVERIFY(!entry->visible);
        auto* image = controlAs<SymbolImage>(*window, name);
        QVERIFY(image);
        QVERIFY(image->isHidden());
        QCOMPARE(image->picture(), Picture::red(glyphOfTag(tag.toStdString())));
        QVERIFY(image->tag().isEmpty());
        QVERIFY(!image->acceptDrops());
    }

    // Only palette and hint images carry a tag in the table; the palette has each of the 17
    // tags once, and the slots and the blank picture none.
    void everyTagIsOnThePaletteOnce() {
        const QStringList palette = paletteNames(), hints = hintImageNames();
        QStringList paletteTags;
        for (const ControlEntry& entry : controlTable()) {
            if (entry.kind != ControlKind::image || entry.text.empty()) continue;
            const QString name = qs(entry.name);
            QVERIFY2(palette.contains(name) || hints.contains(name), qPrintable(name));
            QCOMPARE(entry.visible, palette.contains(name));
            if (entry.visible) paletteTags << qs(entry.text);
        }
        QStringList expected;
        for (std::string_view tag : law_keys::kTags)
            expected << qs(tag);
        paletteTags.sort();
        expected.sort();
        QCOMPARE(paletteTags, expected);
    }

    void openWindowShowsTheWaitingState() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const QString& name : hintImageNames()) {
            QVERIFY2(need(name)->isHidden(), qPrintable(name));
            QCOMPARE(controlAs<SymbolImage>(*window, name)->picture().ink, Picture::Ink::red);
        }
        auto* blank = controlAs<SymbolImage>(*window, "Image37");
        QVERIFY(blank->isVisible());
        QCOMPARE(blank->picture(), Picture::blank());
        QImage shown(blank->size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        blank->render(&shown, {}, {}, QWidget::DrawChildren); // without the window's ground
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QCOMPARE(qAlpha(shown.pixel(x, y)), 0);

        auto* instructions = controlAs<QLabel>(*window, "Label9");
        QVERIFY(instructions->isVisible());
        QVERIFY(instructions->text().isEmpty());
        auto* prompt = controlAs<QLabel>(*window, "Label6");
        QVERIFY(prompt->isVisible());
        QCOMPARE(prompt->text(), QStringLiteral("  Для начала работы нажмите кнопку Старт"));
        QVERIFY(prompt->autoFillBackground());
        QCOMPARE(prompt->palette().color(QPalette::Window), QColor(0, 255, 255));
        QVERIFY(controlAs<QLabel>(*window, "Label2")->text().isEmpty());
        QCOMPARE(controlAs<QLabel>(*window, "Label3")->text(), "1");
        QCOMPARE(controlAs<QLabel>(*window, "Label4")->text(), "0");
        QCOMPARE(controlAs<QLabel>(*window, "Label5")->text(), "0");
        QVERIFY(controlAs<QLineEdit>(*window, "Text1")->text().isEmpty());
        QCOMPARE(controlAs<QLabel>(*window, "Label1")->text(), QStringLiteral("Законы логики"));
        QVERIFY(need("Command3")->isVisible());
        QVERIFY(need("Command3")->isEnabled());
        QVERIFY(controlAs<QRadioButton>(*window, "Option1(0)")->isChecked());
        QVERIFY(!controlAs<QRadioButton>(*window, "Option1(1)")->isChecked());
        for (int k = 1; k <= kSlotCount; ++k)
            QCOMPARE(slotImage(*window, k)->picture(), Picture::blank());
    }

    void keyboardFocusStartsOnTheCheckButton() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), need("Command1"));
    }

    void textControlsUseTheWindowFont() {
        for (const QString& name : kCommandButtons + kTextBoxes + kFrames + kLabels) {
            const QFontInfo info(need(name)->font());
            QVERIFY2(info.family() == QString::fromLatin1(kWindowFontFamily),
                     qPrintable(name + ": " + info.family()));
        }
    }

    void paletteImagesHaveRussianNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        for (auto [name, spoken] : {std::pair{"Image1", "x"},
                                    {"Image2", "не x"},
                                    {"Image3", "не не x"},
                                    {"Image4", "или"},
                                    {"Image11", "и"}})
            QTest::newRow(name) << QString(name) << QString(spoken);
    }
    void paletteImagesHaveRussianNames() {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QCOMPARE(need(name)->accessibleName(), spoken);
    }

    void everyPaletteNameIsDistinctRussianSpeech() {
        const QRegularExpression russian(QStringLiteral("^[а-яё xyz]+$"));
        QSet<QString> said;
        for (const QString& name : paletteNames()) {
            const QString spoken = need(name)->accessibleName();
            QVERIFY2(russian.match(spoken).hasMatch(), qPrintable(name + ": " + spoken));
            said.insert(spoken);
        }
        QCOMPARE(said.size(), 17);
    }

    void controlsWithoutTextAreNamed() {
        QCOMPARE(need("Option1(0)")->accessibleName(), QStringLiteral("Тренажер"));
        QCOMPARE(need("Option1(1)")->accessibleName(), QStringLiteral("Тест"));
        for (int k = 1; k <= kSlotCount; ++k)
            QCOMPARE(slotImage(*window, k)->accessibleName(),
                     QStringLiteral("Ячейка %1: пусто").arg(k));
        // Each portrait is named after the person whose name is in the box under it.
        for (const QString& name : kPictureBoxes) {
            QWidget* portrait = need(name);
            const QString spoken = portrait->accessibleName();
            QVERIFY2(spoken.startsWith(QStringLiteral("Портрет")), qPrintable(spoken));
            QLineEdit* caption = nullptr;
            for (const QString& box : QStringList{"Text2", "Text3", "Text4"}) {
                QWidget* candidate = need(box);
                if (candidate->y() >= portrait->geometry().bottom() &&
                    candidate->geometry().center().x() >= portrait->x() &&
                    candidate->geometry().center().x() <= portrait->geometry().right())
                    caption = qobject_cast<QLineEdit*>(candidate);
            }
            QVERIFY2(caption, qPrintable(name));
            const QString surname = caption->text().split(' ').last();
            QVERIFY2(spoken.contains(surname), qPrintable(spoken + " / " + caption->text()));
        }
    }

    // A screen reader reads these by their shown text: no fixed name may hide it.
    void textControlsAreReadByTheirText() {
        for (const QString& name : kCommandButtons + kTextBoxes + kLabels + kFrames)
            QVERIFY2(need(name)->accessibleName().isEmpty(), qPrintable(name));
        auto said = [](QWidget* widget) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            return face ? face->text(QAccessible::Name) : QString();
        };
        QCOMPARE(said(need("Command1")),
                 QStringLiteral("Проверить и перейти к следующему вопросу"));
        QCOMPARE(said(need("Label1")), QStringLiteral("Законы логики"));
        QCOMPARE(said(need("Label6")).trimmed(),
                 QStringLiteral("Для начала работы нажмите кнопку Старт"));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "tst_window_layout.moc"
