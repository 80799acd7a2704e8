// The window: builds every control once from the control table, forwards events to Form1 and
// renders its state after each of them.
#pragma once

#include "app/form1.h"

#include <QHash>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SymbolImage;

class Form1Window : public QWidget {
    Q_OBJECT
  public:
    explicit Form1Window(QWidget* parent = nullptr);

    Form1& core() { return form; }
    const Form1& core() const { return form; }
    QWidget* control(const QString& name) const { return byName.value(name); }
    const QByteArray& dragToken() const { return token; }

    // Copies the core's state into the widgets.
    void render();

  private:
    void buildControls();
    QWidget* makeControl(const struct ControlEntry& row, QWidget* container);
    void connectEvents();
    void showRulesBox();
    template <class Handler> void handle(Handler handler) {
        handler();
        render();
    }

    Form1 form;
    QByteArray token;
    QHash<QString, QWidget*> byName;
    std::array<SymbolImage*, kSlotCount> slotImages{};
    QLabel *label2 = nullptr, *label3 = nullptr, *label4 = nullptr, *label5 = nullptr;
    QLabel *label6 = nullptr, *label9 = nullptr;
    QLineEdit* text1 = nullptr;
    QPushButton* command3 = nullptr;
    std::array<QRadioButton*, 2> option1{};
};

// A colour as the window stores it (&H00BBGGRR, or &H800000nn for system colour nn).
QColor colorFromValue(ColorValue value, const QPalette& palette);
