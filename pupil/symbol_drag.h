// What a palette symbol carries while it is dragged: a private type holding a token unique to
// the window it came from, and the symbol's tag. Drops from anywhere else are refused.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QMimeData;

inline constexpr char kSymbolMimeType[] = "application/x-zakony-logiki-symbol";

QMimeData* makeSymbolMimeData(const QByteArray& windowToken, const QString& tag);
// The tag, when the data comes from a palette symbol of the window owning windowToken.
std::optional<QString> symbolTagFrom(const QMimeData* data, const QByteArray& windowToken);
// A fresh token for one window: random, never empty.
QByteArray newWindowToken();
