// The window: builds every control once from the control table, forwards events to the form
// and renders its state after each of them.
#pragma once

#include "core/form.h"
#include "core/zoom.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class NegationBars;
class SymbolImage;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    Form& form() { return core; }
    const Form& form() const { return core; }
    // The control with this control-table name ("Label2", "Image16"…).
    QWidget* control(const QString& name) const { return byName.value(name); }

    // Copies the form's state into the widgets.
    void render();

    // The zoom in per cent, one of kZoomSteps; a step that would not fit the screen is not
    // taken (the largest that fits is).
    int zoomPercent() const { return zoom; }
    void setZoom(int percent);
    // The largest zoom step whose window fits the screen's available area.
    int largestFittingZoom() const;
    // Full screen: the form at the largest factor that fits the screen, centred.
    void setFullScreenForm(bool on);

    // The teacher wants each pupil's name: the first Start asks it, «Сменить ученика» again.
    void setAskName(bool ask) { askName = ask; }
    // Asks the pupil's name; false when cancelled.
    bool askForPupil();
    const QString& pupil() const { return pupilName; }
    // The form's factor on screen now: the zoom's, or full screen's.
    double scale() const { return factor; }
    // Работа над ошибками: a trainer run over these laws, the window brought to the front.
    void repeatMistakes(std::vector<int> laws);

  signals:
    // Each change of the run's record: its Start, each answer, its end.
    void runChanged(const RunRecord& run);
    // The pupil gave a name: the next run's.
    void pupilNamed(const QString& name);
    // The teacher's windows asked for (F2, Ctrl+J, Ctrl+K or the background's menu).
    void reviewAsked();
    void journalAsked();
    void classAsked();
    // The form's factor changed (zoom or full screen): the teacher's windows follow it.
    void scaleChanged(double factor);
    // The pupil or teacher changed the zoom or full screen: worth remembering.
    void displayChanged(int zoomPercent, bool fullScreen);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;                 // a new zoom: told as scaleChanged
    void contextMenuEvent(QContextMenuEvent* event) override; // on the background: their menu

  private:
    bool handleKey(const class QKeyEvent& key);
    // Whether a key event is a held key's repeat, whatever the toolkit flags it; told every key
    // event of the program once.
    bool isHeldKeyRepeat(const class QKeyEvent& key);
    void setUpActions();
    // A change made by a key on the row: from then on the caret's slot stays marked, wherever
    // the focus is, until the mouse is used on the row (or a new run starts).
    template <class Handler> void writeByKey(Handler handler) {
        caretMarked = true;
        handle(handler);
    }
    void zoomOneStep(bool larger); // the next step up (that fits) or down
    bool handlePaletteKey(SymbolImage* symbol, int key);
    void buildControls();
    void layOut();
    QWidget* makeControl(const struct ControlEntry& row, QWidget* container);
    void connectEvents();
    void showRulesBox();
    template <class Handler> void handle(Handler handler) {
        handler();
        render();
    }
    // Each change of the run, told as runChanged.
    void watchRun();

    Form core;
    QByteArray token;
    QHash<QString, QWidget*> byName;
    std::array<SymbolImage*, kSlotCount> slotImages{};
    std::vector<SymbolImage*> paletteSymbols;    // in screen order, row by row
    SymbolImage* currentPaletteSymbol = nullptr; // the palette's one Tab stop
    NegationBars* negationBars = nullptr;
    // Every control with its row of the control table, to lay it out again at another zoom.
    std::vector<std::pair<QWidget*, const struct ControlEntry*>> placed;
    std::vector<std::pair<QLabel*, QPixmap>> portraits; // with the picture as it is at 100 %
    int zoom = 100;
    bool caretMarked = false;
    // The last key event the program had: its key, whether it went down, and when (the event's
    // own time, in milliseconds).
    struct KeyEventSeen {
        int key = 0;
        bool down = false;
        quint64 at = 0;
    } lastKey;
    bool askName = false;
    QString pupilName;
    int wheelTurned = 0; // Ctrl+wheel turned since the last step, in eighths of a degree
    double factor = 1.0;
    QPoint formOffset; // where the form starts: off the corner in full screen only
    QLabel *lawName = nullptr, *questionShown = nullptr, *rightShown = nullptr,
           *wrongShown = nullptr, *prompt = nullptr, *instructions = nullptr, *timeLeft = nullptr;
    class QTimer* clock = nullptr; // ticks the form while a timed test goes
    QLineEdit* verdict = nullptr;
    QPushButton* hintButton = nullptr;
    QRadioButton *trainerOption = nullptr, *testOption = nullptr;
};

// The colour on screen: RGB as it is, a role from the window's palette.
QColor shownColour(Colour colour, const QPalette& palette);
