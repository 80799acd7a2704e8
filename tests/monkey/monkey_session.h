// One monkey run: starts the program, finds its window, hits it with the monkey's actions in
// chunks (each ending with a ping that the program must answer), then proves that the window is
// still up and still does what it is told.
#pragma once

#include "monkey_actions.h"
#include "pointer_script.h"
#include "window_targets.h"
#include "x_display.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <deque>
#include <map>

// Prints a line of the run's report at once.
void say(const QString& line);

struct MonkeySettings {
    QString program;
    std::uint32_t seed = 0;
    int actions = 0;
    int seconds = 0;
    bool verbose = false; // every action as it is sent
    QDir screenshots;
};

class MonkeySession {
  public:
    explicit MonkeySession(MonkeySettings settings);
    ~MonkeySession();
    // True when the program came through; prints why not otherwise.
    bool run();

  private:
    bool startProgram();
    bool findWindow();
    bool monkeyAround();
    bool runChunk(const std::vector<Action>& chunk);
    bool answers(int timeoutMs);
    void keepKeyboardOnTop();
    bool lookAtLanding(const Action& drop);

    bool finalCheck();
    bool closeExtraWindows();
    bool clickAndWait(const QString& control, bool cyanWanted);
    void click(const QString& control);
    int cyanCorners();
    bool closeProgram();
    bool journalReadsBack();

    bool programAlive();
    bool fail(const QString& why);
    void record(const Action& action);
    QPoint centreOf(const QString& control) const;
    void saveScreen(const QString& fileName);
    void printStacks();

    MonkeySettings settings;
    WindowTargets targets;
    XDisplay x;
    PointerScript pointer;
    QProcess program;
    QTemporaryDir dataHome; // the program's XDG_DATA_HOME, where its journal goes
    XDisplay::Window window = 0;
    QPoint origin;
    std::map<QString, QImage> paletteFields; // what each palette symbol looks like

    std::deque<QString> recent; // the last actions, for a failure report
    int done = 0, drags = 0, drops = 0, landed = 0, pings = 0;
    qint64 slowestPingMs = 0;
    QElapsedTimer clock;
};
