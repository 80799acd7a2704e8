#include "app/quit_signals.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QWidget>

// Windows asks a program whether the session may end (a log-off, a shutdown) through Qt's
// commit-data request: the window is closed there, before the program is ended.
void closeOnQuitSignals(QWidget* window) {
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, window,
                     [window](QSessionManager&) { window->close(); });
}
