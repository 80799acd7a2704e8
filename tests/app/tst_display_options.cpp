// The zoom and full screen the window opens with, and what a teacher set for the class: from the
// system-wide settings a teacher sets, the pupil's own settings over them, the command line over
// both, unless the system-wide file locks the class's settings. A bad value anywhere is one line
// on the error stream and the nearest sensible value; the program starts all the same.
#include "app/options.h"
#include "core/zoom.h"
#include "support/settings_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

namespace {

// Not a settings file: bytes that are no text, a section never closed, a line without a key.
const QByteArray kDamaged("\x01\xff\xfe[[zoom\n=\n[General\n");

QStringList linesOf(const QString& text) {
    return text.split('\n', Qt::SkipEmptyParts);
}

// What a teacher sets for the class: names asked, an order of one's own, the class view alone.
StartOptions forClass(bool askName, bool shuffled, bool classView = false) {
    StartOptions options;
    options.askName = askName;
    options.shuffledTests = shuffled;
    options.classView = classView;
    return options;
}

const char kLocked[] = "закреплены учителем|{system}|не действуют";

} // namespace

Q_DECLARE_METATYPE(StartOptions)

class DisplayOptionsTest : public QObject {
    Q_OBJECT
    SettingsFiles files; // user/ and system/ settings of the running test

  private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("Законы логики"));
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    }

    void init() { files.make(); }
    void cleanup() { files.home.reset(); }

    void settingsLiveInTheirFiles() {
        const auto settings = programSettings();
        QCOMPARE(settings->fileName(), files.userFile);
        QCOMPARE(settings->scope(), QSettings::UserScope);
    }

    // The settings files as written, the command line, and what the window opens with. Each
    // line of `messages` is one line the error stream must show, as the fragments it contains
    // ("a|b": both "a" and "b"); {user} and {system} stand for the files' paths.
    void optionsFromSettingsAndCommandLine_data() {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StartOptions>("expected");
        QTest::addColumn<QStringList>("messages");
        const QByteArray none = kNoFile;
        const QStringList quiet;
        auto args = [](const char* text) { return QString::fromUtf8(text).split(' '); };

        QTest::newRow("nothing anywhere")
            << none << none << QStringList() << StartOptions{} << quiet;
        QTest::newRow("empty files")
            << QByteArray() << QByteArray() << QStringList() << StartOptions{} << quiet;

        // The command line.
        QTest::newRow("--zoom 150")
            << none << none << args("--zoom 150") << StartOptions{150, false, {}} << quiet;
        QTest::newRow("--zoom=125")
            << none << none << args("--zoom=125") << StartOptions{125, false, {}} << quiet;
        QTest::newRow("--zoom \" 200% \"") << none << none << QStringList{"--zoom", " 200% "}
                                           << StartOptions{200, false, {}} << quiet;
        QTest::newRow("--zoom 300%")
            << none << none << args("--zoom 300%") << StartOptions{300, false, {}} << quiet;
        QTest::newRow("--zoom 7") << none << none << args("--zoom 7")
                                  << StartOptions{100, false, {}}
                                  << QStringList{"--zoom|7 %|100 %"};
        QTest::newRow("--zoom abc")
            << none << none << args("--zoom abc") << StartOptions{100, false, {}}
            << QStringList{"--zoom|«abc»|100 %"};
        QTest::newRow("--zoom 1000")
            << none << none << args("--zoom 1000") << StartOptions{300, false, {}}
            << QStringList{"--zoom|1000 %|300 %"};
        QTest::newRow("--zoom 140")
            << none << none << args("--zoom 140") << StartOptions{150, false, {}}
            << QStringList{"--zoom|140 %|150 %"};
        QTest::newRow("--zoom 163")
            << none << none << args("--zoom 163") << StartOptions{175, false, {}}
            << QStringList{"--zoom|163 %|175 %"};
        QTest::newRow("--zoom -50") << none << none << args("--zoom -50")
                                    << StartOptions{100, false, {}} << QStringList{"--zoom|100 %"};
        QTest::newRow("--zoom 0") << none << none << args("--zoom 0")
                                  << StartOptions{100, false, {}} << QStringList{"--zoom|100 %"};
        QTest::newRow("--zoom \"\"") << none << none << QStringList{"--zoom", ""}
                                     << StartOptions{100, false, {}} << QStringList{"--zoom|100 %"};
        QTest::newRow("--zoom without a value")
            << none << none << args("--zoom") << StartOptions{100, false, {}}
            << QStringList{"после --zoom не указано значение"};
        QTest::newRow("--fullscreen --zoom without a value")
            << none << none << args("--fullscreen --zoom") << StartOptions{100, true, {}}
            << QStringList{"после --zoom не указано значение"};
        QTest::newRow("--zoom 150.5")
            << none << none << args("--zoom 150.5") << StartOptions{150, false, {}}
            << QStringList{"--zoom|150.5 %|150 %"};
        QTest::newRow("--zoom 1e20")
            << none << none << args("--zoom 1e20") << StartOptions{300, false, {}}
            << QStringList{"--zoom|1e20 %|300 %"};
        QTest::newRow("--fullscreen")
            << none << none << args("--fullscreen") << StartOptions{100, true, {}} << quiet;
        QTest::newRow("--fullscreen --zoom 250") << none << none << args("--fullscreen --zoom 250")
                                                 << StartOptions{250, true, {}} << quiet;
        const QString unknownBogus =
            QStringLiteral("неизвестный ключ: --bogus (список ключей: --help)");
        QTest::newRow("unknown option")
            << none << none << args("--bogus") << StartOptions{100, false, {}}
            << QStringList{unknownBogus};
        QTest::newRow("unknown short option")
            << none << none << args("-q") << StartOptions{100, false, {}}
            << QStringList{"неизвестный ключ: -q (список ключей: --help)"};
        QTest::newRow("unknown option beside --zoom 150")
            << none << none << args("--bogus --zoom 150") << StartOptions{150, false, {}}
            << QStringList{unknownBogus};
        QTest::newRow("two bad options")
            << none << none << args("--zoom 7 --bogus") << StartOptions{100, false, {}}
            << QStringList{unknownBogus, "--zoom|7 %|100 %"};
        // Qt's own options are QApplication's to take, in either spelling.
        QTest::newRow("Qt's -style, -platform and --reverse beside --zoom 150")
            << none << none
            << args("-style fusion -platform windows:fontengine=freetype --reverse --zoom 150")
            << StartOptions{150, false, {}} << quiet;
        QTest::newRow("Qt's --stylesheet=file beside --fullscreen")
            << none << none << args("--stylesheet=look.qss --fullscreen")
            << StartOptions{100, true, {}} << quiet;

        // The pupil's settings.
        QTest::newRow("user zoom=175, fullscreen=true")
            << QByteArray("[General]\nzoom=175\nfullscreen=true\n") << none << QStringList()
            << StartOptions{175, true, {}} << quiet;
        QTest::newRow("user zoom=250% without a section")
            << QByteArray("zoom=250%\n") << none << QStringList() << StartOptions{250, false, {}}
            << quiet;
        QTest::newRow("user fullscreen=TRUE")
            << QByteArray("fullscreen=TRUE\n") << none << QStringList()
            << StartOptions{100, true, {}} << quiet;
        QTest::newRow("user fullscreen=0") << QByteArray("fullscreen=0\n") << none << QStringList()
                                           << StartOptions{100, false, {}} << quiet;
        QTest::newRow("user zoom=abc")
            << QByteArray("zoom=abc\n") << none << QStringList() << StartOptions{100, false, {}}
            << QStringList{"zoom|«abc»|100 %"};
        QTest::newRow("user zoom=1000")
            << QByteArray("zoom=1000\n") << none << QStringList() << StartOptions{300, false, {}}
            << QStringList{"zoom|1000 %|300 %"};
        QTest::newRow("user fullscreen=maybe")
            << QByteArray("zoom=150\nfullscreen=maybe\n") << none << QStringList()
            << StartOptions{150, false, {}} << QStringList{"fullscreen|«maybe»"};
        QTest::newRow("user zoom=abc and fullscreen=maybe")
            << QByteArray("zoom=abc\nfullscreen=maybe\n") << none << QStringList()
            << StartOptions{100, false, {}} << QStringList{"zoom|«abc»", "fullscreen|«maybe»"};
        QTest::newRow("user zoom with a line break in it")
            << QByteArray("zoom=\"1\\n50\"\n") << none << QStringList()
            << StartOptions{100, false, {}} << QStringList{"zoom|100 %"};
        QTest::newRow("damaged user file") << kDamaged << none << QStringList()
                                           << StartOptions{100, false, {}} << QStringList{"{user}"};

        // The teacher's system-wide settings, under the pupil's.
        QTest::newRow("system zoom=200, no user file")
            << none << QByteArray("zoom=200\n") << QStringList() << StartOptions{200, false, {}}
            << quiet;
        QTest::newRow("user 150 over system 200")
            << QByteArray("zoom=150\n") << QByteArray("zoom=200\n") << QStringList()
            << StartOptions{150, false, {}} << quiet;
        QTest::newRow("user fullscreen=false over system fullscreen=true")
            << QByteArray("fullscreen=false\n") << QByteArray("zoom=200\nfullscreen=true\n")
            << QStringList() << StartOptions{200, false, {}} << quiet;
        QTest::newRow("system fullscreen, user zoom")
            << QByteArray("zoom=125\n") << QByteArray("fullscreen=true\n") << QStringList()
            << StartOptions{125, true, {}} << quiet;
        QTest::newRow("command line over user and system")
            << QByteArray("zoom=150\n") << QByteArray("zoom=200\n") << args("--zoom 250")
            << StartOptions{250, false, {}} << quiet;
        QTest::newRow("--fullscreen over user fullscreen=false")
            << QByteArray("fullscreen=false\n") << none << args("--fullscreen")
            << StartOptions{100, true, {}} << quiet;
        QTest::newRow("bad command line over a good user zoom")
            << QByteArray("zoom=150\n") << none << args("--zoom abc")
            << StartOptions{100, false, {}} << QStringList{"--zoom|«abc»|100 %"};
        QTest::newRow("good command line over a bad user zoom")
            << QByteArray("zoom=abc\n") << none << args("--zoom 200")
            << StartOptions{200, false, {}} << QStringList{"zoom|«abc»"};
        QTest::newRow("system zoom=abc")
            << none << QByteArray("zoom=abc\n") << QStringList() << StartOptions{100, false, {}}
            << QStringList{"zoom|«abc»|100 %"};
        QTest::newRow("damaged user file over system zoom=200")
            << kDamaged << QByteArray("zoom=200\n") << QStringList() << StartOptions{200, false, {}}
            << QStringList{"{user}"};
        QTest::newRow("damaged system file under user zoom=150")
            << QByteArray("zoom=150\n") << kDamaged << QStringList() << StartOptions{150, false, {}}
            << QStringList{"{system}"};

        // What a teacher sets for the class.
        QTest::newRow("--ask-name")
            << none << none << args("--ask-name") << forClass(true, false) << quiet;
        QTest::newRow("--shuffle")
            << none << none << args("--shuffle") << forClass(false, true) << quiet;
        QTest::newRow("--class") << none << none << args("--class") << forClass(false, false, true)
                                 << quiet;
        QTest::newRow("user askName=true, order=shuffled")
            << QByteArray("[class]\naskName=true\n[test]\norder=shuffled\n") << none
            << QStringList() << forClass(true, true) << quiet;
        QTest::newRow("system askName=true, order=Shuffled")
            << none << QByteArray("[class]\naskName=true\n[test]\norder=Shuffled\n")
            << QStringList() << forClass(true, true) << quiet;
        QTest::newRow("user askName=false, order=fixed over system")
            << QByteArray("[class]\naskName=false\n[test]\norder=fixed\n")
            << QByteArray("[class]\naskName=true\n[test]\norder=shuffled\n") << QStringList()
            << forClass(false, false) << quiet;
        QTest::newRow("--ask-name --shuffle over user settings off")
            << QByteArray("[class]\naskName=false\n[test]\norder=fixed\n") << none
            << args("--ask-name --shuffle") << forClass(true, true) << quiet;

        // A lock in the system-wide file: its askName and order alone count.
        const QByteArray lockedOff("[journal]\nlocked=true\n[class]\naskName=false\n");
        const QByteArray lockedOn(
            "[journal]\nlocked=true\n[class]\naskName=true\n[test]\norder=shuffled\n");
        QTest::newRow("locked: the user's askName and order have no effect")
            << QByteArray("[class]\naskName=true\n[test]\norder=shuffled\n") << lockedOff
            << QStringList() << forClass(false, false) << quiet;
        QTest::newRow("locked: --ask-name --shuffle have no effect, said once")
            << none << lockedOff << args("--ask-name --shuffle") << forClass(false, false)
            << QStringList{kLocked};
        QTest::newRow("locked on: the user's settings off have no effect")
            << QByteArray("[class]\naskName=false\n[test]\norder=fixed\n") << lockedOn
            << QStringList() << forClass(true, true) << quiet;
        QTest::newRow("locked: --class and --zoom still count")
            << QByteArray("zoom=125\n") << lockedOn << args("--class --fullscreen") <<
            [] {
                StartOptions expected = forClass(true, true, true);
                expected.zoomPercent = 125;
                expected.fullScreen = true;
                return expected;
            }()
            << quiet;
        // The lesson: the pupil's own from the settings and the command line; a lock's apart,
        // to stand over the class's lesson file at each Start.
        auto lesson = [](std::vector<int> laws, int minutes, std::optional<int> locked = {}) {
            StartOptions expected;
            expected.lesson.laws = std::move(laws);
            expected.lesson.minutes = minutes;
            expected.lockedLesson.minutes = locked;
            return expected;
        };
        QTest::newRow("--laws 1-5 --minutes 20") << none << none << args("--laws 1-5 --minutes 20")
                                                 << lesson({1, 2, 3, 4, 5}, 20) << quiet;
        QTest::newRow("--minutes over the user's laws and minutes")
            << QByteArray("[test]\nlaws=\"1-2,15\"\nminutes=20\n") << none << args("--minutes 5")
            << lesson({1, 2, 15}, 5) << quiet;
        QTest::newRow("--laws 0 --minutes 601")
            << none << none << args("--laws 0 --minutes 601") << lesson({}, 0)
            << QStringList{"--laws|«0»", "--minutes|«601»"};
        QTest::newRow("locked minutes kept apart from --minutes")
            << none << QByteArray("[journal]\nlocked=true\n[test]\nminutes=10\n")
            << args("--minutes 5") << lesson({}, 5, 10) << quiet;
        QTest::newRow("locked in the user's file: no lock")
            << QByteArray("[journal]\nlocked=true\n") << none << args("--ask-name --shuffle")
            << forClass(true, true) << quiet;
    }
    void optionsFromSettingsAndCommandLine() {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, system);
        QFETCH(QStringList, arguments);
        QFETCH(StartOptions, expected);
        QFETCH(QStringList, messages);
        SettingsFiles::write(files.userFile, user);
        SettingsFiles::write(files.systemFile, system);

        const OptionsReading reading = readOptions(arguments);

        QVERIFY(reading.options);
        QCOMPARE(reading.options->zoomPercent, expected.zoomPercent);
        QCOMPARE(reading.options->fullScreen, expected.fullScreen);
        QCOMPARE(reading.options->askName, expected.askName);
        QCOMPARE(reading.options->shuffledTests, expected.shuffledTests);
        QCOMPARE(reading.options->classView, expected.classView);
        QCOMPARE(reading.options->lesson.laws, expected.lesson.laws);
        QCOMPARE(reading.options->lesson.minutes, expected.lesson.minutes);
        QCOMPARE(reading.options->lockedLesson.minutes, expected.lockedLesson.minutes);
        QVERIFY(reading.out.isEmpty());
        QVERIFY(reading.errors.isEmpty() || reading.errors.endsWith('\n'));
        const QStringList lines = linesOf(reading.errors);
        if (lines.size() != messages.size()) qInfo("%s", qPrintable(reading.errors));
        QCOMPARE(lines.size(), messages.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QVERIFY2(lines[i].startsWith(QStringLiteral("zakony-logiki: ")), qPrintable(lines[i]));
            for (QString fragment : messages[i].split('|')) {
                fragment.replace(QStringLiteral("{user}"), files.userFile);
                fragment.replace(QStringLiteral("{system}"), files.systemFile);
                QVERIFY2(lines[i].contains(fragment),
                         qPrintable(QStringLiteral("«%1» not in: %2").arg(fragment, lines[i])));
            }
        }
        // Reading changes no file.
        QCOMPARE(QFileInfo::exists(files.userFile), user != kNoFile);
        QCOMPARE(QFileInfo::exists(files.systemFile), system != kNoFile);
    }

    // --help and --version print to the output and open no window, whatever else is asked.
    void helpAndVersionOnlyPrint_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("printed");
        const QStringList help{"--zoom",    "PERCENT", "--fullscreen", "--help",     "--version",
                               "FILE.xlsx", ".xlsx",   "--class",      "--ask-name", "--shuffle"};
        QTest::newRow("--help") << QStringList{"--help"} << help;
        QTest::newRow("-h") << QStringList{"-h"} << help;
        QTest::newRow("--help beside --zoom 150") << QStringList{"--zoom", "150", "--help"} << help;
        QTest::newRow("--version") << QStringList{"--version"} << QStringList{"9.8.7"};
        QTest::newRow("-v") << QStringList{"-v"} << QStringList{"Законы логики 9.8.7"};
    }
    void helpAndVersionOnlyPrint() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, printed);
        const OptionsReading reading = readOptions(arguments);
        QVERIFY(!reading.options);
        for (const QString& text : printed)
            QVERIFY2(reading.out.contains(text), qPrintable(reading.out));
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors));
    }

    // The pupil's choice goes into the pupil's file, never the teacher's, and is read back.
    void rememberedChoiceIsReadBack_data() {
        QTest::addColumn<StartOptions>("chosen");
        QTest::newRow("175 %") << StartOptions{175, false, {}};
        QTest::newRow("100 %, full screen") << StartOptions{100, true, {}};
        QTest::newRow("300 %, full screen") << StartOptions{300, true, {}};
    }
    void rememberedChoiceIsReadBack() {
        QFETCH(StartOptions, chosen);
        const QByteArray teacher("zoom=250\nfullscreen=true\n");
        SettingsFiles::write(files.systemFile, teacher);
        {
            const auto settings = programSettings();
            rememberDisplay(*settings, chosen);
        }
        QVERIFY(QFileInfo::exists(files.userFile));
        QFile system(files.systemFile);
        QVERIFY(system.open(QIODevice::ReadOnly));
        QCOMPARE(system.readAll(), teacher);
        const OptionsReading reading = readOptions({});
        QVERIFY(reading.options);
        QCOMPARE(*reading.options, chosen);
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors));
    }
};

QTEST_GUILESS_MAIN(DisplayOptionsTest)
#include "tst_display_options.moc"
