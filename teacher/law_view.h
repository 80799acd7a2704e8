// The teacher's view of the laws ("Законы"): for the runs given, how often each law was answered
// right and the wrong answers written most often, the worst law first; a mode and a span of days
// choose which of the runs count.
#pragma once

#include "journal/journal_runs.h"

#include <QTableWidgetItem>
#include <QWidget>
#include <cstdint>

class FittedTable;
class QComboBox;
class QDateEdit;
class QTableWidget;

class LawView : public QWidget {
    Q_OBJECT
  public:
    explicit LawView(QWidget* parent);

    // The runs counted; the span of days chosen becomes theirs.
    void setRuns(JournalRuns runs);
    void setFactor(double factor);

    FittedTable* table() const { return laws; }

  private:
    void fill();

    JournalRuns given; // converted once, not at every fill
    double factor = 1.0;
    QComboBox* modeChoice = nullptr;
    QDateEdit *from = nullptr, *to = nullptr;
    FittedTable* laws = nullptr;
};
