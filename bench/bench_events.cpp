// Time to handle one event and repaint what it changed, for each kind of event a pupil causes,
// on the offscreen window: median and worst over many repetitions. Prints figures only.
#include "app/classroom.h"
#include "bench_stats.h"
#include "core/laws.h"
#include "journal/journal_csv.h"
#include "journal/journal_file.h"
#include "journal/journal_writer.h"
#include "journal/qt_text.h"
#include "look/window_font.h"
#include "pupil/main_window.h"
#include "pupil/symbol_drag.h"
#include "pupil/symbol_image.h"
#include "pupil/window_test_support.h"

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
        // Active, as under the pupil's hands: the focused control draws its focus frame.
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) std::fprintf(stderr, "window not active\n");
        for (SymbolImage* image : window.findChildren<SymbolImage*>())
            if (image->isPaletteSymbol()) palette.push_back(image);
        settle();
    }

    void click(const char* control) {
        QWidget* w = window.control(QString::fromLatin1(control));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }

    // A drop on slot k (1 … 19), control Image(15 + k).
    void drop(int k, const std::string& tag) {
        QWidget* slot = window.control(QStringLiteral("Image%1").arg(15 + k));
        const std::unique_ptr<QMimeData> data = paletteData(window, tag);
        // As in a real drag: a drop reaches only the widget that accepted the drag's entry.
        const QPoint at(16, 16);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(slot, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(slot, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(slot, &drop);
    }

    // A key pressed and released on the control with the keyboard focus, as the keyboard does.
    void key(int code, const QString& text = {}) {
        QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(target, &release);
    }
    // A typed character: its key code is the one of its upper case, as the keyboard sends it.
    void type(char c) { key(QChar::toUpper(char16_t(c)), QString(QChar::fromLatin1(c))); }

    // The keyboard focus to the caret slot, control Image(15 + caret).
    void focusRow() {
        window.control(QStringLiteral("Image%1").arg(15 + caret()))->setFocus();
        settle();
    }
    int caret() { return window.form().state.caret; }

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
    std::vector<SymbolImage*> palette;
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
    b.focusRow();
    // The keys a pupil types for symbols, in turn, so a slot rarely gets its last one again.
    const std::string typed = "xyz01()=v*><";
    auto symbolKey = [&](int i) { return typed[static_cast<std::size_t>(i) % typed.size()]; };
    // Back to slot 1 before the caret reaches the end of the row, where it stops.
    auto homeNearTheEnd = [&](int) {
        if (b.caret() >= kSlotCount - 1) b.key(Qt::Key_Home);
    };
    b.measure("symbol key", runs, homeNearTheEnd, [&](int i) { b.type(symbolKey(i)); });
    // One "!" waiting, two, then none again: the mark in the caret slot changes each time.
    b.measure("key !", runs, none, [&](int) { b.type('!'); });
    b.key(Qt::Key_Escape);
    b.measure(
        "key Left", runs, [&](int) { b.key(Qt::Key_Right); }, [&](int) { b.key(Qt::Key_Left); });
    b.measure(
        "key Right", runs, [&](int) { b.key(Qt::Key_Left); }, [&](int) { b.key(Qt::Key_Right); });
    // A symbol typed before each, so that there is one to empty.
    b.measure(
        "Backspace", runs,
        [&](int i) {
            homeNearTheEnd(i);
            b.type(symbolKey(i));
        },
        [&](int) { b.key(Qt::Key_Backspace); });
    b.measure(
        "Delete", runs,
        [&](int i) {
            homeNearTheEnd(i);
            b.type(symbolKey(i));
            b.key(Qt::Key_Left);
        },
        [&](int) { b.key(Qt::Key_Delete); });
    // A click picks each palette symbol in turn: the frame leaves one and goes round another.
    auto paletteSymbol = [&](int i) {
        return b.palette[static_cast<std::size_t>(i) % b.palette.size()];
    };
    b.measure("click-pick", runs, none, [&](int i) {
        QWidget* symbol = paletteSymbol(i);
        QTest::mouseClick(symbol, Qt::LeftButton, {}, symbol->rect().center());
    });
    // Space in the row places the picked symbol at the caret, into an emptied slot.
    b.key(Qt::Key_Escape);
    b.focusRow();
    b.measure(
        "Space place", runs,
        [&](int i) {
            homeNearTheEnd(i);
            b.key(Qt::Key_Delete);
            if (i % 4 == 0) {
                QWidget* symbol = paletteSymbol(i / 4);
                QTest::mouseClick(symbol, Qt::LeftButton, {}, symbol->rect().center());
                b.focusRow();
            }
        },
        [&](int) { b.key(Qt::Key_Space, QStringLiteral(" ")); });
    b.key(Qt::Key_Escape);
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

    // The same with the journal kept: each Check writes the run's file aside, flushes it to the
    // disk and renames it; each Start ends one file and begins the next.
    const QTemporaryDir journal;
    auto* classroom = new Classroom(&b.window);
    classroom->setJournal(std::make_unique<JournalWriter>(journal.path()));
    std::printf("the same with the journal written in %s:\n", qPrintable(journal.path()));
    b.measure(
        "Check+file", runs,
        [&](int i) {
            if (i % kLawCount == 0) b.click("Cmd3_Start");
        },
        [&](int) { b.click("Command1"); });
    b.measure(
        "Start+file", runs, [&](int) { b.click("Command1"); }, [&](int) { b.click("Cmd3_Start"); });
    classroom->setJournal(nullptr);
    return 0;
}
