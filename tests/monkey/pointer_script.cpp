#include "pointer_script.h"

#include <QDeadlineTimer>

PointerScript::~PointerScript() {
    if (process.state() == QProcess::NotRunning) return;
    process.closeWriteChannel();
    if (!process.waitForFinished(5000)) process.kill();
    process.waitForFinished(5000);
}

bool PointerScript::start() {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setReadChannel(QProcess::StandardOutput);
    process.start(QStringLiteral("xdotool"), {QStringLiteral("-")});
    return process.waitForStarted(10000);
}

void PointerScript::send(const QString& lines) {
    process.write(lines.toUtf8());
    process.waitForBytesWritten(10000);
}

// xdotool prints the pointer's place once it gets there in the script, and flushes each line.
bool PointerScript::sync(int timeoutMs) {
    send(QStringLiteral("getmouselocation\n"));
    const QDeadlineTimer deadline(timeoutMs);
    while (!process.canReadLine()) {
        if (process.state() != QProcess::Running || deadline.hasExpired()) return false;
        process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    process.readLine();
    return true;
}
