// Writing a formula without dragging, through the window's real events: a click on a palette
// symbol and a click on a slot, the keyboard's Tab stops, arrows and Space, and typed characters
// wherever the focus is. Each route must leave the row as the same drops would; the pick, the
// caret and a waiting "!" must show on screen and to a screen reader.
#include "window_test_support.h"

#include "look/window_font.h"
#include "pupil/symbol_drag.h"

#include <QAccessible>
#include <QApplication>
#include <QDragEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

namespace {

using law_keys::Tags;

// The screen's ratio the test runs at: 1, or 2 under QT_SCALE_FACTOR=2.
int screenRatio() {
    return qRound(qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
}

// A window as the pupil gets it: shown, active, the focus where the window put it.
std::unique_ptr<MainWindow> openWindow() {
    auto window = std::make_unique<MainWindow>();
    window->form().clockSeed = [] { return std::uint64_t{7}; };
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qFatal("the window never became active");
    return window;
}

// The key code a keyboard sends with a character: Qt's code for ASCII, the upper-case letter's
// code for a Cyrillic one, as Qt reports keys of a Russian layout.
Qt::Key keyOf(QChar c) {
    if (c.unicode() < 0x80) return QTest::asciiToKey(char(c.unicode()));
    return Qt::Key(c.toUpper().unicode());
}

// One key pressed and released in the window, delivered through the window system as a real
// keyboard's key: to whatever widget holds the focus.
void press(MainWindow& window, Qt::Key key, const QString& text = {},
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Click, window.windowHandle(), key, text, modifiers);
}

// Types each character of text as its own key.
void typeText(MainWindow& window, const QString& text) {
    for (QChar c : text)
        press(window, keyOf(c), QString(c));
}

// The characters a pupil types for each symbol.
QString keysOfTag(std::string_view tag) {
    return QString::fromStdU32String(law_keys::typedKeys(tag));
}

Slot placed(std::string_view tag) {
    return Slot{Picture::blue(glyphOfTag(tag)), std::string(tag)};
}

// What a palette image of the window carries when the pupil drags it, dropped on a slot.
void dropOnSlot(MainWindow& window, std::string_view tag, int k) {
    const std::unique_ptr<QMimeData> data = paletteData(window, tag);
    SymbolImage* target = slotImage(window, k);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

QString describe(const QWidget* widget) {
    return widget ? widget->objectName() : QStringLiteral("<none>");
}

// Tab (or Shift+Tab) until the focus satisfies `wanted`, at most a full round of the window's
// stops; the names of the stops passed on the way.
template <class Wanted>
QStringList tabUntil(MainWindow& window, bool backwards, Wanted wanted, int most = 40) {
    QStringList passed;
    for (int i = 0; i < most && !wanted(window.focusWidget()); ++i) {
        if (backwards)
            press(window, Qt::Key_Backtab, {}, Qt::ShiftModifier);
        else
            press(window, Qt::Key_Tab);
        passed << describe(window.focusWidget());
    }
    return passed;
}

bool isSlot(const MainWindow& window, const QWidget* widget) {
    for (int k = 1; k <= kSlotCount; ++k)
        if (widget == slotImage(window, k)) return true;
    return false;
}

bool isPalette(const QWidget* widget) {
    const auto* symbol = qobject_cast<const SymbolImage*>(widget);
    return symbol && symbol->isPaletteSymbol();
}

// Moves the palette's focus to the symbol with this tag by the arrow keys, as a pupil would:
// up or down to its row, then along the row. Every key must move the focus the way it points.
void arrowTo(MainWindow& window, std::string_view tag) {
    QWidget* target = window.control(paletteImageOf(tag));
    for (int step = 0; step < 12; ++step) {
        QWidget* at = window.focusWidget();
        QVERIFY2(isPalette(at), qPrintable(describe(at)));
        if (at == target) return;
        const QPoint from = at->geometry().center(), to = target->geometry().center();
        Qt::Key key;
        if (to.y() != from.y())
            key = to.y() < from.y() ? Qt::Key_Up : Qt::Key_Down;
        else
            key = to.x() < from.x() ? Qt::Key_Left : Qt::Key_Right;
        press(window, key);
        QWidget* now = window.focusWidget();
        QVERIFY2(isPalette(now), qPrintable(describe(now)));
        const QPoint moved = now->geometry().center() - from;
        const bool right = key == Qt::Key_Up     ? moved.y() < 0
                           : key == Qt::Key_Down ? moved.y() > 0
                           : key == Qt::Key_Left ? moved.x() < 0
                                                 : moved.x() > 0;
        QVERIFY2(right,
                 qPrintable(QStringLiteral("%1 from %2 went to %3")
                                .arg(QKeySequence(key).toString(), describe(at), describe(now))));
    }
    QFAIL(qPrintable(QStringLiteral("the arrows never reached %1").arg(describe(target))));
}

QImage grabbed(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The white field of a picture in logical pixels: 15 × 25, the arrows 25 × 25.
QRect fieldOf(Glyph glyph) {
    const bool arrow = glyph == Glyph::implies || glyph == Glyph::equivalent;
    return arrow ? QRect(QPoint(3, 3), QPoint(27, 27)) : QRect(QPoint(8, 3), QPoint(22, 27));
}

bool isOrange(QRgb p) {
    return qAlpha(p) == 255 && qRed(p) >= 200 && qGreen(p) >= 64 && qGreen(p) <= 160 &&
           qBlue(p) <= 64;
}

bool isDark(QRgb p) {
    return qAlpha(p) == 255 && qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80;
}

// The pixels of `a` and `b` (of one size) that differ, in device pixels.
std::vector<QPoint> differing(const QImage& a, const QImage& b) {
    std::vector<QPoint> points;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) points.emplace_back(x, y);
    return points;
}

// Counts the pixels of `image` in a rectangle given in logical pixels that satisfy `wanted`.
template <class Wanted> int countIn(const QImage& image, QRect logical, Wanted wanted) {
    const int dpr = screenRatio();
    int n = 0;
    for (int y = logical.top() * dpr; y < (logical.bottom() + 1) * dpr; ++y)
        for (int x = logical.left() * dpr; x < (logical.right() + 1) * dpr; ++x)
            n += wanted(image.pixel(x, y)) ? 1 : 0;
    return n;
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindow> window;

    FormState& state() { return window->form().state; }
    void click(const QString& name) { clickThroughWindow(*window, name); }
    SymbolImage* palette(std::string_view tag) {
        return controlAs<SymbolImage>(*window, paletteImageOf(tag));
    }

    // Focus on the row's caret slot, reached by Tab as the pupil reaches it.
    void tabToRow() {
        tabUntil(*window, false, [&](QWidget* w) { return isSlot(*window, w); });
        QCOMPARE(window->focusWidget(), slotImage(*window, state().caret));
    }

    // Puts the focus where a row of the typed keys table wants it.
    void focusOn(const QString& where) {
        if (where == "row") {
            tabToRow();
        } else if (where == "palette") {
            tabUntil(*window, false, [](QWidget* w) { return isPalette(w); });
            QVERIFY(isPalette(window->focusWidget()));
        } else {
            QWidget* widget = window->control(where);
            QVERIFY2(widget, qPrintable(where));
            widget->setFocus(Qt::TabFocusReason);
            QCOMPARE(window->focusWidget(), widget);
        }
        QCOMPARE(QApplication::focusWidget(), window->focusWidget());
    }

    void askInTestMode(int lawNumber) {
        click("Option1(1)");
        click("Cmd3_Start");
        while (state().question < lawNumber)
            click("Command1");
        QCOMPARE(state().caret, 1);
    }

    // The four ways of writing a symbol into the next slot.
    void writeByDrag(const Tags& tags) {
        for (std::size_t i = 0; i < tags.size(); ++i)
            dropOnSlot(*window, tags[i], int(i) + 1);
    }

    void writeByClicks(const Tags& tags) {
        for (std::size_t i = 0; i < tags.size(); ++i) {
            if (state().picked != tags[i]) click(paletteImageOf(tags[i]));
            QCOMPARE(state().picked, std::string(tags[i]));
            QVERIFY(palette(tags[i])->isPicked());
            click(slotName(int(i) + 1));
        }
    }

    void writeByPaletteKeys(const Tags& tags) {
        tabToRow();
        for (std::string_view tag : tags) {
            if (state().picked != tag) {
                // The palette's stop, however far along the Tab chain it lies from the row.
                tabUntil(*window, false, [](QWidget* w) { return isPalette(w); });
                arrowTo(*window, tag);
                if (QTest::currentTestFailed()) return;
                press(*window, Qt::Key_Space, QStringLiteral(" "));
                QCOMPARE(state().picked, std::string(tag));
            }
            QCOMPARE(window->focusWidget(), slotImage(*window, state().caret));
            press(*window, Qt::Key_Space, QStringLiteral(" "));
        }
    }

    void writeByTyping(const Tags& tags) {
        for (std::string_view tag : tags)
            typeText(*window, keysOfTag(tag));
    }

  private slots:
    void initTestCase() { installWindowFont(); }
    void init() { window = openWindow(); }
    void cleanup() { window.reset(); }

    // A law written in test mode by dragging, by clicks, by the palette's keys and by typing:
    // the same row, the same formula, the same counts, and the answer judged right.
    void everyRouteWritesTheSameAnswer_data() {
        QTest::addColumn<int>("lawNumber");
        QTest::addColumn<QString>("route");
        for (int n : {1, 7, 21, 23})
            for (const char* route : {"drag", "clicks", "palette keys", "typing"})
                QTest::addRow("law %d by %s", n, route) << n << QString::fromLatin1(route);
    }

    void everyRouteWritesTheSameAnswer() {
        QFETCH(int, lawNumber);
        QFETCH(QString, route);
        const Tags tags = law_keys::lawTags(lawNumber);
        QVERIFY(!tags.empty());

        // What the same answer dropped leaves, then a fresh window for the route.
        askInTestMode(lawNumber);
        writeByDrag(tags);
        const FormState dropped = state();
        window = openWindow();

        askInTestMode(lawNumber);
        const FormState asked = state();
        if (route == "drag") writeByDrag(tags);
        if (route == "clicks") writeByClicks(tags);
        if (route == "palette keys") writeByPaletteKeys(tags);
        if (route == "typing") writeByTyping(tags);
        if (QTest::currentTestFailed()) return;

        QCOMPARE(window->form().formulaKey(), std::string(law(lawNumber).key));
        for (int k = 1; k <= kSlotCount; ++k) {
            const Slot expected = k <= int(tags.size()) ? placed(tags[std::size_t(k - 1)])
                                                        : Slot{Picture::blank(), ""};
            QVERIFY2(state().slot(k) == expected, qPrintable(QStringLiteral("slot %1").arg(k)));
            QCOMPARE(slotImage(*window, k)->picture(), expected.picture);
        }
        QVERIFY(state().row == dropped.row);
        // Writing changes neither the run nor the counts.
        QCOMPARE(state().question, asked.question);
        QCOMPARE(state().rightCount, asked.rightCount);
        QCOMPARE(state().wrongCount, asked.wrongCount);
        QCOMPARE(state().verdict, asked.verdict);
        QCOMPARE(state().checkedKey, asked.checkedKey);
        QCOMPARE(state().barsTyped, 0);

        click("Command1");
        QCOMPARE(state().rightCount, 1);
        QCOMPARE(controlAs<QLineEdit>(*window, "Text1")->text(), QStringLiteral("правильно"));
    }

    // A symbol's key types it at the caret wherever the focus is in the window; "!" or "-" bars
    // the symbol typed next, and a key that cannot follow drops it; the Russian layout's letters
    // type what their keys bear. Nothing else changes, and the focus stays where it was.
    void typedKeysLandAtTheCaret_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<int>("barsLeft");
        struct Typed {
            const char* keys;
            QStringList tags;
            int barsLeft = 0;
        };
        const std::vector<Typed> typed{
            {"x", {"x"}},
            {"X", {"x"}},
            {"y", {"y"}},
            {"Y", {"y"}},
            {"z", {"z"}},
            {"0", {"ноль"}},
            {"1", {"один"}},
            {"(", {"so"}},
            {")", {"sz"}},
            {"=", {"равно"}},
            {"v", {"или"}},
            {"|", {"или"}},
            {"+", {"или"}},
            {"*", {"и"}},
            {"&", {"и"}},
            {".", {"и"}},
            {">", {"imp"}},
            {"<", {"ekv"}},
            {"~", {"ekv"}},
            {"!x", {"no_x"}},
            {"-x", {"no_x"}},
            {"!y", {"no_y"}},
            {"-Y", {"no_y"}},
            {"!v", {"no_ili"}},
            {"!*", {"no_i"}},
            {"-&", {"no_i"}},
            {"!!x", {"no_no_x"}},
            {"-!x", {"no_no_x"}},
            {"!", {}, 1},
            {"!!", {}, 2},
            {"!z", {}},
            {"!1", {}},
            {"!(", {}},
            {"!>", {}},
            {"!!y", {}},
            {"!!v", {}},
            {"!a", {}},
            {"!zx", {"x"}},
            {"!!yv", {"или"}},
            {"ч", {"x"}},
            {"Ч", {"x"}},
            {"н", {"y"}},
            {"Н", {"y"}},
            {"я", {"z"}},
            {"Я", {"z"}},
            {"м", {"или"}},
            {"М", {"или"}},
            {"!ч", {"no_x"}},
            {"!н", {"no_y"}},
            {"!м", {"no_ili"}},
            {"!!Ч", {"no_no_x"}},
            {"a", {}},
            {"q", {}},
            {"2", {}},
            {"?", {}},
            {"ж", {}},
            {"ф", {}},
            {"y+x=x+y", {"y", "или", "x", "равно", "x", "или", "y"}},
        };
        for (const char* focus : {"Command1", "Option1(0)", "Text1", "row", "palette"})
            for (const Typed& t : typed)
                QTest::addRow("%s, %s", focus, t.keys)
                    << QString::fromLatin1(focus) << QString::fromUtf8(t.keys) << t.tags
                    << t.barsLeft;
    }

    void typedKeysLandAtTheCaret() {
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        QFETCH(QStringList, tags);
        QFETCH(int, barsLeft);
        click("Cmd3_Start"); // trainer mode, law 1: the caret after the drawn "="
        const int home = state().caret;
        QCOMPARE(home, law_keys::leftSideLength(1) + 1);
        focusOn(focus);
        if (QTest::currentTestFailed()) return;
        QWidget* focused = window->focusWidget();

        FormState expected = state();
        for (const QString& tag : tags)
            expected.slot(expected.caret++) = placed(tag.toStdString());
        expected.barsTyped = barsLeft;
        typeText(*window, keys);

        for (int k = 1; k <= kSlotCount; ++k) {
            QVERIFY2(
                state().slot(k) == expected.slot(k),
                qPrintable(
                    QStringLiteral("slot %1 holds \"%2\"").arg(k).arg(qs(state().slot(k).tag))));
            QCOMPARE(slotImage(*window, k)->picture(), expected.slot(k).picture);
        }
        QCOMPARE(state().caret, expected.caret);
        QCOMPARE(state().barsTyped, barsLeft);
        QVERIFY(state() == expected); // nothing else: no Check, no mode change, no pick
        QCOMPARE(window->focusWidget(),
                 focus == "row" ? slotImage(*window, expected.caret) : focused);
    }

    // Space and Enter are no typing: on a button Space presses it, whatever is picked or typed.
    void spaceOnAButtonPressesIt() {
        click("Cmd3_Start");
        click(paletteImageOf("y"));
        typeText(*window, "!");
        focusOn("Command1");
        press(*window, Qt::Key_Space, QStringLiteral(" "));
        QCOMPARE(state().question, 2); // Check judged the empty answer and moved on
        QCOMPARE(state().wrongCount, 1);
        QCOMPARE(window->form().formulaKey(), std::string());
        QVERIFY(state().picked.empty());
        QCOMPARE(state().barsTyped, 0);
        QCOMPARE(window->focusWidget(), window->control("Command1"));

        typeText(*window, "x");
        QCOMPARE(window->form().formulaKey(), std::string("x"));
        focusOn("Command2");
        press(*window, Qt::Key_Space, QStringLiteral(" "));
        QCOMPARE(window->form().formulaKey(), std::string()); // Clear pressed

        focusOn("Option1(1)");
        QTest::qWait(50); // a finger lets a key go longer than a held key's repeats do
        press(*window, Qt::Key_Space, QStringLiteral(" "));
        QCOMPARE(state().mode, Mode::test);
        QVERIFY(controlAs<QRadioButton>(*window, "Option1(1)")->isChecked());
        QCOMPARE(window->form().formulaKey(), std::string());
    }

    // A held key repeats: Space or Enter held on a button presses it once, however long and
    // however many of its repeats come flagged; let go a moment and pressed again, it presses.
    void heldKeyPressesAButtonOnce_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("flagEvery"); // every how many repeats comes flagged; 0: none
        QTest::addColumn<int>("pairGapMs"); // from a repeat's release to its press
        const struct {
            const char* name;
            int flagEvery, pairGapMs;
        } repeats[] = {{"flagged", 1, 0},
                       {"unflagged", 0, 0},
                       {"unflagged, pairs 6 ms apart", 0, 6},
                       {"one in three flagged", 3, 1}};
        for (const char* button : {"Command1", "Cmd3_Start"})
            for (int key : {int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)})
                for (const auto& r : repeats)
                    QTest::addRow("%s, %s, %s", button,
                                  key == Qt::Key_Space    ? "Space"
                                  : key == Qt::Key_Return ? "Return"
                                                          : "Enter",
                                  r.name)
                        << QString::fromLatin1(button) << key << r.flagEvery << r.pairGapMs;
    }
    void heldKeyPressesAButtonOnce() {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(int, flagEvery);
        QFETCH(int, pairGapMs);
        click("Cmd3_Start");
        click("Command1");
        click("Command1"); // question 3
        focusOn(button);
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r");
        quint64 at = 1000; // the events' own times, in milliseconds
        auto send = [&](QEvent::Type type, bool repeated) {
            QKeyEvent event(type, key, Qt::NoModifier, text, repeated);
            event.setTimestamp(at);
            QApplication::sendEvent(window->focusWidget(), &event);
        };
        auto pressedTimes = [&] {
            return button == "Command1" ? int(window->form().run.answers.size()) - 2
                                        : window->form().run.number - 1;
        };
        send(QEvent::KeyPress, false);
        at += 500;
        for (int i = 0; i < 25; ++i, at += 40) { // as X sends a held key: release and press
            const bool flagged = flagEvery > 0 && i % flagEvery == 0;
            send(QEvent::KeyRelease, flagged);
            at += pairGapMs;
            send(QEvent::KeyPress, flagged);
        }
        send(QEvent::KeyRelease, false);
        QCOMPARE(pressedTimes(), 1);
        at += 150;
        send(QEvent::KeyPress, false);
        send(QEvent::KeyRelease, false);
        QCOMPARE(pressedTimes(), 2);
    }

    // After a check in test mode the answer stays in the row. Written with the mouse, the row
    // looks as it always did; typed, it is marked from its first symbol to its last, and the
    // first key typed replaces it.
    void checkedAnswerMarkedForTheKeyboardOnly() {
        click("Option1(1)");
        click("Cmd3_Start");
        SymbolImage* second = slotImage(*window, 2);
        SymbolImage* past = slotImage(*window, 9);
        writeByDrag(law_keys::lawTags(1));
        const QImage dropped = grabbed(second), pastDropped = grabbed(past);
        click("Command1");
        QVERIFY(state().answerMarked);
        QVERIFY(grabbed(second) == dropped);

        click("Command2");
        typeText(*window, "xvy=yvx");
        focusOn("Command1");
        const QImage typed = grabbed(second);
        QVERIFY(typed == dropped);
        press(*window, Qt::Key_Space, QStringLiteral(" "));
        QCOMPARE(state().question, 3);
        QVERIFY(grabbed(second) != typed);
        QVERIFY(grabbed(past) == pastDropped);
        typeText(*window, "y");
        QCOMPARE(window->form().formulaKey(), std::string("y"));
        QVERIFY(grabbed(slotImage(*window, 3)) == grabbed(past));
    }

    // Corrections reach the row from anywhere in the window, as typed symbols do; Ctrl+Backspace
    // does what «Очистить» does.
    void correctionsWorkWithTheFocusOnAButton_data() {
        QTest::addColumn<QString>("button");
        for (const char* button :
             {"Command1", "Command2", "Cmd3_Start", "Command4", "Option1(0)", "Option1(1)"})
            QTest::newRow(button) << QString::fromLatin1(button);
    }
    void correctionsWorkWithTheFocusOnAButton() {
        QFETCH(QString, button);
        click("Option1(1)");
        click("Cmd3_Start");
        typeText(*window, "xvyz");
        focusOn(button);
        press(*window, Qt::Key_Backspace);
        QCOMPARE(window->form().formulaKey(), std::string("xилиy"));
        window->form().moveCaret(1);
        press(*window, Qt::Key_Delete);
        QCOMPARE(window->form().formulaKey(), std::string("илиy"));
        QCOMPARE(state().mode, Mode::test); // no button was pressed
        QCOMPARE(state().question, 1);
        press(*window, Qt::Key_Backspace, {}, Qt::ControlModifier);
        QCOMPARE(window->form().formulaKey(), std::string());
        QCOMPARE(state().caret, 1);
        QCOMPARE(state().question, 1);
    }

    // A key held with Ctrl, Alt or Meta is a command, never typing.
    void modifiedKeysDoNotType_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        struct Combo {
            const char* name;
            int key;
            QString text;
            Qt::KeyboardModifiers modifiers;
        };
        const Combo combos[]{
            {"Ctrl+x", Qt::Key_X, QStringLiteral("x"), Qt::ControlModifier},
            {"Ctrl+x as X11 sends it", Qt::Key_X, QString(QChar(0x18)), Qt::ControlModifier},
            {"Ctrl+Shift+x", Qt::Key_X, QStringLiteral("X"),
             Qt::ControlModifier | Qt::ShiftModifier},
            {"Alt+x", Qt::Key_X, QStringLiteral("x"), Qt::AltModifier},
            {"Meta+x", Qt::Key_X, QStringLiteral("x"), Qt::MetaModifier},
            {"Ctrl+v", Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier},
            {"Ctrl+1", Qt::Key_1, QStringLiteral("1"), Qt::ControlModifier},
            {"Alt+!", Qt::Key_Exclam, QStringLiteral("!"), Qt::AltModifier | Qt::ShiftModifier},
            {"Ctrl+ч", 0x0427, QStringLiteral("ч"), Qt::ControlModifier},
        };
        for (const char* focus : {"Command1", "Text1", "row", "palette"})
            for (const Combo& c : combos)
                QTest::addRow("%s, %s", focus, c.name)
                    << QString::fromLatin1(focus) << c.key << c.text << int(c.modifiers);
    }

    void modifiedKeysDoNotType() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        click("Cmd3_Start");
        focusOn(focus);
        if (QTest::currentTestFailed()) return;
        const FormState before = state();
        press(*window, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
        QVERIFY(state() == before);
        // A waiting "!" is not completed by one either.
        typeText(*window, "!");
        press(*window, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(state().barsTyped, 1);
        QCOMPARE(window->form().formulaKey(), std::string());
    }

    // The Tab chain: the row's caret slot, the palette's current symbol, then the check button
    // and the window's other controls as before; Shift+Tab walks it back. Wherever the arrows
    // left the palette's current symbol.
    void tabReachesTheRowAndThePalette_data() {
        QTest::addColumn<QString>("current");
        for (const char* tag : {"imp", "ekv", "x", "z", "sz", "no_ili"})
            QTest::addRow("palette at %s", tag) << QString::fromUtf8(tag);
    }

    void tabReachesTheRowAndThePalette() {
        QFETCH(QString, current);
        QWidget* check = window->control("Command1");
        QCOMPARE(QApplication::focusWidget(), check); // where the window opens
        if (current != "imp") {
            QCOMPARE(window->focusWidget(), check);
            tabUntil(*window, false, [](QWidget* w) { return isPalette(w); });
            arrowTo(*window, current.toStdString());
            if (QTest::currentTestFailed()) return;
            check->setFocus(Qt::TabFocusReason);
        }
        QWidget* symbol = palette(current.toStdString());
        SymbolImage* caret = slotImage(*window, state().caret);

        const QStringList forward = tabUntil(
            *window, false, [&](QWidget* w) { return isSlot(*window, w) || isPalette(w); });
        QVERIFY2(forward.size() >= 2, qPrintable(forward.join(' ')));
        QCOMPARE(forward.mid(0, 2), (QStringList{"Text1", "Command2"})); // the old order
        QVERIFY2(window->focusWidget() == caret,
                 qPrintable(QStringLiteral("Tab from the check button went %1")
                                .arg(forward.join(QStringLiteral(", ")))));
        press(*window, Qt::Key_Tab);
        QCOMPARE(describe(window->focusWidget()), describe(symbol));
        press(*window, Qt::Key_Tab);
        QCOMPARE(window->focusWidget(), check);

        press(*window, Qt::Key_Backtab, {}, Qt::ShiftModifier);
        QCOMPARE(describe(window->focusWidget()), describe(symbol));
        press(*window, Qt::Key_Backtab, {}, Qt::ShiftModifier);
        QCOMPARE(describe(window->focusWidget()), describe(caret));
        // The palette and the row are one stop each: the other symbols and slots take no Tab.
        for (SymbolImage* other : window->findChildren<SymbolImage*>())
            if (other != symbol && other != caret)
                QVERIFY2(!(other->focusPolicy() & Qt::TabFocus), qPrintable(describe(other)));
    }

    // A picked symbol is framed in its picture's margin; its white field and glyph stay exactly
    // as they were, and unpicking brings back the very same picture.
    void pickIsFramedInTheMargin_data() {
        QTest::addColumn<QString>("tag");
        for (std::string_view tag : law_keys::kTags)
            QTest::newRow(std::string(tag).c_str()) << qs(tag);
    }

    void pickIsFramedInTheMargin() {
        QFETCH(QString, tag);
        SymbolImage* symbol = palette(tag.toStdString());
        const int dpr = screenRatio();
        const QImage plain = grabbed(symbol);
        QCOMPARE(plain.size(), QSize(32, 32) * dpr);
        QCOMPARE(countIn(plain, QRect(0, 0, 32, 32), isOrange), 0);

        click(paletteImageOf(tag.toStdString()));
        QVERIFY(symbol->isPicked());
        QVERIFY(!symbol->hasFocus()); // a click picks without taking the focus
        const QImage picked = grabbed(symbol);
        const QRect field = fieldOf(symbol->picture().glyph);
        const QRect fieldPx(field.topLeft() * dpr, field.size() * dpr);
        for (const QPoint& p : differing(plain, picked))
            QVERIFY2(!fieldPx.contains(p),
                     qPrintable(
                         QStringLiteral("pixel %1,%2 of the field changed").arg(p.x()).arg(p.y())));
        const int side = 24 * dpr * dpr; // most of a side two units wide
        for (const QRect band :
             {QRect(0, 0, 32, 3), QRect(0, 29, 32, 3), QRect(0, 0, 3, 32), QRect(29, 0, 3, 32)})
            QVERIFY2(countIn(picked, band, isOrange) >= side,
                     qPrintable(QStringLiteral("%1 orange pixels in %2,%3 %4×%5")
                                    .arg(countIn(picked, band, isOrange))
                                    .arg(band.x())
                                    .arg(band.y())
                                    .arg(band.width())
                                    .arg(band.height())));

        click(paletteImageOf(tag.toStdString())); // the picked one again: unpicked
        QVERIFY(!symbol->isPicked());
        QVERIFY(grabbed(symbol) == plain);
    }

    // What ends a pick through the window: the same symbol again, another symbol, Escape, and
    // the buttons that start afresh. The frame goes with it.
    void pickEndsAndItsFrameGoes_data() {
        QTest::addColumn<QString>("ending");
        for (const char* ending :
             {"same symbol", "another symbol", "Escape", "Clear", "Check", "Start", "mode change"})
            QTest::newRow(ending) << QString::fromLatin1(ending);
    }

    void pickEndsAndItsFrameGoes() {
        QFETCH(QString, ending);
        click("Cmd3_Start");
        SymbolImage* y = palette("y");
        const QImage plain = grabbed(y);
        click(paletteImageOf("y"));
        QVERIFY(y->isPicked());
        QVERIFY(grabbed(y) != plain);

        if (ending == "same symbol") click(paletteImageOf("y"));
        if (ending == "another symbol") click(paletteImageOf("no_x"));
        if (ending == "Escape") press(*window, Qt::Key_Escape);
        if (ending == "Clear") click("Command2");
        if (ending == "Check") click("Command1");
        if (ending == "Start") click("Cmd3_Start");
        if (ending == "mode change") click("Option1(1)");

        const std::string now = ending == "another symbol" ? "no_x" : "";
        QCOMPARE(state().picked, now);
        for (const QString& name : paletteNames()) {
            auto* symbol = controlAs<SymbolImage>(*window, name);
            QCOMPARE(symbol->isPicked(), symbol->tag().toStdString() == now);
        }
        QVERIFY(grabbed(y) == plain);
    }

    // A click on a slot places the picked symbol, and the pick stays for the next slot; with
    // nothing picked a click places nothing.
    void clickOnASlotPlacesThePick() {
        click("Cmd3_Start");
        const FormState before = state();
        click(slotName(7));
        QVERIFY(state() == before);
        click(paletteImageOf("no_y"));
        click(slotName(7));
        click(slotName(9));
        QCOMPARE(state().slot(7), placed("no_y"));
        QCOMPARE(state().slot(9), placed("no_y"));
        QCOMPARE(state().slot(8), before.slot(8));
        QCOMPARE(state().picked, std::string("no_y"));
        QCOMPARE(state().caret, before.caret); // clicks leave the keyboard's caret alone
        press(*window, Qt::Key_Escape);
        const FormState unpicked = state();
        click(slotName(11));
        QVERIFY(state() == unpicked);
    }

    // In the row the arrows, Home and End move the caret and the focus with it; Space places
    // the picked symbol and moves on; Delete and Backspace empty slots.
    void rowKeysMoveTheCaretAndEmptySlots() {
        click("Cmd3_Start");
        tabToRow();
        if (QTest::currentTestFailed()) return;
        auto caretIs = [&](int k) {
            return state().caret == k && window->focusWidget() == slotImage(*window, k);
        };
        const int home = state().caret;
        press(*window, Qt::Key_Space, QStringLiteral(" ")); // nothing picked: nothing placed
        QVERIFY(caretIs(home));
        QCOMPARE(window->form().formulaKey(), std::string());
        typeText(*window, "xyz");
        QVERIFY(caretIs(home + 3));
        press(*window, Qt::Key_Backspace);
        QVERIFY(caretIs(home + 2));
        QCOMPARE(window->form().formulaKey(), std::string("xy"));
        press(*window, Qt::Key_Left);
        press(*window, Qt::Key_Delete);
        QVERIFY(caretIs(home + 1));
        QCOMPARE(window->form().formulaKey(), std::string("x"));
        QCOMPARE(slotImage(*window, home + 1)->picture(), Picture::blank());
        press(*window, Qt::Key_Right);
        QVERIFY(caretIs(home + 2));
        // The drawn left-hand side is no place for the caret: Home and Left stop after "=".
        press(*window, Qt::Key_Home);
        QVERIFY(caretIs(home));
        press(*window, Qt::Key_Left);
        press(*window, Qt::Key_Backspace);
        QVERIFY(caretIs(home));
        press(*window, Qt::Key_End);
        QVERIFY(caretIs(kSlotCount));
        press(*window, Qt::Key_Right);
        QVERIFY(caretIs(kSlotCount));
        click(paletteImageOf("один"));
        press(*window, Qt::Key_Return, QStringLiteral("\r"));
        press(*window, Qt::Key_Enter, QStringLiteral("\r"));
        QVERIFY(caretIs(kSlotCount)); // never past the last slot
        QCOMPARE(state().slot(kSlotCount), placed("один"));
        QCOMPARE(state().slot(1).picture, Picture::blue(Glyph::x)); // the drawn side kept
    }

    // The caret slot with the focus shows a frame outside the picture's field; it moves with
    // the caret and leaves the slot as it was.
    void caretSlotShowsTheFocusFrame() {
        click("Cmd3_Start");
        const int home = state().caret;
        typeText(*window, "y"); // a glyph under the frame to come
        SymbolImage* slot = slotImage(*window, home);
        SymbolImage* next = slotImage(*window, home + 1);
        click(slotName(kSlotCount)); // the mouse on the row: the typed caret's mark goes
        const QImage plain = grabbed(slot), nextPlain = grabbed(next);
        tabToRow();
        if (QTest::currentTestFailed()) return;
        QCOMPARE(window->focusWidget(), next);
        QVERIFY(grabbed(next) != nextPlain);
        press(*window, Qt::Key_Left);
        QCOMPARE(window->focusWidget(), slot);
        QVERIFY(grabbed(next) == nextPlain);

        const int dpr = screenRatio();
        const QImage framed = grabbed(slot);
        const std::vector<QPoint> changed = differing(plain, framed);
        QVERIFY(!changed.empty());
        const QRect field = fieldOf(Glyph::y);
        const QRect fieldPx(field.topLeft() * dpr, field.size() * dpr);
        for (const QPoint& p : changed)
            QVERIFY2(!fieldPx.contains(p),
                     qPrintable(
                         QStringLiteral("pixel %1,%2 of the field changed").arg(p.x()).arg(p.y())));
        // Dark dashes down both sides and along the top and bottom.
        for (const QRect band :
             {QRect(2, 0, 3, 32), QRect(27, 0, 3, 32), QRect(0, 0, 32, 2), QRect(0, 30, 32, 2)})
            QVERIFY2(countIn(framed, band, isDark) - countIn(plain, band, isDark) >= 6 * dpr,
                     qPrintable(QStringLiteral("band %1,%2").arg(band.x()).arg(band.y())));

        // Once a key wrote in the row, the frame stays where the next symbol goes, wherever
        // the focus is, until the mouse is used on the row.
        focusOn("Command1");
        QVERIFY(grabbed(slot) == framed);
        click(slotName(kSlotCount));
        QVERIFY(grabbed(slot) == plain);
    }

    // A "!" typed waits in the caret slot as a "¬" mark and is announced; the next key takes
    // it away, whether it completes a symbol, cannot follow it or is Escape.
    void waitingBarIsMarkedAndAnnounced() {
        click("Cmd3_Start");
        const int home = state().caret;
        SymbolImage* slot = slotImage(*window, home);
        press(*window, Qt::Key_Backspace); // nothing to empty; the caret's slot is marked
        const QImage plain = grabbed(slot);
        const QString name = slot->accessibleName();
        QCOMPARE(name, QStringLiteral("Ячейка %1: пусто").arg(home));
        const QString waiting = name + QStringLiteral(", ждёт символ под чертой");

        const int dpr = screenRatio();
        typeText(*window, "!");
        const QImage marked = grabbed(slot);
        const std::vector<QPoint> changed = differing(plain, marked);
        QVERIFY(!changed.empty());
        // Large and in the middle of the slot, where the symbol will go: easy to see.
        const QRect middle(8, 8, 16, 16); // logical pixels
        int inMiddle = 0;
        for (const QPoint& p : changed)
            inMiddle += QRect(middle.topLeft() * dpr, middle.size() * dpr).contains(p) ? 1 : 0;
        QVERIFY2(inMiddle >= 20 * dpr * dpr, qPrintable(QString::number(inMiddle)));
        QCOMPARE(slot->accessibleName(), waiting);
        QCOMPARE(QAccessible::queryAccessibleInterface(slot)->text(QAccessible::Name), waiting);
        typeText(*window, "!");
        QVERIFY(grabbed(slot) != marked); // two bars waiting, two marks
        QCOMPARE(slot->accessibleName(), waiting);

        typeText(*window, "z"); // cannot follow: nothing placed, the mark goes
        QCOMPARE(state().barsTyped, 0);
        QCOMPARE(state().caret, home);
        QVERIFY(grabbed(slot) == plain);
        QCOMPARE(slot->accessibleName(), name);

        typeText(*window, "!");
        QVERIFY(grabbed(slot) == marked);
        press(*window, Qt::Key_Escape);
        QVERIFY(grabbed(slot) == plain);
        QCOMPARE(slot->accessibleName(), name);

        // On the last slot the caret stays where the symbol went: the mark must still go.
        tabToRow();
        press(*window, Qt::Key_End);
        focusOn("Command1");
        SymbolImage* last = slotImage(*window, kSlotCount);
        typeText(*window, "!");
        QVERIFY(last->accessibleName().endsWith(QStringLiteral(", ждёт символ под чертой")));
        typeText(*window, "x");
        QCOMPARE(state().caret, kSlotCount);
        QCOMPARE(state().slot(kSlotCount), placed("no_x"));
        click(slotName(1)); // the mouse on the row: no caret mark, as in a window only dragged to
        const QImage typed = grabbed(last);
        const QString typedName = last->accessibleName();

        const auto dropped = openWindow();
        dropOnSlot(*dropped, "no_x", kSlotCount);
        QVERIFY(grabbed(slotImage(*dropped, kSlotCount)) == typed);
        QCOMPARE(typedName, slotImage(*dropped, kSlotCount)->accessibleName());
    }

    // A palette symbol is a check box to a screen reader, checked while picked; a slot's name
    // follows what is typed into it.
    void screenReadersKnowThePickAndTheSlots() {
        QAccessibleInterface* y = QAccessible::queryAccessibleInterface(palette("y"));
        QAccessibleInterface* x = QAccessible::queryAccessibleInterface(palette("x"));
        QVERIFY(y && x);
        QCOMPARE(y->role(), QAccessible::CheckBox);
        QVERIFY(y->state().checkable);
        QVERIFY(!y->state().checked);
        QCOMPARE(y->text(QAccessible::Name), palette("y")->accessibleName());
        QVERIFY(!y->text(QAccessible::Name).isEmpty());

        click(paletteImageOf("y"));
        QVERIFY(y->state().checked);
        QVERIFY(!x->state().checked);
        click(paletteImageOf("x"));
        QVERIFY(!y->state().checked);
        QVERIFY(x->state().checked);
        press(*window, Qt::Key_Escape);
        QVERIFY(!x->state().checked);

        click("Cmd3_Start");
        const int home = state().caret;
        QAccessibleInterface* slot =
            QAccessible::queryAccessibleInterface(slotImage(*window, home));
        QVERIFY(slot);
        QVERIFY(slot->role() != QAccessible::CheckBox);
        QVERIFY(!slot->state().checkable);
        QCOMPARE(slot->text(QAccessible::Name), QStringLiteral("Ячейка %1: пусто").arg(home));
        typeText(*window, "y");
        QCOMPARE(slot->text(QAccessible::Name),
                 QStringLiteral("Ячейка %1: %2").arg(home).arg(palette("y")->accessibleName()));
        focusOn("row");
        press(*window, Qt::Key_Backspace);
        QCOMPARE(slot->text(QAccessible::Name), QStringLiteral("Ячейка %1: пусто").arg(home));
    }

    // While the rules box is open no key writes: neither those the box gets nor any that
    // reach the window's own controls.
    void keysDoNothingUnderTheRulesBox() {
        click("Cmd3_Start");
        typeText(*window, "!"); // a bar waiting for its symbol
        const FormState before = state();
        bool seen = false;
        FormState during;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            seen = true;
            // As the keyboard sends them: to the box, the focus window.
            for (QChar c : QStringLiteral("xч!y1"))
                QTest::sendKeyEvent(QTest::Click, box->windowHandle(), keyOf(c), QString(c),
                                    Qt::NoModifier);
            // Straight to the window's focused control and to the row.
            for (QWidget* target :
                 {window->focusWidget(), static_cast<QWidget*>(slotImage(*window, state().caret))})
                for (QChar c : QStringLiteral("xv!y")) {
                    QKeyEvent key(QEvent::KeyPress, keyOf(c), Qt::NoModifier, QString(c));
                    QApplication::sendEvent(target, &key);
                }
            during = state();
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            if (ok)
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                box->reject();
        });
        QTimer::singleShot(5000, this, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        poll.start();
        click("Command4");
        QVERIFY2(seen, "no rules box appeared");
        QVERIFY(during == before);
        QVERIFY(state() == before);
        QCOMPARE(state().barsTyped, 1);
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
