// The journal as CSV for a spreadsheet: read back with an RFC 4180 reader (";" apart, as a
// Russian spreadsheet reads it), names with ";", quotes and line breaks come through whole, a
// text that looks like a formula stays text, one header row, one row per run or answer; and the
// real program's --export-journal, with no display, writes it (or a workbook read back with
// openpyxl) or says in one line why not, the same bytes under a Russian locale as under C.
#include "journal_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <locale.h>
#include <optional>

using namespace journal_test;

namespace {

// RFC 4180 with ";": records ended by CR LF, fields apart by ";", a field in quotes may hold ";",
// CR, LF and doubled quotes. Nothing for text that breaks the rules (a quote inside a field not
// in quotes, anything after a closing quote but a ";" or the record's end, a bare LF or CR
// between records, a last record not ended).
std::optional<QList<QStringList>> readCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text[i] == '"') {
            ++i;
            while (true) {
                if (i >= n) return std::nullopt;
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            if (i < n && text[i] != ';' && text[i] != '\r') return std::nullopt;
        } else {
            while (i < n && text[i] != ';' && text[i] != '\r') {
                if (text[i] == '"' || text[i] == '\n') return std::nullopt;
                field += text[i++];
            }
        }
        if (i >= n) return std::nullopt; // the last record is not ended
        record << field;
        field.clear();
        if (text[i] == ';') {
            ++i;
            continue;
        }
        if (i + 1 >= n || text[i + 1] != '\n') return std::nullopt;
        i += 2;
        records << record;
        record.clear();
    }
    return records;
}

// The CSV's records after its byte order mark, checked to be one header and `rows` more of the
// header's width.
QList<QStringList> recordsOf(const QByteArray& csv, qsizetype rows) {
    if (!csv.startsWith("\xEF\xBB\xBF")) {
        qWarning("no byte order mark");
        return {};
    }
    const QString text = QString::fromUtf8(csv.mid(3));
    if (text.toUtf8() != csv.mid(3) || text.startsWith(QChar(0xFEFF))) {
        qWarning("not UTF-8, or a second mark");
        return {};
    }
    const auto records = readCsv(text);
    if (!records || records->size() != rows + 1) {
        qWarning("%s", records ? qPrintable(QStringLiteral("%1 records").arg(records->size()))
                               : "not RFC 4180");
        return {};
    }
    for (const QStringList& r : *records)
        if (r.size() != records->front().size()) {
            qWarning("a record of %d fields", int(r.size()));
            return {};
        }
    return *records;
}

QString csvTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// A workbook's sheets as openpyxl reads them: per sheet, rows of cells, each its value as text,
// its type ("s" text, "n" number, "d" date, "f" formula), fill colour and number format; the
// cells narrower than their longest line with room for bold Cyrillic (up to 60 and a fraction),
// but the laws' names wrapped under their numbers; the parts (XML) that differ from a second
// workbook's, but for docProps/core.xml, which holds the moment it was made.
const char kReadWorkbook[] = R"(
import json, sys, zipfile
import openpyxl
book = openpyxl.load_workbook(sys.argv[1])
a, b = zipfile.ZipFile(sys.argv[1]), zipfile.ZipFile(sys.argv[2])
def width(sheet, column):
    return max([d.width for d in sheet.column_dimensions.values()
                if d.customWidth and d.min <= column <= d.max] or [0])
print(json.dumps({"sheets": book.sheetnames, "cells": {sheet.title: [[{
    "v": None if c.value is None else str(c.value), "t": c.data_type,
    "fill": c.fill.fgColor.rgb if c.fill.fill_type else None, "format": c.number_format}
    for c in row] for row in sheet.iter_rows()] for sheet in book.worksheets},
    "narrow": [sheet.title + "!" + c.coordinate for sheet in book.worksheets
               for row in sheet.iter_rows() for c in row if c.value is not None
               and not (sheet.title == "Ученики" and c.row == 2) and not
               min(60, 1 + 1.15 * max(map(len, (c.number_format if c.is_date else str(c.value))
                                          .split("\n")))) <= width(sheet, c.column) <= 61],
    "differ": sorted(n for n in (set(a.namelist()) | set(b.namelist())) - {"docProps/core.xml"}
                     if n not in a.namelist() or n not in b.namelist() or a.read(n) != b.read(n))}))
)";

// Whether the locale is there to run the program in; made with localedef where it is missing
// and the test may (root, with the locales' sources installed).
bool localeReady(const QString& name) {
    const auto there = [&] {
        const locale_t l = ::newlocale(LC_ALL_MASK, name.toLatin1().constData(), nullptr);
        return l ? ::freelocale(l), true : false;
    };
    if (there() || !runningAsRoot()) return there();
    QProcess::execute("localedef", {"-i", name.section('.', 0, 0), "-f", "UTF-8", name});
    return there();
}

struct Exported {
    int exitCode = -1;
    QStringList errorLines, outLines;
};

} // namespace

class JournalExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> home;

    // The real program in a home of its own, with no display and no settings but the test's.
    // With `asUser` (setpriv's options), under another uid.
    // Under `locale` (LANG, no LC_ variable overriding it).
    Exported runProgram(const QStringList& arguments, const QStringList& asUser = {},
                        const QString& locale = QStringLiteral("C.UTF-8")) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert("HOME", home->path());
        env.insert("XDG_CONFIG_HOME", home->filePath("config"));
        env.insert("XDG_DATA_HOME", home->filePath("data"));
        for (const QString& name : env.keys())
            if (name.startsWith(QLatin1String("LC_"))) env.remove(name);
        env.insert("LANG", locale);
        program.setProcessEnvironment(env);
        if (asUser.isEmpty())
            program.start(QStringLiteral(ZL_PROGRAM), arguments);
        else
            program.start(QStringLiteral("setpriv"),
                          asUser + QStringList{QStringLiteral(ZL_PROGRAM)} + arguments);
        Exported result;
        if (!program.waitForFinished(60'000) || program.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = program.exitCode();
        result.errorLines =
            QString::fromUtf8(program.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        result.outLines =
            QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return result;
    }

  private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
    }
    void cleanup() { home.reset(); }

    // The list of runs: each field as it was, however odd the names; a text a spreadsheet would
    // take for a formula after an apostrophe, so that it stays text.
    void runsListReadsBackField_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("userShown");
        QTest::addColumn<QString>("machineShown");
        const auto row = [](const char* name, const QString& user, const QString& machine) {
            QTest::newRow(name) << user << machine << user << machine;
        };
        row("plain", QStringLiteral("ivanov"), QStringLiteral("class-07"));
        row("semicolon and comma", QStringLiteral("Иванов; Пётр"), QStringLiteral("ПК 7, каб. 2"));
        row("quotes", QStringLiteral("say \"hi\""), QStringLiteral("\""));
        row("line breaks", QStringLiteral("two\nlines"), QStringLiteral("a\r\nb"));
        row("blanks around", QStringLiteral("  x  "), QStringLiteral(" "));
        row("empty", QString(), QString());
        row("all at once", QStringLiteral("\"a\";\nb\r\"\""), QStringLiteral(";;;"));
        row("formula-like inside", QStringLiteral("a=1+1"), QStringLiteral("7-@x"));
        QTest::newRow("= and +") << "=1+1"
                                 << "+7 999"
                                 << "'=1+1"
                                 << "'+7 999";
        QTest::newRow("- and @") << "-2+3"
                                 << "@SUM(A1)"
                                 << "'-2+3"
                                 << "'@SUM(A1)";
        QTest::newRow("tab and CR") << "\t=1"
                                    << "\r=1"
                                    << "'\t=1"
                                    << "'\r=1";
        QTest::newRow("formula with ; and quotes") << "=HYPERLINK(\"http://x\";\"y\")"
                                                   << "="
                                                   << "'=HYPERLINK(\"http://x\";\"y\")"
                                                   << "'=";
    }
    void runsListReadsBackField() {
        QFETCH(QString, user);
        QFETCH(QString, machine);
        QFETCH(QString, userShown);
        QFETCH(QString, machineShown);
        std::vector<JournalRun> runs{
            entryOf(madeRun(Mode::test, RunEnding::finished, 23, kMoment + 86'400'000), user,
                    machine),
            entryOf(madeRun(Mode::trainer, RunEnding::cutShort, 5, kMoment), machine, user),
            entryOf(madeRun(Mode::trainer, RunEnding::going, 0, kMoment - 1'000), user, user)};
        runs[0].fileName = QStringLiteral("a; \"b\".txt");
        runs[0].run.marks =
            Marks{90, 69, 50}; // 16 of 23 right: 69.6 %, a 4 just over its threshold
        runs[2].pupil = QStringLiteral("Пётр Иванов");
        const QByteArray csv = runsCsv(sharedRuns(runs));
        QVERIFY(csv.endsWith("\r\n"));
        const QList<QStringList> records = recordsOf(csv, qsizetype(runs.size()));
        QVERIFY(!records.isEmpty());
        QCOMPARE(records[0],
                 (QStringList{"Начало", "Конец", "Ученик", "Логин", "Компьютер", "Режим", "Ответов",
                              "Правильно", "Неправильно", "Оценка", "Как окончен", "Файл"}));
        const QStringList users{userShown, machineShown, userShown};
        const QStringList machines{machineShown, userShown, userShown};
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const JournalRun& e = runs[i];
            const QStringList& r = records[qsizetype(i) + 1];
            QCOMPARE(r[0], csvTime(e.run.startedMs));
            QCOMPARE(r[1], e.run.endedMs ? csvTime(e.run.endedMs) : QString());
            // The name the pupil gave, else the login.
            QCOMPARE(r[2], e.pupil.isEmpty() ? users[qsizetype(i)] : e.pupil);
            QCOMPARE(r[3], users[qsizetype(i)]);
            QCOMPARE(r[4], machines[qsizetype(i)]);
            QCOMPARE(r[5], qs(modeShown(e.run.mode)));
            QCOMPARE(r[6].toInt(), int(e.run.answers.size()));
            QCOMPARE(r[7].toInt(), e.run.rightCount());
            QCOMPARE(r[8].toInt(), e.run.wrongCount());
            QCOMPARE(r[9], i == 0 ? QStringLiteral("4") : QString()); // only a finished test's
            QCOMPARE(r[10], qs(endingShown(e.run.ending)));
            QCOMPARE(r[11], e.fileName);
        }
        // With no runs, the header alone.
        QVERIFY(!recordsOf(runsCsv({}), 0).isEmpty());
    }

    // One run's answers: a row per answer in the order asked, with the law's number, why a
    // wrong one is wrong, the accepted form beside each wrong one once the run is finished, the
    // key as written.
    void answersReadBack_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<RunEnding>("ending");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("reversed"); // the laws asked from the last
        QTest::newRow("test, finished") << Mode::test << RunEnding::finished << 23 << false;
        QTest::newRow("trainer, finished") << Mode::trainer << RunEnding::finished << 23 << false;
        QTest::newRow("trainer, restarted") << Mode::trainer << RunEnding::restarted << 9 << false;
        QTest::newRow("test, cut short") << Mode::test << RunEnding::cutShort << 4 << false;
        QTest::newRow("no answers") << Mode::test << RunEnding::closed << 0 << false;
        QTest::newRow("test, laws from the last")
            << Mode::test << RunEnding::finished << 23 << true;
        QTest::newRow("trainer, laws from the last")
            << Mode::trainer << RunEnding::going << 12 << true;
    }
    void answersReadBack() {
        QFETCH(Mode, mode);
        QFETCH(RunEnding, ending);
        QFETCH(int, count);
        QFETCH(bool, reversed);
        RunRecord run = madeRun(mode, ending, count);
        if (count > 1) run.answers[1].key.clear();
        if (reversed) {
            std::reverse(run.answers.begin(), run.answers.end());
            for (const Answer& a : run.answers)
                run.asked.push_back(a.law);
        }
        JournalRun entry = entryOf(run, QStringLiteral("Пётр; \"7Б\""));
        entry.pupil = QStringLiteral("Пётр Иванов");
        const QList<QStringList> records = recordsOf(answersCsv(entry), count);
        QVERIFY(!records.isEmpty());
        QCOMPARE(records[0],
                 (QStringList{"Вопрос", "Закон №", "Закон", "Ответ", "Оценка", "Почему неправильно",
                              "Принятая форма", "Время ответа", "Ученик", "Логин", "Компьютер",
                              "Режим", "Начало", "Ключ ответа"}));
        const std::vector<ReviewRow> rows = reviewRows(run);
        for (int i = 0; i < count; ++i) {
            const Answer& a = run.answers[std::size_t(i)];
            const QStringList& r = records[i + 1];
            QCOMPARE(r[0].toInt(), i + 1);
            QCOMPARE(r[1].toInt(), a.law);
            QCOMPARE(r[2], qs(law(a.law).name));
            QCOMPARE(r[3], a.key.empty() ? QStringLiteral("(пусто)") : qs(keyText(a.key)));
            QCOMPARE(r[4], a.right ? QStringLiteral("правильно") : QStringLiteral("не правильно"));
            QCOMPARE(r[5], qs(rows[std::size_t(i)].reason));
            if (mode == Mode::trainer && !a.right) QVERIFY(!r[5].isEmpty()); // said at once
            const bool shown = ending == RunEnding::finished && !a.right;
            QCOMPARE(r[6].isEmpty(), !shown);
            if (shown)
                QCOMPARE(r[6], qs(keyText(mode == Mode::test ? std::string(law(a.law).key)
                                                             : lawSides(a.law).rightKey)));
            QCOMPARE(r[7], csvTime(a.atMs));
            QCOMPARE(r[8], entry.pupil);
            QCOMPARE(r[9], entry.user);
            QCOMPARE(r[13], qs(a.key));
        }
    }

    // zakony-logiki --export-journal with no display: the CSV written and 0, or 1 and one line.
    // A run's file damaged or not readable is a run missing from the CSV: written, and 2.
    void programExportsWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments"); // {dir}, {csv} and {home} replaced
        QTest::addColumn<QByteArray>("settings");   // the user's settings file
        QTest::addColumn<QString>("unreadable");    // a file the program (as nobody) may not read
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("rows");           // the CSV's runs; -1: no CSV written
        QTest::addColumn<QStringList>("errors"); // a fragment of each line on stderr
        // A file that is no run's is no run lost.
        const QStringList skippedLines{"пропущен|notes.odt|не файл журнала",
                                       "пропущен|broken.txt|повреждён",
                                       "не прочитано прохождений: 1|{csv}|группу"};
        QTest::newRow("--export-journal FILE --journal DIR")
            << QStringList{"--export-journal", "{csv}", "--journal", "{dir}"} << QByteArray()
            << QString() << 2 << 3 << skippedLines;
        QTest::newRow("--export-journal=FILE --journal=DIR")
            << QStringList{"--export-journal={csv}", "--journal={dir}"} << QByteArray() << QString()
            << 2 << 3 << skippedLines;
        QTest::newRow("folder from the settings")
            << QStringList{"--export-journal", "{csv}"} << QByteArray("[journal]\nfolder={dir}\n")
            << QString() << 2 << 3 << skippedLines;
        // A teacher not yet in the folder's group.
        QTest::newRow("run's file not readable")
            << QStringList{"--export-journal", "{csv}", "--journal", "{dir}"} << QByteArray()
            << QStringLiteral("c.txt") << 2 << 2
            << QStringList{skippedLines[0], skippedLines[1], "пропущен|c.txt|Permission denied",
                           "не прочитано прохождений: 2|{csv}"};
        // A folder not made yet (before anyone's first run) is an empty journal.
        QTest::newRow("missing folder")
            << QStringList{"--export-journal", "{csv}", "--journal", "{home}/nowhere"}
            << QByteArray() << QString() << 0 << 0 << QStringList();
        QTest::newRow("default folder missing")
            << QStringList{"--export-journal", "{csv}"} << QByteArray() << QString() << 0 << 0
            << QStringList();
        QTest::newRow("CSV cannot be written")
            << QStringList{"--export-journal", "{home}/blocker/out.csv", "--journal", "{dir}"}
            << QByteArray() << QString() << 1 << -1
            << QStringList{skippedLines[0], skippedLines[1], "out.csv"};
    }
    void programExportsWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, settings);
        QFETCH(QString, unreadable);
        QFETCH(int, exitCode);
        QFETCH(int, rows);
        QFETCH(QStringList, errors);
        const QString dir = home->filePath("class journal");
        const QString csv = home->filePath("runs.csv");
        const auto fill = [&](QString text) {
            return text.replace("{dir}", dir).replace("{csv}", csv).replace("{home}", home->path());
        };
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(writeAll(home->filePath("blocker"), "a file, not a folder"));
        QVERIFY(writeAll(QDir(dir).filePath("a.txt"),
                         journalText(entryOf(madeRun(Mode::test, RunEnding::finished, 23)))));
        QVERIFY(writeAll(
            QDir(dir).filePath("b.txt"),
            journalText(entryOf(madeRun(Mode::trainer, RunEnding::going, 2, kMoment + 3'600'000),
                                QStringLiteral("Пётр, 7Б")))));
        QVERIFY(writeAll(
            QDir(dir).filePath("c.txt"),
            journalText(entryOf(madeRun(Mode::test, RunEnding::closed, 0, kMoment - 3'600'000)))));
        QVERIFY(writeAll(QDir(dir).filePath("notes.odt"), "a teacher's notes"));
        QVERIFY(writeAll(QDir(dir).filePath("broken.txt"),
                         journalText(entryOf(madeRun(Mode::test, RunEnding::closed, 5))).left(90)));
        if (!settings.isEmpty()) {
            QVERIFY(QDir().mkpath(home->filePath("config/zakony-logiki")));
            QVERIFY(writeAll(home->filePath("config/zakony-logiki/zakony-logiki.conf"),
                             fill(QString::fromUtf8(settings)).toUtf8()));
        }
        QStringList asNobody;
        if (!unreadable.isEmpty()) {
            if (!runningAsRoot()) QSKIP("a file unreadable to the program needs root");
            // Root reads any file: the program runs as nobody, the CSV written where it may.
            QVERIFY(QFile::setPermissions(home->path(), QFile::Permissions(0x7777)));
            QVERIFY(::chmod(QFile::encodeName(QDir(dir).filePath(unreadable)).constData(), 0) == 0);
            asNobody = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"};
        }
        const FolderState journalBefore = folderState(dir);
        QStringList filled;
        for (const QString& a : arguments)
            filled << fill(a);

        const Exported result = runProgram(filled, asNobody);

        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.errorLines.size() == errors.size(),
                 qPrintable(result.errorLines.join('\n')));
        for (qsizetype i = 0; i < errors.size(); ++i)
            for (const QString& fragment : errors[i].split('|'))
                QVERIFY2(result.errorLines[i].contains(fill(fragment)),
                         qPrintable(result.errorLines[i]));
        COMPARE_FOLDERS(folderState(dir), journalBefore);
        if (rows < 0) {
            QVERIFY(!QFileInfo::exists(csv));
            return;
        }
        const QList<QStringList> records = recordsOf(readAll(csv), rows);
        QVERIFY(!records.isEmpty());
        QCOMPARE(result.outLines.size(), 1);
        QVERIFY2(result.outLines[0].contains(csv), qPrintable(result.outLines[0]));
        if (rows == 0) {
            QVERIFY2(result.outLines[0].contains("Журнал пуст"), qPrintable(result.outLines[0]));
            return;
        }
        // Newest first; the run left going by no window is read as going.
        QCOMPARE(records[1][2], QStringLiteral("Пётр, 7Б"));
        QCOMPARE(records[1][10], qs(endingShown(RunEnding::going)));
        QCOMPARE(records[2][6], QStringLiteral("23"));
        if (rows > 2) QCOMPARE(records[3][6], QStringLiteral("0"));
    }

    // --export-journal to a file ending in .xlsx (in any case): three sheets read back with
    // openpyxl; every answer in its law's column whatever the order asked, texts as text, every
    // column as wide as its texts; a test's whole law and a trainer's right-hand side apart
    // among the common mistakes; its XML the same as a second export's under C.UTF-8, and the
    // CSV's bytes too.
    void programExportsAWorkbook_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C.UTF-8") << QStringLiteral("C.UTF-8");
        QTest::newRow("ru_RU.UTF-8") << QStringLiteral("ru_RU.UTF-8");
    }
    void programExportsAWorkbook() {
        QFETCH(QString, locale);
        if (!localeReady(locale)) QSKIP(qPrintable(locale + " is missing and cannot be made"));
        const QString dir = home->filePath("journal");
        const QString book = home->filePath("class.XLSX");
        QVERIFY(QDir().mkpath(dir));
        // Laws asked 2, 3, … 23, then 1: no answer in its law's place.
        RunRecord rotated = madeRun(Mode::test, RunEnding::finished, 23);
        rotated.marks = Marks{90, 69, 50}; // 16 of 23 right: 69.6 %, a 4 just over its threshold
        std::rotate(rotated.answers.begin(), rotated.answers.begin() + 1, rotated.answers.end());
        for (const Answer& a : rotated.answers)
            rotated.asked.push_back(a.law);
        QVERIFY(writeAll(QDir(dir).filePath("a.txt"),
                         journalText(entryOf(rotated, QStringLiteral("=1+1")))));
        JournalRun named =
            entryOf(madeRun(Mode::trainer, RunEnding::going, 2, kMoment + 3'600'000));
        named.pupil = QStringLiteral("Пётр Иванов");
        QVERIFY(writeAll(QDir(dir).filePath("b.txt"), journalText(named)));
        // Law 3 answered wrong in the trainer with the very signs of the test's wrong law.
        RunRecord trainer = madeRun(Mode::trainer, RunEnding::closed, 0, kMoment - 3'600'000);
        trainer.answers.push_back({3, answerKey(Mode::test, 3, false), false, kMoment});
        QVERIFY(writeAll(QDir(dir).filePath("c.txt"), journalText(entryOf(trainer))));

        const Exported result =
            runProgram({"--export-journal", book, "--journal", dir}, {}, locale);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.errorLines.isEmpty(), qPrintable(result.errorLines.join('\n')));
        const QString inC = home->filePath("c.xlsx");
        QCOMPARE(runProgram({"--export-journal", inC, "--journal", dir}).exitCode, 0);
        for (const QString& csvLocale : {locale, QStringLiteral("C.UTF-8")})
            QCOMPARE(runProgram(
                         {"--export-journal", home->filePath(csvLocale + ".csv"), "--journal", dir},
                         {}, csvLocale)
                         .exitCode,
                     0);
        QCOMPARE(readAll(home->filePath(locale + ".csv")), readAll(home->filePath("C.UTF-8.csv")));

        QProcess python;
        // Debian's own Python, whose modules the Debian package adds to.
        python.start(QStringLiteral("/usr/bin/python3"), {"-c", kReadWorkbook, book, inC});
        QVERIFY(python.waitForFinished(60'000));
        const QByteArray pythonErrors = python.readAllStandardError();
        if (pythonErrors.contains("No module named 'openpyxl'"))
            QSKIP("python3-openpyxl is missing (tools/setup.sh installs it)");
        QVERIFY2(python.exitCode() == 0, pythonErrors.constData());
        const QJsonObject workbook =
            QJsonDocument::fromJson(python.readAllStandardOutput()).object();
        QCOMPARE(workbook["sheets"].toVariant().toStringList(),
                 (QStringList{"Ученики", "Законы", "Ответы"}));
        QCOMPARE(workbook["differ"].toVariant().toStringList().join(' '), QString());
        const QJsonObject cells = workbook["cells"].toObject();
        QCOMPARE(workbook["narrow"].toVariant().toStringList().join(' '), QString());
        const auto cell = [&](const char* sheet, int row, int col) {
            return cells[QString::fromUtf8(sheet)].toArray()[row].toArray()[col].toObject();
        };
        const auto text = [&](const char* sheet, int row, int col) {
            return cell(sheet, row, col)["v"].toString();
        };

        // «Ученики»: two header rows (law numbers, then names), the newest run first.
        QCOMPARE(cells["Ученики"].toArray().size(), 5);
        QCOMPARE(text("Ученики", 0, 0), QStringLiteral("Ученик"));
        QCOMPARE(text("Ученики", 0, 6), QStringLiteral("Оценка"));
        QCOMPARE(text("Ученики", 0, 7), QStringLiteral("1"));
        QCOMPARE(text("Ученики", 1, 29), qs(law(23).name));
        QCOMPARE(text("Ученики", 2, 0), QStringLiteral("Пётр Иванов"));
        QCOMPARE(cell("Ученики", 2, 3)["t"].toString(), QStringLiteral("d"));
        QCOMPARE(text("Ученики", 3, 0), QStringLiteral("=1+1"));
        QCOMPARE(cell("Ученики", 3, 0)["t"].toString(), QStringLiteral("s"));
        QCOMPARE(text("Ученики", 3, 4).toDouble(), rotated.rightCount());
        QCOMPARE(text("Ученики", 3, 6), QStringLiteral("4"));
        QCOMPARE(cell("Ученики", 3, 6)["t"].toString(), QStringLiteral("n"));
        QCOMPARE(text("Ученики", 2, 6), QString()); // a trainer run has no mark
        for (int n = 1; n <= kLawCount; ++n) {
            const QJsonObject verdict = cell("Ученики", 3, 6 + n);
            const bool right = n % 3 != 0;
            QCOMPARE(verdict["v"].toString(), right ? QStringLiteral("+") : QStringLiteral("−"));
            QCOMPARE(verdict["fill"].toString(), right ? "FFC6EFCE" : "FFFFC7CE");
            QCOMPARE(text("Ученики", 2, 6 + n), n <= 2 ? QStringLiteral("+") : QString());
        }

        // «Законы»: the 7 laws answered wrong (3, 6, … 21) first, then law 1, answered right twice.
        QCOMPARE(cells["Законы"].toArray().size(), 1 + kLawCount);
        // Law 3's one mistake in each mode, the trainer's shown after its left side.
        const QString wrong3 = qs(keyText(answerKey(Mode::test, 3, false)));
        QCOMPARE(text("Законы", 1, 0), QStringLiteral("3"));
        QCOMPARE(text("Законы", 1, 2), QStringLiteral("2"));
        QCOMPARE(text("Законы", 1, 4).toDouble(), 0.0);
        QCOMPARE(cell("Законы", 1, 4)["format"].toString(), QStringLiteral("0%"));
        QCOMPARE(text("Законы", 1, 5), "1 × … = " + wrong3 + "\n1 × " + wrong3);
        QCOMPARE(text("Законы", 7, 0), QStringLiteral("21"));
        QCOMPARE(text("Законы", 8, 0), QStringLiteral("1"));
        QCOMPARE(text("Законы", 8, 2), QStringLiteral("2"));
        QCOMPARE(text("Законы", 8, 4).toDouble(), 1.0);

        // «Ответы»: the named run's 2, then the 23 in the order asked, then the trainer's 1.
        QCOMPARE(cells["Ответы"].toArray().size(), 1 + 2 + 23 + 1);
        QCOMPARE(text("Ответы", 3, 0), QStringLiteral("=1+1"));
        QCOMPARE(text("Ответы", 3, 3), QStringLiteral("1"));
        QCOMPARE(text("Ответы", 3, 4), QStringLiteral("2"));
        QCOMPARE(text("Ответы", 3, 5), qs(law(2).name));
        QCOMPARE(text("Ответы", 4, 3), QStringLiteral("2"));
        QCOMPARE(text("Ответы", 4, 4), QStringLiteral("3"));
        QCOMPARE(text("Ответы", 4, 6), QStringLiteral("не правильно"));
        QVERIFY(!text("Ответы", 4, 8).isEmpty());
        QCOMPARE(text("Ответы", 25, 4), QStringLiteral("1"));
    }

    // A class's drop box that the pupil may write into but not list: not a failure to read but
    // the teacher's alone, said so.
    void dropBoxIsTheTeachers() {
        const QString dropBox = home->filePath("drop box");
        QVERIFY(QDir().mkpath(dropBox));
        QVERIFY(writeAll(QDir(dropBox).filePath("a.txt"),
                         journalText(entryOf(madeRun(Mode::test, RunEnding::finished, 3)))));
        QStringList asPupil;
        if (runningAsRoot()) {
            // Root lists any folder: the program runs as nobody instead.
            QVERIFY(QFile::setPermissions(home->path(), QFile::permissions(home->path()) |
                                                            QFile::ExeOther | QFile::ReadOther));
            asPupil = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"};
        }
        QVERIFY(::chmod(QFile::encodeName(dropBox).constData(), 03733) == 0);
        const Exported result = runProgram(
            {"--export-journal", home->filePath("out.csv"), "--journal", dropBox}, asPupil);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.errorLines.size(), 1);
        QVERIFY2(result.errorLines[0].contains("Журнал класса виден только учителю"),
                 qPrintable(result.errorLines[0]));
    }
};

QTEST_GUILESS_MAIN(JournalExportTest)
#include "tst_journal_export.moc"
