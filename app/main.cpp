#include "window/main_window.h"
#include "window/window_font.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Законы логики"));
    // Lets docks and the desktop match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zakonylogiki.ZakonyLogiki"));
    installWindowFont();
    MainWindow window;
    // Centred on the screen at start.
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
