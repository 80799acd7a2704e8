// End to end: the zoom of the real program. The installed program itself runs as a process of its
// own on a virtual X screen, with a settings folder of its own, and is driven only from outside:
// real keys, the real wheel and real drags through xdotool, its window measured with xwininfo and
// read back from the pixels on the screen. Full screen needs a window manager: openbox is started
// for the later cases.
//
// The test functions run in order and share the program's settings folder: the zoom changed by
// keys is the one the restart must find again.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

#ifndef E2E_SCREENSHOT_DIR
#error "E2E_SCREENSHOT_DIR must name the folder for the screenshots"
#endif
#ifndef TRAINER_PROGRAM
#error "TRAINER_PROGRAM must name the program under test"
#endif

namespace {

constexpr int kTimeoutMs = 10000;
const QSize kScreen(1920, 1080);
const QRgb kBandBlue = qRgb(192, 192, 255); // the slot band, 0xC0C0FF

// Boxes of the form at 100 %, in twips (15 to a pixel), as the program lays them out.
struct Box {
    int left, top, width, height;
};
constexpr int kTwipsPerPixel = 15;
constexpr Box kStart{8160, 3720, 1215, 495};
constexpr Box kPaletteX{1800, 3120, 480, 480};
constexpr Box kPaletteY{2280, 3120, 480, 480};
constexpr Box slotBox(int k) {
    return {240 + 480 * (k - 1), 2520, 480, 480};
}

// Where a box is on the screen: the form drawn at `factor` from `origin`, each edge rounded.
QRect onScreen(const Box& b, double factor, QPoint origin) {
    auto px = [&](int twips) { return qRound(twips * factor / kTwipsPerPixel); };
    const int left = px(b.left), top = px(b.top);
    return QRect(left, top, px(b.left + b.width) - left, px(b.top + b.height) - top)
        .translated(origin);
}

// The inner part of a symbol's picture, inside its opaque white field at any factor.
QRect fieldOf(const QRect& box) {
    return QRect(box.left() + box.width() * 30 / 100, box.top() + box.height() * 15 / 100,
                 box.width() * 36 / 100, box.height() * 67 / 100);
}

bool isBlueInk(QRgb p) {
    return qBlue(p) - std::max(qRed(p), qGreen(p)) > 120;
}

int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y))) ++n;
    return n;
}

bool allBand(const QImage& image, const QRect& area) {
    return countPixels(image, area, [](QRgb p) { return p != kBandBlue; }) == 0;
}

// The two fields show the same picture: the same pixels in blue ink but for a fifth of them at
// most, once the one is shifted by up to two pixels against the other. Where the form's factor is
// not whole the boxes start at different fractions of a pixel and their strokes' edges differ.
bool samePicture(const QImage& shot, const QRect& a, const QRect& b) {
    const int w = std::min(a.width(), b.width()) - 4, h = std::min(a.height(), b.height()) - 4;
    for (int dy = 0; dy <= 4; ++dy)
        for (int dx = 0; dx <= 4; ++dx) {
            int ink = 0, differing = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool p = isBlueInk(shot.pixel(a.left() + 2 + x, a.top() + 2 + y));
                    const bool q = isBlueInk(shot.pixel(b.left() + dx + x, b.top() + dy + y));
                    ink += p || q;
                    differing += p != q;
                }
            if (ink >= 10 && differing * 5 <= ink) return true;
        }
    return false;
}

// The client area's size at each zoom step the test reaches.
QSize clientAt(int percent) {
    switch (percent) {
    case 100:
        return {643, 405};
    case 125:
        return {804, 506};
    case 150:
        return {965, 608};
    case 175:
        return {1125, 709};
    case 200:
        return {1286, 810};
    default:
        qFatal("no size for %d %%", percent);
    }
}

// Asks the window to close, as the close button of a title bar does.
bool sendDeleteWindow(quint32 window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    auto atom = [&](const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return a;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    // A round trip: the server has the message before the connection goes.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
    return true;
}

} // namespace

#define STEP(call)                                                                                 \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed()) return;                                                    \
    } while (false)

class ZoomTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void zoomFromTheCommandLine();
    void keysAndWheelStepTheZoom();
    void zoomSurvivesARestart();
    void fullScreenUnderAWindowManager();

  private:
    // Runs a tool to its end; its standard output.
    QString run(const QString& program, const QStringList& args);
    void xdotool(const QStringList& args) { run(QStringLiteral("xdotool"), args); }
    void startTrainer(const QStringList& args);
    void quitTrainer();
    void startWindowManager();
    QRect clientGeometry(const QString& id = {});
    void journalWhollyOnScreen();
    void waitForClient(const QRect& expected);
    void focusTrainer();
    void keys(const QStringList& names);
    void click(QPoint at);
    void drag(QPoint from, QPoint to);
    QImage grabScreen() const;
    void save(const QImage& shot, const QString& fileName);
    QString settingsText() const;
    void waitForSettings(int zoom, bool fullScreen);

    // The form's factor and origin as the window is now, zoomed or full screen.
    double factor = 1.0;
    QPoint origin;
    QRect onScreenNow(const Box& b) const { return onScreen(b, factor, origin); }
    void followZoom(int percent);
    // Start pressed, then the trainer's law 1 drawn into slots 1 … 4.
    void startRun();
    // A drag from the palette symbol onto slot k: slot k shows its picture, its neighbours none.
    void dragLands(const Box& palette, int k);

    QTemporaryDir home;
    QDir screenshots;
    std::unique_ptr<QProcess> trainer, windowManager;
    QString windowId;
};

void ZoomTest::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    for (const char* tool : {"xdotool", "xwininfo", "xprop", "openbox"})
        QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), kScreen);
    QVERIFY(home.isValid());
    screenshots.setPath(QStringLiteral(E2E_SCREENSHOT_DIR));
    QVERIFY(screenshots.mkpath(QStringLiteral(".")));
}

void ZoomTest::cleanupTestCase() {
    for (auto* process : {trainer.get(), windowManager.get()})
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(kTimeoutMs);
        }
}

// What the screen showed when a case failed, for a person to look at.
void ZoomTest::cleanup() {
    if (QTest::currentTestFailed())
        save(grabScreen(),
             QStringLiteral("zoom_failed_%1.png").arg(QLatin1String(QTest::currentTestFunction())));
}

QString ZoomTest::run(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, args);
    if (!process.waitForFinished(3 * kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        QTest::qFail(qPrintable(program + " did not end: " + args.join(' ')), __FILE__, __LINE__);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        QTest::qFail(qPrintable(program + ' ' + args.join(' ') + ": " +
                                QString::fromLocal8Bit(process.readAllStandardError())),
                     __FILE__, __LINE__);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The program with its settings and its journal in the test's own folder, never the user's.
void ZoomTest::startTrainer(const QStringList& args) {
    trainer = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CONFIG_DIRS"), home.filePath(QStringLiteral("system")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    trainer->setProcessEnvironment(env);
    trainer->setProcessChannelMode(QProcess::ForwardedChannels);
    trainer->start(QStringLiteral(TRAINER_PROGRAM), args);
    QVERIFY2(trainer->waitForStarted(kTimeoutMs), qPrintable(trainer->errorString()));
    const QString pid = QString::number(trainer->processId());
    windowId.clear();
    QElapsedTimer timer;
    timer.start();
    while (windowId.isEmpty() && timer.elapsed() < kTimeoutMs) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", pid});
        search.waitForFinished(kTimeoutMs);
        windowId = QString::fromLatin1(search.readAllStandardOutput()).section('\n', 0, 0);
        if (windowId.isEmpty()) QTest::qWait(50);
    }
    QVERIFY2(!windowId.isEmpty(), "the program showed no window");
}

void ZoomTest::quitTrainer() {
    QVERIFY(sendDeleteWindow(windowId.toUInt()));
    QVERIFY2(trainer->waitForFinished(kTimeoutMs), "the program did not end on closing");
    QCOMPARE(trainer->exitStatus(), QProcess::NormalExit);
    QCOMPARE(trainer->exitCode(), 0);
    trainer.reset();
}

void ZoomTest::startWindowManager() {
    windowManager = std::make_unique<QProcess>();
    // Its own settings and cache, in the test's folder.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("wm-config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("wm-cache")));
    windowManager->setProcessEnvironment(env);
    windowManager->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    windowManager->setStandardOutputFile(QProcess::nullDevice());
    windowManager->start(QStringLiteral("openbox"), {"--sm-disable"});
    QVERIFY2(windowManager->waitForStarted(kTimeoutMs), "openbox did not start");
    // Up once it names itself on the root window.
    QTRY_VERIFY_WITH_TIMEOUT(
        QProcess::execute(QStringLiteral("sh"), {"-c", "xprop -root _NET_SUPPORTING_WM_CHECK | "
                                                       "grep -q 'window id'"}) == 0,
        kTimeoutMs);
    // And once it has framed the window already shown.
    QTRY_VERIFY_WITH_TIMEOUT(run(QStringLiteral("xprop"), {"-id", windowId, "_NET_FRAME_EXTENTS"})
                                 .contains(QLatin1Char('=')),
                             kTimeoutMs);
}

// The client area on the screen: its absolute place and its size.
QRect ZoomTest::clientGeometry(const QString& id) {
    const QString info = run(QStringLiteral("xwininfo"), {"-id", id.isEmpty() ? windowId : id});
    auto field = [&](const char* name) {
        const QRegularExpression re(QLatin1String(name) + QStringLiteral(":\\s*(-?\\d+)"));
        const auto match = re.match(info);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
}

void ZoomTest::waitForClient(const QRect& expected) {
    QRect now;
    QElapsedTimer timer;
    timer.start();
    do {
        now = clientGeometry();
        if (QTest::currentTestFailed()) return;
        if (expected.topLeft() == QPoint(-1, -1) ? now.size() == expected.size() : now == expected)
            return;
        QTest::qWait(50);
    } while (timer.elapsed() < kTimeoutMs);
    QFAIL(qPrintable(QStringLiteral("the window is %1,%2 %3 × %4, not %5,%6 %7 × %8")
                         .arg(now.x())
                         .arg(now.y())
                         .arg(now.width())
                         .arg(now.height())
                         .arg(expected.x())
                         .arg(expected.y())
                         .arg(expected.width())
                         .arg(expected.height())));
}

// The zoomed window at its size, and where the form is now drawn from.
void ZoomTest::followZoom(int percent) {
    STEP(waitForClient(QRect(QPoint(-1, -1), clientAt(percent))));
    factor = percent / 100.0;
    origin = clientGeometry().topLeft();
}

// The keys go to the window with the input focus: the window manager's active one when there is
// one.
// A busy machine can still be mapping the frame when the keys go, and lose them: wait until the
// input focus is on the window itself.
void ZoomTest::focusTrainer() {
    xdotool({windowManager ? "windowactivate" : "windowfocus", "--sync", windowId});
    QTRY_COMPARE_WITH_TIMEOUT(run(QStringLiteral("xdotool"), {"getwindowfocus"}).trimmed(),
                              windowId, kTimeoutMs);
}

void ZoomTest::keys(const QStringList& names) {
    STEP(focusTrainer());
    xdotool(QStringList{"key", "--clearmodifiers", "--delay", "60"} + names);
}

// mousemove --sync waits until the pointer has moved, so each one goes somewhere new: first a
// few pixels off, then to the point.
void ZoomTest::click(QPoint at) {
    auto n = [](int v) { return QString::number(v); };
    xdotool({"mousemove", n(at.x() + 3), n(at.y() + 3), "mousemove", "--sync", n(at.x()), n(at.y()),
             "click", "1"});
}

void ZoomTest::drag(QPoint from, QPoint to) {
    auto n = [](int v) { return QString::number(v); };
    QStringList args{"mousemove", n(from.x() + 3), n(from.y() + 3), "mousemove", "--sync",
                     n(from.x()), n(from.y()),     "mousedown",     "1"};
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        const QPoint p = from + (to - from) * i / kSteps;
        args += {"sleep", "0.03", "mousemove", "--sync", n(p.x()), n(p.y())};
    }
    args += {"sleep", "0.05", "mouseup", "1"};
    xdotool(args);
}

QImage ZoomTest::grabScreen() const {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

void ZoomTest::save(const QImage& shot, const QString& fileName) {
    const QString path = screenshots.filePath(fileName);
    QVERIFY2(shot.save(path), qPrintable(path));
    qInfo("screenshot: %s", qPrintable(path));
}

QString ZoomTest::settingsText() const {
    QFile file(home.filePath(QStringLiteral("config/zakony-logiki/zakony-logiki.conf")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

void ZoomTest::waitForSettings(int zoom, bool fullScreen) {
    auto holds = [&] {
        const QString text = settingsText();
        return text.contains(QStringLiteral("zoom=%1\n").arg(zoom)) &&
               text.contains(fullScreen ? "fullscreen=true\n" : "fullscreen=false\n");
    };
    QTRY_VERIFY2_WITH_TIMEOUT(holds(), qPrintable(settingsText()), kTimeoutMs);
}

void ZoomTest::startRun() {
    // Painted: the empty slots show the band.
    QTRY_VERIFY_WITH_TIMEOUT(allBand(grabScreen(), fieldOf(onScreenNow(slotBox(1)))), kTimeoutMs);
    STEP(click(onScreenNow(kStart).center()));
    auto lawShown = [&] {
        const QImage shot = grabScreen();
        for (int k = 1; k <= 4; ++k)
            if (countPixels(shot, fieldOf(onScreenNow(slotBox(k))), isBlueInk) < 10) return false;
        return allBand(shot, fieldOf(onScreenNow(slotBox(5))));
    };
    QTRY_VERIFY2_WITH_TIMEOUT(lawShown(), "Start did not show law 1's left-hand side", kTimeoutMs);
}

void ZoomTest::dragLands(const Box& palette, int k) {
    const QRect source = onScreenNow(palette), target = onScreenNow(slotBox(k));
    STEP(drag(source.center(), target.center()));
    auto landed = [&] {
        const QImage shot = grabScreen();
        return countPixels(shot, fieldOf(target), isBlueInk) >= 10 &&
               samePicture(shot, fieldOf(target), fieldOf(source)) &&
               allBand(shot, fieldOf(onScreenNow(slotBox(k - 1)))) &&
               allBand(shot, fieldOf(onScreenNow(slotBox(k + 1))));
    };
    QTRY_VERIFY2_WITH_TIMEOUT(
        landed(), qPrintable(QStringLiteral("the drag did not land in slot %1 alone").arg(k)),
        kTimeoutMs);
}

// --zoom 200: the window twice as big, centred, and a real drag lands in the slot aimed at.
void ZoomTest::zoomFromTheCommandLine() {
    STEP(startTrainer({"--zoom", "200"}));
    STEP(followZoom(200));
    const QRect client = clientGeometry();
    QCOMPARE(client.center(), QRect(QPoint(0, 0), kScreen).center());
    STEP(startRun());
    STEP(dragLands(kPaletteX, 6));
    const QImage shot = grabScreen();
    // The comparison tells the symbols apart: x is not y.
    QVERIFY(!samePicture(shot, fieldOf(onScreenNow(kPaletteX)), fieldOf(onScreenNow(kPaletteY))));
    STEP(save(shot.copy(client), QStringLiteral("zoom_200.png")));
    // Nothing was changed by the pupil: nothing remembered.
    QCOMPARE(settingsText(), QString());
}

// Ctrl+Minus a step down, Ctrl+0 back to 100 % with the row as it was, Ctrl+= and Ctrl+wheel up.
void ZoomTest::keysAndWheelStepTheZoom() {
    QVERIFY(trainer);
    STEP(keys({"ctrl+minus"}));
    STEP(followZoom(175));
    STEP(waitForSettings(175, false));
    STEP(keys({"ctrl+0"}));
    STEP(followZoom(100));
    // The x dropped at 200 % is still in slot 6, drawn at 100 %.
    auto xStillThere = [&] {
        const QImage shot = grabScreen();
        return samePicture(shot, fieldOf(onScreenNow(slotBox(6))),
                           fieldOf(onScreenNow(kPaletteX))) &&
               countPixels(shot, fieldOf(onScreenNow(slotBox(6))), isBlueInk) >= 5;
    };
    QTRY_VERIFY_WITH_TIMEOUT(xStillThere(), kTimeoutMs);
    STEP(dragLands(kPaletteY, 8));
    STEP(save(grabScreen().copy(clientGeometry()), QStringLiteral("zoom_100.png")));
    STEP(waitForSettings(100, false));

    STEP(keys({"ctrl+equal"}));
    STEP(followZoom(125));
    // One notch of the wheel up with Ctrl held, over the window.
    const QPoint over = onScreenNow(kStart).center();
    STEP(focusTrainer());
    xdotool({"mousemove", "--sync", QString::number(over.x() + 20), QString::number(over.y()),
             "keydown", "ctrl", "click", "4", "keyup", "ctrl"});
    STEP(followZoom(150));
    STEP(waitForSettings(150, false));
}

// Closed and started again without --zoom: the zoom last chosen.
void ZoomTest::zoomSurvivesARestart() {
    QVERIFY(trainer);
    STEP(quitTrainer());
    STEP(waitForSettings(150, false));
    STEP(startTrainer({}));
    STEP(followZoom(150));
    STEP(startRun());
    STEP(dragLands(kPaletteX, 6));
}

// F11 under a window manager: the whole screen, the form at the largest factor that fits,
// centred, and a drag still lands; Escape leaves full screen for the zoom as it was.
void ZoomTest::fullScreenUnderAWindowManager() {
    QVERIFY(trainer);
    STEP(startWindowManager());
    // openbox frames the window already shown; it stays at 150 %.
    STEP(followZoom(150));
    STEP(keys({"F11"}));
    STEP(waitForClient(QRect(QPoint(0, 0), kScreen)));
    STEP(waitForSettings(150, true));
    factor = std::min(double(kScreen.width()) / 643, double(kScreen.height()) / 405);
    origin = QPoint(qRound((kScreen.width() - 643 * factor) / 2),
                    qRound((kScreen.height() - 405 * factor) / 2));
    // The x placed before full screen, now at the full-screen factor.
    auto xStillThere = [&] {
        return samePicture(grabScreen(), fieldOf(onScreenNow(slotBox(6))),
                           fieldOf(onScreenNow(kPaletteX)));
    };
    QTRY_VERIFY_WITH_TIMEOUT(xStillThere(), kTimeoutMs);
    STEP(dragLands(kPaletteY, 9));
    const QImage shot = grabScreen();
    STEP(save(shot, QStringLiteral("zoom_fullscreen.png")));
    QVERIFY(!samePicture(shot, fieldOf(onScreenNow(slotBox(6))), fieldOf(onScreenNow(kPaletteY))));
    // Left and right of the centred form, the window's own background and no band.
    QVERIFY(origin.x() > 50);
    QVERIFY(countPixels(shot, QRect(0, 0, origin.x() - 2, kScreen.height()),
                        [](QRgb p) { return p == kBandBlue; }) == 0);

    STEP(keys({"Escape"}));
    STEP(followZoom(150));
    STEP(waitForSettings(150, false));
    // The row as it was, at 150 %.
    auto rowKept = [&] {
        const QImage now = grabScreen();
        return samePicture(now, fieldOf(onScreenNow(slotBox(9))),
                           fieldOf(onScreenNow(kPaletteY))) &&
               countPixels(now, fieldOf(onScreenNow(slotBox(9))), isBlueInk) >= 10;
    };
    QTRY_VERIFY_WITH_TIMEOUT(rowKept(), kTimeoutMs);
    STEP(journalWhollyOnScreen());
    STEP(quitTrainer());
}

// The journal of many runs, as tall as the screen, opened beside the window moved low: wholly on
// the screen once read, its title bar too.
void ZoomTest::journalWhollyOnScreen() {
    const QDir journal(home.filePath(QStringLiteral("data/zakony-logiki/journal")));
    const QStringList runs = journal.entryList({QStringLiteral("*.txt")}, QDir::Files);
    QVERIFY(!runs.isEmpty());
    for (int i = 0; i < 150; ++i)
        QVERIFY(QFile::copy(journal.filePath(runs[0]),
                            journal.filePath(QStringLiteral("copy%1.txt").arg(i))));
    xdotool({"windowmove", windowId, "900", "450"});
    STEP(keys({"ctrl+j"}));
    // The program's window that is not the main one (its title is not matched: the tests may
    // run without a UTF-8 locale).
    const auto journalWindow = [&] {
        const QStringList ids =
            run(QStringLiteral("xdotool"),
                {"search", "--onlyvisible", "--pid", QString::number(trainer->processId())})
                .split('\n', Qt::SkipEmptyParts);
        for (const QString& id : ids)
            if (id != windowId) return id;
        return QString();
    };
    QString id;
    QTRY_VERIFY_WITH_TIMEOUT(!(id = journalWindow()).isEmpty(), kTimeoutMs);
    const auto whollyOnScreen = [&] {
        // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
        const QStringList extents = run(QStringLiteral("xprop"), {"-id", id, "_NET_FRAME_EXTENTS"})
                                        .section('=', 1)
                                        .split(',');
        const QRect client = clientGeometry(id);
        return extents.size() == 4 && client.height() > kScreen.height() / 2 &&
               client.top() - extents[2].trimmed().toInt() >= 0 &&
               client.bottom() < kScreen.height();
    };
    QTRY_VERIFY_WITH_TIMEOUT(whollyOnScreen(), kTimeoutMs);
}

QTEST_MAIN(ZoomTest)
#include "zoom_test.moc"
