#include "journal/journal_xlsx.h"

#include "core/laws.h"
#include "core/review_rows.h"
#include "journal/c_numeric_locale.h"
#include "journal/law_statistics.h"
#include "journal/platform_files.h"
#include "journal/qt_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <vector>
#include <xlsxwriter.h>

namespace {

constexpr lxw_row_t kLastRow = LXW_ROW_MAX - 1;
// A column is as wide as its longest line, up to this many characters; a longer text runs on
// into the empty cells beside it, or wraps where its cell wraps.
constexpr double kWidestColumn = 60;
constexpr int kTimeWidth = 16; // "yyyy-mm-dd hh:mm"

// Text for a cell: control characters, which XML cannot hold, become blanks.
std::string cellText(const QString& text) {
    QString clean = text;
    for (QChar& c : clean)
        if (c.unicode() < 0x20 && c != QLatin1Char('\n')) c = QLatin1Char(' ');
    return clean.toStdString();
}

class Sheet {
  public:
    Sheet(lxw_workbook* book, const char* name) : sheet(workbook_add_worksheet(book, name)) {}
    // Text is always written as text: "=1+1" is never a formula.
    void text(lxw_col_t col, const QString& value, lxw_format* format = nullptr) {
        worksheet_write_string(sheet, row, col, cellText(value).c_str(), format);
        for (const QStringView line : QStringView(value).split(QLatin1Char('\n')))
            fits(col, int(line.size()));
    }
    void number(lxw_col_t col, double value, lxw_format* format = nullptr) {
        worksheet_write_number(sheet, row, col, value, format);
        fits(col, int(QString::number(value).size()));
    }
    void time(lxw_col_t col, std::int64_t ms, lxw_format* format) {
        if (!ms) return;
        const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms);
        lxw_datetime when{t.date().year(), t.date().month(),  t.date().day(),
                          t.time().hour(), t.time().minute(), double(t.time().second())};
        worksheet_write_datetime(sheet, row, col, &when, format);
        fits(col, kTimeWidth);
    }
    void header(const QStringList& titles, lxw_format* bold) {
        for (qsizetype i = 0; i < titles.size(); ++i)
            text(lxw_col_t(i), titles[i], bold);
        ++row;
    }
    // Each column before `to` as wide as the longest line written into it, its heading's
    // included (and a little more: the heading is bold, and Cyrillic letters are wider than the
    // digits a width counts in).
    void fitColumns(lxw_col_t to = LXW_COL_MAX) {
        for (lxw_col_t col = 0; col < std::min<std::size_t>(to, widest.size()); ++col)
            if (widest[col] > 0)
                worksheet_set_column(sheet, col, col,
                                     std::min(std::ceil(widest[col] * 1.15) + 2, kWidestColumn),
                                     nullptr);
    }
    lxw_worksheet* sheet;
    lxw_row_t row = 0;

  private:
    void fits(lxw_col_t col, int characters) {
        if (col >= widest.size()) widest.resize(col + 1);
        widest[col] = std::max(widest[col], characters);
    }
    std::vector<int> widest; // characters, per column
};

struct Formats {
    lxw_format *bold, *time, *percent, *wrap, *right, *wrong;
    explicit Formats(lxw_workbook* book)
        : bold(workbook_add_format(book)), time(workbook_add_format(book)),
          percent(workbook_add_format(book)), wrap(workbook_add_format(book)),
          right(workbook_add_format(book)), wrong(workbook_add_format(book)) {
        format_set_bold(bold);
        format_set_num_format(time, "yyyy-mm-dd hh:mm");
        format_set_num_format(percent, "0%");
        format_set_text_wrap(wrap);
        format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);
        format_set_bg_color(right, 0xC6EFCE);
        format_set_font_color(right, 0x006100);
        format_set_bg_color(wrong, 0xFFC7CE);
        format_set_font_color(wrong, 0x9C0006);
        for (lxw_format* f : {right, wrong})
            format_set_align(f, LXW_ALIGN_CENTER);
    }
};

// «Ученики»: a row per run, with the mark of a test finished or ended by its time limit; a column
// per law, + or − where it was answered, whatever the order the laws were asked in.
void writePupils(lxw_workbook* book, const Formats& f, const JournalRuns& runs) {
    Sheet s(book, "Ученики");
    QStringList titles{"Ученик",    "Компьютер",   "Режим", "Начало",
                       "Правильно", "Неправильно", "Оценка"};
    const auto firstLaw = lxw_col_t(titles.size());
    for (int n = 1; n <= kLawCount; ++n)
        titles << QString::number(n);
    s.header(titles, f.bold);
    for (int n = 1; n <= kLawCount; ++n) // the law's name under its number
        s.text(firstLaw + lxw_col_t(n - 1), qs(law(n).name), f.wrap);
    worksheet_set_row(s.sheet, s.row, 90, nullptr);
    ++s.row;
    // The laws' columns narrow, their names wrapped under their numbers, the 23 in one screen.
    worksheet_set_column(s.sheet, firstLaw, firstLaw + kLawCount - 1, 6, nullptr);
    worksheet_freeze_panes(s.sheet, 2, 1);
    for (const JournalRun& e : runs) {
        if (s.row > kLastRow) break;
        s.text(0, pupilOf(e));
        s.text(1, e.machine);
        s.text(2, qs(modeShown(e.run.mode)));
        s.time(3, e.run.startedMs, f.time);
        s.number(4, e.run.rightCount());
        s.number(5, e.run.wrongCount());
        if (const int mark = e.run.mark()) s.number(6, mark);
        std::vector<int> verdicts(kLawCount + 1, -1); // the last answer to each law
        for (const Answer& a : e.run.answers)
            if (a.law >= 1 && a.law <= kLawCount) verdicts[std::size_t(a.law)] = a.right;
        for (int n = 1; n <= kLawCount; ++n)
            if (verdicts[std::size_t(n)] >= 0)
                s.text(firstLaw + lxw_col_t(n - 1),
                       verdicts[std::size_t(n)] ? QStringLiteral("+") : QStringLiteral("−"),
                       verdicts[std::size_t(n)] ? f.right : f.wrong);
        ++s.row;
    }
    s.fitColumns(firstLaw);
}

// «Законы»: the statistics, worst first.
void writeLaws(lxw_workbook* book, const Formats& f, const JournalRuns& runs) {
    Sheet s(book, "Законы");
    s.header({"Закон №", "Закон", "Ответов", "Правильно", "Доля правильных", "Частые ошибки"},
             f.bold);
    for (const LawStatistics& l : lawStatistics(runs)) {
        s.number(0, l.law);
        s.text(1, qs(l.name), f.wrap);
        s.number(2, l.answers);
        s.number(3, l.right);
        if (const auto share = l.shareRight()) s.number(4, *share, f.percent);
        QStringList wrong;
        for (const WrongAnswer& w : l.commonWrong)
            wrong << QStringLiteral("%1 × %2").arg(w.count).arg(qs(w.shown()));
        s.text(5, wrong.join(QLatin1Char('\n')), f.wrap);
        ++s.row;
    }
    s.fitColumns();
}

// «Ответы»: every answer, in the order asked, run by run.
void writeAnswers(lxw_workbook* book, const Formats& f, const JournalRuns& runs) {
    Sheet s(book, "Ответы");
    s.header({"Ученик", "Компьютер", "Начало", "Вопрос", "Закон №", "Закон", "Оценка", "Ответ",
              "Почему неправильно"},
             f.bold);
    std::size_t left = 0;
    for (const JournalRun& e : runs)
        for (const ReviewRow& r : reviewRows(e.run)) {
            if (s.row >= kLastRow) {
                ++left;
                continue;
            }
            s.text(0, pupilOf(e));
            s.text(1, e.machine);
            s.time(2, e.run.startedMs, f.time);
            s.number(3, r.number);
            s.number(4, r.law);
            s.text(5, qs(r.lawName));
            s.text(6, qs(r.verdict));
            s.text(7, qs(r.answer));
            s.text(8, qs(r.reason));
            ++s.row;
        }
    s.fitColumns(); // the line below runs on to the right as it is
    if (left) s.text(0, QStringLiteral("Не поместились на лист: ещё %1 ответов").arg(left), f.bold);
}

} // namespace

QString writeJournalWorkbook(const QString& path, const JournalRuns& runs) {
    // Written beside the target and renamed over it: a workbook is there whole or not at all.
    const QFileInfo target(path);
    // Qt holds a temporary file open until it is gone, and Windows moves no open file: the name
    // is only reserved here, and the file removed again unless it was put in place.
    QString aside;
    {
        QTemporaryFile reserved(target.absoluteDir().filePath(QStringLiteral(".XXXXXX.xlsx")));
        if (!reserved.open()) return reserved.errorString();
        reserved.setAutoRemove(false);
        reserved.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                QFileDevice::ReadGroup | QFileDevice::ReadOther);
        aside = reserved.fileName();
    }
    bool placed = false;
    const auto removeAside = qScopeGuard([&] {
        if (!placed) QFile::remove(aside);
    });
    // The library writes numbers with printf: under a Russian locale "0,5", which no spreadsheet
    // reads. The workbook is the same whatever the locale.
    const CNumericLocale cNumbers;
    if (!cNumbers) return QStringLiteral("не создан");
    // Rows go out as they are written, so a large class's journal needs little memory.
    lxw_workbook_options options{LXW_TRUE, nullptr, LXW_TRUE};
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(aside).constData(), &options);
    if (!book) return QStringLiteral("не создан");
    const Formats formats(book);
    writePupils(book, formats, runs);
    writeLaws(book, formats, runs);
    writeAnswers(book, formats, runs);
    if (const lxw_error error = workbook_close(book); error != LXW_NO_ERROR)
        return QString::fromUtf8(lxw_strerror(error));
    if (const QString why = replaceFile(aside, target.absoluteFilePath()); !why.isEmpty())
        return why;
    placed = true;
    return {};
}
