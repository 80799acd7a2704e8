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

// A read-only cell that sorts by `order` instead of by its text; without an order, by its text.
QTableWidgetItem* putSorted(QTableWidget* table, int row, int column, const QString& text);
QTableWidgetItem* putSorted(QTableWidget* table, int row, int column, const QString& text,
                            std::int64_t order,
                            Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

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
