// End to end: the real window on a real X display (Xvfb), driven by the real X pointer and the
// real X keyboard through xdotool, read back from the window's core and from the pixels on the
// screen.
//
// xdotool runs as a separate process while this process keeps spinning its event loop: a
// press on a palette symbol enters QDrag::exec, whose nested loop must see the X events of the
// moves and of the release that follow.
#include "app/classroom.h"
#include "journal/journal_csv.h"
#include "journal/journal_file.h"
#include "journal/journal_writer.h"
#include "look/window_font.h"
#include "pupil/main_window.h"
#include "pupil/window_test_support.h"
#include "support/russian_keys.h"
#include "teacher/journal_view.h"
#include "teacher/review_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#ifndef E2E_SCREENSHOT_DIR
#error "E2E_SCREENSHOT_DIR must name the folder for the screenshots"
#endif

namespace {

constexpr int kTimeoutMs = 10000;
// Where the window sits on the 1280 × 1024 virtual screen; a point right of it is bare root.
constexpr QPoint kWindowPos(100, 80);
constexpr QPoint kOutsideWindow(950, 300);

const QRgb kBandBlue = qRgb(192, 192, 255); // the slot band, 0xC0C0FF
const QRgb kPromptCyan = qRgb(0, 255, 255); // the start prompt, 0x00FFFF

// The opaque white field of a symbol picture: columns 8 … 22, rows 3 … 27 of its 32 × 32.
const QRect kField(8, 3, 15, 25);

bool isBlueInk(QRgb p) {
    return qBlue(p) - std::max(qRed(p), qGreen(p)) > 120;
}
bool isRedInk(QRgb p) {
    return qRed(p) - std::max(qGreen(p), qBlue(p)) > 120;
}
bool isDarkGreen(QRgb p) {
    return qGreen(p) - std::max(qRed(p), qBlue(p)) > 40;
}
bool isDark(QRgb p) {
    return qGray(p) < 110;
}
// The frame around a picked palette symbol, 0xE06000.
bool isPickOrange(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 70 && qGreen(p) < 130 && qBlue(p) < 40;
}

int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y))) ++n;
    return n;
}

QString rgbText(QRgb p) {
    return QStringLiteral("(%1,%2,%3)").arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
}

// Counts two kinds of event delivered to one widget, or to anything when watching the application.
class EventCount : public QObject {
  public:
    EventCount(QObject* watched, QEvent::Type first, QEvent::Type second)
        : firstType(first), secondType(second) {
        watched->installEventFilter(this);
    }
    int first = 0;
    int second = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == firstType) ++first;
        if (event->type() == secondType) ++second;
        return false;
    }

  private:
    QEvent::Type firstType, secondType;
};

// A palette image has no children of its own: the one it gets on a press is its QDrag, which Qt
// deletes once the drag is over. So a drag has started and ended when both counts are one.
struct DragWatch : EventCount {
    explicit DragWatch(QWidget* source)
        : EventCount(source, QEvent::ChildAdded, QEvent::ChildRemoved) {}
    const int& started = first;
    const int& ended = second;
};

// Counts the drag events Qt delivers to one slot.
struct SlotWatch : EventCount {
    explicit SlotWatch(QWidget* slot) : EventCount(slot, QEvent::DragEnter, QEvent::Drop) {}
    const int& entered = first;
    const int& dropped = second;
};

// Records, across palette images, when each one's drag starts and ends, and the deepest nesting.
class DragNesting : public QObject {
  public:
    explicit DragNesting(const std::vector<QWidget*>& sources) {
        for (QWidget* w : sources)
            w->installEventFilter(this);
    }
    int running = 0, deepest = 0, started = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded) {
            ++started;
            deepest = std::max(deepest, ++running);
        }
        if (event->type() == QEvent::ChildRemoved) --running;
        return false;
    }
};

// Counts the messages Qt prints that contain a given text, while it lives.
class MessageCount {
  public:
    explicit MessageCount(const char* text) {
        watched = text;
        count = 0;
        previous = qInstallMessageHandler(handler);
    }
    ~MessageCount() { qInstallMessageHandler(previous); }
    int seen() const { return count; }

  private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (text.contains(QLatin1String(watched))) ++count;
        previous(type, context, text);
    }
    static inline const char* watched = nullptr;
    static inline int count = 0;
    static inline QtMessageHandler previous = nullptr;
};

// The keys typed for each symbol, as a pupil would on a Latin layout.
struct KeysOfTag {
    std::string_view tag;
    const char* keys;
};
constexpr KeysOfTag kKeysOfTag[] = {
    {"x", "x"},   {"y", "y"},  {"z", "z"},       {"no_x", "!x"}, {"no_y", "!y"}, {"no_no_x", "!!x"},
    {"или", "v"}, {"и", "*"},  {"no_ili", "!v"}, {"no_i", "!*"}, {"imp", ">"},   {"ekv", "<"},
    {"so", "("},  {"sz", ")"}, {"равно", "="},   {"ноль", "0"},  {"один", "1"},
};

// The Russian letters a pupil types for x, y, z and v, bound to spare keys while the test runs.
const QString kRussianLetters = QStringLiteral("чням");

// What a pupil types for a law: its symbols' keys one after the other.
QString typedLaw(int lawNumber) {
    QString typed;
    for (std::string_view tag : law_keys::lawTags(lawNumber)) {
        const auto* it = std::find_if(std::begin(kKeysOfTag), std::end(kKeysOfTag),
                                      [&](const KeysOfTag& k) { return k.tag == tag; });
        if (it == std::end(kKeysOfTag)) qFatal("no keys for the tag %s", std::string(tag).c_str());
        typed += QLatin1String(it->keys);
    }
    return typed;
}

} // namespace

// Readable pictures in failure messages.
char* toString(const Picture& picture) {
    static const char* const inks[] = {"none", "blank", "blue", "red"};
    const auto stem = symbolOf(picture.glyph).drawing;
    return QTest::toString(QStringLiteral("%1 %2")
                               .arg(QLatin1String(inks[static_cast<int>(picture.ink)]))
                               .arg(QLatin1String(stem.data(), qsizetype(stem.size()))));
}

// The helpers check with QVERIFY; a failure inside one ends the test function too.
#define STEP(call)                                                                                 \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed()) return;                                                    \
    } while (false)

class RealMouseTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase() { xKeyboard.reset(); }
    void init();
    void cleanup();

    void windowAfterLoad();
    void trainerFormulaThenClear();
    void trainerHintThenCheck();
    void testModeWholeLaw();
    void dropsOutsideTheSlotsChangeNothing();
    void pressDuringAnotherDragStartsNoSecond();
    void wholeTestFromTheKeyboard();
    void typedLawJudgedRight_data();
    void typedLawJudgedRight();
    void clickToPickThenKeysInTheRow();
    void teacherSeesTheTestRunAndItsJournal();

  private:
    SymbolImage* image(const QString& name) const;
    QWidget* widget(const QString& name) const;
    SymbolImage* palette(std::string_view tag) const { return image(paletteImageOf(tag)); }
    SymbolImage* slot(int k) const { return image(slotName(k)); }
    // In X screen pixels, which are the window's own at scale 1 (init checks it).
    QPoint centreOnScreen(QWidget* w) const { return w->mapToGlobal(w->rect().center()); }

    void xdotool(const QStringList& args);
    void click(const QString& name);
    void drag(std::string_view tag, int k);
    void dragAndRelease(std::string_view tag, const std::vector<QPoint>& waypoints);
    // Real keys: xdotool key names ("Tab", "shift+Tab", "BackSpace"), or text typed as it is.
    void keys(const QStringList& names);
    void checkKeysReachTheWindow();
    void type(const QString& text);
    // Presses `key` (Tab or shift+Tab) until the focus reaches `target`, each press waited for.
    void tabTo(QWidget* target, const char* key);
    void startTestAt(int question);

    // The form's texts as QStrings, so that a failure shows them.
    QString tag(int k) const { return qs(window->form().state.slot(k).tag); }
    QString key() const { return qs(window->form().formulaKey()); }
    QString verdict() const { return qs(window->form().state.verdict); }
    QString picked() const { return qs(window->form().state.picked); }
    QString labelText(const char* name) const {
        return qobject_cast<QLabel*>(widget(name))->text();
    }

    QImage grab() const;
    QImage fieldOn(const QImage& shot, const QWidget* image) const;
    void save(const QImage& shot, const QString& fileName);

    // Slot k and the tag of the palette symbol it should show.
    using SlotSymbols = std::vector<std::pair<int, std::string_view>>;
    void checkSlotsShowPalette(const SlotSymbols& slotAndTag);
    void checkFirstAnswerRight();
    // Orange pixels in the window, leaving out the instructions, whose back colour is drawn at
    // random at each Start and is orange now and then.
    int pickOrangeInWindow(QImage shot) const;
    void checkFramesShown(const QWidget* pickedSymbol, const QWidget* caret,
                          const QWidget* emptySlot);

    std::unique_ptr<MainWindow> window;
    Classroom* classroom = nullptr; // the window's child
    std::unique_ptr<RussianKeys> xKeyboard;
    QDir screenshots;
};

void RealMouseTest::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is not installed");
    installWindowFont();
    screenshots.setPath(QStringLiteral(E2E_SCREENSHOT_DIR));
    QVERIFY(screenshots.mkpath(QStringLiteral(".")));
    // Bound before any window exists: the keymap change reaches the window before any key does.
    xKeyboard = std::make_unique<RussianKeys>(kRussianLetters);
    QVERIFY2(xKeyboard->isReady(), "no spare keys for the Russian letters");
}

void RealMouseTest::init() {
    window = std::make_unique<MainWindow>();
    classroom = new Classroom(window.get());
    window->move(kWindowPos);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    // xdotool speaks X pixels; the points below are the window's, the same only at scale 1.
    QCOMPARE(window->devicePixelRatioF(), 1.0);
    // Qt must know where the window really is before points are mapped to the screen.
    QTRY_COMPARE_WITH_TIMEOUT(window->mapToGlobal(QPoint(0, 0)), kWindowPos, kTimeoutMs);
}

void RealMouseTest::cleanup() {
    window.reset();
}

SymbolImage* RealMouseTest::image(const QString& name) const {
    auto* w = qobject_cast<SymbolImage*>(widget(name));
    if (!w) qFatal("no image control %s", qPrintable(name));
    return w;
}

QWidget* RealMouseTest::widget(const QString& name) const {
    QWidget* w = window->control(name);
    if (!w) qFatal("no control %s", qPrintable(name));
    return w;
}

// Runs xdotool to its end while the event loop keeps running.
void RealMouseTest::xdotool(const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("xdotool"), args);
    QVERIFY2(process.waitForStarted(kTimeoutMs), qPrintable(process.errorString()));
    // A drag that never ends would keep the nested loop of QDrag::exec running for ever; say so
    // instead of hanging until the test driver kills us.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [&] {
        qFatal("xdotool %s: the pointer sequence did not end", qPrintable(args.join(' ')));
    });
    watchdog.start(3 * kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, kTimeoutMs);
    watchdog.stop();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void RealMouseTest::click(const QString& name) {
    QWidget* target = widget(name);
    const QPoint at = centreOnScreen(target);
    // Whatever is drawn on top there would take the click instead.
    QCOMPARE(QApplication::widgetAt(at), target);
    QStringList args;
    // mousemove --sync waits for the pointer to move, so never ask it to stay where it is.
    if (QCursor::pos() != at)
        args += {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())};
    args += {"click", "1"};
    EventCount buttons(target, QEvent::MouseButtonPress, QEvent::MouseButtonRelease);
    xdotool(args);
    // Done once the control has had the release, whatever the click then did.
    QTRY_VERIFY_WITH_TIMEOUT(buttons.second >= 1, kTimeoutMs);
}

// The keys go where the X server sends them: to the window only while it has the input focus.
void RealMouseTest::checkKeysReachTheWindow() {
    const WId focus = xKeyboard->inputFocus();
    QVERIFY2(focus == window->winId(),
             qPrintable(QStringLiteral("the X input focus is on 0x%1, not on the window 0x%2")
                            .arg(focus, 0, 16)
                            .arg(window->winId(), 0, 16)));
}

void RealMouseTest::keys(const QStringList& names) {
    STEP(checkKeysReachTheWindow());
    xdotool(QStringList{"key", "--delay", "30"} + names);
}

// Latin text through xdotool's typing, the Russian letters by pressing the keys bound to them.
void RealMouseTest::type(const QString& text) {
    STEP(checkKeysReachTheWindow());
    QString latin;
    QStringList russian;
    auto flush = [&] {
        if (!latin.isEmpty()) xdotool({"type", "--delay", "30", "--", latin});
        if (!russian.isEmpty()) xdotool(QStringList{"key", "--delay", "30"} + russian);
        latin.clear();
        russian.clear();
    };
    for (QChar c : text) {
        const QString key = xKeyboard->keyOf(c);
        if (key.isEmpty() != russian.isEmpty()) STEP(flush());
        if (key.isEmpty())
            latin += c;
        else
            russian += key;
    }
    STEP(flush());
}

void RealMouseTest::tabTo(QWidget* target, const char* key) {
    for (int presses = 0; presses < 60 && QApplication::focusWidget() != target; ++presses) {
        QWidget* before = QApplication::focusWidget();
        STEP(keys({QLatin1String(key)}));
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget() != before, kTimeoutMs);
    }
    QCOMPARE(QApplication::focusWidget(), target);
}

// Test mode started by clicks, then Check pressed with Space on an empty row until `question`
// is asked; the focus is left on Check.
void RealMouseTest::startTestAt(int question) {
    const FormState& s = window->form().state;
    STEP(click("Option1(1)"));
    QTRY_COMPARE_WITH_TIMEOUT(s.mode, Mode::test, kTimeoutMs);
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    STEP(tabTo(widget("Command1"), "shift+Tab"));
    // Presses far enough apart not to be taken for a held key's repeats, even on a busy server.
    STEP(checkKeysReachTheWindow());
    if (question > 1)
        STEP(xdotool(QStringList{"key", "--delay", "100"} +
                     QStringList(question - 1, QStringLiteral("space"))));
    QTRY_COMPARE_WITH_TIMEOUT(s.question, question, kTimeoutMs);
    QCOMPARE(s.wrongCount, question - 1);
    QCOMPARE(s.rightCount, 0);
}

// A real drag: press on the palette image, move in small steps through the waypoints, release
// at the last one; waits until Qt has finished the drag.
void RealMouseTest::dragAndRelease(std::string_view tag, const std::vector<QPoint>& waypoints) {
    SymbolImage* source = palette(tag);
    QVERIFY(source->children().isEmpty());
    const QPoint start = centreOnScreen(source);
    QCOMPARE(QApplication::widgetAt(start), source);
    DragWatch watch(source);

    auto number = [](int v) { return QString::number(v); };
    QStringList args;
    if (QCursor::pos() != start)
        args += {"mousemove", "--sync", number(start.x()), number(start.y())};
    args += {"mousedown", "1"};
    QPoint last = start;
    for (const QPoint& to : waypoints) {
        constexpr int kSteps = 5;
        const QPoint from = last;
        for (int i = 1; i <= kSteps; ++i) {
            const QPoint p = from + (to - from) * i / kSteps;
            if (p == last) continue;
            args += {"sleep", "0.03", "mousemove", "--sync", number(p.x()), number(p.y())};
            last = p;
        }
    }
    args += {"sleep", "0.03", "mouseup", "1"};
    xdotool(args);
    QTRY_COMPARE_WITH_TIMEOUT(watch.ended, 1, kTimeoutMs);
    QCOMPARE(watch.started, 1);
}

void RealMouseTest::drag(std::string_view tag, int k) {
    SymbolImage* target = slot(k);
    const QPoint end = centreOnScreen(target);
    // The outlines over the odd slots let the mouse through; nothing else may cover a slot.
    QCOMPARE(QApplication::widgetAt(end), target);
    SlotWatch watch(target);
    dragAndRelease(tag, {end});
    QCOMPARE(watch.dropped, 1);
}

QImage RealMouseTest::grab() const {
    return window->screen()
        ->grabWindow(window->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage RealMouseTest::fieldOn(const QImage& shot, const QWidget* image) const {
    const QPoint topLeft = image->mapTo(window.get(), QPoint(0, 0));
    return shot.copy(kField.translated(topLeft));
}

void RealMouseTest::save(const QImage& shot, const QString& fileName) {
    const QString path = screenshots.filePath(fileName);
    QVERIFY2(shot.save(path), qPrintable(path));
    qInfo("screenshot: %s", qPrintable(path));
}

// Each slot holds the palette symbol's picture, and the screen shows the same pixels in both.
void RealMouseTest::checkSlotsShowPalette(const SlotSymbols& slotAndTag) {
    for (const auto& [k, tag] : slotAndTag) {
        QCOMPARE(palette(tag)->picture(), Picture::blue(glyphOfTag(tag)));
        QCOMPARE(slot(k)->picture(), palette(tag)->picture());
        QCOMPARE(window->form().state.slot(k).picture, palette(tag)->picture());
    }
    auto screenAgrees = [&] {
        const QImage shot = grab();
        for (const auto& [k, tag] : slotAndTag)
            if (fieldOn(shot, slot(k)) != fieldOn(shot, palette(tag))) return false;
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(screenAgrees(), kTimeoutMs);
}

// Check on the first question's right answer: the verdict, one right, none wrong, question 2.
void RealMouseTest::checkFirstAnswerRight() {
    STEP(click("Command1"));
    QTRY_COMPARE_WITH_TIMEOUT(verdict(), QStringLiteral("правильно"), kTimeoutMs);
    QCOMPARE(qobject_cast<QLineEdit*>(widget("Text1"))->text(), QStringLiteral("правильно"));
    QCOMPARE(qobject_cast<QLabel*>(widget("Label4"))->text(), QStringLiteral("1"));
    QCOMPARE(qobject_cast<QLabel*>(widget("Label5"))->text(), QStringLiteral("0"));
    QCOMPARE(qobject_cast<QLabel*>(widget("Label3"))->text(), QStringLiteral("2"));
}

int RealMouseTest::pickOrangeInWindow(QImage shot) const {
    const QWidget* instructions = widget("Label9");
    if (instructions->isVisible()) {
        QPainter painter(&shot);
        painter.fillRect(
            QRect(instructions->mapTo(window.get(), QPoint(0, 0)), instructions->size()),
            Qt::black);
    }
    return countPixels(shot, shot.rect(), isPickOrange);
}

// On the screen: the orange frame around the picked palette symbol and nowhere else, and the
// dashed focus frame down both sides of the caret slot, which an empty slot without the caret
// does not show.
void RealMouseTest::checkFramesShown(const QWidget* pickedSymbol, const QWidget* caret,
                                     const QWidget* emptySlot) {
    auto inWindow = [&](const QWidget* w, const QRect& part) {
        return part.translated(w->mapTo(window.get(), QPoint(0, 0)));
    };
    // Columns 2 … 4 and 27 … 29 of a slot's 32, clear of its outline and of its picture.
    const QRect leftSide(2, 2, 3, 28), rightSide(27, 2, 3, 28);
    auto shown = [&] {
        const QImage shot = grab();
        const int orange =
            countPixels(shot, inWindow(pickedSymbol, pickedSymbol->rect()), isPickOrange);
        if (orange < 100 || pickOrangeInWindow(shot) != orange) return false;
        for (const QRect& side : {leftSide, rightSide}) {
            if (countPixels(shot, inWindow(caret, side), isDark) < 8) return false;
            if (countPixels(shot, inWindow(emptySlot, side), isDark) != 0) return false;
        }
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(shown(), kTimeoutMs);
}

void RealMouseTest::windowAfterLoad() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(window->size(), QSize(643, 405));

    // The screen catches up with the first paint on its own time.
    QImage shot;
    auto painted = [&] {
        shot = grab();
        return shot.pixel(22, 184) == kBandBlue;
    };
    QTRY_VERIFY_WITH_TIMEOUT(painted(), kTimeoutMs);
    STEP(save(shot, QStringLiteral("window.png")));
    QCOMPARE(shot.size(), QSize(643, 405));

    // The light-blue band under the nineteen empty slots, from x 16 to 624, rows 168 … 199.
    for (int k = 1; k <= kSlotCount; ++k) {
        const QPoint at = slot(k)->mapTo(window.get(), QPoint(0, 0));
        QCOMPARE(at, QPoint(16 + 32 * (k - 1), 168));
        for (QPoint p : {at + QPoint(2, 16), at + QPoint(16, 16), at + QPoint(29, 4)})
            QVERIFY2(shot.pixel(p) == kBandBlue, qPrintable(QStringLiteral("slot %1 at %2,%3 is %4")
                                                                .arg(k)
                                                                .arg(p.x())
                                                                .arg(p.y())
                                                                .arg(rgbText(shot.pixel(p)))));
    }
    QVERIFY(shot.pixel(12, 184) != kBandBlue);
    QVERIFY(shot.pixel(630, 184) != kBandBlue);
    QVERIFY(shot.pixel(300, 164) != kBandBlue);
    QVERIFY(shot.pixel(300, 203) != kBandBlue);
    // The outline of slot 1 is drawn over the band.
    QVERIFY(isDark(shot.pixel(16, 184)));

    // The cyan start prompt at 392,288 (233 × 25), with its text drawn and not cut at the right.
    const QRect prompt(392, 288, 233, 25);
    QCOMPARE(widget("Label6")->geometry(), prompt);
    QCOMPARE(shot.pixel(prompt.right() - 2, prompt.bottom() - 1), kPromptCyan);
    QCOMPARE(shot.pixel(prompt.left() + 1, prompt.top() + 1), kPromptCyan);
    QVERIFY(countPixels(shot, prompt, isDark) > 100);
    QCOMPARE(countPixels(shot, prompt.adjusted(prompt.width() - 8, 0, 0, 0), isDark), 0);

    // The green italic title, and blue ink on white in every one of the 17 palette symbols.
    QVERIFY(countPixels(shot, widget("Label1")->geometry(), isDarkGreen) > 200);
    for (const PlacedSymbol& placed : kPaletteLayout) {
        const QImage field = fieldOn(shot, palette(placed.tag));
        const QByteArray name = paletteImageOf(placed.tag).toLatin1();
        QVERIFY2(countPixels(field, field.rect(), isBlueInk) > 5, name.constData());
        QVERIFY2(field.pixel(0, 0) == qRgb(255, 255, 255), name.constData());
    }
    // The hidden red hint pictures show nowhere.
    QCOMPARE(countPixels(shot, shot.rect(), isRedInk), 0);
}

void RealMouseTest::trainerFormulaThenClear() {
    const FormState& s = window->form().state;
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    QCOMPARE(s.question, 1);
    // Law 1's left-hand side, x или y =, drawn by the trainer.
    const SlotSymbols law1Left{{1, "x"}, {2, "или"}, {3, "y"}, {4, "равно"}};
    STEP(checkSlotsShowPalette(law1Left));

    STEP(drag("x", 5));
    STEP(drag("или", 6));
    STEP(drag("y", 7));
    QCOMPARE(tag(5), QStringLiteral("x"));
    QCOMPARE(tag(6), QStringLiteral("или"));
    QCOMPARE(tag(7), QStringLiteral("y"));
    for (int k : {1, 2, 3, 4, 8, 19})
        QCOMPARE(tag(k), QString());
    STEP(checkSlotsShowPalette({{5, "x"}, {6, "или"}, {7, "y"}}));
    STEP(save(grab(), QStringLiteral("before_clear.png")));

    STEP(click("Command2"));
    QTRY_COMPARE_WITH_TIMEOUT(tag(5), QString(), kTimeoutMs);
    for (int k = 5; k <= kSlotCount; ++k) {
        QCOMPARE(tag(k), QString());
        QCOMPARE(s.slot(k).picture, Picture::blank());
        QCOMPARE(slot(k)->picture(), Picture::blank());
    }
    for (int k = 1; k <= 4; ++k)
        QCOMPARE(tag(k), QString());
    STEP(checkSlotsShowPalette(law1Left));
    // On the screen the cleared slots show the band alone.
    auto clearedOnScreen = [&] {
        const QImage shot = grab();
        for (int k = 5; k <= kSlotCount; ++k) {
            const QImage field = fieldOn(shot, slot(k));
            if (countPixels(field, field.rect(), [](QRgb p) { return p != kBandBlue; }) > 0)
                return false;
        }
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(clearedOnScreen(), kTimeoutMs);
    QCOMPARE(s.question, 1);
    STEP(save(grab(), QStringLiteral("after_clear.png")));
}

void RealMouseTest::trainerHintThenCheck() {
    const FormState& s = window->form().state;
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    STEP(click("Command3"));
    // Law 1's right-hand side, y или x, in red after the "=".
    QTRY_COMPARE_WITH_TIMEOUT(s.slot(5).picture, Picture::red(Glyph::y), kTimeoutMs);
    QCOMPARE(s.slot(6).picture, Picture::red(Glyph::orSign));
    QCOMPARE(s.slot(7).picture, Picture::red(Glyph::x));
    QCOMPARE(s.slot(8).picture, Picture::blank());
    QCOMPARE(key(), QString());
    auto redOnScreen = [&] {
        const QImage shot = grab();
        for (int k : {5, 6, 7}) {
            const QImage field = fieldOn(shot, slot(k));
            if (countPixels(field, field.rect(), isRedInk) < 5) return false;
        }
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(redOnScreen(), kTimeoutMs);
    STEP(save(grab(), QStringLiteral("trainer_hint.png")));

    // The blue symbols over the red ones.
    STEP(drag("y", 5));
    STEP(drag("или", 6));
    STEP(drag("x", 7));
    QCOMPARE(key(), QStringLiteral("yилиx"));
    STEP(checkSlotsShowPalette({{5, "y"}, {6, "или"}, {7, "x"}}));

    STEP(checkFirstAnswerRight());
    // The row now shows law 2's left-hand side x • y = and nothing after it.
    STEP(checkSlotsShowPalette({{1, "x"}, {2, "и"}, {3, "y"}, {4, "равно"}}));
    QCOMPARE(s.slot(5).picture, Picture::blank());
    STEP(save(grab(), QStringLiteral("trainer_checked.png")));
}

void RealMouseTest::testModeWholeLaw() {
    const FormState& s = window->form().state;
    STEP(click("Option1(1)"));
    QTRY_COMPARE_WITH_TIMEOUT(s.mode, Mode::test, kTimeoutMs);
    QVERIFY(qobject_cast<QRadioButton*>(widget("Option1(1)"))->isChecked());
    QVERIFY(!qobject_cast<QRadioButton*>(widget("Option1(0)"))->isChecked());
    QVERIFY(!widget("Command3")->isVisible());

    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    for (int k = 1; k <= kSlotCount; ++k)
        QCOMPARE(s.slot(k).picture, Picture::blank());

    // Law 1 in its other form: y или x = x или y.
    const SlotSymbols law1Alternative{{1, "y"}, {2, "или"}, {3, "x"}, {4, "равно"},
                                      {5, "x"}, {6, "или"}, {7, "y"}};
    for (const auto& [k, tag] : law1Alternative)
        STEP(drag(tag, k));
    QCOMPARE(key(), QStringLiteral("yилиxравноxилиy"));
    STEP(checkSlotsShowPalette(law1Alternative));

    STEP(checkFirstAnswerRight());
    // The test mode leaves the pupil's formula in the row.
    STEP(checkSlotsShowPalette(law1Alternative));
    STEP(save(grab(), QStringLiteral("test_checked.png")));
}

void RealMouseTest::dropsOutsideTheSlotsChangeNothing() {
    const FormState& s = window->form().state;
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    const FormState before = s;

    struct Case {
        std::string_view tag;
        int crossedSlot; // the drag passes over it, so only the place of release differs
        QPoint release;
        const char* where;
    };
    const Case cases[] = {
        {"x", 10, centreOnScreen(palette("x")), "on the symbol itself"},
        {"y", 11, centreOnScreen(palette("z")), "on another palette symbol"},
        {"или", 12, centreOnScreen(widget("Command1")), "on the Check button"},
        {"и", 13, centreOnScreen(widget("Command2")), "on the Clear button"},
        {"равно", 14, kOutsideWindow, "outside the window"},
    };
    for (const Case& c : cases) {
        SlotWatch crossed(slot(c.crossedSlot));
        STEP(dragAndRelease(c.tag, {centreOnScreen(slot(c.crossedSlot)), c.release}));
        QVERIFY2(crossed.entered >= 1, c.where);
        QVERIFY2(crossed.dropped == 0, c.where);
        QVERIFY2(s == before, c.where);
    }

    // The window is not left inside a drag: a drop onto a slot still works.
    STEP(drag("z", 10));
    QCOMPARE(tag(10), QStringLiteral("z"));
}

// A pupil's quick click on one symbol, then a press and drag on another, over and over with no
// pause: a press that reaches a symbol before the last drag has wound down must not start a drag
// inside it, and is ignored. A click that is taken picks x, the next unpicks it; it never starts a
// drag. Then ten quick clicks on x alone, with no drag between them: ten toggles.
void RealMouseTest::pressDuringAnotherDragStartsNoSecond() {
    const FormState& s = window->form().state;
    STEP(click("Option1(1)"));
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    std::vector<QWidget*> sources;
    for (const PlacedSymbol& placed : kPaletteLayout)
        sources.push_back(palette(placed.tag));
    DragNesting drags(sources);
    MessageCount invalid("possibly invalid state");
    QObject receiver;
    int xClicks = 0;
    connect(palette("x"), &SymbolImage::clicked, &receiver, [&] { ++xClicks; });

    auto number = [](int v) { return QString::number(v); };
    const QPoint first = centreOnScreen(palette("x")), second = centreOnScreen(palette("y"));
    const QPoint target = centreOnScreen(slot(5));
    QStringList args{"mousemove", "--sync", number(first.x()), number(first.y())};
    // Ten rounds of click, then press and drag on the next symbol, all sent at once.
    for (int round = 0; round < 10; ++round) {
        args += {"mousemove", number(first.x()), number(first.y()), "click", "1"};
        args += {"mousemove", number(second.x()), number(second.y()), "mousedown", "1"};
        for (int i = 1; i <= 4; ++i) {
            const QPoint p = second + (target - second) * i / 4;
            args += {"mousemove", number(p.x()), number(p.y())};
        }
        args += {"mouseup", "1"};
    }
    STEP(xdotool(args));
    // The window is not left inside a drag: a drop onto a slot still works. Its events come
    // after all of the rounds', so once it is over the rounds are too.
    STEP(drag("z", 10));
    QCOMPARE(tag(10), QStringLiteral("z"));
    QCOMPARE(drags.running, 0);
    QVERIFY2(drags.started >= 2, "no round started a drag");
    QCOMPARE(drags.deepest, 1);
    QCOMPARE(invalid.seen(), 0);
    // Each click x took toggled its pick: the first round's at least, as no drag ran before it.
    // y, only ever pressed to be dragged, is never picked.
    qInfo("the clicks on x taken in the rounds: %d of 10; drags started: %d", xClicks,
          drags.started);
    QVERIFY(xClicks >= 1);
    QCOMPARE(picked(), xClicks % 2 ? QStringLiteral("x") : QString());
    QCOMPARE(palette("x")->isPicked(), xClicks % 2 == 1);
    QVERIFY(!palette("y")->isPicked());

    // From no pick, ten quick clicks on x (Qt sees every second press as a double click).
    STEP(keys({"Escape"}));
    QTRY_COMPARE_WITH_TIMEOUT(picked(), QString(), kTimeoutMs);
    const int before = xClicks, dragsBefore = drags.started;
    EventCount buttons(palette("x"), QEvent::MouseButtonPress, QEvent::MouseButtonRelease);
    STEP(xdotool({"mousemove", "--sync", number(first.x()), number(first.y()), "click", "--repeat",
                  "10", "--delay", "40", "1"}));
    QTRY_COMPARE_WITH_TIMEOUT(buttons.second, 10, kTimeoutMs);
    QCOMPARE(xClicks - before, 10);
    QCOMPARE(picked(), QString());
    QVERIFY(!palette("x")->isPicked());
    QCOMPARE(drags.started, dragsBefore); // clicks start no drag
}

// A whole test from the keyboard alone: Tab and the arrow keys choose the test mode, Space
// presses Start, every law is typed and checked with Space on Check, which keeps the focus while
// the keys are typed; Clear, reached with Tab, empties the row between the laws.
void RealMouseTest::wholeTestFromTheKeyboard() {
    const FormState& s = window->form().state;
    EventCount pointer(qApp, QEvent::MouseButtonPress, QEvent::MouseButtonRelease);
    QElapsedTimer timer;
    timer.start();
    QWidget* check = widget("Command1");
    QWidget* clear = widget("Command2");
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), check, kTimeoutMs);

    STEP(tabTo(widget("Option1(0)"), "Tab"));
    STEP(keys({"Down"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.mode, Mode::test, kTimeoutMs);
    QVERIFY(qobject_cast<QRadioButton*>(widget("Option1(1)"))->isChecked());
    STEP(tabTo(widget("Cmd3_Start"), "shift+Tab"));
    STEP(keys({"space"}));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    STEP(tabTo(check, "shift+Tab"));

    for (int n = 1; n <= kLawCount; ++n) {
        const QByteArray where = QByteArray("law ") + QByteArray::number(n);
        QVERIFY2(s.question == n && s.caret == 1, where.constData());
        QCOMPARE(key(), QString());
        STEP(type(typedLaw(n)));
        QTRY_COMPARE_WITH_TIMEOUT(key(), qs(law(n).key), kTimeoutMs);
        QVERIFY2(QApplication::focusWidget() == check, where.constData());
        STEP(keys({"space"}));
        QTRY_COMPARE_WITH_TIMEOUT(s.question, n + 1, kTimeoutMs);
        QCOMPARE(verdict(), QStringLiteral("правильно"));
        QVERIFY2(s.rightCount == n && s.wrongCount == 0, where.constData());
        if (n == kLawCount) break;
        STEP(tabTo(clear, "Tab"));
        STEP(keys({"space"}));
        QTRY_COMPARE_WITH_TIMEOUT(key(), QString(), kTimeoutMs);
        STEP(tabTo(check, "shift+Tab"));
    }

    QCOMPARE(labelText("Label4"), QStringLiteral("23"));
    QCOMPARE(labelText("Label5"), QStringLiteral("0"));
    QCOMPARE(labelText("Label3"), QStringLiteral("23"));
    QCOMPARE(labelText("Label2"), qs(kEndMessage));
    QCOMPARE(qobject_cast<QLineEdit*>(widget("Text1"))->text(), QStringLiteral("правильно"));
    // Law 23 stays in the row, typed in full and marked as a whole for the next key to replace:
    // tinted on the screen.
    QCOMPARE(key(), qs(law(kLawCount).key));
    QVERIFY(s.answerMarked);
    QTRY_VERIFY_WITH_TIMEOUT(fieldOn(grab(), slot(1)) != fieldOn(grab(), palette("x")), kTimeoutMs);
    QCOMPARE(pointer.first, 0);
    QCOMPARE(pointer.second, 0);
    STEP(save(grab(), QStringLiteral("keyboard_test_over.png")));
    qInfo("23 laws typed and checked in %.1f s", double(timer.elapsed()) / 1000);
}

void RealMouseTest::typedLawJudgedRight_data() {
    QTest::addColumn<int>("lawNumber");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("formulaKey");
    const QString law7 = qs(law(7).key), law7Other = qs(law(7).otherForm);
    QTest::newRow("7 with !") << 7 << QStringLiteral("!x!v!y=!x*!y") << law7;
    QTest::newRow("7 in Russian letters") << 7 << QStringLiteral("!ч!м!н=!ч*!н") << law7;
    QTest::newRow("7 other form, Russian capitals")
        << 7 << QStringLiteral("!Н!М!Ч=!Н*!Ч") << law7Other;
    QTest::newRow("3 in Russian letters, | and +")
        << 3 << QStringLiteral("ч|(н+я)=(чмн)vя") << qs(law(3).key);
    QTest::newRow("8 with - and &") << 8 << QStringLiteral("-x-&-y=-x|-y") << qs(law(8).key);
    QTest::newRow("21 with --") << 21 << QStringLiteral("--x=x") << qs(law(21).key);
    QTest::newRow("23 with ~ and .")
        << 23 << QStringLiteral("x~y=(!xvy).(!yvx)") << qs(law(23).key);
}

// One law typed with real keys in the layouts and spellings a pupil may use, checked with Space.
void RealMouseTest::typedLawJudgedRight() {
    QFETCH(int, lawNumber);
    QFETCH(QString, typed);
    QFETCH(QString, formulaKey);
    const FormState& s = window->form().state;
    STEP(startTestAt(lawNumber));
    STEP(type(typed));
    QTRY_COMPARE_WITH_TIMEOUT(key(), formulaKey, kTimeoutMs);
    QCOMPARE(s.barsTyped, 0);
    QCOMPARE(QApplication::focusWidget(), widget("Command1"));
    STEP(keys({"space"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.question, lawNumber + 1, kTimeoutMs);
    QCOMPARE(verdict(), QStringLiteral("правильно"));
    QCOMPARE(s.rightCount, 1);
    QCOMPARE(s.wrongCount, lawNumber - 1);
}

// Click a palette symbol, click slots: each gets it, and the pick stays. Then into the row with
// Shift+Tab: the arrows move the caret, Backspace empties the slot before it, Space and Enter
// place the picked symbol; a waiting "!" is announced; Escape drops the pick.
void RealMouseTest::clickToPickThenKeysInTheRow() {
    const FormState& s = window->form().state;
    STEP(click("Option1(1)"));
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);

    // With nothing picked a click on a slot places nothing.
    STEP(click(slotName(2)));
    QCOMPARE(tag(2), QString());
    STEP(click(paletteImageOf("x")));
    QCOMPARE(picked(), QStringLiteral("x"));
    QVERIFY(palette("x")->isPicked());
    QCOMPARE(key(), QString());
    STEP(click(slotName(3)));
    STEP(click(slotName(5)));
    QCOMPARE(tag(3), QStringLiteral("x"));
    QCOMPARE(tag(5), QStringLiteral("x"));
    QCOMPARE(picked(), QStringLiteral("x"));
    // A drag while x is picked carries the dragged symbol and leaves the pick as it was; the
    // picked symbol's picture is unchanged on the screen, the same as the x placed in the row.
    STEP(drag("y", 7));
    QCOMPARE(tag(7), QStringLiteral("y"));
    QCOMPARE(picked(), QStringLiteral("x"));
    STEP(checkSlotsShowPalette({{3, "x"}, {5, "x"}, {7, "y"}}));
    QCOMPARE(key(), QStringLiteral("xxy"));

    // The caret, slot 1 in test mode, is the row's one Tab stop.
    STEP(tabTo(slot(1), "shift+Tab"));
    QCOMPARE(s.caret, 1);
    STEP(checkFramesShown(palette("x"), slot(1), slot(2)));
    STEP(save(grab(), QStringLiteral("pick_and_caret.png")));

    STEP(keys({"Right", "Right", "Right", "Right", "Right"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.caret, 6, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), slot(6), kTimeoutMs);
    STEP(keys({"BackSpace"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.caret, 5, kTimeoutMs);
    QCOMPARE(tag(5), QString());
    QCOMPARE(s.slot(5).picture, Picture::blank());
    STEP(keys({"BackSpace", "BackSpace"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.caret, 3, kTimeoutMs);
    QCOMPARE(tag(3), QString());
    QCOMPARE(key(), QStringLiteral("y"));
    QTRY_COMPARE_WITH_TIMEOUT(slot(3)->picture(), Picture::blank(), kTimeoutMs);
    // Space, then Enter, in the row place the picked symbol at the caret and move the caret on.
    STEP(keys({"space"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.caret, 4, kTimeoutMs);
    QCOMPARE(tag(3), QStringLiteral("x"));
    STEP(keys({"Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(s.caret, 5, kTimeoutMs);
    QCOMPARE(tag(4), QStringLiteral("x"));

    // A waiting "!" is announced in the caret slot's name; "z" cannot follow it: nothing placed.
    STEP(type(QStringLiteral("!")));
    QTRY_VERIFY_WITH_TIMEOUT(
        slot(5)->accessibleName().endsWith(QStringLiteral(", ждёт символ под чертой")), kTimeoutMs);
    STEP(save(grab(), QStringLiteral("bar_waiting.png")));
    STEP(type(QStringLiteral("z")));
    QTRY_COMPARE_WITH_TIMEOUT(s.barsTyped, 0, kTimeoutMs);
    QCOMPARE(tag(5), QString());
    QCOMPARE(s.caret, 5);
    QVERIFY(!slot(5)->accessibleName().contains(QStringLiteral("ждёт")));

    // Escape drops the pick, and its frame goes from the screen.
    STEP(keys({"Escape"}));
    QTRY_COMPARE_WITH_TIMEOUT(picked(), QString(), kTimeoutMs);
    QVERIFY(!palette("x")->isPicked());
    QTRY_COMPARE_WITH_TIMEOUT(pickOrangeInWindow(grab()), 0, kTimeoutMs);
    QCOMPARE(key(), QStringLiteral("xxy"));
    QCOMPARE(s.question, 1);
    QCOMPARE(s.rightCount + s.wrongCount, 0);
}

// A whole test run, three laws written wrong, as a pupil does it: typed, then Проверить and
// Очистить clicked. F2 shows every answer with its verdict and, the test being over, the accepted
// form of each wrong one; Ctrl+J lists the run from the journal folder, and both export as CSV.
void RealMouseTest::teacherSeesTheTestRunAndItsJournal() {
    const QTemporaryDir journalFolder;
    QVERIFY(journalFolder.isValid());
    classroom->setJournal(std::make_unique<JournalWriter>(journalFolder.path()));
    const FormState& s = window->form().state;
    STEP(click("Option1(1)"));
    STEP(click("Cmd3_Start"));
    QTRY_VERIFY_WITH_TIMEOUT(s.runGoing, kTimeoutMs);
    const std::vector<int> writtenWrong{5, 12, 20};
    auto isWrong = [&](int n) { return std::ranges::count(writtenWrong, n) > 0; };
    for (int n = 1; n <= kLawCount; ++n) {
        STEP(type(isWrong(n) ? QStringLiteral("x=y") : typedLaw(n)));
        QTRY_COMPARE_WITH_TIMEOUT(key(), isWrong(n) ? QStringLiteral("xравноy") : qs(law(n).key),
                                  kTimeoutMs);
        STEP(click("Command1"));
        QTRY_COMPARE_WITH_TIMEOUT(s.question, n + 1, kTimeoutMs);
        STEP(click("Command2"));
        QTRY_COMPARE_WITH_TIMEOUT(key(), QString(), kTimeoutMs);
    }
    QCOMPARE(labelText("Label4"), QStringLiteral("20"));
    QCOMPARE(labelText("Label5"), QStringLiteral("3"));

    STEP(keys({"F2"}));
    ReviewWindow* review = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (review = window->findChild<ReviewWindow*>("Results")) && review->isVisible(), kTimeoutMs);
    const FittedTable* answers = review->table();
    QCOMPARE(answers->rowCount(), kLawCount);
    QCOMPARE(answers->columnCount(), 6); // and why each wrong answer is wrong
    for (int n = 1; n <= kLawCount; ++n) {
        const int row = n - 1;
        QCOMPARE(answers->item(row, 0)->text(), QString::number(n));
        QCOMPARE(answers->item(row, 1)->text(), qs(law(n).name));
        QCOMPARE(answers->item(row, 3)->text(),
                 isWrong(n) ? QStringLiteral("не правильно") : QStringLiteral("правильно"));
        const QTableWidgetItem* accepted = answers->item(row, 4);
        QCOMPARE(accepted ? accepted->text() : QString(),
                 isWrong(n) ? qs(keyText(law(n).key)) : QString());
        const QTableWidgetItem* reason = answers->item(row, 5);
        QCOMPARE(reason && !reason->text().isEmpty(), isWrong(n));
    }
    QCOMPARE(answers->item(4, 2)->text(), QStringLiteral("x = y"));
    STEP(save(QGuiApplication::primaryScreen()->grabWindow(review->winId()).toImage(),
              QStringLiteral("results_after_test.png")));

    // Back to the main window, as a teacher clicks it, for the journal's key.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    STEP(keys({"ctrl+j"}));
    JournalView* journalView = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((journalView = window->findChild<JournalView*>("Journal")) &&
                                 journalView->isVisible(),
                             kTimeoutMs);
    QTRY_VERIFY(journalView->findChild<QLabel*>("reading")->isHidden());
    QCOMPARE(journalView->listing().runs.size(), std::size_t(1));
    QVERIFY(journalView->listing().skipped.empty());
    const FittedTable* runs = journalView->table();
    QCOMPARE(runs->rowCount(), 1);
    QStringList shownRun;
    for (int c = 0; c < runs->columnCount(); ++c)
        shownRun << runs->item(0, c)->text();
    QCOMPARE(shownRun.mid(3), (QStringList{"Тест", "23", "20", "3", "4", "пройден до конца"}));

    // The list and the run as CSV, read back: a byte order mark, one header row, the figures.
    const QString listCsv = journalFolder.filePath("list.csv");
    const QString runCsv = journalFolder.filePath("run.csv");
    QCOMPARE(journalView->writeCsv(listCsv), QString());
    QCOMPARE(review->writeCsv(runCsv), QString());
    auto linesOf = [](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return QStringList{};
        const QByteArray bytes = file.readAll();
        if (!bytes.startsWith("\xEF\xBB\xBF")) return QStringList{"no byte order mark"};
        return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    };
    const QStringList list = linesOf(listCsv);
    QCOMPARE(list.size(), 2);
    QVERIFY2(list[1].contains(QStringLiteral(";Тест;23;20;3;4;пройден до конца;")),
             qPrintable(list[1]));
    const QStringList run = linesOf(runCsv);
    QCOMPARE(run.size(), 1 + kLawCount);
    QVERIFY2(run[5].startsWith(QStringLiteral("5;5;") + qs(law(5).name) +
                               QStringLiteral(";x = y;не правильно;")),
             qPrintable(run[5]));
}

QTEST_MAIN(RealMouseTest)
#include "real_mouse_test.moc"
