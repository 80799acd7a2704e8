#include "journal/journal_csv.h"

#include "core/review_rows.h"
#include "journal/journal_folder.h"
#include "journal/qt_text.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

namespace {

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return '"' + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + '"';
}

void csvLine(QByteArray& csv, const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted << csvField(f);
    csv += quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

QString csvTime(std::int64_t ms) {
    return ms ? QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
              : QString();
}

QByteArray withByteOrderMark() {
    return QByteArray("\xEF\xBB\xBF");
}

} // namespace

QByteArray runsCsv(const std::vector<JournalRun>& runs) {
    QByteArray csv = withByteOrderMark();
    csvLine(csv, {QStringLiteral("Начало"), QStringLiteral("Конец"), QStringLiteral("Ученик"),
                  QStringLiteral("Компьютер"), QStringLiteral("Режим"), QStringLiteral("Ответов"),
                  QStringLiteral("Правильно"), QStringLiteral("Неправильно"),
                  QStringLiteral("Как окончен"), QStringLiteral("Файл")});
    for (const JournalRun& e : runs)
        csvLine(csv, {csvTime(e.run.startedMs), csvTime(e.run.endedMs), e.user, e.machine,
                      qs(modeShown(e.run.mode)), QString::number(e.run.answers.size()),
                      QString::number(e.run.rightCount()), QString::number(e.run.wrongCount()),
                      qs(endingShown(e.run.ending)), e.fileName});
    return csv;
}

QByteArray answersCsv(const JournalRun& entry) {
    QByteArray csv = withByteOrderMark();
    csvLine(csv,
            {QStringLiteral("Вопрос"), QStringLiteral("Закон"), QStringLiteral("Ответ"),
             QStringLiteral("Оценка"), QStringLiteral("Принятая форма"),
             QStringLiteral("Время ответа"), QStringLiteral("Ученик"), QStringLiteral("Компьютер"),
             QStringLiteral("Режим"), QStringLiteral("Начало"), QStringLiteral("Ключ ответа")});
    const std::vector<ReviewRow> rows = reviewRows(entry.run);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReviewRow& r = rows[i];
        const Answer& a = entry.run.answers[i];
        csvLine(csv, {QString::number(r.number), qs(r.lawName), qs(r.answer), qs(r.verdict),
                      qs(r.accepted), csvTime(a.atMs), entry.user, entry.machine,
                      qs(modeShown(entry.run.mode)), csvTime(entry.run.startedMs), qs(a.key)});
    }
    return csv;
}

int exportJournal(const QString& folder, const QString& csvPath, QTextStream& out,
                  QTextStream& errors) {
    const JournalListing listing = readJournal(folder);
    if (!listing.problem.isEmpty()) {
        errors << "zakony-logiki: " << listing.problem << Qt::endl;
        return 1;
    }
    for (const SkippedFile& s : listing.skipped)
        errors << "zakony-logiki: пропущен " << QDir(folder).filePath(s.fileName) << ": " << s.why
               << Qt::endl;
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(runsCsv(listing.runs)) < 0 ||
        !file.commit()) {
        errors << "zakony-logiki: " << csvPath << " не записан: " << file.errorString() << Qt::endl;
        return 1;
    }
    out << "Прохождений в " << csvPath << ": " << listing.runs.size() << Qt::endl;
    return 0;
}
