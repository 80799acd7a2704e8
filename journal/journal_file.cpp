#include "journal/journal_file.h"

#include "core/laws.h"
#include "journal/qt_text.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace {

constexpr char kMagic[] = "zakony-logiki-journal";

std::optional<Mode> modeNamed(const QString& word) {
    for (Mode m : {Mode::trainer, Mode::test})
        if (word == qs(modeWord(m))) return m;
    return std::nullopt;
}

std::optional<RunEnding> endingNamed(const QString& word) {
    for (RunEnding e : {RunEnding::going, RunEnding::finished, RunEnding::restarted,
                        RunEnding::modeChanged, RunEnding::closed, RunEnding::cutShort})
        if (word == qs(endingWord(e))) return e;
    return std::nullopt;
}

// One answer line's value: "<law> right|wrong <time> <key>"; the key may be empty.
std::optional<Answer> answerFrom(const QString& value) {
    const QStringList parts = value.split(QLatin1Char(' '));
    if (parts.size() < 3 || parts.size() > 4) return std::nullopt;
    bool isNumber = false;
    const int lawNumber = parts[0].toInt(&isNumber);
    if (!isNumber || lawNumber < 1 || lawNumber > kLawCount) return std::nullopt;
    if (parts[1] != "right" && parts[1] != "wrong") return std::nullopt;
    const auto at = journalTimeMs(parts[2]);
    if (!at) return std::nullopt;
    return Answer{lawNumber, parts.size() == 4 ? parts[3].toStdString() : std::string(),
                  parts[1] == "right", *at};
}

// "3 7 12": laws 1 … kLawCount, each at most once; nothing for anything else.
std::optional<std::vector<int>> askedFrom(const QString& value) {
    std::vector<int> asked;
    std::vector<bool> seen(kLawCount + 1, false);
    for (const QString& part : value.split(QLatin1Char(' '))) {
        bool isNumber = false;
        const int n = part.toInt(&isNumber);
        if (!isNumber || n < 1 || n > kLawCount || seen[std::size_t(n)]) return std::nullopt;
        seen[std::size_t(n)] = true;
        asked.push_back(n);
    }
    return asked;
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

// The lines every run's file has, each once; the "answer" lines are counted by "answers".
const QStringList kHeadLines{"program", "user",  "machine", "mode",
                             "started", "ended", "ending",  "answers"};
// Lines a run's file may have, at most once.
const QStringList kOptionalLines{"pupil", "asked"};

// A line's name: lower-case Latin letters, digits and hyphens, from a letter. Anything else is
// no line of a journal's file, whatever version wrote it.
bool isLineName(const QString& name) {
    if (name.isEmpty() || name[0] < 'a' || name[0] > 'z') return false;
    for (QChar c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    return true;
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
    const RunRecord& run = entry.run;
    QString text;
    text += QStringLiteral("%1 %2\n").arg(QLatin1String(kMagic)).arg(kJournalFormat);
    text += "program: " + oneLine(entry.program) + '\n';
    text += "user: " + oneLine(entry.user) + '\n';
    text += "machine: " + oneLine(entry.machine) + '\n';
    if (const QString pupil = oneLine(entry.pupil); !pupil.isEmpty())
        text += "pupil: " + pupil + '\n';
    text += "mode: " + qs(modeWord(run.mode)) + '\n';
    if (!run.asked.empty()) {
        QStringList asked;
        for (int n : run.asked)
            asked << QString::number(n);
        text += "asked: " + asked.join(QLatin1Char(' ')) + '\n';
    }
    text += "started: " + journalTime(run.startedMs) + '\n';
    text += "ended: " + (run.endedMs ? journalTime(run.endedMs) : QString()) + '\n';
    text += "ending: " + qs(endingWord(run.ending)) + '\n';
    text += QStringLiteral("answers: %1\n").arg(run.answers.size());
    for (const Answer& a : run.answers)
        text += QStringLiteral("answer: %1 %2 %3 %4\n")
                    .arg(a.law)
                    .arg(a.right ? "right" : "wrong", journalTime(a.atMs), oneLine(qs(a.key)));
    return text.toUtf8();
}

JournalReading parseJournal(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {std::nullopt, QStringLiteral("пустой файл")};
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QStringList first = lines[0].split(QLatin1Char(' '));
    if (first.size() != 2 || first[0] != kMagic)
        return {std::nullopt, QStringLiteral("не файл журнала")};
    bool isNumber = false;
    const int format = first[1].toInt(&isNumber);
    if (!isNumber || format < 1) return {std::nullopt, QStringLiteral("не файл журнала")};
    if (format > kJournalFormat)
        return {std::nullopt,
                QStringLiteral("формат %1 новее этой программы (она читает формат %2)")
                    .arg(format)
                    .arg(kJournalFormat)};
    JournalRun entry;
    RunRecord& run = entry.run;
    int answersSaid = -1;
    auto damaged = [](const QString& what) {
        return JournalReading{std::nullopt, QStringLiteral("файл повреждён: ") + what};
    };
    const auto badLine = [&](qsizetype i) {
        return damaged(QStringLiteral("строка %1").arg(i + 1));
    };
    // Every file written ends its last line; one that does not was cut off.
    if (!bytes.endsWith('\n')) return damaged(QStringLiteral("оборван"));
    QStringList seen; // of the head's lines
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty()) continue;
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0 && !line.endsWith(':')) return badLine(i);
        const QString name = colon < 0 ? line.chopped(1) : line.left(colon);
        if (!isLineName(name)) return badLine(i);
        const QString value = colon < 0 ? QString() : line.mid(colon + 2);
        if (kHeadLines.contains(name) || kOptionalLines.contains(name)) {
            if (seen.contains(name)) return badLine(i);
            seen << name;
        }
        if (name == "program")
            entry.program = value;
        else if (name == "user")
            entry.user = value;
        else if (name == "machine")
            entry.machine = value;
        else if (name == "pupil")
            entry.pupil = value;
        else if (name == "mode") {
            const auto m = modeNamed(value);
            if (!m) return badLine(i);
            run.mode = *m;
        } else if (name == "started") {
            const auto t = journalTimeMs(value);
            if (!t) return badLine(i);
            run.startedMs = *t;
        } else if (name == "ended") {
            const auto t = journalTimeMs(value);
            if (!value.isEmpty() && !t) return badLine(i);
            run.endedMs = t.value_or(0);
        } else if (name == "ending") {
            const auto e = endingNamed(value);
            if (!e) return badLine(i);
            run.ending = *e;
        } else if (name == "asked") {
            auto asked = askedFrom(value);
            if (!asked) return badLine(i);
            run.asked = std::move(*asked);
        } else if (name == "answers") {
            answersSaid = value.toInt(&isNumber);
            if (!isNumber) return badLine(i);
        } else if (name == "answer") {
            const auto a = answerFrom(value);
            if (!a) return badLine(i);
            run.answers.push_back(*a);
        }
    }
    if (std::ranges::count_if(seen, [](const QString& n) { return kHeadLines.contains(n); }) !=
        kHeadLines.size())
        return damaged(QStringLiteral("нет начала записи"));
    if (answersSaid != static_cast<int>(run.answers.size()))
        return damaged(QStringLiteral("не все ответы на месте"));
    run.number = 1;
    judgeAgain(entry);
    cleanNames(entry);
    return {entry, {}};
}
