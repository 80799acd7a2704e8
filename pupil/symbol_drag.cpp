#include "pupil/symbol_drag.h"

#include <QMimeData>
#include <QRandomGenerator>

QMimeData* makeSymbolMimeData(const QByteArray& windowToken, const QString& tag) {
    auto* data = new QMimeData;
    data->setData(kSymbolMimeType, windowToken + '\n' + tag.toUtf8());
    return data;
}

std::optional<QString> symbolTagFrom(const QMimeData* data, const QByteArray& windowToken) {
    if (!data || windowToken.isEmpty() || !data->hasFormat(kSymbolMimeType)) return std::nullopt;
    const QByteArray payload = data->data(kSymbolMimeType);
    const qsizetype newline = payload.indexOf('\n');
    if (newline < 0 || payload.left(newline) != windowToken) return std::nullopt;
    return QString::fromUtf8(payload.mid(newline + 1));
}

QByteArray newWindowToken() {
    quint64 words[2];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex();
}
