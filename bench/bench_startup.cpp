// How long the window takes from construction to its first frame, beside a bare window of the
// same size measured in the same run. Prints figures; asserts nothing about time.
#include "app/form1_window.h"
#include "app/window_font.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double firstFrameMs(const std::function<QWidget*()>& make) {
    QElapsedTimer timer;
    timer.start();
    QWidget* window = make();
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) std::fprintf(stderr, "window not exposed\n");
    (void)window->grab(); // paints every control once
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    delete window;
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installWindowFont();
    auto bare = [] {
        auto* w = new QWidget;
        w->setFixedSize(643, 405);
        return w;
    };
    auto trainer = [] { return static_cast<QWidget*>(new Form1Window); };

    const double firstBare = firstFrameMs(bare);
    const double firstTrainer = firstFrameMs(trainer); // draws and caches every picture
    std::vector<double> bares, trainers;
    for (int i = 0; i < 15; ++i) {
        bares.push_back(firstFrameMs(bare));
        trainers.push_back(firstFrameMs(trainer));
    }
    std::printf("first frame, first window:  bare %.1f ms, trainer %.1f ms\n", firstBare,
                firstTrainer);
    std::printf("first frame, median of 15:  bare %.1f ms, trainer %.1f ms (%.1fx the bare one)\n",
                median(bares), median(trainers), median(trainers) / median(bares));
    return 0;
}
