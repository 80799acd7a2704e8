// The keyboard: Tab reaches the row and the palette, the arrow keys move within them, Space or
// Enter picks and places, and a symbol's key types it at the caret from anywhere in the window.
// Every key ends in the same operations of the form as a drop or a click. The window's commands
// (the teacher's windows, zoom, full screen, clearing the row) are actions with shortcuts.
#include "pupil/main_window.h"
#include "pupil/symbol_image.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

namespace {

// The palette symbol nearest to `from` in the direction of an arrow key, or nullptr.
SymbolImage* neighbour(const std::vector<SymbolImage*>& palette, const SymbolImage* from, int key) {
    const QPoint origin = from->geometry().center();
    SymbolImage* best = nullptr;
    int bestScore = std::numeric_limits<int>::max();
    for (SymbolImage* candidate : palette) {
        const QPoint d = candidate->geometry().center() - origin;
        int along = 0, across = 0;
        switch (key) {
        case Qt::Key_Left:
            along = -d.x(), across = d.y();
            break;
        case Qt::Key_Right:
            along = d.x(), across = d.y();
            break;
        case Qt::Key_Up:
            along = -d.y(), across = d.x();
            break;
        case Qt::Key_Down:
            along = d.y(), across = d.x();
            break;
        default:
            return nullptr;
        }
        if (along <= 0) continue;
        const int score = along + 4 * std::abs(across); // the same row or column first
        if (score < bestScore) bestScore = score, best = candidate;
    }
    return best;
}

// The keys that press, pick or place: Space and both Enter keys.
bool isSpaceOrEnter(int code) {
    return code == Qt::Key_Space || code == Qt::Key_Return || code == Qt::Key_Enter;
}

// X repeats a held key as its release and a new press at one moment, and Qt flags the pair as a
// repeat only when it finds the press already waiting behind the release: under load most pairs
// come unflagged. A press of the key still down, or let go less than this long before, by the
// events' own times (which a busy program does not stretch), is the key held: no finger lets a
// key go and presses it again as fast. A key pressed between them makes it a new press, as X
// repeats only the key pressed last.
constexpr quint64 kRepeatGapMs = 10;

} // namespace

bool MainWindow::isHeldKeyRepeat(const QKeyEvent& key) {
    const bool press = key.type() == QEvent::KeyPress;
    const KeyEventSeen before = lastKey;
    lastKey = {key.key(), press, key.timestamp()};
    if (key.isAutoRepeat()) return true;
    if (!press || before.key != key.key()) return false;
    return before.down || key.timestamp() - before.at < kRepeatGapMs;
}

void MainWindow::setUpActions() {
    auto add = [this](const QString& name, QList<QKeySequence> keys, auto slot,
                      Qt::ShortcutContext context = Qt::WindowShortcut) {
        auto* action = new QAction(name, this);
        action->setShortcuts(keys);
        action->setShortcutContext(context);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    // The teacher's windows open from any window of the program.
    add(
        QStringLiteral("Результаты"), {Qt::Key_F2}, [this] { emit reviewAsked(); },
        Qt::ApplicationShortcut);
    add(
        QStringLiteral("Журнал"), {Qt::CTRL | Qt::Key_J}, [this] { emit journalAsked(); },
        Qt::ApplicationShortcut);
    add(
        QStringLiteral("Класс"), {Qt::CTRL | Qt::Key_K}, [this] { emit classAsked(); },
        Qt::ApplicationShortcut);
    QList<QKeySequence> larger = QKeySequence::keyBindings(QKeySequence::ZoomIn);
    larger << QKeySequence(Qt::CTRL | Qt::Key_Equal)
           << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus); // "+" above "=" with Shift
    add(QStringLiteral("Крупнее"), larger, [this] { zoomOneStep(true); });
    add(QStringLiteral("Мельче"), QKeySequence::keyBindings(QKeySequence::ZoomOut),
        [this] { zoomOneStep(false); });
    add(QStringLiteral("Обычный размер"), {Qt::CTRL | Qt::Key_0},
        [this] { setZoom(kZoomSteps.front()); });
    QList<QKeySequence> fullScreen = QKeySequence::keyBindings(QKeySequence::FullScreen);
    if (!fullScreen.contains(QKeySequence(Qt::Key_F11))) fullScreen << QKeySequence(Qt::Key_F11);
    add(QStringLiteral("Во весь экран"), fullScreen,
        [this] { setFullScreenForm(!isFullScreen()); });
    // Ctrl+Backspace does what «Очистить» does.
    add(QStringLiteral("Очистить"), {Qt::CTRL | Qt::Key_Backspace}, [this] {
        if (!QApplication::activeModalWidget()) writeByKey([&] { core.clear(); });
    });
}

void MainWindow::zoomOneStep(bool larger) {
    setZoom(larger ? zoomIn(zoom, largestFittingZoom()) : zoomOut(zoom));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Wheel && widget && widget->window() == this) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0)
            return false;
        // One step per notch of a wheel (120); a touchpad's small deltas add up to a notch.
        wheelTurned += wheel->angleDelta().y();
        for (; wheelTurned >= 120; wheelTurned -= 120)
            zoomOneStep(true);
        for (; wheelTurned <= -120; wheelTurned += 120)
            zoomOneStep(false);
        return true;
    }
    // A key let go in another program is never seen here.
    if (event->type() == QEvent::ApplicationDeactivate) lastKey = {};
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    // Each key event once, at its first receiver, in any window of the program: a held key may
    // go on typing into the row, never pressing a button again, here or in a dialog.
    if (!widget) return false;
    QWidget* receiver = widget->window()->focusWidget();
    if (widget != (receiver ? receiver : widget->window())) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (isHeldKeyRepeat(key) && isSpaceOrEnter(key.key()) && qobject_cast<QAbstractButton*>(widget))
        return true;
    // The window's own keys, never under the rules box.
    if (widget->window() != this || QApplication::activeModalWidget()) return false;
    if (event->type() != QEvent::KeyPress) return false;
    if (SymbolImage::dragInProgress()) return true; // keys during a drag are ignored
    return handleKey(*static_cast<QKeyEvent*>(event));
}

bool MainWindow::handleKey(const QKeyEvent& key) {
    const int code = key.key();
    auto* focused = qobject_cast<SymbolImage*>(focusWidget());
    const bool inRow =
        focused && std::find(slotImages.begin(), slotImages.end(), focused) != slotImages.end();
    if (focused && focused->isPaletteSymbol() && handlePaletteKey(focused, code)) return true;
    const int caret = core.state.caret;
    const bool plain = !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    // Corrections act on the row from anywhere in the window, as typed symbols do.
    if (plain && (code == Qt::Key_Delete || code == Qt::Key_Backspace)) {
        writeByKey([&] { code == Qt::Key_Delete ? core.deleteAtCaret() : core.backspace(); });
        return true;
    }
    if (inRow) {
        switch (code) {
        case Qt::Key_Left:
            writeByKey([&] { core.moveCaret(caret - 1); });
            return true;
        case Qt::Key_Right:
            writeByKey([&] { core.moveCaret(caret + 1); });
            return true;
        case Qt::Key_Home:
            writeByKey([&] { core.moveCaret(1); });
            return true;
        case Qt::Key_End:
            writeByKey([&] { core.moveCaret(kSlotCount); });
            return true;
        default:
            if (isSpaceOrEnter(code)) {
                writeByKey([&] { core.placePickedAtCaret(); });
                return true;
            }
        }
    }
    if (code == Qt::Key_Escape && (!core.state.picked.empty() || core.state.barsTyped > 0)) {
        handle([&] { core.unpick(); });
        return true;
    }
    if (code == Qt::Key_Escape && isFullScreen()) {
        setFullScreenForm(false);
        return true;
    }
    // Enter presses a focused button, as Space does (buttons outside a dialog ignore it).
    if (code != Qt::Key_Space && isSpaceOrEnter(code)) {
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) {
            button->click();
            return true;
        }
    }
    // Typing: one character, no Ctrl, Alt or Meta; Space and Enter keep their meaning.
    if (isSpaceOrEnter(code) ||
        key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QList<uint> typed = key.text().toUcs4();
    if (typed.size() != 1 || !QChar::isPrint(typed.front()) || QChar::isSpace(typed.front()))
        return false;
    bool taken = false;
    writeByKey([&] { taken = core.type(static_cast<char32_t>(typed.front())); });
    return taken;
}

bool MainWindow::handlePaletteKey(SymbolImage* symbol, int code) {
    if (isSpaceOrEnter(code)) {
        handle([&] { core.pick(symbol->tag().toStdString()); });
        slotImages[static_cast<std::size_t>(core.state.caret - 1)]->setFocus(Qt::TabFocusReason);
        return true;
    }
    SymbolImage* next = neighbour(paletteSymbols, symbol, code);
    if (!next)
        return code == Qt::Key_Left || code == Qt::Key_Right || code == Qt::Key_Up ||
               code == Qt::Key_Down; // at the palette's edge the focus stays
    currentPaletteSymbol = next;
    render();
    next->setFocus(Qt::TabFocusReason);
    return true;
}
