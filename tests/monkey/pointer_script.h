// One long-lived xdotool reading its commands from stdin: the real X pointer and keyboard,
// without a process per action.
#pragma once

#include <QProcess>
#include <QString>

class PointerScript {
  public:
    ~PointerScript();
    bool start();
    QString error() const { return process.errorString(); }

    // Queues xdotool commands, one a line; they run as soon as xdotool reads them.
    void send(const QString& lines);
    // Waits until xdotool has carried out everything sent so far.
    bool sync(int timeoutMs);

  private:
    QProcess process;
};
