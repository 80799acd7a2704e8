#include "teacher/journal_view.h"

#include "journal/journal_csv.h"
#include "journal/journal_loader.h"
#include "journal/qt_text.h"
#include "teacher/review_window.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QStringList kTitles{
    QStringLiteral("Дата"),        QStringLiteral("Ученик"),  QStringLiteral("Компьютер"),
    QStringLiteral("Режим"),       QStringLiteral("Ответов"), QStringLiteral("Правильно"),
    QStringLiteral("Неправильно"), QStringLiteral("Оценка"),  QStringLiteral("Как окончен")};

QLabel* lineLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QLatin1String(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

JournalView::JournalView(QWidget* parent, std::function<JournalKept()> journal)
    : QWidget(parent, Qt::Window), journal(std::move(journal)) {
    setObjectName(QStringLiteral("Journal"));
    setWindowTitle(QStringLiteral("Журнал"));
    closeOnEscape(this);

    auto* lines = new QVBoxLayout(this);
    off = lineLabel("off", this);
    off->setText(QStringLiteral("Журнал не ведётся (запуск с --no-journal или так в настройках)."));
    lines->addWidget(off);
    folder = lineLabel("folder", this);
    lines->addWidget(folder);
    problem = lineLabel("problem", this);
    lines->addWidget(problem);
    notWritten = lineLabel("notWritten", this);
    lines->addWidget(notWritten);
    reading = lineLabel("reading", this);
    reading->setText(QStringLiteral("Журнал читается…"));
    reading->hide();
    lines->addWidget(reading);
    empty = lineLabel("empty", this);
    empty->setText(QStringLiteral("В журнале ещё нет ни одного прохождения."));
    lines->addWidget(empty);

    runs = new FittedTable(this);
    runs->setObjectName(QStringLiteral("runs"));
    runs->setColumnCount(static_cast<int>(kTitles.size()));
    runs->setHorizontalHeaderLabels(kTitles);
    connect(runs, &QTableWidget::cellDoubleClicked, this, [this](int row) { openRun(row); });
    connect(runs, &QTableWidget::itemSelectionChanged, this,
            [this] { openButton->setEnabled(!runs->selectedItems().isEmpty()); });
    lines->addWidget(runs, 1);

    // Thousands of unreadable files make a long list: it scrolls, the buttons stay on the screen.
    skipped = lineLabel("skipped", this);
    skippedArea = new QScrollArea(this);
    skippedArea->setWidget(skipped);
    skippedArea->setWidgetResizable(true);
    skippedArea->setFrameShape(QFrame::NoFrame);
    lines->addWidget(skippedArea);

    buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    openButton = button(QStringLiteral("Открыть"), "open", buttons);
    reloadButton = button(QStringLiteral("Обновить"), "reload", buttons);
    saveButton = button(QStringLiteral("Сохранить в CSV…"), "saveCsv", buttons);
    row->addWidget(openButton);
    row->addWidget(reloadButton);
    row->addWidget(saveButton);
    row->addStretch(1);
    connect(openButton, &QPushButton::clicked, this, &JournalView::openSelected);
    connect(reloadButton, &QPushButton::clicked, this, &JournalView::reload);
    connect(saveButton, &QPushButton::clicked, this, &JournalView::askWhereToSaveCsv);
    lines->addWidget(buttons);

    // Nothing but the folder and «Журнал читается…» until the folder is first read.
    for (QWidget* line : std::initializer_list<QWidget*>{off, problem, notWritten, empty, runs,
                                                         skippedArea, buttons})
        line->hide();
    scaleTeacherWindow(this, factor);
}

void JournalView::reload() {
    kept = journal ? journal() : JournalKept{};
    if (kept.folder.isEmpty()) {
        take({});
        return;
    }
    if (!loader || loaderFolder != kept.folder) {
        delete loader;
        loaderFolder = kept.folder;
        loader = new JournalLoader(loaderFolder, this);
        connect(loader, &JournalLoader::loaded, this, &JournalView::take);
    }
    reading->show();
    loader->reload();
}

void JournalView::take(const JournalListing& listing) {
    reading->hide();
    shown = listing;
    // The folder is made at the first Start: until then a missing one is an empty journal.
    const bool notMadeYet =
        !kept.folder.isEmpty() && kept.currentFile.isEmpty() && !QDir(kept.folder).exists();
    if (notMadeYet) shown.problem.clear();
    if (shown.hiddenFromPupil) shown.problem.clear();
    empty->setText(notMadeYet ? QStringLiteral("В журнале ещё нет ни одного прохождения: папка "
                                               "журнала появится при первом нажатии «Старт».")
                              : QStringLiteral("В журнале ещё нет ни одного прохождения."));
    if (!kept.folder.isEmpty())
        folder->setText(QStringLiteral("Папка: ") + QDir::toNativeSeparators(kept.folder));
    fill();
}

void JournalView::setFactor(double newFactor) {
    if (newFactor == factor) return;
    factor = newFactor;
    scaleTeacherWindow(this, factor);
    if (runReview) runReview->setFactor(factor);
    fill();
}

void JournalView::fill() {
    if (journal) { // the writer's state now
        const JournalKept now = journal();
        kept.currentFile = now.currentFile;
        kept.problem = now.problem;
    }
    const bool journalKept = !kept.folder.isEmpty();
    const bool readable = journalKept && shown.problem.isEmpty() && !shown.hiddenFromPupil;
    const QString& writing = kept.problem;
    notWritten->setText(QStringLiteral("Журнал не записывается: ") + writing);
    notWritten->setVisible(!writing.isEmpty());
    off->setVisible(!journalKept);
    folder->setVisible(journalKept);
    // Always with the reason: a class's folder that pupils may write into and not list is one.
    // A teacher new to the folder's group reads only some of it until they log in again.
    const QString partly = journalKept ? noAccessText(shown, kept.folder) : QString();
    problem->setVisible(journalKept && (!readable || !partly.isEmpty()));
    problem->setText(readable ? partly
                              : QStringLiteral("Журнал не прочитан: ") +
                                    (shown.hiddenFromPupil
                                         ? QStringLiteral("журнал класса виден только учителю")
                                         : shown.problem));
    empty->setVisible(readable && shown.runs.empty());
    runs->setVisible(readable && !shown.runs.empty());
    buttons->setVisible(journalKept);
    openButton->setEnabled(false);
    saveButton->setEnabled(readable && !shown.runs.empty());

    runs->clearSelection();
    runs->setCurrentCell(-1, -1);
    runs->setRowCount(static_cast<int>(shown.runs.size()));
    const auto number = Qt::AlignRight | Qt::AlignVCenter;
    for (int i = 0; i < runs->rowCount(); ++i) {
        const JournalRun& entry = shown.runs[static_cast<std::size_t>(i)];
        const RunRecord& run = entry.run;
        runs->setText(i, 0, shownTime(run.startedMs));
        runs->setText(i, 1, pupilShown(entry));
        runs->setText(i, 2, entry.machine);
        runs->setText(i, 3, qs(modeShown(run.mode)));
        runs->setText(i, 4, QString::number(run.answers.size()), number);
        runs->setText(i, 5, QString::number(run.rightCount()), number);
        runs->setText(i, 6, QString::number(run.wrongCount()), number);
        const int mark = run.mark(); // a test finished or ended by its time limit
        runs->setText(i, 7, mark ? QString::number(mark) : QString(), number);
        const bool own =
            !kept.currentFile.isEmpty() && entry.fileName == QFileInfo(kept.currentFile).fileName();
        runs->setText(i, 8, endingShownFor(run, own));
    }
    runs->fitToContents();

    QStringList lines;
    if (!shown.skipped.empty()) {
        lines << QStringLiteral("Пропущено файлов: %1").arg(shown.skipped.size());
        for (const SkippedFile& file : shown.skipped)
            lines << file.fileName + QStringLiteral(" — ") + file.why;
    }
    skipped->setText(lines.join('\n'));
    skippedArea->setVisible(!lines.isEmpty());
    const int lineHeight = skipped->fontMetrics().lineSpacing();
    skippedArea->setFixedHeight(std::min<int>(lines.size(), 8) * lineHeight + 4);
    fitWindowToScreen(this, runs);
}

bool JournalView::openRun(int row) {
    if (row < 0 || row >= static_cast<int>(shown.runs.size())) return false;
    if (!runReview) {
        runReview = new ReviewWindow(this);
        runReview->setObjectName(QStringLiteral("JournalRun"));
        runReview->setFormsHidden(formsHidden);
        runReview->setFactor(factor);
    }
    runReview->showJournalRun(shown.runs[static_cast<std::size_t>(row)]);
    runReview->show();
    runReview->raise();
    runReview->activateWindow();
    return true;
}

void JournalView::openSelected() {
    const QList<QTableWidgetItem*> picked = runs->selectedItems();
    if (!picked.isEmpty()) openRun(picked.front()->row());
}

QString JournalView::writeCsv(const QString& path) const {
    return writeWholeFile(path, runsCsv(shown.runs));
}

bool JournalView::saveCsv(const QString& path) {
    return saveTelling(this, path, runsCsv(shown.runs));
}

void JournalView::askWhereToSaveCsv() {
    const QString path = askCsvPath(this, QStringLiteral("журнал.csv"));
    if (!path.isEmpty()) saveCsv(path);
}
