// An image control showing a symbol picture: a palette symbol that can be dragged, a slot that
// takes drops, or a plain holder of a picture (the blank and the hidden hint pictures).
#pragma once

#include "core/symbols.h"

#include <QByteArray>
#include <QWidget>

class SymbolImage : public QWidget {
    Q_OBJECT
  public:
    explicit SymbolImage(QWidget* parent = nullptr);

    Picture picture() const { return shown; }
    void setPicture(Picture picture);

    // A palette symbol: pressing on it drags its tag, the pointer carrying its picture.
    void makeDragSource(const QString& tag, const QByteArray& windowToken);
    // A slot: takes drops of this window's palette symbols and refuses everything else.
    void makeDropTarget(const QByteArray& windowToken);
    QString tag() const { return dragTag; }

  signals:
    void symbolDropped(const QString& tag);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    Picture shown;
    QString dragTag;
    QByteArray token;
};
