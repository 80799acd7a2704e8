#include "journal/journal_file.h"

#include "core/laws.h"
#include "journal/qt_text.h"

#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <bitset>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kMagic = "zakony-logiki-journal";

// The file's first line: its name and the format it is written in.
const QByteArray& firstLine() {
    static const QByteArray line = QByteArray(kMagic.data(), qsizetype(kMagic.size())) + ' ' +
                                   QByteArray::number(kJournalFormat) + '\n';
    return line;
}

// The lines after the first, in the order the writer writes them; the reader knows them by
// the same table. Any other well-formed name is a later version's line and passed over.
enum Line {
    program,
    user,
    machine,
    pupil,
    mode,
    asked,
    limit,
    marks,
    started,
    ended,
    ending,
    answers,
    answer
};
enum class Occurs { once, atMostOnce, repeated };
struct LineKind {
    std::string_view name;
    Occurs occurs;
};
constexpr LineKind kLines[] = {
    {"program", Occurs::once},     {"user", Occurs::once},        {"machine", Occurs::once},
    {"pupil", Occurs::atMostOnce}, {"mode", Occurs::once},        {"asked", Occurs::atMostOnce},
    {"limit", Occurs::atMostOnce}, {"marks", Occurs::atMostOnce}, {"started", Occurs::once},
    {"ended", Occurs::once},       {"ending", Occurs::once},      {"answers", Occurs::once},
    {"answer", Occurs::repeated}};
constexpr std::size_t kLineCount = std::size(kLines);

// A line's values as written: none for a line left out, one per answer for "answer".
QStringList valuesOf(Line line, const JournalRun& entry) {
    const RunRecord& run = entry.run;
    switch (line) {
    case program:
        return {oneLine(entry.program)};
    case user:
        return {oneLine(entry.user)};
    case machine:
        return {oneLine(entry.machine)};
    case pupil:
        if (QString name = oneLine(entry.pupil); !name.isEmpty()) return {name};
        return {};
    case mode:
        return {qs(modeWord(run.mode))};
    case asked: {
        if (run.asked.empty()) return {};
        QStringList laws;
        for (int n : run.asked)
            laws << QString::number(n);
        return {laws.join(QLatin1Char(' '))};
    }
    case limit:
        if (run.limitMinutes > 0) return {QString::number(run.limitMinutes)};
        return {};
    case marks:
        if (run.mode == Mode::test) return {qs(marksText(run.marks))};
        return {};
    case started:
        return {journalTime(run.startedMs)};
    case ended:
        return {run.endedMs ? journalTime(run.endedMs) : QString()};
    case ending:
        return {qs(endingWord(run.ending))};
    case answers:
        return {QString::number(run.answers.size())};
    case answer: {
        QStringList lines;
        for (const Answer& a : run.answers)
            lines << QStringLiteral("%1 %2 %3 %4")
                         .arg(a.law)
                         .arg(a.right ? "right" : "wrong", journalTime(a.atMs), oneLine(qs(a.key)));
        return lines;
    }
    }
    return {};
}

QString textOf(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// A whole number as QString::toInt reads it; plain digits without making a QString.
std::optional<int> numberIn(std::string_view text) {
    if (!text.empty() && text.size() <= 9) {
        int n = 0;
        for (char c : text) {
            if (c < '0' || c > '9') {
                n = -1;
                break;
            }
            n = n * 10 + (c - '0');
        }
        if (n >= 0) return n;
    }
    bool isNumber = false;
    const int n = textOf(text).toInt(&isNumber);
    return isNumber ? std::optional(n) : std::nullopt;
}

std::optional<int> lawIn(std::string_view text) {
    const auto n = numberIn(text);
    return n && *n >= 1 && *n <= kLawCount ? n : std::nullopt;
}

// The digits at `text[at…at+count)` as a number; -1 for anything else.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    int n = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

// The last date read and its days since 1970: a run's times mostly share one.
struct LastDay {
    int date = -1; // yyyymmdd
    std::int64_t days = 0;
};

// A time as journalTime writes it ("2026-12-08T15:54:10.123+03:00" or "…123Z") read in place;
// any other shape by Qt's reading of ISO times.
std::optional<std::int64_t> timeIn(std::string_view t, LastDay& last) {
    const bool utc = t.size() == 24 && t[23] == 'Z';
    if ((utc || t.size() == 29) && t[4] == '-' && t[7] == '-' && t[10] == 'T' && t[13] == ':' &&
        t[16] == ':' && t[19] == '.') {
        const int y = digitsAt(t, 0, 4), mo = digitsAt(t, 5, 2), d = digitsAt(t, 8, 2),
                  h = digitsAt(t, 11, 2), mi = digitsAt(t, 14, 2), s = digitsAt(t, 17, 2),
                  ms = digitsAt(t, 20, 3);
        const int oh = utc ? 0 : digitsAt(t, 24, 2), om = utc ? 0 : digitsAt(t, 27, 2);
        const bool offsetShaped =
            utc || ((t[23] == '+' || t[23] == '-') && t[26] == ':' && oh >= 0 && om >= 0 &&
                    om <= 59 && oh * 60 + om <= 14 * 60 && (t[23] == '+' || oh + om));
        const int date = (y * 100 + mo) * 100 + d;
        if (date != last.date && y >= 1970 && QDate::isValid(y, mo, d))
            last = {date, QDate(y, mo, d).toJulianDay() - QDate(1970, 1, 1).toJulianDay()};
        if (offsetShaped && date == last.date && h >= 0 && h <= 23 && mi >= 0 && mi <= 59 &&
            s >= 0 && s <= 59 && ms >= 0) {
            const int offsetMinutes = (t[23] == '-' ? -1 : 1) * (oh * 60 + om);
            const std::int64_t seconds =
                last.days * 86'400 + (h * 60 + mi - offsetMinutes) * 60 + s;
            return seconds * 1000 + ms;
        }
    }
    return journalTimeMs(textOf(t));
}

template <typename Word, std::size_t N>
std::optional<Word> wordIn(std::string_view text, const Word (&words)[N],
                           std::string_view (*wordOf)(Word)) {
    for (Word w : words)
        if (text == wordOf(w)) return w;
    return std::nullopt;
}
constexpr Mode kModes[] = {Mode::trainer, Mode::test};
constexpr RunEnding kEndings[] = {RunEnding::going,       RunEnding::finished, RunEnding::restarted,
                                  RunEnding::modeChanged, RunEnding::closed,   RunEnding::cutShort,
                                  RunEnding::timeUp};

// The value split at its blanks, as QString::split does: `at most` parts, or nothing.
template <std::size_t N>
std::optional<std::size_t> partsOf(std::string_view value, std::string_view (&parts)[N]) {
    std::size_t count = 0;
    for (std::size_t from = 0;; ++count) {
        if (count == N) return std::nullopt;
        const std::size_t blank = value.find(' ', from);
        parts[count] = value.substr(from, blank - from);
        if (blank == std::string_view::npos) return count + 1;
        from = blank + 1;
    }
}

// A line's name: lower-case Latin letters, digits and hyphens, from a letter. Anything else is
// no line of a journal's file, whatever version wrote it.
bool isLineName(std::string_view name) {
    return !name.empty() && name[0] >= 'a' && name[0] <= 'z' &&
           std::ranges::all_of(name, [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
           });
}

// Why a file is no run; the teacher's text is made of it only for a file that fails.
struct Fault {
    enum Kind { none, empty, notJournal, newer, cutOff, badLine, noHead, answersMissing };
    Kind kind = none;
    qsizetype number = 0; // the line at fault, or the newer format
};

QString problemOf(Fault fault) {
    const QString damaged = QStringLiteral("файл повреждён: ");
    switch (fault.kind) {
    case Fault::none:
        break;
    case Fault::empty:
        return QStringLiteral("пустой файл");
    case Fault::notJournal:
        return QStringLiteral("не файл журнала");
    case Fault::newer:
        return QStringLiteral("формат %1 новее этой программы (она читает формат %2)")
            .arg(fault.number)
            .arg(kJournalFormat);
    case Fault::cutOff:
        return damaged + QStringLiteral("оборван");
    case Fault::badLine:
        return damaged + QStringLiteral("строка %1").arg(fault.number);
    case Fault::noHead:
        return damaged + QStringLiteral("нет начала записи");
    case Fault::answersMissing:
        return damaged + QStringLiteral("не все ответы на месте");
    }
    return {};
}

// A run's text taken apart in place: no QString per line, none per time written as the writer
// writes it.
class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : text(bytes.constData(), std::size_t(bytes.size())) {}
    Fault read(JournalRun& into);

  private:
    std::optional<std::size_t> afterFirstLine(Fault& fault) const;
    bool line(std::string_view name, std::string_view value);
    bool answerLine(std::string_view value);

    std::string_view text;
    JournalRun* entry = nullptr;
    std::bitset<kLineCount> seen;
    int answersSaid = -1;
    LastDay lastDay;
};

// Where the lines begin; nothing, with the fault, for a text that is no run of this format.
std::optional<std::size_t> Reader::afterFirstLine(Fault& fault) const {
    if (text.starts_with(std::string_view(firstLine().constData(), firstLine().size())))
        return firstLine().size();
    // Any other first line as Qt reads its number: a later format, or no journal at all.
    const std::size_t end = text.find('\n');
    const QStringList first = textOf(text.substr(0, end)).split(QLatin1Char(' '));
    bool isNumber = false;
    const int format =
        first.size() == 2 && first[0] == textOf(kMagic) ? first[1].toInt(&isNumber) : 0;
    if (!isNumber || format < 1) {
        fault = {Fault::notJournal};
        return std::nullopt;
    }
    if (format > kJournalFormat) {
        fault = {Fault::newer, format};
        return std::nullopt;
    }
    return end == std::string_view::npos ? text.size() : end + 1;
}

Fault Reader::read(JournalRun& into) {
    entry = &into;
    if (text.empty()) return {Fault::empty};
    Fault fault;
    const auto from = afterFirstLine(fault);
    if (!from) return fault;
    // Every file written ends its last line; one that does not was cut off.
    if (!text.ends_with('\n')) return {Fault::cutOff};
    qsizetype number = 2;
    for (std::size_t at = *from; at < text.size(); ++number) {
        const std::size_t end = text.find('\n', at);
        const std::string_view whole = text.substr(at, end - at);
        at = end + 1;
        if (whole.empty()) continue;
        const std::size_t colon = whole.find(": ");
        const bool bare = colon == std::string_view::npos; // "name:" with no value
        if (bare && !whole.ends_with(':')) return {Fault::badLine, number};
        const std::string_view name = whole.substr(0, bare ? whole.size() - 1 : colon);
        if (!line(name, bare ? std::string_view() : whole.substr(colon + 2)))
            return {Fault::badLine, number};
    }
    for (std::size_t i = 0; i < kLineCount; ++i)
        if (kLines[i].occurs == Occurs::once && !seen[i]) return {Fault::noHead};
    if (answersSaid != int(into.run.answers.size())) return {Fault::answersMissing};
    return {};
}

bool Reader::answerLine(std::string_view value) {
    // "<law> right|wrong <time>[ <key>]"; the key may be empty, and has no blank.
    std::string_view parts[4];
    const auto count = partsOf(value, parts);
    if (!count || *count < 3) return false;
    const auto law = lawIn(parts[0]);
    if (!law || (parts[1] != "right" && parts[1] != "wrong")) return false;
    const auto at = timeIn(parts[2], lastDay);
    if (!at) return false;
    // Bytes that are no UTF-8 are kept as Qt decodes them, as every other value.
    const std::string_view key = parts[3];
    std::string kept = QByteArrayView(key.data(), qsizetype(key.size())).isValidUtf8()
                           ? std::string(key)
                           : textOf(key).toStdString();
    entry->run.answers.push_back(Answer{*law, std::move(kept), parts[1] == "right", *at});
    return true;
}

bool Reader::line(std::string_view name, std::string_view value) {
    if (name == kLines[answer].name) return answerLine(value); // most lines: looked for first
    const auto known = std::ranges::find(kLines, name, &LineKind::name);
    if (known == std::end(kLines)) return isLineName(name); // a later version's line
    const auto which = Line(known - std::begin(kLines));
    if (known->occurs != Occurs::repeated) {
        if (seen[which]) return false;
        seen[which] = true;
    }
    RunRecord& run = entry->run;
    switch (which) {
    case program:
        entry->program = textOf(value);
        return true;
    case user:
        entry->user = textOf(value);
        return true;
    case machine:
        entry->machine = textOf(value);
        return true;
    case pupil:
        entry->pupil = textOf(value);
        return true;
    case mode: {
        const auto m = wordIn(value, kModes, modeWord);
        run.mode = m.value_or(run.mode);
        return m.has_value();
    }
    case asked: {
        std::vector<bool> taken(kLawCount + 1, false);
        for (std::size_t from = 0;;) {
            const std::size_t blank = value.find(' ', from);
            const auto n = lawIn(value.substr(from, blank - from));
            if (!n || taken[std::size_t(*n)]) return false;
            taken[std::size_t(*n)] = true;
            run.asked.push_back(*n);
            if (blank == std::string_view::npos) return true;
            from = blank + 1;
        }
    }
    case limit: {
        const auto minutes = numberIn(value);
        run.limitMinutes = minutes.value_or(0);
        return minutes && *minutes >= 1 && *minutes <= kMaxMinutes;
    }
    case marks: {
        const auto read = parseMarks(value);
        run.marks = read.value_or(run.marks);
        return read.has_value();
    }
    case started: {
        const auto t = timeIn(value, lastDay);
        run.startedMs = t.value_or(0);
        return t.has_value();
    }
    case ended: {
        const auto t = value.empty() ? std::optional<std::int64_t>(0) : timeIn(value, lastDay);
        run.endedMs = t.value_or(0);
        return t.has_value();
    }
    case ending: {
        // An ending a later version added is read as the run's end unknown: cut short.
        const auto e = wordIn(value, kEndings, endingWord);
        run.ending = e.value_or(RunEnding::cutShort);
        return e.has_value() || isLineName(value);
    }
    case answers: {
        const auto n = numberIn(value);
        answersSaid = n.value_or(-1);
        // Room for them at once (a hundred thousand files may be read in a row).
        run.answers.reserve(std::size_t(std::clamp(answersSaid, 0, kLawCount)));
        return n.has_value();
    }
    case answer:
        return answerLine(value);
    }
    return false;
}

// The verdicts again from the keys, as the form judges them: a stored verdict that disagrees
// was written by hand, so the run is flagged and counted by the catalogue's judgement.
void judgeAgain(JournalRun& entry) {
    for (Answer& a : entry.run.answers) {
        const bool right = acceptsAnswer(a.law, entry.run.mode, a.key);
        if (right != a.right) entry.verdictsForged = true;
        a.right = right;
    }
}

} // namespace

// Names and machine names go on one line of the file and into a file name.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.isSpace() || c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    return text.simplified();
}

QString shownName(const QString& text) {
    QString kept;
    kept.reserve(std::min<qsizetype>(text.size(), kNameLetters + 1));
    // Control and format characters (bidirectional overrides and isolates, zero-width marks)
    // are dropped; the rest counted as the name dialog counts them.
    for (qsizetype i = 0; i < text.size() && kept.size() < kNameLetters; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
            ++i;
            if (QChar::category(code) == QChar::Other_Format) continue;
            if (kept.size() + 2 > kNameLetters) break;
            kept += c;
            kept += text[i];
            continue;
        }
        const QChar::Category category = c.category();
        if (category == QChar::Other_Format || c.isSurrogate()) continue;
        kept += category == QChar::Other_Control || c.isSpace() ? QLatin1Char(' ') : c;
    }
    return kept.simplified();
}

void cleanNames(JournalRun& entry) {
    entry.user = shownName(entry.user);
    entry.machine = shownName(entry.machine);
    entry.pupil = shownName(entry.pupil);
}

QString pupilOf(const JournalRun& entry) {
    return entry.pupil.isEmpty() ? entry.user : entry.pupil;
}

QString journalTime(std::int64_t ms) {
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

std::optional<std::int64_t> journalTimeMs(const QString& text) {
    const QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid()) return std::nullopt;
    return t.toMSecsSinceEpoch();
}

QByteArray journalText(const JournalRun& entry) {
    QString text = QString::fromLatin1(firstLine());
    for (std::size_t i = 0; i < kLineCount; ++i)
        for (const QString& value : valuesOf(Line(i), entry))
            text += textOf(kLines[i].name) + QStringLiteral(": ") + value + QLatin1Char('\n');
    return text.toUtf8();
}

JournalReading parseJournal(const QByteArray& bytes) {
    JournalRun entry;
    if (const Fault fault = Reader(bytes).read(entry); fault.kind != Fault::none)
        return {std::nullopt, problemOf(fault)};
    entry.run.number = 1;
    judgeAgain(entry);
    cleanNames(entry);
    return {std::move(entry), {}};
}
