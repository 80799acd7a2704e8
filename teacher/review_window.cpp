#include "teacher/review_window.h"

#include "journal/journal_csv.h"
#include "journal/qt_text.h"
#include "teacher/window_font.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The teacher reads these at a desk, a little larger than the pupil's 8 pt at 100 %.
constexpr double kTeacherPt = 10.0;

enum Column { number, lawName, answer, verdict, accepted, columnCount };

QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString timeTakenText(std::int64_t ms) {
    const std::int64_t s = std::max<std::int64_t>(ms, 0) / 1000;
    const auto twoDigits = [](std::int64_t n) {
        return QStringLiteral("%1").arg(n, 2, 10, QChar('0'));
    };
    if (s >= 3600)
        return QStringLiteral("%1 ч %2 мин %3 с")
            .arg(s / 3600)
            .arg(twoDigits(s % 3600 / 60), twoDigits(s % 60));
    if (s >= 60) return QStringLiteral("%1 мин %2 с").arg(s / 60).arg(twoDigits(s % 60));
    return QStringLiteral("%1 с").arg(s);
}

QString shownTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QFont teacherFont(double factor) {
    QFont font = windowFont();
    font.setPointSizeF(kTeacherPt * factor);
    return font;
}

void scaleTeacherWindow(QWidget* window, double factor) {
    window->setFont(teacherFont(factor));
    const int margin = qRound(9 * factor), spacing = qRound(6 * factor);
    if (QLayout* top = window->layout()) top->setContentsMargins(margin, margin, margin, margin);
    for (QLayout* layout : window->findChildren<QLayout*>())
        layout->setSpacing(spacing);
}

FittedTable::FittedTable(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize FittedTable::sizeHint() const {
    const int frame = 2 * frameWidth();
    int width = horizontalHeader()->length() + frame;
    int height = verticalHeader()->length() + frame;
    if (verticalHeader()->isVisibleTo(this)) width += verticalHeader()->sizeHint().width();
    if (horizontalHeader()->isVisibleTo(this)) height += horizontalHeader()->sizeHint().height();
    return {width, height};
}

QSize FittedTable::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return {std::min(sizeHint().width(), 8 * fontMetrics().averageCharWidth() + frame),
            std::min(sizeHint().height(),
                     horizontalHeader()->sizeHint().height() + 3 * fontMetrics().height() + frame)};
}

void FittedTable::fitToContents() {
    // The header takes its font from the application, not from the window: told it here.
    horizontalHeader()->setFont(font());
    resizeColumnsToContents();
    // A little air between the columns, as large as the font.
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, columnWidth(c) + fontMetrics().averageCharWidth());
    resizeRowsToContents();
    updateGeometry();
}

void FittedTable::setText(int row, int column, const QString& text, Qt::Alignment alignment) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setTextAlignment(alignment);
    cell->setToolTip(text);
    setItem(row, column, cell);
}

QRect keptWithin(QRect box, const QRect& room) {
    box.moveLeft(
        std::clamp(box.left(), room.left(), std::max(room.left(), room.right() - box.width() + 1)));
    box.moveTop(
        std::clamp(box.top(), room.top(), std::max(room.top(), room.bottom() - box.height() + 1)));
    return box;
}

void fitWindowToScreen(QWidget* window, const FittedTable* table) {
    if (QLayout* layout = window->layout()) layout->activate();
    QSize wanted = window->sizeHint();
    const QScreen* screen = window->screen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QRect room = screen->availableGeometry();
    const QSize frame =
        window->isVisible() ? window->frameGeometry().size() - window->size() : QSize(0, 0);
    const QSize most = room.size() - frame;
    if (table && table->isVisibleTo(window)) {
        const int bar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
        const bool tooHigh = wanted.height() > most.height();
        if (tooHigh) wanted.rwidth() += bar;
        if (wanted.width() > most.width()) wanted.rheight() += bar;
    }
    window->resize(wanted.boundedTo(most));
    // Wholly on the screen: a window grown to the right or down moves back into it.
    const QRect shown = keptWithin(window->frameGeometry(), room);
    if (shown.topLeft() != window->frameGeometry().topLeft()) window->move(shown.topLeft());
}

ReviewWindow::ReviewWindow(QWidget* parent, std::function<std::int64_t()> nowMs)
    : QWidget(parent, Qt::Window), nowMs(std::move(nowMs)) {
    setObjectName(QStringLiteral("Results"));
    setWindowTitle(QStringLiteral("Результаты"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* lines = new QVBoxLayout(this);
    noRun = new QLabel(QStringLiteral("Ещё нет ни одного ответа: нажмите Старт."), this);
    noRun->setObjectName(QStringLiteral("noRun"));
    lines->addWidget(noRun);

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
    headLines->addRow(QStringLiteral("Ученик:"), user);
    headLines->addRow(QStringLiteral("Компьютер:"), machine);
    headLines->addRow(QStringLiteral("Режим:"), mode);
    headLines->addRow(QStringLiteral("Начало:"), started);
    headLines->addRow(QStringLiteral("Затрачено:"), taken);
    headLines->addRow(QStringLiteral("Прохождение:"), ending);
    headLines->addRow(QStringLiteral("Ответов:"), counts);
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

    ticking = new QTimer(this);
    ticking->setInterval(1000);
    connect(ticking, &QTimer::timeout, this, &ReviewWindow::refreshTimeTaken);

    scaleTeacherWindow(this, factor);
    refresh();
}

void ReviewWindow::showRun(const RunRecord& shown) {
    run = shown;
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

void ReviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void ReviewWindow::refresh() {
    const bool any = run.number > 0 || fromJournal;
    noRun->setVisible(!any);
    head->setVisible(any);
    headLines->setRowVisible(user, fromJournal.has_value());
    headLines->setRowVisible(machine, fromJournal.has_value());
    saveButton->setVisible(fromJournal.has_value());
    if (fromJournal) {
        user->setText(fromJournal->user);
        machine->setText(fromJournal->machine);
        setWindowTitle(
            QStringLiteral("Результаты: %1, %2").arg(fromJournal->user, shownTime(run.startedMs)));
    }
    mode->setText(qs(modeShown(run.mode)));
    started->setText(shownTime(run.startedMs));
    ending->setText(qs(endingShown(run.ending)));
    counts->setText(QStringLiteral("%1   Правильно: %2   Неправильно: %3")
                        .arg(run.answers.size())
                        .arg(run.rightCount())
                        .arg(run.wrongCount()));
    refreshTimeTaken();
    if (run.ending == RunEnding::going && !fromJournal && any)
        ticking->start();
    else
        ticking->stop();

    const std::vector<ReviewRow> rows = reviewRows(run);
    const bool withAccepted = std::any_of(rows.begin(), rows.end(),
                                          [](const ReviewRow& r) { return !r.accepted.empty(); });
    answers->clear();
    answers->setRowCount(static_cast<int>(rows.size()));
    answers->setColumnCount(withAccepted ? columnCount : accepted);
    QStringList titles{QStringLiteral("№"), QStringLiteral("Закон"), QStringLiteral("Ответ"),
                       QStringLiteral("Оценка")};
    if (withAccepted) titles << QStringLiteral("Правильная форма");
    answers->setHorizontalHeaderLabels(titles);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const ReviewRow& r = rows[static_cast<std::size_t>(i)];
        answers->setText(i, number, QString::number(r.number), Qt::AlignRight | Qt::AlignVCenter);
        answers->setText(i, lawName, qs(r.lawName));
        answers->setText(i, answer, qs(r.answer));
        answers->setText(i, verdict, qs(r.verdict));
        if (withAccepted) answers->setText(i, accepted, qs(r.accepted));
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
QByteArray ReviewWindow::csv() const {
    JournalRun current;
    current.run = run;
    return answersCsv(fromJournal.value_or(current));
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

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
        return QStringLiteral("Файл %1 не записан: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

bool saveTelling(QWidget* parent, const QString& path, const QByteArray& bytes) {
    const QString problem = writeWholeFile(path, bytes);
    if (problem.isEmpty()) return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Сохранить в CSV"), problem,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("CsvProblem"));
    box.setFont(parent->font());
    box.exec();
    return false;
}

QString askCsvPath(QWidget* parent, const QString& suggestedName) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в CSV"),
                                        QDir(folder).filePath(suggestedName),
                                        QStringLiteral("Таблица CSV (*.csv)"));
}
