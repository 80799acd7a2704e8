#include "teacher/class_rows.h"

#include "journal/qt_text.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>

namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kWaitingMs = 3 * kMinuteMs;
constexpr std::int64_t kAbandonedMs = 45 * kMinuteMs; // a going run's file unwritten this long

const QStringList kTitles{QStringLiteral("Ученик"),          QStringLiteral("Компьютер"),
                          QStringLiteral("Режим"),           QStringLiteral("Вопрос"),
                          QStringLiteral("Правильно"),       QStringLiteral("Неправильно"),
                          QStringLiteral("Состояние"),       QStringLiteral("Начало"),
                          QStringLiteral("Последний ответ"), QStringLiteral("Последний тест"),
                          QStringLiteral("Оценка")};

std::int64_t lastAnswerMs(const RunRecord& run) {
    return run.answers.empty() ? 0 : run.answers.back().atMs;
}

int questionReached(const RunRecord& run) {
    if (run.ending == RunEnding::finished) return run.questionCount();
    return std::min(static_cast<int>(run.answers.size()) + 1, run.questionCount());
}

QString clockTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("HH:mm:ss"));
}

// A test that counts: finished, or stopped by its time limit.
bool isFinishedTest(const RunRecord& run) {
    return run.mode == Mode::test &&
           (run.ending == RunEnding::finished || run.ending == RunEnding::timeUp);
}

QString testShown(const RunRecord& run) {
    return QStringLiteral("%1 прав., %2 ош.").arg(run.rightCount()).arg(run.wrongCount());
}

} // namespace

ClassRows::ClassRows(QIcon warning, QObject* parent)
    : QAbstractTableModel(parent), warning(std::move(warning)) {}

// A run whose file still says "going" goes on while its file is written to; one left unwritten
// that long was cut short without a word (a machine switched off, a network lost).
void ClassRows::judge(Row& row, std::int64_t now) const {
    const JournalRun& entry = *row.now;
    const RunRecord& run = entry.run;
    std::int64_t order = 0;
    if (run.ending == RunEnding::finished)
        order = 1'000'000;
    else if (run.ending == RunEnding::timeUp)
        order = 1'500'000;
    else if (run.ending != RunEnding::going || now - entry.writtenMs >= kAbandonedMs)
        order = 2'000'000;
    else if (const std::int64_t idle = now - std::max(run.startedMs, lastAnswerMs(run));
             idle >= kWaitingMs)
        order = 1 + idle / kMinuteMs;
    if (order == row.stateOrder && !row.stateText.isEmpty()) return;
    row.stateOrder = order;
    row.stateText = order == 0           ? QStringLiteral("идёт")
                    : order == 1'000'000 ? QStringLiteral("закончил")
                    : order == 1'500'000 ? QStringLiteral("время вышло")
                    : order == 2'000'000 ? QStringLiteral("прерван")
                                         : QStringLiteral("ждёт %1 мин").arg(order - 1);
}

// The day's rows: runs come newest first, so a row's first run is its latest.
std::vector<ClassRows::Row> ClassRows::rowsOf(std::int64_t now) const {
    std::vector<Row> fresh;
    QHash<QString, std::size_t> at;
    QHash<QString, QStringList> ownersOfName; // by the name as written, whatever its case
    for (std::size_t i = 0; i < day.size(); ++i) {
        const JournalRun& entry = day[i];
        const QString name = pupilOf(entry);
        const QString key = entry.owner + QChar(0x1f) + name + QChar(0x1f) + entry.machine;
        auto found = at.find(key);
        if (found == at.end()) {
            found = at.insert(key, fresh.size());
            fresh.push_back({key, day.share(i), {}, {}, {}, 0});
            QStringList& owners = ownersOfName[name.toCaseFolded()];
            if (!owners.contains(entry.owner)) owners << entry.owner;
        }
        Row& row = fresh[*found];
        if (!row.test && isFinishedTest(entry.run)) row.test = day.share(i);
    }
    for (Row& row : fresh) {
        judge(row, now);
        QStringList others = ownersOfName.value(pupilOf(*row.now).toCaseFolded());
        others.removeAll(row.now->owner);
        others.sort();
        if (!others.isEmpty())
            row.sameName =
                QStringLiteral("то же имя у учётной записи ") + others.join(QStringLiteral(", "));
    }
    return fresh;
}

void ClassRows::setRuns(const JournalRuns& runs, std::int64_t dayStart, std::int64_t dayEnd,
                        std::int64_t now) {
    const bool sameRuns =
        dayStart == fromMs && dayEnd == toMs && runs.size() == given.size() &&
        std::equal(runs.begin(), runs.end(), given.begin(),
                   [](const JournalRun& a, const JournalRun& b) { return &a == &b; });
    if (sameRuns) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::int64_t before = rows[r].stateOrder;
            judge(rows[r], now);
            if (rows[r].stateOrder != before)
                emit dataChanged(index(int(r), state), index(int(r), state));
        }
        return;
    }
    if (dayStart != fromMs || dayEnd != toMs) {
        beginResetModel();
        rows.clear();
        rowOfKey.clear();
        endResetModel();
    }
    given = runs;
    fromMs = dayStart;
    toMs = dayEnd;
    day = {};
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (runs[i].run.startedMs >= dayStart && runs[i].run.startedMs < dayEnd)
            day.push_back(runs.share(i));
    merge(rowsOf(now));
}

// Rows kept where they were, told only where they changed; rows gone removed, new ones added
// at the end (the view sorts them).
void ClassRows::merge(std::vector<Row> fresh) {
    QSet<QString> freshKeys;
    for (const Row& row : fresh)
        freshKeys.insert(row.key);
    for (int r = int(rows.size()) - 1; r >= 0; --r)
        if (!freshKeys.contains(rows[std::size_t(r)].key)) {
            beginRemoveRows({}, r, r);
            rows.erase(rows.begin() + r);
            endRemoveRows();
        }
    rowOfKey.clear();
    for (std::size_t r = 0; r < rows.size(); ++r)
        rowOfKey.insert(rows[r].key, int(r));

    std::vector<Row> added;
    for (Row& row : fresh) {
        const auto known = rowOfKey.constFind(row.key);
        if (known == rowOfKey.constEnd()) {
            added.push_back(std::move(row));
            continue;
        }
        Row& old = rows[std::size_t(*known)];
        if (old.now == row.now && old.test == row.test && old.sameName == row.sameName &&
            old.stateOrder == row.stateOrder)
            continue;
        old = std::move(row);
        emit dataChanged(index(*known, 0), index(*known, columns - 1));
    }
    if (added.empty()) return;
    const int first = int(rows.size());
    beginInsertRows({}, first, first + int(added.size()) - 1);
    for (Row& row : added) {
        rowOfKey.insert(row.key, int(rows.size()));
        rows.push_back(std::move(row));
    }
    endInsertRows();
}

const JournalRun* ClassRows::runAt(int row) const {
    if (row < 0 || row >= int(rows.size())) return nullptr;
    return rows[std::size_t(row)].now.get();
}

int ClassRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

int ClassRows::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant ClassRows::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns) return {};
    if (role == Qt::DisplayRole) return kTitles[section];
    return {};
}

QVariant ClassRows::shown(const Row& row, int column) const {
    const RunRecord& run = row.now->run;
    switch (Column(column)) {
    case pupil:
        return row.sameName.isEmpty() ? pupilOf(*row.now)
                                      : pupilOf(*row.now) + " (" + row.sameName + ')';
    case machine:
        return row.now->machine;
    case mode:
        return qs(modeShown(run.mode));
    case question:
        return QStringLiteral("%1 из %2").arg(questionReached(run)).arg(run.questionCount());
    case right:
        return QString::number(run.rightCount());
    case wrong:
        return QString::number(run.wrongCount());
    case state:
        return row.stateText;
    case started:
        return clockTime(run.startedMs);
    case lastAnswer:
        return lastAnswerMs(run) ? clockTime(lastAnswerMs(run)) : QStringLiteral("—");
    case lastTest:
        return row.test ? testShown(row.test->run) : QStringLiteral("—");
    case mark:
        return row.test && row.test->run.mark() ? QString::number(row.test->run.mark()) : QString();
    case columns:
        break;
    }
    return {};
}

QVariant ClassRows::sortedBy(const Row& row, int column) const {
    const RunRecord& run = row.now->run;
    switch (Column(column)) {
    case question:
        return questionReached(run);
    case right:
        return run.rightCount();
    case wrong:
        return run.wrongCount();
    case state:
        return QVariant::fromValue<qint64>(row.stateOrder);
    case started:
        return QVariant::fromValue<qint64>(run.startedMs);
    case lastAnswer:
        return QVariant::fromValue<qint64>(lastAnswerMs(run));
    case lastTest:
        return row.test ? row.test->run.rightCount() : -1;
    case mark:
        return row.test ? row.test->run.mark() : -1;
    default:
        return shown(row, column);
    }
}

QVariant ClassRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(rows.size())) return {};
    const Row& row = rows[std::size_t(index.row())];
    const JournalRun& entry = *row.now;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return shown(row, column);
    case kSortRole:
        return sortedBy(row, column);
    case Qt::TextAlignmentRole:
        return (column >= question && column <= wrong) || column == mark
                   ? int(Qt::AlignRight | Qt::AlignVCenter)
                   : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::DecorationRole:
        if ((column == pupil && !row.sameName.isEmpty()) ||
            (column == state && entry.verdictsForged))
            return warning;
        return {};
    case Qt::ToolTipRole:
        if (column == pupil) {
            QStringList lines{pupilOf(entry)};
            if (!entry.owner.isEmpty() && entry.owner != entry.user)
                lines << QStringLiteral("вход: ") + entry.user
                      << QStringLiteral("владелец файла: ") + entry.owner;
            if (!row.sameName.isEmpty()) lines << row.sameName;
            return lines.join('\n');
        }
        if (column == state && entry.verdictsForged)
            return QStringLiteral("оценка в файле не совпадает с ответом");
        if (column == lastTest && row.test)
            return QStringLiteral("тест, начат %1: правильно %2, неправильно %3")
                .arg(clockTime(row.test->run.startedMs))
                .arg(row.test->run.rightCount())
                .arg(row.test->run.wrongCount());
        return shown(row, column);
    default:
        return {};
    }
}
