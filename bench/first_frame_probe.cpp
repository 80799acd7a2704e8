// Linked into the benchmark copies of a program: once the first top-level window has been
// painted, prints one line and ends the process at once, so that the parent can time the whole
// process from exec to its first frame and read its peak memory.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace {

class FirstFrameProbe : public QObject {
  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (!seen && event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow()) {
            seen = true;
            // Runs after the whole paint pass, children and flush included.
            QTimer::singleShot(0, [] {
                std::fputs("first-frame\n", stdout);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }

  private:
    bool seen = false;
};

void installFirstFrameProbe() {
    QCoreApplication::instance()->installEventFilter(new FirstFrameProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstFrameProbe)
