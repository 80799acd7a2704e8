// The class view's rows as a table model: one row per pupil's name, machine and the account
// that wrote the files (the files' owner), showing that pupil's latest run of the chosen day and,
// beside it, their latest finished (or timed-out) test of that day and its mark. A refresh that
// changes nothing tells the view nothing; a changed row is told as that row.
#pragma once

#include "journal/journal_runs.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <cstdint>
#include <vector>

class ClassRows : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        pupil,
        machine,
        mode,
        question,
        right,
        wrong,
        state,
        started,
        lastAnswer,
        lastTest,
        mark, // of the latest test finished or stopped by its time limit
        columns
    };
    static constexpr int kSortRole = Qt::UserRole + 2; // what a column sorts by

    // `warning` marks a row whose name another account wrote too, and forged verdicts.
    ClassRows(QIcon warning, QObject* parent);

    // The runs of a refresh (newest first), those started in [dayStart, dayEnd) kept, their
    // states judged at `now`. The same runs as last time only judge the states again.
    void setRuns(const JournalRuns& runs, std::int64_t dayStart, std::int64_t dayEnd,
                 std::int64_t now);
    // Every run of the chosen day, as the last refresh found them.
    const JournalRuns& dayRuns() const { return day; }
    // The run row `row` shows; none for no such row.
    const JournalRun* runAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    struct Row {
        QString key; // the owner, the name and the machine
        JournalRuns::Shared now, test;
        QString sameName; // «то же имя у учётной записи …»; empty where no other account
        QString stateText;
        std::int64_t stateOrder = 0;
    };
    std::vector<Row> rowsOf(std::int64_t now) const;
    void judge(Row& row, std::int64_t now) const;
    void merge(std::vector<Row> fresh);
    QVariant shown(const Row& row, int column) const;
    QVariant sortedBy(const Row& row, int column) const;

    QIcon warning;
    JournalRuns given; // as the last refresh handed them, to tell a refresh that changed nothing
    std::int64_t fromMs = 0, toMs = 0;
    JournalRuns day;
    std::vector<Row> rows;
    QHash<QString, int> rowOfKey;
};
