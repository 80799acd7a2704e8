#include "app/options.h"

#include "app/platform.h"
#include "core/zoom.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr char kZoomKey[] = "zoom";
constexpr char kFullScreenKey[] = "fullscreen";
constexpr char kProgram[] = "zakony-logiki: ";
const QStringList kHelpNames{"h", "help"};
const QStringList kVersionNames{"v", "version"};
const QStringList kExportNames{"export-journal"};
constexpr char kJournalFolderKey[] = "journal/folder";
constexpr char kJournalOnKey[] = "journal/enabled";
constexpr char kJournalLockedKey[] = "journal/locked";
constexpr char kAskNameKey[] = "class/askName";
constexpr char kTestOrderKey[] = "test/order";

// Qt's own options, which QApplication takes from the command line (-style fusion,
// -platform windows:fontengine=freetype, …): let through, not in the help.
QList<QCommandLineOption> toolkitOptions() {
    QList<QCommandLineOption> options;
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "style",
                             "stylesheet", "display", "geometry", "qmljsdebugger"}) {
        options << QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("X"));
        options.back().setFlags(QCommandLineOption::HiddenFromHelp);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        options << QCommandLineOption(QString::fromLatin1(name));
        options.back().setFlags(QCommandLineOption::HiddenFromHelp);
    }
    return options;
}

// "~" and "~/…" in a folder written in a settings file: the user's home, as a shell reads it.
QString expandedHome(QString folder) {
    if (folder == "~" || folder.startsWith("~/")) folder.replace(0, 1, QDir::homePath());
    return folder;
}

// Qt's own parse errors are in English; the program speaks Russian.
void tellParseProblem(const QCommandLineParser& parser, const QStringList& arguments,
                      const QList<QCommandLineOption>& withValues, QTextStream& errors) {
    for (const QString& name : parser.unknownOptionNames())
        errors << kProgram << "неизвестный ключ: " << (name.size() == 1 ? "-" : "--") << name
               << " (список ключей: --help)" << Qt::endl;
    if (!parser.unknownOptionNames().isEmpty()) return;
    for (const QCommandLineOption& option : withValues)
        if (arguments.constLast() == "--" + option.names().constFirst()) {
            errors << kProgram << "после --" << option.names().constFirst()
                   << " не указано значение" << Qt::endl;
            return;
        }
    errors << kProgram << "командная строка не разобрана: " << arguments.mid(1).join(' ')
           << Qt::endl;
}

int zoomFrom(const QString& text, const QString& where, QTextStream& errors) {
    const ZoomReading reading = readZoom(text.toStdString());
    if (!reading.problem.empty())
        errors << kProgram << where << ": " << QString::fromStdString(reading.problem) << Qt::endl;
    return reading.percent;
}

std::optional<bool> yesOrNo(const QVariant& value) {
    const QString text = value.toString().trimmed().toLower();
    if (text == "true" || text == "1" || text == "yes") return true;
    if (text == "false" || text == "0" || text == "no") return false;
    return std::nullopt;
}

bool fullScreenFrom(const QVariant& value, QTextStream& errors) {
    if (const auto yes = yesOrNo(value)) return *yes;
    errors << kProgram << "fullscreen в настройках: «" << value.toString()
           << "» — не true и не false; окно не во весь экран" << Qt::endl;
    return false;
}

bool journalOnFrom(const QVariant& value, QTextStream& errors) {
    if (const auto yes = yesOrNo(value)) return *yes;
    errors << kProgram << "journal/enabled в настройках: «" << value.toString()
           << "» — не true и не false; журнал ведётся" << Qt::endl;
    return true;
}

void tell(const QStringList& problems, QTextStream& errors) {
    for (const QString& problem : problems)
        errors << kProgram << problem << Qt::endl;
}

// --laws LIST and --minutes N as test/laws and test/minutes read them; a bad one told and left.
void readLessonOptions(const QString& laws, const QString& minutes, Lesson& lesson,
                       QTextStream& errors) {
    if (!laws.isNull()) {
        if (const auto list = parseLawList(laws.toStdString()))
            lesson.laws = *list;
        else
            errors << kProgram << "--laws: «" << laws
                   << "» — не список законов от 1 до 23, как 1-12,15; не учтено" << Qt::endl;
    }
    if (!minutes.isNull()) {
        if (const auto value = parseMinutes(minutes.toStdString()))
            lesson.minutes = *value;
        else
            errors << kProgram << "--minutes: «" << minutes << "» — не число минут от 0 до "
                   << kMaxMinutes << "; не учтено" << Qt::endl;
    }
}

} // namespace

std::unique_ptr<QSettings> programSettings() {
    return std::make_unique<QSettings>(settingsFormat(), QSettings::UserScope,
                                       QStringLiteral("zakony-logiki"),
                                       QStringLiteral("zakony-logiki"));
}

std::optional<StartOptions> readStartOptions(const QStringList& arguments, QSettings& settings,
                                             QTextStream& out, QTextStream& errors) {
    StartOptions options;
    if (settings.status() != QSettings::NoError) {
        // The user's file or the system-wide one under it: each read again on its own, from a
        // copy (Qt keeps what it has read of a file by its name), to name the damaged one.
        const QString user = settings.fileName();
        const QString system = systemSettingsPath();
        QStringList damaged;
        const QTemporaryDir copies;
        for (const auto& [path, copyName] :
             {std::pair{system, "system.conf"}, {user, "user.conf"}}) {
            const QString copy = copies.filePath(QString::fromLatin1(copyName));
            if (QFile::copy(path, copy) &&
                QSettings(copy, settings.format()).status() != QSettings::NoError)
                damaged << path;
        }
        if (damaged.isEmpty()) damaged << user;
        for (const QString& path : damaged)
            errors << kProgram << "файл настроек " << path
                   << " повреждён; что из него не прочитано, взято по умолчанию" << Qt::endl;
    }
    if (settings.contains(kZoomKey))
        options.zoomPercent = zoomFrom(settings.value(kZoomKey).toString(),
                                       QStringLiteral("zoom в настройках"), errors);
    if (settings.contains(kFullScreenKey))
        options.fullScreen = fullScreenFrom(settings.value(kFullScreenKey), errors);
    if (settings.contains(kJournalOnKey))
        options.journal.on = journalOnFrom(settings.value(kJournalOnKey), errors);
    options.journal.folder = expandedHome(settings.value(kJournalFolderKey).toString().trimmed());
    options.askName = yesOrNo(settings.value(kAskNameKey)).value_or(false);
    options.shuffledTests =
        settings.value(kTestOrderKey).toString().trimmed().toLower() == "shuffled";
    QStringList problems;
    options.lesson = withSettings(
        options.lesson, readLessonSettings(settings, QStringLiteral("в настройках"), problems));
    // A teacher's lock in the system-wide file: the journal and the class's settings come from
    // that file alone, whatever the pupil's own file or command line says. It is read where the
    // program was built to look, never where an environment variable the pupil sets points.
    const QSettings system(systemSettingsPath(), settings.format());
    const bool locked = yesOrNo(system.value(kJournalLockedKey)).value_or(false);
    if (locked) {
        options.journal.on = yesOrNo(system.value(kJournalOnKey)).value_or(true);
        options.journal.folder = expandedHome(system.value(kJournalFolderKey).toString().trimmed());
        options.askName = yesOrNo(system.value(kAskNameKey)).value_or(false);
        options.shuffledTests =
            system.value(kTestOrderKey).toString().trimmed().toLower() == "shuffled";
        options.lockedLesson =
            readLessonSettings(system, QStringLiteral("в файле ") + system.fileName(), problems);
    }
    tell(problems, errors);
    options.journal.configured = !options.journal.folder.isEmpty();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Тренажёр и тест по 23 законам алгебры логики.\n"
                       "A trainer and test on the 23 laws of Boolean algebra."));
    const QCommandLineOption help(kHelpNames, QStringLiteral("Эта справка / this help."));
    const QCommandLineOption version(kVersionNames, QStringLiteral("Версия / version."));
    const QCommandLineOption zoom(
        "zoom",
        QStringLiteral("Масштаб окна в процентах: 100, 125, 150, 175, 200, 250 или 300 / the "
                       "window's zoom in per cent."),
        QStringLiteral("PERCENT"));
    const QCommandLineOption fullScreen(
        "fullscreen", QStringLiteral("Во весь экран (F11 переключает) / full screen (F11)."));
    const QCommandLineOption journal(
        "journal",
        QStringLiteral("Папка журнала прохождений, например общая папка класса / the folder of "
                       "the journal of runs, e.g. a class's shared folder."),
        QStringLiteral("DIR"));
    const QCommandLineOption noJournal("no-journal",
                                       QStringLiteral("Не вести журнал / keep no journal."));
    const QCommandLineOption exportJournal(
        kExportNames,
        QStringLiteral("Записать прохождения из журнала в CSV или, если имя кончается на .xlsx, "
                       "в книгу Excel, и выйти / write the journal's runs to a CSV file, or to an "
                       "Excel workbook if the name ends in .xlsx, and exit."),
        QStringLiteral("FILE.csv|FILE.xlsx"));
    const QCommandLineOption askName(
        "ask-name", QStringLiteral("Спрашивать фамилию и имя ученика при первом Старте / ask "
                                   "the pupil's name at the first Start."));
    const QCommandLineOption shuffle(
        "shuffle", QStringLiteral("Свой порядок законов в каждом тесте / every test run asks "
                                  "the laws in an order of its own."));
    const QCommandLineOption classView(
        "class", QStringLiteral("Только окно «Класс» для учителя / the class view alone, for "
                                "the teacher's machine."));
    const QCommandLineOption laws(
        "laws",
        QStringLiteral("Только эти законы, например 1-12,15 / ask only these laws, e.g. 1-12,15."),
        QStringLiteral("LIST"));
    const QCommandLineOption minutes(
        "minutes",
        QStringLiteral("Время на тест в минутах; 0 — без ограничения / a test's time limit in "
                       "minutes; 0: none."),
        QStringLiteral("N"));
    parser.addOptions({help, version, zoom, fullScreen, journal, noJournal, exportJournal, askName,
                       shuffle, laws, minutes, classView});
    parser.addOptions(toolkitOptions());
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions); // -style as Qt
    const bool parsed = parser.parse(arguments);
    if (!parsed) // and start all the same
        tellParseProblem(parser, arguments, {zoom, journal, exportJournal, laws, minutes}, errors);
    if (parser.isSet(help)) {
        out << parser.helpText();
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return std::nullopt;
    }
    // "--zoom" with nothing after it is already told as a bad option.
    if (parser.isSet(zoom) && (parsed || !parser.value(zoom).isEmpty()))
        options.zoomPercent = zoomFrom(parser.value(zoom), QStringLiteral("--zoom"), errors);
    if (parser.isSet(fullScreen)) options.fullScreen = true;
    // The lock binds what a pupil's window writes: the class view and the export read the
    // folder the teacher names.
    const bool reads = parser.isSet(classView) || parser.isSet(exportJournal);
    if (locked && ((parser.isSet(journal) && !reads) || parser.isSet(noJournal) ||
                   parser.isSet(askName) || parser.isSet(shuffle)))
        errors << kProgram << "журнал и настройки класса закреплены учителем (" << system.fileName()
               << "); ключи " << (reads ? "" : "--journal, ")
               << "--no-journal, --ask-name и --shuffle не действуют" << Qt::endl;
    if (parser.isSet(classView)) options.classView = true;
    // The pupil's own lesson, which the class's lesson file and a lock stand over.
    readLessonOptions(parser.isSet(laws) ? parser.value(laws) : QString(),
                      parser.isSet(minutes) ? parser.value(minutes) : QString(), options.lesson,
                      errors);
    if (parser.isSet(exportJournal)) options.journal.exportTo = parser.value(exportJournal);
    if (locked && reads && parser.isSet(journal) && !parser.value(journal).isEmpty()) {
        options.journal.folder = parser.value(journal);
        options.journal.configured = true;
    }
    if (!locked) {
        if (parser.isSet(askName)) options.askName = true;
        if (parser.isSet(shuffle)) options.shuffledTests = true;
    }
    options.lesson.shuffled = options.shuffledTests;
    if (locked) return options;
    if (parser.isSet(journal) && !parser.value(journal).isEmpty()) {
        options.journal.folder = parser.value(journal);
        options.journal.configured = true;
        options.journal.on = true;
    } else if (parser.isSet(journal) && parsed) {
        errors << kProgram << "--journal: папка не указана; журнал в папке "
               << (options.journal.folder.isEmpty() ? QStringLiteral("по умолчанию")
                                                    : options.journal.folder)
               << Qt::endl;
    }
    if (parser.isSet(noJournal)) options.journal.on = false;
    return options;
}

bool onlyPrintsText(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        for (const QStringList& names : {kHelpNames, kVersionNames, kExportNames})
            for (const QString& name : names)
                if (argument == (name.size() == 1 ? "-" : "--") + name ||
                    (name.size() > 1 && argument.startsWith("--" + name + '=')))
                    return true;
    return false;
}

void rememberDisplay(QSettings& settings, const StartOptions& options) {
    settings.setValue(kZoomKey, options.zoomPercent);
    settings.setValue(kFullScreenKey, options.fullScreen);
    settings.sync();
}
