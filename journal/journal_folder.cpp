#include "journal/journal_folder.h"

#include "core/laws.h"
#include "journal/journal_cache.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <bitset>
#include <charconv>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

namespace {

// A file read the quick way: its text taken apart in place, without a QString per line or a
// QDateTime per time. It takes only what the writer writes; anything else (damage, a line it
// does not know, a time written otherwise) is left to parseJournal, which says what is wrong.
class QuickReader {
  public:
    explicit QuickReader(const QByteArray& bytes) : text(bytes.constData(), bytes.size()) {}
    std::optional<JournalRun> read();

  private:
    enum Line { program, user, machine, pupil, mode, asked, started, ended, ending, answers };
    bool line(std::string_view name, std::string_view value);
    bool answerLine(std::string_view value);

    std::string_view text;
    JournalRun entry;
    std::bitset<10> seen;
    int answersSaid = -1;
};

// A whole number of at most `digits` digits, nothing else.
std::optional<int> numberIn(std::string_view text, std::size_t digits) {
    int n = 0;
    if (text.empty() || text.size() > digits) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

std::optional<int> lawIn(std::string_view text) {
    const auto n = numberIn(text, 2);
    return n && *n >= 1 && *n <= kLawCount ? n : std::nullopt;
}

// Days from 1970-01-01 to a date of the Gregorian calendar.
std::int64_t daysSinceEpoch(int y, int m, int d) {
    y -= m <= 2;
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t{era} * 146097 + dayOfEra - 719468;
}

int daysInMonth(int y, int m) {
    if (m == 2) return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? 29 : 28;
    return m == 4 || m == 6 || m == 9 || m == 11 ? 30 : 31;
}

// "2026-12-08T15:54:10.123+03:00" or "…123Z", as journalTime writes it.
std::optional<std::int64_t> timeIn(std::string_view t) {
    if (t.size() != 24 && t.size() != 29) return std::nullopt;
    if (t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':' || t[19] != '.')
        return std::nullopt;
    const auto y = numberIn(t.substr(0, 4), 4), mo = numberIn(t.substr(5, 2), 2),
               d = numberIn(t.substr(8, 2), 2), h = numberIn(t.substr(11, 2), 2),
               mi = numberIn(t.substr(14, 2), 2), s = numberIn(t.substr(17, 2), 2),
               ms = numberIn(t.substr(20, 3), 3);
    if (!y || !mo || !d || !h || !mi || !s || !ms || *y < 1970 || *mo < 1 || *mo > 12 || *d < 1 ||
        *d > daysInMonth(*y, *mo) || *h > 23 || *mi > 59 || *s > 59)
        return std::nullopt;
    int offsetMinutes = 0;
    if (t.size() == 24) {
        if (t[23] != 'Z') return std::nullopt;
    } else {
        const auto oh = numberIn(t.substr(24, 2), 2), om = numberIn(t.substr(27, 2), 2);
        if ((t[23] != '+' && t[23] != '-') || t[26] != ':' || !oh || !om || *om > 59 ||
            *oh * 60 + *om > 14 * 60 || (t[23] == '-' && *oh == 0 && *om == 0))
            return std::nullopt;
        offsetMinutes = (t[23] == '-' ? -1 : 1) * (*oh * 60 + *om);
    }
    const std::int64_t seconds =
        daysSinceEpoch(*y, *mo, *d) * 86'400 + (*h * 60 + *mi - offsetMinutes) * 60 + *s;
    return seconds * 1000 + *ms;
}

QString textOf(std::string_view value) {
    return QString::fromUtf8(value.data(), qsizetype(value.size()));
}

bool QuickReader::answerLine(std::string_view value) {
    // "<law> right|wrong <time>[ <key>]"; the key has no blank.
    const std::size_t a = value.find(' ');
    if (a == std::string_view::npos) return false;
    const std::size_t b = value.find(' ', a + 1);
    if (b == std::string_view::npos) return false;
    const std::size_t c = value.find(' ', b + 1);
    const std::string_view key = c == std::string_view::npos ? "" : value.substr(c + 1);
    const std::string_view verdict = value.substr(a + 1, b - a - 1);
    const auto n = lawIn(value.substr(0, a));
    const auto at = timeIn(value.substr(b + 1, c == std::string_view::npos ? c : c - b - 1));
    if (!n || !at || (verdict != "right" && verdict != "wrong") ||
        key.find(' ') != std::string_view::npos)
        return false;
    entry.run.answers.push_back(Answer{*n, std::string(key), verdict == "right", *at});
    return true;
}

bool QuickReader::line(std::string_view name, std::string_view value) {
    if (name == "answer") return answerLine(value);
    static constexpr std::string_view kNames[] = {"program", "user",   "machine", "pupil",
                                                  "mode",    "asked",  "started", "ended",
                                                  "ending",  "answers"};
    const auto known = std::find(std::begin(kNames), std::end(kNames), name);
    if (known == std::end(kNames)) return false;
    const auto which = Line(known - std::begin(kNames));
    if (seen[which]) return false;
    seen[which] = true;
    RunRecord& run = entry.run;
    switch (which) {
    case program:
        entry.program = textOf(value);
        return true;
    case user:
        entry.user = textOf(value);
        return true;
    case machine:
        entry.machine = textOf(value);
        return true;
    case pupil:
        entry.pupil = textOf(value);
        return true;
    case mode:
        for (Mode m : {Mode::trainer, Mode::test})
            if (value == modeWord(m)) {
                run.mode = m;
                return true;
            }
        return false;
    case asked:
        for (std::size_t from = 0;;) {
            const std::size_t blank = value.find(' ', from);
            const auto n = lawIn(value.substr(from, blank - from));
            if (!n || std::find(run.asked.begin(), run.asked.end(), *n) != run.asked.end())
                return false;
            run.asked.push_back(*n);
            if (blank == std::string_view::npos) return true;
            from = blank + 1;
        }
    case started:
        if (const auto t = timeIn(value)) run.startedMs = *t;
        return run.startedMs != 0;
    case ended:
        if (value.empty()) return true;
        if (const auto t = timeIn(value)) run.endedMs = *t;
        return run.endedMs != 0;
    case ending:
        for (RunEnding e : {RunEnding::going, RunEnding::finished, RunEnding::restarted,
                            RunEnding::modeChanged, RunEnding::closed, RunEnding::cutShort})
            if (value == endingWord(e)) {
                run.ending = e;
                return true;
            }
        return false;
    case answers:
        if (const auto n = numberIn(value, 4)) answersSaid = *n;
        // Room for them at once (a hundred thousand files are read in a row), as far as a
        // run can have.
        run.answers.reserve(std::size_t(std::clamp(answersSaid, 0, kLawCount)));
        return answersSaid >= 0;
    }
    return false;
}

std::optional<JournalRun> QuickReader::read() {
    constexpr std::string_view kFirstLine = "zakony-logiki-journal 1\n";
    if (!text.starts_with(kFirstLine) || !text.ends_with('\n')) return std::nullopt;
    for (std::size_t at = kFirstLine.size(); at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string_view whole = text.substr(at, end - at);
        const std::size_t colon = whole.find(": ");
        if (colon == std::string_view::npos ||
            !line(whole.substr(0, colon), whole.substr(colon + 2)))
            return std::nullopt;
        at = end + 1;
    }
    const bool headWhole = seen[program] && seen[user] && seen[machine] && seen[mode] &&
                           seen[started] && seen[ended] && seen[ending] && seen[answers];
    if (!headWhole || answersSaid != int(entry.run.answers.size())) return std::nullopt;
    entry.run.number = 1;
    // Judged again as parseJournal does: the verdict follows the catalogue.
    for (Answer& a : entry.run.answers) {
        const bool right = acceptsAnswer(a.law, entry.run.mode, a.key);
        if (right != a.right) entry.verdictsForged = true;
        a.right = right;
    }
    cleanNames(entry);
    return std::move(entry);
}

} // namespace

JournalReading readRunText(const QByteArray& bytes) {
    if (auto run = QuickReader(bytes).read()) return {std::move(run), {}};
    return parseJournal(bytes);
}

JournalListing readJournal(const QString& folder) {
    return JournalCache(folder).refresh();
}

QString noAccessText(const JournalListing& listing, const QString& folder) {
    const int n = listing.unreadable;
    if (n == 0) return {};
    const bool one = n % 10 == 1 && n % 100 != 11;
    const QFileInfo info(folder);
    const QString group = info.group().isEmpty() ? QString::number(info.groupId()) : info.group();
    return QStringLiteral("Журнал прочитан не весь: нет доступа к %1 %2. Учитель должен быть в "
                          "группе папки журнала («%3») и войти в систему заново: новая группа "
                          "действует только с нового входа.")
        .arg(n)
        .arg(one ? QStringLiteral("файлу") : QStringLiteral("файлам"), group);
}

QString defaultJournalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/zakony-logiki/journal");
}

QString currentUserName() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("?"));
}
