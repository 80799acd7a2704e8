#include "journal/journal_csv.h"

#include "core/review_rows.h"
#include "journal/qt_text.h"

#include <QDateTime>
#include <QStringList>

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
