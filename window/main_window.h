// The window: builds every control once from the control table, forwards events to the form
// and renders its state after each of them.
#pragma once

#include "core/form.h"

#include <QHash>
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

    Form& form() { return core; }
    const Form& form() const { return core; }
    // The control with this control-table name ("Label2", "Image16"…).
    QWidget* control(const QString& name) const { return byName.value(name); }
    const QByteArray& dragToken() const { return token; }

    // Copies the form's state into the widgets.
    void render();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool handleKey(const class QKeyEvent& key);
    bool handlePaletteKey(SymbolImage* symbol, int key);
    void buildControls();
    QWidget* makeControl(const struct ControlEntry& row, QWidget* container);
    void connectEvents();
    void showRulesBox();
    template <class Handler> void handle(Handler handler) {
        handler();
        render();
    }

    Form core;
    QByteArray token;
    QHash<QString, QWidget*> byName;
    std::array<SymbolImage*, kSlotCount> slotImages{};
    std::vector<SymbolImage*> paletteSymbols;    // in screen order, row by row
    SymbolImage* currentPaletteSymbol = nullptr; // the palette's one Tab stop
    NegationBars* negationBars = nullptr;
    QLabel *lawName = nullptr, *questionShown = nullptr, *rightShown = nullptr,
           *wrongShown = nullptr, *prompt = nullptr, *instructions = nullptr;
    QLineEdit* verdict = nullptr;
    QPushButton* hintButton = nullptr;
    QRadioButton *trainerOption = nullptr, *testOption = nullptr;
};

// The colour on screen: RGB as it is, a role from the window's palette.
QColor shownColour(Colour colour, const QPalette& palette);
