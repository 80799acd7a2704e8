// The journal as CSV for a spreadsheet: read back with an RFC 4180 reader, names with commas,
// quotes and line breaks come through whole, one header row, one row per run or answer; and the
// real program's --export-journal, with no display, writes it or says in one line why not.
#include "journal_test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace journal_test;

namespace {

// RFC 4180: records ended by CR LF, fields apart by commas, a field in quotes may hold commas,
// CR, LF and doubled quotes. Nothing for text that breaks the rules (a quote inside a field not
// in quotes, anything after a closing quote but a comma or the record's end, a bare LF or CR
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
            if (i < n && text[i] != ',' && text[i] != '\r') return std::nullopt;
        } else {
            while (i < n && text[i] != ',' && text[i] != '\r') {
                if (text[i] == '"' || text[i] == '\n') return std::nullopt;
                field += text[i++];
            }
        }
        if (i >= n) return std::nullopt; // the last record is not ended
        record << field;
        field.clear();
        if (text[i] == ',') {
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

struct Exported {
    int exitCode = -1;
    QStringList errorLines, outLines;
};

} // namespace

class JournalExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> home;

    // The real program in a home of its own, with no display and no settings but the test's.
    Exported runProgram(const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert("HOME", home->path());
        env.insert("XDG_CONFIG_HOME", home->filePath("config"));
        env.insert("XDG_DATA_HOME", home->filePath("data"));
        env.insert("LANG", "C.UTF-8");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZL_PROGRAM), arguments);
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

    // The list of runs: each field as it was, however odd the names.
    void runsListReadsBackField_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("machine");
        QTest::newRow("plain") << QStringLiteral("ivanov") << QStringLiteral("class-07");
        QTest::newRow("comma") << QStringLiteral("Иванов, Пётр") << QStringLiteral("ПК 7, каб. 2");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\"") << QStringLiteral("\"");
        QTest::newRow("line breaks") << QStringLiteral("two\nlines") << QStringLiteral("a\r\nb");
        QTest::newRow("blanks around") << QStringLiteral("  x  ") << QStringLiteral(" ");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("all at once") << QStringLiteral("\"a\",\nb\r\"\"") << QStringLiteral(",,,");
    }
    void runsListReadsBackField() {
        QFETCH(QString, user);
        QFETCH(QString, machine);
        std::vector<JournalRun> runs{
            entryOf(madeRun(Mode::test, RunEnding::finished, 23, kMoment + 86'400'000), user,
                    machine),
            entryOf(madeRun(Mode::trainer, RunEnding::cutShort, 5, kMoment), machine, user),
            entryOf(madeRun(Mode::trainer, RunEnding::going, 0, kMoment - 1'000), user, user)};
        runs[0].fileName = QStringLiteral("a, \"b\".txt");
        const QByteArray csv = runsCsv(runs);
        QVERIFY(csv.endsWith("\r\n"));
        const QList<QStringList> records = recordsOf(csv, qsizetype(runs.size()));
        QVERIFY(!records.isEmpty());
        QCOMPARE(records[0],
                 (QStringList{"Начало", "Конец", "Ученик", "Компьютер", "Режим", "Ответов",
                              "Правильно", "Неправильно", "Как окончен", "Файл"}));
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const JournalRun& e = runs[i];
            const QStringList& r = records[qsizetype(i) + 1];
            QCOMPARE(r[0], csvTime(e.run.startedMs));
            QCOMPARE(r[1], e.run.endedMs ? csvTime(e.run.endedMs) : QString());
            QCOMPARE(r[2], e.user);
            QCOMPARE(r[3], e.machine);
            QCOMPARE(r[4], qs(modeShown(e.run.mode)));
            QCOMPARE(r[5].toInt(), int(e.run.answers.size()));
            QCOMPARE(r[6].toInt(), e.run.rightCount());
            QCOMPARE(r[7].toInt(), e.run.wrongCount());
            QCOMPARE(r[8], qs(endingShown(e.run.ending)));
            QCOMPARE(r[9], e.fileName);
        }
        // With no runs, the header alone.
        QVERIFY(!recordsOf(runsCsv({}), 0).isEmpty());
    }

    // One run's answers: a row per answer, the accepted form beside each wrong one once the run
    // is finished, the key as written.
    void answersReadBack_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<RunEnding>("ending");
        QTest::addColumn<int>("count");
        QTest::newRow("test, finished") << Mode::test << RunEnding::finished << 23;
        QTest::newRow("trainer, finished") << Mode::trainer << RunEnding::finished << 23;
        QTest::newRow("trainer, restarted") << Mode::trainer << RunEnding::restarted << 9;
        QTest::newRow("test, cut short") << Mode::test << RunEnding::cutShort << 4;
        QTest::newRow("no answers") << Mode::test << RunEnding::closed << 0;
    }
    void answersReadBack() {
        QFETCH(Mode, mode);
        QFETCH(RunEnding, ending);
        QFETCH(int, count);
        RunRecord run = madeRun(mode, ending, count);
        if (count > 1) run.answers[1].key.clear();
        const JournalRun entry = entryOf(run, QStringLiteral("Пётр, \"7Б\""));
        const QList<QStringList> records = recordsOf(answersCsv(entry), count);
        QVERIFY(!records.isEmpty());
        QCOMPARE(records[0].size(), 11);
        QCOMPARE(records[0][4], QStringLiteral("Принятая форма"));
        for (int i = 0; i < count; ++i) {
            const Answer& a = run.answers[std::size_t(i)];
            const QStringList& r = records[i + 1];
            QCOMPARE(r[0].toInt(), a.law);
            QCOMPARE(r[1], qs(law(a.law).name));
            QCOMPARE(r[2], a.key.empty() ? QStringLiteral("(пусто)") : qs(keyText(a.key)));
            QCOMPARE(r[3], a.right ? QStringLiteral("правильно") : QStringLiteral("не правильно"));
            const bool shown = ending == RunEnding::finished && !a.right;
            QCOMPARE(r[4].isEmpty(), !shown);
            if (shown)
                QCOMPARE(r[4], qs(keyText(mode == Mode::test ? std::string(law(a.law).key)
                                                             : lawSides(a.law).rightKey)));
            QCOMPARE(r[5], csvTime(a.atMs));
            QCOMPARE(r[6], entry.user);
            QCOMPARE(r[10], qs(a.key));
        }
    }

    // zakony-logiki --export-journal with no display: the CSV written and 0, or 1 and one line.
    void programExportsWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments"); // {dir}, {csv} and {home} replaced
        QTest::addColumn<QByteArray>("settings");   // the user's settings file
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("rows");           // the CSV's runs; -1: no CSV written
        QTest::addColumn<QStringList>("errors"); // a fragment of each line on stderr
        const QStringList skippedLine{"пропущен|broken.txt|повреждён"};
        QTest::newRow("--export-journal FILE --journal DIR")
            << QStringList{"--export-journal", "{csv}", "--journal", "{dir}"} << QByteArray() << 0
            << 3 << skippedLine;
        QTest::newRow("--export-journal=FILE --journal=DIR")
            << QStringList{"--export-journal={csv}", "--journal={dir}"} << QByteArray() << 0 << 3
            << skippedLine;
        QTest::newRow("folder from the settings")
            << QStringList{"--export-journal", "{csv}"} << QByteArray("[journal]\nfolder={dir}\n")
            << 0 << 3 << skippedLine;
        QTest::newRow("missing folder")
            << QStringList{"--export-journal", "{csv}", "--journal", "{home}/nowhere"}
            << QByteArray() << 1 << -1 << QStringList{"{home}/nowhere"};
        QTest::newRow("default folder missing")
            << QStringList{"--export-journal", "{csv}"} << QByteArray() << 1 << -1
            << QStringList{"zakony-logiki/journal"};
        QTest::newRow("CSV cannot be written")
            << QStringList{"--export-journal", "{home}/blocker/out.csv", "--journal", "{dir}"}
            << QByteArray() << 1 << -1 << (skippedLine + QStringList{"out.csv"});
    }
    void programExportsWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, settings);
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
        QVERIFY(writeAll(QDir(dir).filePath("broken.txt"),
                         journalText(entryOf(madeRun(Mode::test, RunEnding::closed, 5))).left(90)));
        if (!settings.isEmpty()) {
            QVERIFY(QDir().mkpath(home->filePath("config/zakony-logiki")));
            QVERIFY(writeAll(home->filePath("config/zakony-logiki/zakony-logiki.conf"),
                             fill(QString::fromUtf8(settings)).toUtf8()));
        }
        const FolderState journalBefore = folderState(dir);
        QStringList filled;
        for (const QString& a : arguments)
            filled << fill(a);

        const Exported result = runProgram(filled);

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
        // Newest first; the run left going by no window is cut short.
        QCOMPARE(records[1][2], QStringLiteral("Пётр, 7Б"));
        QCOMPARE(records[1][8], qs(endingShown(RunEnding::cutShort)));
        QCOMPARE(records[2][5], QStringLiteral("23"));
        QCOMPARE(records[3][5], QStringLiteral("0"));
        QCOMPARE(result.outLines.size(), 1);
        QVERIFY2(result.outLines[0].contains(csv), qPrintable(result.outLines[0]));
    }
};

QTEST_GUILESS_MAIN(JournalExportTest)
#include "tst_journal_export.moc"
