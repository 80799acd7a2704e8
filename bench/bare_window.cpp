// The baselines for start-up: a bare Qt window of the trainer's size, shown the same way; built
// with WITH_ONE_LINE it also shows one line of text, so that the font system starts up too.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(643, 405);
#ifdef WITH_ONE_LINE
    QLabel line(QStringLiteral("Законы логики"), &window);
    line.move(8, 8);
#endif
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
