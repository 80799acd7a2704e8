// The zoom keys and the wheel: Ctrl+Plus (or Ctrl+=), Ctrl+Minus, Ctrl+0 and the wheel with Ctrl
// held step the zoom through 100 … 300 %, never past the largest zoom that fits the screen, and
// tell that the choice is worth remembering. Run on a screen of 1288 × 900 pixels: 200 % is 1286
// pixels wide, but the window's frame makes it 1290, so 175 % is the largest zoom that fits.
#include "window_test_support.h"

#include "look/window_font.h"
#include "pupil/control_table.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>
#include <memory>

namespace {

// The largest zoom step whose window, with the frame round it, fits the screen's available
// area, worked out apart from the window.
int largestStepThatFits(const MainWindow& window) {
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize room = window.screen()->availableGeometry().size() - frame;
    int largest = 0;
    for (int step : kZoomSteps)
        if (pixelsAt(kClientWidthTwips, step) <= room.width() &&
            pixelsAt(kClientHeightTwips, step) <= room.height())
            largest = step;
    return largest;
}

QSize windowSizeAt(int zoom) {
    return {pixelsAt(kClientWidthTwips, zoom), pixelsAt(kClientHeightTwips, zoom)};
}

// What the keys must leave alone: the row, the picked symbol, the bars typed, the caret.
QString writing(const FormState& s) {
    QString row;
    for (int k = 1; k <= kSlotCount; ++k)
        row += qs(s.slot(k).tag) + ' ';
    return row + QStringLiteral("| picked %1, %2 bars, caret %3")
                     .arg(qs(s.picked))
                     .arg(s.barsTyped)
                     .arg(s.caret);
}

} // namespace

class ZoomKeysTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;

    // Focus on the named control; "row" is the caret's slot.
    QWidget* focusOn(const QString& name) {
        QWidget* target =
            name == "row" ? slotImage(*window, window->form().state.caret) : window->control(name);
        if (!target) return nullptr;
        target->setFocus(Qt::TabFocusReason);
        return QApplication::focusWidget() == target ? target : nullptr;
    }

  private slots:
    void initTestCase() { installWindowFont(); }
    void init() {
        window = std::make_unique<MainWindow>();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void largestFittingZoomIsTheLargestStepThatFits() {
        QCOMPARE(window->screen()->availableGeometry().size(), QSize(1288, 900));
        QVERIFY(window->frameGeometry().width() > window->width());
        QCOMPARE(window->largestFittingZoom(), largestStepThatFits(*window));
        QCOMPARE(window->largestFittingZoom(), 175);
    }

    // Asked for a zoom the screen has no room for, the window takes the largest that fits.
    void zoomTooLargeForTheScreenIsNotTaken_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("taken");
        QTest::newRow("300 from 100") << 100 << 300 << 175;
        QTest::newRow("250 from 150") << 150 << 250 << 175;
        QTest::newRow("200 from 125, too wide with the frame") << 125 << 200 << 175;
        QTest::newRow("300 at 175") << 175 << 300 << 175;
        QTest::newRow("150 from 100") << 100 << 150 << 150;
        QTest::newRow("not a step") << 150 << 160 << 150;
    }
    void zoomTooLargeForTheScreenIsNotTaken() {
        QFETCH(int, from);
        QFETCH(int, asked);
        QFETCH(int, taken);
        ZOOM_TO(*window, from);
        QSignalSpy changed(window.get(), &MainWindow::displayChanged);
        window->setZoom(asked);
        QCOMPARE(window->zoomPercent(), taken);
        QCOMPARE(window->size(), windowSizeAt(taken));
        QCOMPARE(changed.count(), taken == from ? 0 : 1);
    }

    void keyStepsTheZoom_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("to");
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, none = Qt::NoModifier;
        const QString check = QStringLiteral("Command1");
        QTest::newRow("Ctrl+= from 100") << check << 100 << int(Qt::Key_Equal) << ctrl << 125;
        QTest::newRow("Ctrl+Plus from 125") << check << 125 << int(Qt::Key_Plus) << ctrl << 150;
        QTest::newRow("Ctrl+Shift+= from 150")
            << check << 150 << int(Qt::Key_Plus) << (ctrl | Qt::ShiftModifier) << 175;
        QTest::newRow("Ctrl+keypad Plus from 150")
            << check << 150 << int(Qt::Key_Plus) << (ctrl | Qt::KeypadModifier) << 175;
        QTest::newRow("Ctrl+= at the largest that fits")
            << check << 175 << int(Qt::Key_Equal) << ctrl << 175;
        QTest::newRow("Ctrl+Plus at the largest that fits")
            << check << 175 << int(Qt::Key_Plus) << ctrl << 175;
        QTest::newRow("Ctrl+Minus from 175") << check << 175 << int(Qt::Key_Minus) << ctrl << 150;
        QTest::newRow("Ctrl+keypad Minus from 125")
            << check << 125 << int(Qt::Key_Minus) << (ctrl | Qt::KeypadModifier) << 100;
        QTest::newRow("Ctrl+Minus at 100") << check << 100 << int(Qt::Key_Minus) << ctrl << 100;
        QTest::newRow("Ctrl+0 from 175") << check << 175 << int(Qt::Key_0) << ctrl << 100;
        QTest::newRow("Ctrl+0 at 100") << check << 100 << int(Qt::Key_0) << ctrl << 100;
        // Wherever the focus is in the window; in the row and the palette "=", "-" and "0"
        // typed without Ctrl write symbols, with Ctrl they zoom only.
        QTest::newRow("Ctrl+= in the row") << "row" << 100 << int(Qt::Key_Equal) << ctrl << 125;
        QTest::newRow("Ctrl+Minus in the row") << "row" << 150 << int(Qt::Key_Minus) << ctrl << 125;
        QTest::newRow("Ctrl+0 in the row") << "row" << 175 << int(Qt::Key_0) << ctrl << 100;
        QTest::newRow("Ctrl+Plus on the palette")
            << "Image1" << 125 << int(Qt::Key_Plus) << ctrl << 150;
        QTest::newRow("Ctrl+Minus in the verdict box")
            << "Text1" << 150 << int(Qt::Key_Minus) << ctrl << 125;
        QTest::newRow("Ctrl+= on the trainer option")
            << "Option1(0)" << 100 << int(Qt::Key_Equal) << ctrl << 125;
        // Not zoom keys.
        QTest::newRow("= alone") << check << 150 << int(Qt::Key_Equal) << none << 150;
        QTest::newRow("Alt+=") << check << 150 << int(Qt::Key_Equal)
                               << Qt::KeyboardModifiers(Qt::AltModifier) << 150;
        QTest::newRow("Ctrl+1") << check << 150 << int(Qt::Key_1) << ctrl << 150;
    }
    void keyStepsTheZoom() {
        QFETCH(QString, focus);
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, to);
        ZOOM_TO(*window, from);
        if (focus == "row") { // something written, the caret in the middle
            window->form().drop(1, "x");
            window->form().moveCaret(3);
            window->render();
        }
        QWidget* target = focusOn(focus);
        QVERIFY2(target, qPrintable(focus));
        const QString before = writing(window->form().state);
        QSignalSpy changed(window.get(), &MainWindow::displayChanged);

        QTest::keyClick(target, Qt::Key(key), modifiers);

        QCOMPARE(window->zoomPercent(), to);
        QCOMPARE(window->size(), windowSizeAt(to));
        QCOMPARE(slotImage(*window, 1)->width(), pixelsAt(480, to));
        if (to == from) {
            QCOMPARE(changed.count(), 0);
        } else {
            QCOMPARE(changed.count(), 1);
            QCOMPARE(changed.front().at(0).toInt(), to);
            QCOMPARE(changed.front().at(1).toBool(), false);
        }
        if (modifiers & Qt::ControlModifier) QCOMPARE(writing(window->form().state), before);
    }

    // Held down, Ctrl+Plus climbs step by step to the largest zoom that fits and stays there;
    // Ctrl+Minus climbs down to 100 %.
    void keysWalkEveryStep() {
        QWidget* check = focusOn("Command1");
        QVERIFY(check);
        QSignalSpy changed(window.get(), &MainWindow::displayChanged);
        QList<int> seen;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(check, Qt::Key_Plus, Qt::ControlModifier);
            seen << window->zoomPercent();
        }
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(check, Qt::Key_Minus, Qt::ControlModifier);
            seen << window->zoomPercent();
        }
        QCOMPARE(seen, (QList<int>{125, 150, 175, 175, 175, 175, 150, 125, 100, 100, 100, 100}));
        QCOMPARE(changed.count(), 6);
    }

    // A zoom asked for before the window shows (--zoom, or one remembered on a larger screen)
    // must fit too, frame and all, once the window is on the screen.
    void zoomAskedBeforeShowingFitsOnceShown() {
        MainWindow fresh;
        fresh.setZoom(200); // 1286 pixels wide: fits the 1288 of the screen without the frame
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        const QSize room = fresh.screen()->availableGeometry().size();
        const QSize taken = fresh.frameGeometry().size();
        QVERIFY2(taken.width() <= room.width() && taken.height() <= room.height(),
                 qPrintable(QStringLiteral("%1 % in a %2 x %3 window with its frame, on %4 x %5")
                                .arg(fresh.zoomPercent())
                                .arg(taken.width())
                                .arg(taken.height())
                                .arg(room.width())
                                .arg(room.height())));
        QCOMPARE(fresh.zoomPercent(), fresh.largestFittingZoom());
    }

    // A wheel of fine steps, or a touchpad, turns a notch (120) in several smaller events: the
    // notch steps the zoom once, not once per event.
    void fineWheelStepsOncePerNotch() {
        QWidget* over = slotImage(*window, 10);
        const QPointF at = QRectF(over->rect()).center();
        QSignalSpy changed(window.get(), &MainWindow::displayChanged);
        for (int i = 0; i < 8; ++i) {
            QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, 15), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &wheel);
        }
        QCOMPARE(window->zoomPercent(), 125);
        QCOMPARE(changed.count(), 1);
    }

    void ctrlWheelStepsTheZoom_data() {
        QTest::addColumn<QString>("over");
        QTest::addColumn<int>("from");
        QTest::addColumn<QPoint>("angle");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("to");
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const QPoint forward(0, 120), back(0, -120);
        QTest::newRow("forward over a slot") << "Image16" << 100 << forward << ctrl << 125;
        QTest::newRow("forward over the title") << "Label1" << 150 << forward << ctrl << 175;
        QTest::newRow("forward over a frame's label") << "Label3" << 125 << forward << ctrl << 150;
        QTest::newRow("forward at the largest that fits")
            << "Image16" << 175 << forward << ctrl << 175;
        QTest::newRow("back over a button") << "Command1" << 175 << back << ctrl << 150;
        QTest::newRow("back over the window's ground") << "" << 125 << back << ctrl << 100;
        QTest::newRow("back at 100") << "Image16" << 100 << back << ctrl << 100;
        QTest::newRow("without Ctrl")
            << "Image16" << 150 << forward << Qt::KeyboardModifiers() << 150;
        QTest::newRow("sideways with Ctrl") << "Image16" << 150 << QPoint(120, 0) << ctrl << 150;
    }
    void ctrlWheelStepsTheZoom() {
        QFETCH(QString, over);
        QFETCH(int, from);
        QFETCH(QPoint, angle);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, to);
        ZOOM_TO(*window, from);
        QWidget* target = over.isEmpty() ? window.get() : window->control(over);
        QVERIFY(target);
        const QPointF at = QRectF(target->rect()).center();
        QSignalSpy changed(window.get(), &MainWindow::displayChanged);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        QCOMPARE(window->zoomPercent(), to);
        QCOMPARE(window->size(), windowSizeAt(to));
        QCOMPARE(changed.count(), to == from ? 0 : 1);
        if (to != from) QCOMPARE(changed.front().at(0).toInt(), to);
    }
};

QTEST_MAIN(ZoomKeysTest)
#include "tst_zoom_keys.moc"
