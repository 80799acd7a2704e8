// SIGTERM, SIGINT and SIGHUP (a shutdown, Ctrl+C in a terminal, a closed terminal) close the
// window as its close button does, so that a run going on is recorded as ended by the window's
// closing rather than cut short. On Windows the end of the session does the same.
#pragma once

class QWidget;

// Once, after the window exists. The signal itself only writes a byte; the window is closed
// from the event loop.
void closeOnQuitSignals(QWidget* window);
