#include "app/classroom.h"
#include "app/journal_export.h"
#include "app/options.h"
#include "app/platform.h"
#include "app/quit_signals.h"
#include "journal/journal_defaults.h"
#include "journal/journal_writer.h"
#include "look/window_font.h"
#include "pupil/main_window.h"
#include "teacher/class_view.h"
#include "teacher/teacher_window.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

namespace {

void nameTheApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Законы логики"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZL_VERSION));
}

// The folder named by the command line or the settings, else the user's own.
QString journalFolder(const JournalOptions& journal) {
    return journal.folder.isEmpty() ? defaultJournalFolder() : journal.folder;
}

} // namespace

int main(int argc, char* argv[]) {
    const QStringList arguments = commandLine(argc, argv);
    QTextStream out(stdout), errors(stderr);
    const auto settings = programSettings();
    if (onlyPrintsText(arguments)) {
        QCoreApplication app(argc, argv);
        nameTheApplication();
        const auto options = readStartOptions(arguments, *settings, out, errors);
        if (!options || options->journal.exportTo.isEmpty()) return 0;
        return exportJournal(journalFolder(options->journal), options->journal.exportTo, out,
                             errors);
    }
    QApplication app(argc, argv);
    nameTheApplication();
    // Lets docks and the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zakonylogiki.ZakonyLogiki"));
    // Every window's icon, the teacher's and the dialogs' too: the program's own.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.svg")));
    installWindowFont();
    if (!installToolkitRussian())
        errors << "zakony-logiki: переводы Qt не найдены (пакет qt6-translations-l10n); "
               << "диалоги выбора файла говорят по-английски" << Qt::endl;
    const StartOptions options =
        readStartOptions(arguments, *settings, out, errors).value_or(StartOptions{});
    if (options.classView) { // the teacher's machine: the class view alone
        std::unique_ptr<ClassView> classView(
            makeClassView(nullptr, journalFolder(options.journal), options.zoomPercent / 100.0));
        classView->setAttribute(Qt::WA_QuitOnClose);
        // Ctrl+Plus, Ctrl+Minus and Ctrl+0 as in the pupil's window.
        zoomByKeys(classView.get(), options.zoomPercent,
                   [view = classView.get()](double factor) { view->setFactor(factor); });
        closeOnQuitSignals(classView.get());
        classView->show();
        return QApplication::exec();
    }
    MainWindow window;
    closeOnQuitSignals(&window);
    auto* classroom = new Classroom(&window);
    if (options.journal.on)
        classroom->setJournal(std::make_unique<JournalWriter>(
            journalFolder(options.journal), JournalWriter::reportOnStderr,
            options.journal.configured ? JournalFolderOrigin::configured
                                       : JournalFolderOrigin::perUserDefault));
    window.setAskName(options.askName);
    classroom->setLesson(options.lesson, options.lockedLesson);
    window.setZoom(options.zoomPercent);
    // Centred on the screen at start.
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    const QSize asked = window.size();
    window.show(); // a zoom too large with the window's frame steps down here
    if (window.size() != asked) window.move(screen.center() - window.rect().center());
    if (options.fullScreen) window.setFullScreenForm(true);
    // Only what the pupil changes from here on is remembered.
    QObject::connect(&window, &MainWindow::displayChanged, [&](int zoom, bool fullScreen) {
        StartOptions chosen;
        chosen.zoomPercent = zoom;
        chosen.fullScreen = fullScreen;
        rememberDisplay(*settings, chosen);
    });
    return QApplication::exec();
}
