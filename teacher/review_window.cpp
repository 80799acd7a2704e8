#include "teacher/review_window.h"

#include "core/laws.h"
#include "core/review_rows.h"
#include "journal/journal_csv.h"
#include "journal/qt_text.h"

#include <QDateTime>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column { number, lawName, answer, verdict, accepted, reason };

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

ReviewWindow::ReviewWindow(QWidget* parent, std::function<std::int64_t()> nowMs)
    : QWidget(parent, Qt::Window), nowMs(std::move(nowMs)) {
    setObjectName(QStringLiteral("Results"));
    setWindowTitle(QStringLiteral("Результаты"));
    closeOnEscape(this);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* lines = new QVBoxLayout(this);
    noRun = new QLabel(QStringLiteral("Ещё нет ни одного ответа: нажмите Старт."), this);
    noRun->setObjectName(QStringLiteral("noRun"));
    lines->addWidget(noRun);
    notWritten = new QLabel(this);
    notWritten->setObjectName(QStringLiteral("notWritten"));
    notWritten->setTextFormat(Qt::PlainText);
    notWritten->hide();
    lines->addWidget(notWritten);

    head = new QWidget(this);
    headLines = new QFormLayout(head);
    headLines->setContentsMargins(0, 0, 0, 0);
    headLines->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    headLines->setLabelAlignment(Qt::AlignLeft);
    user = valueLabel("user", head);
    machine = valueLabel("machine", head);
    mode = valueLabel("mode", head);
    started = valueLabel("started", head);
    taken = valueLabel("taken", head);
    ending = valueLabel("ending", head);
    counts = valueLabel("counts", head);
    mark = valueLabel("mark", head);
    headLines->addRow(QStringLiteral("Ученик:"), user);
    headLines->addRow(QStringLiteral("Компьютер:"), machine);
    headLines->addRow(QStringLiteral("Режим:"), mode);
    headLines->addRow(QStringLiteral("Начало:"), started);
    headLines->addRow(QStringLiteral("Затрачено:"), taken);
    headLines->addRow(QStringLiteral("Прохождение:"), ending);
    headLines->addRow(QStringLiteral("Ответов:"), counts);
    headLines->addRow(QStringLiteral("Оценка:"), mark);
    lines->addWidget(head);

    noAnswers = new QLabel(QStringLiteral("Ответов пока нет."), this);
    noAnswers->setObjectName(QStringLiteral("noAnswers"));
    lines->addWidget(noAnswers);
    answers = new FittedTable(this);
    answers->setObjectName(QStringLiteral("answers"));
    answers->setSelectionMode(QAbstractItemView::NoSelection);
    answers->setFocusPolicy(Qt::NoFocus);
    lines->addWidget(answers, 1);

    saveButton = new QPushButton(QStringLiteral("Сохранить в CSV…"), this);
    saveButton->setObjectName(QStringLiteral("saveCsv"));
    saveButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &ReviewWindow::askWhereToSaveCsv);
    lines->addWidget(saveButton, 0, Qt::AlignLeft);
    // A completed run of this window offers a trainer run over the laws answered wrong.
    repeatButton = new QPushButton(QStringLiteral("Повторить ошибки"), this);
    repeatButton->setObjectName(QStringLiteral("repeatMistakes"));
    connect(repeatButton, &QPushButton::clicked, this,
            [this] { emit repeatMistakes(wrongLaws(run)); });
    lines->addWidget(repeatButton, 0, Qt::AlignLeft);

    ticking = new QTimer(this);
    ticking->setInterval(1000);
    connect(ticking, &QTimer::timeout, this, &ReviewWindow::refreshTimeTaken);

    scaleTeacherWindow(this, factor);
    refresh();
}

void ReviewWindow::showRun(const RunRecord& shown, const QString& pupilName) {
    run = shown;
    pupil = pupilName;
    fromJournal.reset();
    refresh();
}

void ReviewWindow::showJournalRun(const JournalRun& entry) {
    run = entry.run;
    fromJournal = entry;
    refresh();
}

void ReviewWindow::setFactor(double newFactor) {
    if (newFactor == factor) return;
    factor = newFactor;
    scaleTeacherWindow(this, factor);
    refresh();
}

void ReviewWindow::refresh() {
    const bool any = run.number > 0 || fromJournal;
    noRun->setVisible(!any);
    head->setVisible(any);
    headLines->setRowVisible(user, fromJournal.has_value() || !pupil.isEmpty());
    headLines->setRowVisible(machine, fromJournal.has_value());
    saveButton->setVisible(fromJournal.has_value());
    const QString writing = journalProblem && !fromJournal ? journalProblem() : QString();
    notWritten->setText(QStringLiteral("Журнал не записывается: ") + writing);
    notWritten->setVisible(!writing.isEmpty());
    repeatButton->setVisible(!fromJournal && run.completed() && !wrongLaws(run).empty());
    user->setText(pupil);
    if (fromJournal) {
        user->setText(pupilShown(*fromJournal));
        machine->setText(fromJournal->machine);
        setWindowTitle(
            QStringLiteral("Результаты: %1, %2").arg(fromJournal->user, shownTime(run.startedMs)));
    }
    mode->setText(run.questionCount() == kLawCount
                      ? qs(modeShown(run.mode))
                      : QStringLiteral("%1, работа над ошибками: %2 из %3")
                            .arg(qs(modeShown(run.mode)))
                            .arg(run.questionCount())
                            .arg(kLawCount));
    started->setText(shownTime(run.startedMs));
    ending->setText(qs(endingShown(run.ending)));
    // A run over some of the laws says how many it asks: "3 из 5".
    const QString answered =
        run.questionCount() == kLawCount
            ? QString::number(run.answers.size())
            : QStringLiteral("%1 из %2").arg(run.answers.size()).arg(run.questionCount());
    counts->setText(QStringLiteral("%1   Правильно: %2   Неправильно: %3")
                        .arg(answered)
                        .arg(run.rightCount())
                        .arg(run.wrongCount()));
    // A test finished or stopped by its time limit is marked by the thresholds it ran with.
    mark->setText(QString::number(run.mark()));
    headLines->setRowVisible(mark, run.mark() > 0);
    refreshTimeTaken();
    if (run.ending == RunEnding::going && !fromJournal && any)
        ticking->start();
    else
        ticking->stop();

    const std::vector<ReviewRow> rows = reviewRows(shownRun());
    const bool withAccepted = std::any_of(rows.begin(), rows.end(),
                                          [](const ReviewRow& r) { return !r.accepted.empty(); });
    answers->clear();
    answers->setRowCount(static_cast<int>(rows.size()));
    const bool withReasons =
        std::any_of(rows.begin(), rows.end(), [](const ReviewRow& r) { return !r.reason.empty(); });
    QStringList titles{QStringLiteral("№"), QStringLiteral("Закон"), QStringLiteral("Ответ"),
                       QStringLiteral("Оценка")};
    if (withAccepted) titles << QStringLiteral("Правильная форма");
    if (withReasons) titles << QStringLiteral("Почему неправильно");
    answers->setColumnCount(static_cast<int>(titles.size()));
    answers->setHorizontalHeaderLabels(titles);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ReviewRow& r = rows[static_cast<std::size_t>(i)];
        answers->setText(i, number, QString::number(r.number), Qt::AlignRight | Qt::AlignVCenter);
        // In an order of its own each answer names its law's number in the catalogue.
        answers->setText(i, lawName,
                         run.asked.empty()
                             ? qs(r.lawName)
                             : QStringLiteral("%1. %2").arg(r.law).arg(qs(r.lawName)));
        answers->setText(i, answer, qs(r.answer));
        answers->setText(i, verdict, qs(r.verdict));
        if (withAccepted) answers->setText(i, accepted, qs(r.accepted));
        if (withReasons) answers->setText(i, withAccepted ? reason : accepted, qs(r.reason));
    }
    answers->fitToContents();
    noAnswers->setVisible(any && rows.empty());
    answers->setVisible(!rows.empty());
    fitWindowToScreen(this, answers);
}

void ReviewWindow::refreshTimeTaken() {
    std::int64_t end = run.endedMs;
    if (end == 0 && run.ending == RunEnding::going && !fromJournal)
        end = nowMs ? nowMs() : QDateTime::currentMSecsSinceEpoch();
    // A run cut short never wrote its end: its last answer is the last that is known.
    if (end == 0 && !run.answers.empty()) end = run.answers.back().atMs;
    taken->setText(end ? timeTakenText(end - run.startedMs) : QStringLiteral("—"));
}

// The run shown, with its user and machine where it came from the journal.
// A run shown as if still going shows no accepted form (nor a test's reasons).
RunRecord ReviewWindow::shownRun() const {
    RunRecord shown = run;
    if (formsHidden && formsHidden()) shown.ending = RunEnding::going;
    return shown;
}

QByteArray ReviewWindow::csv() const {
    JournalRun current = fromJournal.value_or(JournalRun{});
    current.run = shownRun();
    return answersCsv(current);
}

QString ReviewWindow::writeCsv(const QString& path) const {
    return writeWholeFile(path, csv());
}

bool ReviewWindow::saveCsv(const QString& path) {
    return saveTelling(this, path, csv());
}

void ReviewWindow::askWhereToSaveCsv() {
    QString suggested = QStringLiteral("результаты");
    if (fromJournal)
        suggested += '_' + fromJournal->user + '_' +
                     QDateTime::fromMSecsSinceEpoch(run.startedMs)
                         .toString(QStringLiteral("yyyy-MM-dd_HH-mm"));
    const QString path = askCsvPath(this, suggested + QStringLiteral(".csv"));
    if (!path.isEmpty()) saveCsv(path);
}
