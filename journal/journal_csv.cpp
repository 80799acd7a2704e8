#include "journal/journal_csv.h"

#include "core/review_rows.h"
#include "journal/journal_cache.h"
#include "journal/journal_xlsx.h"
#include "journal/qt_text.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

namespace {

// What spreadsheets take for the start of a formula, or strip before reading one.
bool startsFormula(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar c = text[0];
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

QString csvField(QString text) {
    const bool formula = startsFormula(text);
    if (formula) text.prepend(QLatin1Char('\''));
    if (!formula && !text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return '"' + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + '"';
}

void csvLine(QByteArray& csv, const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted << csvField(f);
    csv += quoted.join(QLatin1Char(';')).toUtf8() + "\r\n";
}

QString csvTime(std::int64_t ms) {
    return ms ? QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
              : QString();
}

QByteArray withByteOrderMark() {
    return QByteArray("\xEF\xBB\xBF");
}

} // namespace

QByteArray runsCsv(const JournalRuns& runs) {
    QByteArray csv = withByteOrderMark();
    csvLine(csv,
            {QStringLiteral("Начало"), QStringLiteral("Конец"), QStringLiteral("Ученик"),
             QStringLiteral("Логин"), QStringLiteral("Компьютер"), QStringLiteral("Режим"),
             QStringLiteral("Ответов"), QStringLiteral("Правильно"), QStringLiteral("Неправильно"),
             QStringLiteral("Оценка"), QStringLiteral("Как окончен"), QStringLiteral("Файл")});
    for (const JournalRun& e : runs) {
        // Only a test finished or ended by its time limit has a mark.
        const int mark = e.run.mark();
        csvLine(csv, {csvTime(e.run.startedMs), csvTime(e.run.endedMs), pupilOf(e), e.user,
                      e.machine, qs(modeShown(e.run.mode)), QString::number(e.run.answers.size()),
                      QString::number(e.run.rightCount()), QString::number(e.run.wrongCount()),
                      mark ? QString::number(mark) : QString(), qs(endingShown(e.run.ending)),
                      e.fileName});
    }
    return csv;
}

QByteArray answersCsv(const JournalRun& entry) {
    QByteArray csv = withByteOrderMark();
    csvLine(csv, {QStringLiteral("Вопрос"), QStringLiteral("Закон №"), QStringLiteral("Закон"),
                  QStringLiteral("Ответ"), QStringLiteral("Оценка"),
                  QStringLiteral("Почему неправильно"), QStringLiteral("Принятая форма"),
                  QStringLiteral("Время ответа"), QStringLiteral("Ученик"), QStringLiteral("Логин"),
                  QStringLiteral("Компьютер"), QStringLiteral("Режим"), QStringLiteral("Начало"),
                  QStringLiteral("Ключ ответа")});
    // In the order asked, whatever laws were asked.
    const std::vector<ReviewRow> rows = reviewRows(entry.run);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReviewRow& r = rows[i];
        const Answer& a = entry.run.answers[i];
        csvLine(csv, {QString::number(r.number), QString::number(r.law), qs(r.lawName),
                      qs(r.answer), qs(r.verdict), qs(r.reason), qs(r.accepted), csvTime(a.atMs),
                      pupilOf(entry), entry.user, entry.machine, qs(modeShown(entry.run.mode)),
                      csvTime(entry.run.startedMs), qs(a.key)});
    }
    return csv;
}

int exportJournal(const QString& folder, const QString& path, QTextStream& out,
                  QTextStream& errors) {
    // Before the first run the folder is not made yet: an empty journal, as the view shows it.
    const bool notMadeYet = !QFileInfo::exists(folder);
    const JournalListing listing = notMadeYet ? JournalListing{} : readJournal(folder);
    if (listing.hiddenFromPupil) {
        errors << "zakony-logiki: Журнал класса виден только учителю: " << folder << Qt::endl;
        return 1;
    }
    if (!listing.problem.isEmpty()) {
        errors << "zakony-logiki: " << listing.problem << Qt::endl;
        return 1;
    }
    // A run's file that could not be read (not allowed, damaged) is a run missing from the
    // export; another file in the folder is nobody's run.
    qsizetype runsLost = 0;
    for (const SkippedFile& s : listing.skipped) {
        errors << "zakony-logiki: пропущен " << QDir(folder).filePath(s.fileName) << ": " << s.why
               << Qt::endl;
        if (s.fileName.endsWith(QLatin1String(kJournalExtension))) ++runsLost;
    }
    QString problem;
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
        problem = writeJournalWorkbook(path, listing.runs);
    } else {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(runsCsv(listing.runs)) < 0 ||
            !file.commit())
            problem = file.errorString();
    }
    if (!problem.isEmpty()) {
        errors << "zakony-logiki: " << path << " не записан: " << problem << Qt::endl;
        return 1;
    }
    if (notMadeYet)
        out << "Журнал пуст: папки " << folder << " ещё нет; в " << path << " одни заголовки"
            << Qt::endl;
    else
        out << "Прохождений в " << path << ": " << listing.runs.size() << Qt::endl;
    if (runsLost) {
        errors << "zakony-logiki: не прочитано прохождений: " << runsLost << ", в " << path
               << " их нет. Если к ним нет доступа, войдите в систему заново после того, как вас "
                  "добавили в группу папки журнала, и выгрузите журнал ещё раз"
               << Qt::endl;
        return 2;
    }
    return 0;
}
