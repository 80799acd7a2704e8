// The keyboard: Tab reaches the row and the palette, the arrow keys move within them, Space or
// Enter picks and places, and a symbol's key types it at the caret from anywhere in the window.
// Every key ends in the same operations of the form as a drop or a click. F2 and Ctrl+J open the
// teacher's windows.
#include "pupil/main_window.h"
#include "pupil/symbol_image.h"

#include <QAbstractButton>
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

} // namespace

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
    if (event->type() != QEvent::KeyPress) return false;
    // F2 and Ctrl+J work in the teacher's windows as well.
    if (widget && isTeacherWindow(widget->window()) && !QApplication::activeModalWidget() &&
        widget == (widget->window()->focusWidget() ? widget->window()->focusWidget()
                                                   : widget->window())) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2) {
            showReview();
            return true;
        }
        if (key->key() == Qt::Key_J && key->modifiers() & Qt::ControlModifier) {
            showJournalView();
            return true;
        }
        return false;
    }
    // Only the first receiver of a key in this window, and never under the rules box.
    if (!widget || widget->window() != this || QApplication::activeModalWidget()) return false;
    if (widget != (focusWidget() ? focusWidget() : this)) return false;
    if (SymbolImage::dragInProgress()) return true; // keys during a drag are ignored
    return handleKey(*static_cast<QKeyEvent*>(event));
}

bool MainWindow::handleKey(const QKeyEvent& key) {
    const int code = key.key();
    if (key.modifiers() & Qt::ControlModifier) {
        switch (code) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomOneStep(true);
            return true;
        case Qt::Key_Minus:
            zoomOneStep(false);
            return true;
        case Qt::Key_0:
            setZoom(kZoomSteps.front());
            return true;
        case Qt::Key_J:
            showJournalView();
            return true;
        default:
            break;
        }
    }
    if (code == Qt::Key_F2) {
        showReview();
        return true;
    }
    if (code == Qt::Key_F11) {
        setFullScreenForm(!isFullScreen());
        return true;
    }
    auto* focused = qobject_cast<SymbolImage*>(focusWidget());
    const bool inRow =
        focused && std::find(slotImages.begin(), slotImages.end(), focused) != slotImages.end();
    if (focused && focused->isPaletteSymbol() && handlePaletteKey(focused, code)) return true;
    if (inRow) {
        const int caret = core.state.caret;
        switch (code) {
        case Qt::Key_Left:
            handle([&] { core.moveCaret(caret - 1); });
            return true;
        case Qt::Key_Right:
            handle([&] { core.moveCaret(caret + 1); });
            return true;
        case Qt::Key_Home:
            handle([&] { core.moveCaret(1); });
            return true;
        case Qt::Key_End:
            handle([&] { core.moveCaret(kSlotCount); });
            return true;
        case Qt::Key_Delete:
            handle([&] { core.deleteAtCaret(); });
            return true;
        case Qt::Key_Backspace:
            handle([&] { core.backspace(); });
            return true;
        default:
            if (isSpaceOrEnter(code)) {
                handle([&] { core.placePickedAtCaret(); });
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
    handle([&] { taken = core.type(static_cast<char32_t>(typed.front())); });
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
