// End to end: the teacher's «Класс» follows three pupils at once. Three real programs, started
// with --ask-name on one journal folder, are given their pupils' names and answers, right and
// wrong, at paces of their own through xdotool; a fourth shows the class view alone. A ClassView
// in this process reads the same folder as the teacher's window does and, left to refresh by
// itself, must show one row per pupil by name with the question reached and the counts, at two
// moments; the real window must then show the same table pixel for pixel, so it too has changed
// by itself. No window manager: the test puts the windows apart, so that each click lands on the
// window meant.
#include "core/mode.h"
#include "core/run_record.h"
#include "support/law_keys.h"
#include "support/russian_keys.h"
#include "support/xdotool_keys.h"
#include "teacher/class_view.h"
#include "teacher/fitted_view.h"
#include "teacher/teacher_window.h"
#include "window_targets.h"
#include "x_display.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr int kWaitMs = 20000; // generous: four programs start on a busy machine

struct Pupil {
    QString name;
    Mode mode;
    int keyDelayMs;                // each at a pace of their own
    std::vector<bool> verdicts[2]; // the answers typed before each look at the class
    QPoint place;                  // apart from the other windows
};

const Pupil kPupils[] = {
    {QStringLiteral("Иванова Маша"),
     Mode::trainer,
     10,
     {{true, true, false}, {true, true}},
     {0, 0}},
    {QStringLiteral("Петров Коля"), Mode::test, 60, {{false}, {true, true, false}}, {660, 0}},
    {QStringLiteral("Сидоров Петя"), Mode::trainer, 120, {{}, {true, false}}, {0, 440}},
};
const QPoint kTeacherPlace{660, 440}, kViewPlace{0, 860};

using xdotool_keys::answerKeys;

// The programs started, ended whatever becomes of the test.
class Programs {
  public:
    explicit Programs(QProcessEnvironment environment) : environment(std::move(environment)) {}
    ~Programs() {
        for (auto& p : started)
            p->terminate();
        for (auto& p : started)
            if (!p->waitForFinished(kWaitMs)) {
                p->kill();
                p->waitForFinished(kWaitMs);
            }
    }
    QProcess& start(const QStringList& args) {
        auto& p = *started.emplace_back(std::make_unique<QProcess>());
        p.setProcessEnvironment(environment);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QStringLiteral(TRAINER_PROGRAM), args);
        return p;
    }

  private:
    QProcessEnvironment environment;
    std::vector<std::unique_ptr<QProcess>> started;
};

bool xdotool(const QStringList& args) {
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

int columnOf(const QAbstractItemModel* rows, const QString& title) {
    for (int c = 0; c < rows->columnCount(); ++c)
        if (rows->headerData(c, Qt::Horizontal).toString() == title) return c;
    return -1;
}

// The class view's rows as "name: mode, question, right, wrong", sorted.
QStringList rowsOf(const QAbstractItemView* table) {
    const QAbstractItemModel* model = table->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (const char* title : {"Ученик", "Режим", "Вопрос", "Правильно", "Неправильно"})
            cells << model->index(r, columnOf(model, QString::fromUtf8(title))).data().toString();
        const QString name = cells.takeFirst();
        rows << name + QStringLiteral(": ") + cells.join(QStringLiteral(", "));
    }
    rows.sort();
    return rows;
}

// What the rows must say once the answers before look `moment` are in.
QStringList expectedRows(int moment) {
    QStringList rows;
    for (const Pupil& pupil : kPupils) {
        int right = 0, wrong = 0;
        for (int m = 0; m <= moment; ++m)
            for (bool verdict : pupil.verdicts[m])
                ++(verdict ? right : wrong);
        const auto mode = modeShown(pupil.mode);
        rows << QStringLiteral("%1: %2, %3 из %4, %5, %6")
                    .arg(pupil.name, QString::fromUtf8(mode.data(), qsizetype(mode.size())))
                    .arg(right + wrong + 1)
                    .arg(kLawCount)
                    .arg(right)
                    .arg(wrong);
    }
    rows.sort();
    return rows;
}

} // namespace

class ClassViewEndToEnd : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QString folder;
    WindowTargets targets = WindowTargets::fromControlTable();
    XDisplay x;

    XDisplay::Window windowOf(const QProcess& program, const QString& title) {
        for (XDisplay::Window w : x.windowsOf(program.processId()))
            if (x.title(w) == title) return w;
        return 0;
    }
    QStringList clickOn(XDisplay::Window window, const QString& control) const {
        return xdotool_keys::clickAt(window, targets.rectOf(control).center());
    }
    bool moveTo(XDisplay::Window window, QPoint place) {
        return xdotool({"windowmove", QString::number(window), QString::number(place.x()),
                        QString::number(place.y())});
    }
    // The teacher's window shows the table as this process's view draws it: the same rows,
    // pixel for pixel (both on this screen, with the same fonts and no settings).
    bool showsAlike(XDisplay::Window teacher, ClassView& view) {
        const auto area = x.geometry(teacher);
        if (!area || area->size() != view.size()) return false;
        QWidget* cells = view.table()->viewport();
        const QRect onScreen(area->topLeft() + cells->mapTo(&view, QPoint(0, 0)), cells->size());
        return x.grab(onScreen) == cells->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

  private slots:
    void classFollowsThreePupils();
};

void ClassViewEndToEnd::classFollowsThreePupils() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is not installed");
    QVERIFY2(x.isOpen(), "cannot open the X display");
    QVERIFY(home.isValid());
    // A folder named by --journal is the teacher's to make: the program never makes one.
    folder = home.filePath(QStringLiteral("journal"));
    QVERIFY(QDir().mkpath(folder));
    QString names;
    for (const Pupil& pupil : kPupils)
        names += pupil.name;
    const RussianKeys russian(names);
    QVERIFY2(russian.isReady(), "too few spare keys for the Russian letters");

    Programs programs(QProcessEnvironment::systemEnvironment());

    const QStringList pupilArgs{"--journal", folder, "--ask-name"};
    std::vector<XDisplay::Window> windows;
    for (const Pupil& pupil : kPupils) {
        const QProcess& program = programs.start(pupilArgs);
        XDisplay::Window w = 0;
        QTRY_VERIFY_WITH_TIMEOUT((w = windowOf(program, QStringLiteral("Form1"))) != 0, kWaitMs);
        QVERIFY(x.ping(w, kWaitMs));
        QVERIFY(moveTo(w, pupil.place));
        QTRY_COMPARE_WITH_TIMEOUT(x.geometry(w).value_or(QRect()).topLeft(), pupil.place, kWaitMs);
        if (pupil.mode == Mode::test) QVERIFY(xdotool(clickOn(w, QStringLiteral("Option1(1)"))));
        QVERIFY(xdotool(clickOn(w, QStringLiteral("Cmd3_Start"))));
        XDisplay::Window asked = 0;
        QTRY_VERIFY_WITH_TIMEOUT((asked = windowOf(program, QStringLiteral("Ученик"))) != 0,
                                 kWaitMs);
        x.focus(asked);
        QVERIFY(xdotool(QStringList{"key", "--delay", "30"} + russian.keysOf(pupil.name) +
                        QStringList{"Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(windowOf(program, QStringLiteral("Ученик")) == 0, kWaitMs);
        windows.push_back(w);
    }

    const QProcess& teacher = programs.start({"--class", "--journal", folder});
    XDisplay::Window teacherWindow = 0;
    QTRY_VERIFY_WITH_TIMEOUT((teacherWindow = windowOf(teacher, QStringLiteral("Класс"))) != 0,
                             kWaitMs);
    QVERIFY(x.isViewable(teacherWindow));
    QVERIFY(moveTo(teacherWindow, kTeacherPlace));
    // The rows as the teacher sees them, from a view of this process, apart on the screen.
    ClassView view(nullptr, folder);
    view.move(kViewPlace);
    view.show();

    const QString shots = QStringLiteral(E2E_SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(shots));
    for (int moment = 0; moment < 2; ++moment) {
        for (std::size_t p = 0; p < std::size(kPupils); ++p) {
            const Pupil& pupil = kPupils[p];
            x.focus(windows[p]);
            int law = 1;
            for (int m = 0; m < moment; ++m)
                law += int(pupil.verdicts[m].size());
            for (bool verdict : pupil.verdicts[moment]) {
                // The test leaves the last answer in the row.
                if (pupil.mode == Mode::test)
                    QVERIFY(xdotool(clickOn(windows[p], QStringLiteral("Command2"))));
                QVERIFY(xdotool(QStringList{"key", "--delay", QString::number(pupil.keyDelayMs)} +
                                answerKeys(pupil.mode, law++, verdict)));
                QVERIFY(xdotool(clickOn(windows[p], QStringLiteral("Command1"))));
            }
        }
        const QStringList expected = expectedRows(moment);
        QTRY_VERIFY2_WITH_TIMEOUT(
            rowsOf(view.table()) == expected,
            qPrintable(QStringLiteral("look %1 shows\n%2\ninstead of\n%3")
                           .arg(moment + 1)
                           .arg(rowsOf(view.table()).join('\n'), expected.join('\n'))),
            kWaitMs);
        const bool alike =
            QTest::qWaitFor([&] { return showsAlike(teacherWindow, view); }, kWaitMs);
        QVERIFY(
            x.grab(x.geometry(teacherWindow).value_or(QRect()))
                .save(QDir(shots).filePath(QStringLiteral("class_view_%1.png").arg(moment + 1))));
        QVERIFY2(alike, "the teacher's window does not show the rows");
    }
}

int main(int argc, char* argv[]) {
    // This process and the programs it starts read no setting of the user's, the fonts' included:
    // the view here and the teacher's window must draw alike.
    QTemporaryDir home;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.filePath(QString::fromLatin1(name).toLower());
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return 1;
        qputenv(name, QFile::encodeName(path));
    }
    qunsetenv("QT_SCALE_FACTOR");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ClassViewEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}
#include "class_view_test.moc"
