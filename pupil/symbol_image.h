// An image control showing a symbol picture: a palette symbol that can be dragged or picked by a
// click, a slot that takes drops and clicks, or a plain holder of a picture (the blank and the
// hidden hint pictures).
#pragma once

#include "core/symbols.h"

#include <QByteArray>
#include <QPoint>
#include <QWidget>

class QMimeData;

class SymbolImage : public QWidget {
    Q_OBJECT
  public:
    explicit SymbolImage(QWidget* parent = nullptr);

    Picture picture() const { return shown; }
    void setPicture(Picture picture);

    // A palette symbol: dragging it carries its tag, the pointer carrying its picture; a click
    // (press and release without moving past the drag distance) picks it.
    void makeDragSource(const QString& tag, const QByteArray& windowToken);
    // A slot: takes drops of this window's palette symbols and refuses everything else.
    void makeDropTarget(const QByteArray& windowToken);
    QString tag() const { return dragTag; }
    // What a drag of this palette symbol carries (the caller owns it).
    QMimeData* dragData() const;
    bool isPaletteSymbol() const { return !dragTag.isEmpty(); }

    // A palette symbol picked for placing by clicks: framed, the picture unchanged.
    bool isPicked() const { return picked; }
    void setPicked(bool picked);
    // A short mark drawn in the corner, as "¬" for a "!" typed and waiting for its symbol.
    void setMark(const QString& mark);
    // The caret's slot after the keyboard wrote: framed as when it has the focus.
    void setCaretMarked(bool marked);
    // A slot of the answer a check left in the row, marked as a whole: tinted as selected text.
    void setInMarkedAnswer(bool marked);

    // True while a drag started from any palette symbol is running.
    static bool dragInProgress();
    // Lets screen readers know a palette symbol as a check box, checked while picked. Once, before
    // the first symbol is shown.
    static void installAccessibility();

  signals:
    void symbolDropped(const QString& tag);
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void startDrag();

    Picture shown;
    QString dragTag;
    QByteArray token;
    bool picked = false;
    QString mark;
    bool caretMarked = false;
    bool inMarkedAnswer = false;
    bool pressed = false; // the left button went down here and no drag has started
    QPoint pressAt;
};
