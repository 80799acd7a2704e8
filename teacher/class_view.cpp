#include "teacher/class_view.h"

#include "journal/journal_loader.h"
#include "journal/journal_xlsx.h"
#include "journal/lesson_file.h"
#include "journal/qt_text.h"
#include "teacher/class_rows.h"
#include "teacher/fitted_view.h"
#include "teacher/law_view.h"
#include "teacher/lesson_dialog.h"
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
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kPollMs = 3000; // network folders seldom tell of changes: asked this often

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
    setWindowIcon(QIcon(QStringLiteral(":/teacher/icon.svg")));
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
        take(read);
        reload();
    });

    lessonLine = lineLabel("lesson", this);
    lessonLine->setWordWrap(true);
    lessonLine->show();
    lines->addWidget(lessonLine);
    progress = lineLabel("progress", this);
    lines->addWidget(progress);
    problem = lineLabel("problem", this);
    problem->setWordWrap(true);
    lines->addWidget(problem);

    model = new ClassRows(style()->standardIcon(QStyle::SP_MessageBoxWarning), this);
    sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(model);
    sorted->setSortRole(ClassRows::kSortRole);
    rows = new FittedView(this);
    rows->setObjectName(QStringLiteral("pupils"));
    rows->setModel(sorted);
    rows->horizontalHeader()->setSectionsClickable(true);
    rows->horizontalHeader()->setSortIndicatorShown(true);
    rows->sortByColumn(ClassRows::pupil, Qt::AscendingOrder);
    rows->setSortingEnabled(true);
    connect(rows, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openRun(index.row()); });
    // Columns refitted when rows come or go; a changed row is only repainted, but may widen a
    // column that it no longer fits.
    connect(model, &QAbstractItemModel::rowsInserted, this, &ClassView::refit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ClassView::refit);
    connect(model, &QAbstractItemModel::modelReset, this, &ClassView::refit);
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        const QModelIndex at = sorted->mapFromSource(topLeft);
        for (int c = 0; c < ClassRows::columns; ++c)
            if (rows->sizeHintForIndex(at.siblingAtColumn(c)).width() > rows->columnWidth(c))
                return refit();
    });
    lines->addWidget(rows, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* lessonButton = button(QStringLiteral("Задание…"), "lessonButton", this);
    QPushButton* lawsButton = button(QStringLiteral("Законы…"), "laws", this);
    QPushButton* saveButton = button(QStringLiteral("Сохранить для Excel…"), "saveXlsx", this);
    QPushButton* closeButton = button(QStringLiteral("Закрыть"), "close", this);
    buttons->addWidget(lessonButton);
    buttons->addWidget(lawsButton);
    buttons->addWidget(saveButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    lines->addLayout(buttons);
    connect(lessonButton, &QPushButton::clicked, this, &ClassView::setLesson);
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
    readLesson();
    refit();
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
    readLesson();
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
    refit();
}

// Only the chosen day's runs are kept: a class's folder may hold a hundred thousand, read again
// every few seconds; a refresh that found them as they were only judges the states again.
void ClassView::take(const JournalListing& listing) {
    progress->hide();
    if (&listing != &read) read = listing;
    QStringList problems;
    if (!read.problem.isEmpty())
        problems << QStringLiteral("Журнал не прочитан: ") + read.problem;
    else if (read.hiddenFromPupil)
        problems << QStringLiteral("Журнал не прочитан: нет права читать список файлов папки ") +
                        QDir::toNativeSeparators(folder);
    if (const QString denied = noAccessText(read, folder); !denied.isEmpty()) problems << denied;
    problem->setText(problems.join('\n'));
    problem->setVisible(!problems.isEmpty());

    model->setRuns(read.runs, day->date().startOfDay().toMSecsSinceEpoch(),
                   day->date().addDays(1).startOfDay().toMSecsSinceEpoch(), nowMs());
    followReview();
}

// The review of a run still going follows it.
void ClassView::followReview() {
    if (!runReview || !runReview->isVisible()) return;
    for (const JournalRun& entry : model->dayRuns())
        if (entry.fileName == reviewed.fileName && !(entry.run == reviewed.run)) {
            reviewed = entry;
            runReview->showJournalRun(entry);
        }
}

void ClassView::refit() {
    rows->fitToContents();
    // Refitted only when the content needs another size: the teacher may have resized it.
    const QSize hint = sizeHint();
    if (hint != fittedHint) {
        fittedHint = hint;
        fitWindowToScreen(this, nullptr);
    }
}

bool ClassView::openRun(int row) {
    const JournalRun* run = model->runAt(sorted->mapToSource(sorted->index(row, 0)).row());
    if (!run) return false;
    if (!runReview) {
        runReview = new ReviewWindow(this, nowMs);
        runReview->setObjectName(QStringLiteral("ClassRun"));
        runReview->setFactor(factor);
    }
    reviewed = *run;
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
    laws->setRuns(model->dayRuns());
    laws->show();
    laws->raise();
    laws->activateWindow();
}

QString ClassView::writeXlsx(const QString& path) const {
    return writeJournalWorkbook(path, model->dayRuns());
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
    const QString path = dialog.selectedFiles().front();
    const QString problemText = writeXlsx(path);
    if (!problemText.isEmpty())
        tellNotSaved(this, QStringLiteral("Сохранить для Excel"), path, problemText, "XlsxProblem");
}

// The lesson the pupils' programs take at their next Start: the file's, or all the laws with no
// time limit where there is none, or none to follow.
void ClassView::readLesson() {
    QStringList problems;
    const std::optional<LessonSettings> file = readLessonFile(folder, problems);
    lesson = file ? withSettings(Lesson{}, *file) : Lesson{};
    QString text = lesson.laws.empty() ? QStringLiteral("Задание: все законы")
                   : lesson.laws.size() == 1
                       ? QStringLiteral("Задание: закон %1").arg(lesson.laws.front())
                       : QStringLiteral("Задание: законы ") + qs(lawListText(lesson.laws, "–"));
    if (lesson.minutes > 0) text += QStringLiteral(", %1 мин").arg(lesson.minutes);
    if (!lessonNote.isEmpty()) problems.prepend(lessonNote);
    if (!problems.isEmpty()) text += '\n' + problems.join('\n');
    lessonLine->setText(text);
}

void ClassView::setLesson() {
    LessonDialog dialog(this, lesson, factor);
    if (dialog.exec() != QDialog::Accepted) return;
    const LessonWritten written = writeLessonFile(folder, dialog.lesson());
    if (!written.problem.isEmpty())
        tellNotSaved(this, QStringLiteral("Задание"),
                     QDir(folder).filePath(QString::fromLatin1(kLessonFileName)), written.problem,
                     "LessonProblem");
    lessonNote = written.replacedPlanted
                     ? QStringLiteral("Файл задания, записанный не учителем, заменён.")
                     : QString();
    readLesson();
}
