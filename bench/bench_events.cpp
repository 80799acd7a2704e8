// Time to handle one event and repaint what it changed, for each kind of event a pupil causes,
// on the offscreen window: median and worst over many repetitions. Prints figures only.
#include "bench_stats.h"
#include "core/laws.h"
#include "window/main_window.h"
#include "window/qt_text.h"
#include "window/symbol_drag.h"
#include "window/window_font.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Counts the paint events the whole application delivers.
class PaintCount : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class Bench {
  public:
    Bench() {
        QApplication::instance()->installEventFilter(&counter);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "window not exposed\n");
        settle();
    }

    void click(const char* control) {
        QWidget* w = window.control(QString::fromLatin1(control));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }

    // A drop on slot k (1 … 19), control Image(15 + k).
    void drop(int k, const std::string& tag) {
        QWidget* slot = window.control(QStringLiteral("Image%1").arg(15 + k));
        std::unique_ptr<QMimeData> data(makeSymbolMimeData(window.dragToken(), qs(tag)));
        // As in a real drag: a drop reaches only the widget that accepted the drag's entry.
        const QPoint at(16, 16);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(slot, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(slot, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(slot, &drop);
    }

    // Handles whatever the event posted, the repaint of what changed among it.
    static void settle() { QCoreApplication::processEvents(); }

    // Times `event` plus the repaint it causes, `runs` times, with `prepare` (untimed) before
    // each; prints median, worst and paints per event.
    void measure(const char* kind, int runs, const std::function<void(int)>& prepare,
                 const std::function<void(int)>& event) {
        // The first of its kind may draw pictures not yet cached: timed apart, then warm-up.
        double first = 0;
        for (int i = 0; i < 5; ++i) {
            prepare(i);
            settle();
            QElapsedTimer timer;
            timer.start();
            event(i);
            settle();
            if (i == 0) first = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        }
        std::vector<double> ms;
        int paints = 0;
        // The count goes on from the warm-up, so that no timed event repeats one already done.
        for (int i = 5; i < 5 + runs; ++i) {
            prepare(i);
            settle();
            const int before = counter.paints;
            QElapsedTimer timer;
            timer.start();
            event(i);
            settle();
            ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            paints += counter.paints - before;
        }
        std::printf("  %-12s median %6.3f ms, worst %6.3f ms, first %6.3f ms, %4.1f paints each\n",
                    kind, bench::median(ms), bench::maximum(ms), first, double(paints) / runs);
    }

    MainWindow window;
    PaintCount counter;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installWindowFont();
    const int runs = bench::runsFromArgs(argc, argv, 1000);
    Bench b;
    auto none = [](int) {};
    const std::vector<std::string> tags{"x", "y", "или", "и", "no_x", "so", "sz", "один"};
    auto tag = [&](int i) { return tags[static_cast<std::size_t>(i) % tags.size()]; };

    std::printf("handling and repainting one event, offscreen, %d repetitions each:\n", runs);
    std::printf("  (goal: median under 1 ms, worst under 16.7 ms, one 60 Hz frame)\n");
    b.click("Option1(0)");
    b.click("Cmd3_Start");
    b.settle();
    // A drop on each slot in turn, each time a different symbol from the slot's last one.
    b.measure("drop", runs, none, [&](int i) { b.drop(1 + i % kSlotCount, tag(i)); });
    // Check through whole runs: every 23rd answer a new Start, untimed.
    b.measure(
        "Check", runs,
        [&](int i) {
            if (i % kLawCount == 0) b.click("Cmd3_Start");
        },
        [&](int) { b.click("Command1"); });
    b.measure(
        "Start", runs, [&](int) { b.click("Command1"); }, [&](int) { b.click("Cmd3_Start"); });
    // The hint on a cleared row, at each question of the run in turn.
    b.measure(
        "Hint", runs,
        [&](int i) {
            if (i % kLawCount == 0)
                b.click("Cmd3_Start");
            else
                b.click("Command1");
            b.click("Command2");
        },
        [&](int) { b.click("Command3"); });
    b.measure(
        "Clear", runs,
        [&](int i) {
            for (int k = 0; k < 6; ++k)
                b.drop(7 + k, tag(i + k));
        },
        [&](int) { b.click("Command2"); });
    b.measure("mode change", runs, none,
              [&](int i) { b.click(i % 2 ? "Option1(0)" : "Option1(1)"); });
    return 0;
}
