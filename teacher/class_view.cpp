#include "teacher/class_view.h"

#include "journal/journal_loader.h"
#include "journal/journal_xlsx.h"
#include "journal/qt_text.h"
#include "teacher/law_view.h"
#include "teacher/review_window.h"
#include "teacher/teacher_window.h"

#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace {

constexpr int kPollMs = 3000; // network folders seldom tell of changes: asked this often
constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kWaitingMs = 3 * kMinuteMs;
constexpr std::int64_t kAbandonedMs = 45 * kMinuteMs; // a going run's file unwritten this long

enum Column { pupil, machine, mode, question, right, wrong, state, started, lastAnswer, columns };

const QStringList kTitles{
    QStringLiteral("Ученик"),    QStringLiteral("Компьютер"), QStringLiteral("Режим"),
    QStringLiteral("Вопрос"),    QStringLiteral("Правильно"), QStringLiteral("Неправильно"),
    QStringLiteral("Состояние"), QStringLiteral("Начало"),    QStringLiteral("Последний ответ")};

constexpr int kRunFileRole = Qt::UserRole + 1; // the row's run's file name, on the first cell

std::int64_t lastAnswerMs(const RunRecord& run) {
    return run.answers.empty() ? 0 : run.answers.back().atMs;
}

struct Shown {
    QString text;
    std::int64_t order = 0;
};

// A run whose file still says "going" goes on while its file is written to; one left unwritten
// that long was cut short without a word (a machine switched off, a network lost).
Shown stateOf(const JournalRun& entry, std::int64_t now) {
    const RunRecord& run = entry.run;
    if (run.ending == RunEnding::finished) return {QStringLiteral("закончил"), 1'000'000};
    if (run.ending != RunEnding::going || now - entry.writtenMs >= kAbandonedMs)
        return {QStringLiteral("прерван"), 2'000'000};
    const std::int64_t idle = now - std::max(run.startedMs, lastAnswerMs(run));
    if (idle < kWaitingMs) return {QStringLiteral("идёт"), 0};
    const std::int64_t minutes = idle / kMinuteMs;
    return {QStringLiteral("ждёт %1 мин").arg(minutes), 1 + minutes};
}

int questionReached(const RunRecord& run) {
    if (run.ending == RunEnding::finished) return run.questionCount();
    return std::min(static_cast<int>(run.answers.size()) + 1, run.questionCount());
}

QString clockTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("HH:mm:ss"));
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QLatin1String(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

QLabel* lineLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}

} // namespace

ClassView::ClassView(QWidget* parent, QString folder, std::function<std::int64_t()> nowMs)
    : QWidget(parent, Qt::Window), folder(std::move(folder)), nowMs(std::move(nowMs)) {
    setObjectName(QStringLiteral("ClassView"));
    setWindowTitle(QStringLiteral("Класс"));
    if (!this->nowMs) this->nowMs = [] { return QDateTime::currentMSecsSinceEpoch(); };

    auto* lines = new QVBoxLayout(this);
    auto* dayLine = new QHBoxLayout;
    auto* dayLabel = new QLabel(QStringLiteral("День:"), this);
    day = dayEdit("day", this);
    day->setDate(QDateTime::fromMSecsSinceEpoch(this->nowMs()).date());
    dayLabel->setBuddy(day);
    dayLine->addWidget(dayLabel);
    dayLine->addWidget(day);
    dayLine->addStretch(1);
    lines->addLayout(dayLine);
    connect(day, &QDateEdit::dateChanged, this, [this] {
        latest = {};
        fill();
        reload();
    });

    progress = lineLabel("progress", this);
    lines->addWidget(progress);
    problem = lineLabel("problem", this);
    lines->addWidget(problem);

    rows = new FittedTable(this);
    rows->setObjectName(QStringLiteral("pupils"));
    rows->setColumnCount(columns);
    rows->setHorizontalHeaderLabels(kTitles);
    rows->horizontalHeader()->setSectionsClickable(true);
    rows->horizontalHeader()->setSortIndicatorShown(true);
    rows->sortByColumn(pupil, Qt::AscendingOrder);
    rows->setSortingEnabled(true);
    connect(rows, &QTableWidget::cellDoubleClicked, this, [this](int row) { openRun(row); });
    lines->addWidget(rows, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* lawsButton = button(QStringLiteral("Законы…"), "laws", this);
    QPushButton* saveButton = button(QStringLiteral("Сохранить для Excel…"), "saveXlsx", this);
    QPushButton* closeButton = button(QStringLiteral("Закрыть"), "close", this);
    buttons->addWidget(lawsButton);
    buttons->addWidget(saveButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    lines->addLayout(buttons);
    connect(lawsButton, &QPushButton::clicked, this, &ClassView::openLaws);
    connect(saveButton, &QPushButton::clicked, this, &ClassView::askWhereToSaveXlsx);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(this);

    loader = new JournalLoader(this->folder, this);
    connect(loader, &JournalLoader::progress, this, [this](int done, int total) {
        progress->setText(QStringLiteral("Читается журнал: %1 из %2").arg(done).arg(total));
        progress->setVisible(done < total);
    });
    connect(loader, &JournalLoader::loaded, this, &ClassView::take);
    watcher = new QFileSystemWatcher(this);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &ClassView::reload);
    polling = new QTimer(this);
    polling->setInterval(kPollMs);
    // Every reading draws the states again: they change with the clock where no file does.
    connect(polling, &QTimer::timeout, this, &ClassView::reload);

    scaleTeacherWindow(this, factor);
    fill();
}

void ClassView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    polling->start();
    reload();
}

void ClassView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    polling->stop();
}

void ClassView::reload() {
    watchFolder();
    loader->reload();
}

// A folder made after the window opened is watched from then on.
void ClassView::watchFolder() {
    if (watcher->directories().isEmpty() && QDir(folder).exists()) watcher->addPath(folder);
}

void ClassView::setFactor(double newFactor) {
    if (newFactor == factor) return;
    factor = newFactor;
    scaleTeacherWindow(this, factor);
    if (runReview) runReview->setFactor(factor);
    if (laws) laws->setFactor(factor);
    fittedHint = {};
    fill();
}

// Only the chosen day's runs are kept: a class's folder may hold a hundred thousand, read again
// every few seconds.
void ClassView::take(const JournalListing& read) {
    progress->hide();
    readProblem = read.problem;
    const std::int64_t dayStart = day->date().startOfDay().toMSecsSinceEpoch(),
                       dayEnd = day->date().addDays(1).startOfDay().toMSecsSinceEpoch();
    // Each pupil's latest run on each machine that day.
    std::map<std::pair<QString, QString>, std::size_t> newest;
    for (std::size_t i = 0; i < read.runs.size(); ++i) {
        const JournalRun& entry = read.runs[i];
        if (entry.run.startedMs < dayStart || entry.run.startedMs >= dayEnd) continue;
        const auto [kept, first] = newest.try_emplace({pupilOf(entry), entry.machine}, i);
        if (!first && entry.run.startedMs > read.runs[kept->second].run.startedMs) kept->second = i;
    }
    latest = {};
    for (const auto& [who, i] : newest)
        latest.push_back(read.runs.share(i));
    fill();
}

void ClassView::fill() {
    QString selected;
    if (const QTableWidgetItem* current = rows->item(rows->currentRow(), pupil);
        current && rows->selectionModel()->hasSelection())
        selected = current->data(kRunFileRole).toString();

    problem->setText(QStringLiteral("Журнал не прочитан: ") + readProblem);
    problem->setVisible(!readProblem.isEmpty());

    const std::int64_t now = nowMs();
    rows->setSortingEnabled(false);
    rows->setRowCount(static_cast<int>(latest.size()));
    const auto number = Qt::AlignRight | Qt::AlignVCenter;
    for (int i = 0; i < rows->rowCount(); ++i) {
        const JournalRun& entry = latest[static_cast<std::size_t>(i)];
        const RunRecord& run = entry.run;
        const int reached = questionReached(run);
        const Shown shownState = stateOf(entry, now);
        const std::int64_t last = lastAnswerMs(run);

        QTableWidgetItem* who = putSorted(rows, i, pupil, pupilOf(entry));
        who->setData(kRunFileRole, entry.fileName);
        if (!entry.owner.isEmpty() && entry.owner != entry.user)
            who->setToolTip(QStringLiteral("%1\nвход: %2\nвладелец файла: %3")
                                .arg(pupilOf(entry), entry.user, entry.owner));
        putSorted(rows, i, machine, entry.machine);
        putSorted(rows, i, mode, qs(modeShown(run.mode)));
        putSorted(rows, i, question,
                  QStringLiteral("%1 из %2").arg(reached).arg(run.questionCount()), reached,
                  number);
        putSorted(rows, i, right, QString::number(run.rightCount()), run.rightCount(), number);
        putSorted(rows, i, wrong, QString::number(run.wrongCount()), run.wrongCount(), number);
        QTableWidgetItem* stateCell = putSorted(rows, i, state, shownState.text, shownState.order);
        if (entry.verdictsForged) {
            stateCell->setToolTip(QStringLiteral("оценка в файле не совпадает с ответом"));
            stateCell->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        }
        putSorted(rows, i, started, clockTime(run.startedMs), run.startedMs);
        putSorted(rows, i, lastAnswer, last ? clockTime(last) : QStringLiteral("—"), last);
    }
    rows->setSortingEnabled(true);

    if (!selected.isEmpty())
        for (int r = 0; r < rows->rowCount(); ++r)
            if (rows->item(r, pupil)->data(kRunFileRole).toString() == selected) rows->selectRow(r);

    // The review of a run still going follows it.
    if (runReview && runReview->isVisible())
        for (const JournalRun& entry : latest)
            if (entry.fileName == reviewed.fileName && !(entry.run == reviewed.run)) {
                reviewed = entry;
                runReview->showJournalRun(entry);
            }

    rows->fitToContents();
    // Refitted only when the content needs another size: the teacher may have resized it.
    const QSize hint = sizeHint();
    if (hint != fittedHint) {
        fittedHint = hint;
        fitWindowToScreen(this, rows);
    }
}

bool ClassView::openRun(int row) {
    const QTableWidgetItem* cell = rows->item(row, pupil);
    if (!cell) return false;
    const QString file = cell->data(kRunFileRole).toString();
    const auto it = std::find_if(latest.begin(), latest.end(),
                                 [&](const JournalRun& entry) { return entry.fileName == file; });
    if (it == latest.end()) return false;
    if (!runReview) {
        runReview = new ReviewWindow(this, nowMs);
        runReview->setObjectName(QStringLiteral("ClassRun"));
        runReview->setFactor(factor);
    }
    reviewed = *it;
    runReview->showJournalRun(reviewed);
    runReview->show();
    runReview->raise();
    runReview->activateWindow();
    return true;
}

void ClassView::openLaws() {
    if (!laws) {
        laws = new LawView(this);
        laws->setFactor(factor);
    }
    laws->setRuns(latest);
    laws->show();
    laws->raise();
    laws->activateWindow();
}

QString ClassView::writeXlsx(const QString& path) const {
    return writeJournalWorkbook(path, latest);
}

void ClassView::askWhereToSaveXlsx() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested =
        QStringLiteral("класс_%1.xlsx").arg(day->date().toString(QStringLiteral("yyyy-MM-dd")));
    QFileDialog dialog(this, QStringLiteral("Сохранить для Excel"),
                       QDir(documents).filePath(suggested), QStringLiteral("Книга Excel (*.xlsx)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString problemText = writeXlsx(dialog.selectedFiles().front());
    if (problemText.isEmpty()) return;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Сохранить для Excel"), problemText,
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("XlsxProblem"));
    box.setFont(font());
    box.exec();
}
