#include "app/form1_window.h"
#include "app/window_font.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Законы логики"));
    installWindowFont();
    Form1Window window;
    // Centred on the screen at start.
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
