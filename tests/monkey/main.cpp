// The monkey test: the real program on an X display, hit by thousands of random real clicks,
// drags and keys, must neither crash nor hang, and must still work afterwards.
//   monkey_test PROGRAM
// MONKEY_SEED, MONKEY_ACTIONS and MONKEY_SECONDS replay or resize a run; MONKEY_VERBOSE=1
// prints every action as it is sent.
#include "monkey_session.h"

#include <QCoreApplication>
#include <cstdio>

#ifndef MONKEY_SCREENSHOT_DIR
#error "MONKEY_SCREENSHOT_DIR must name the folder for the screenshots"
#endif

namespace {

constexpr std::uint32_t kDefaultSeed = 20050206;
constexpr int kDefaultActions = 3000;
constexpr int kDefaultSeconds = 90;

bool readSetting(const char* name, qulonglong fallback, qulonglong max, qulonglong& value) {
    const QString text = qEnvironmentVariable(name);
    if (text.isEmpty()) {
        value = fallback;
        return true;
    }
    bool ok = false;
    value = text.toULongLong(&ok, 0);
    if (ok && value <= max) return true;
    std::fprintf(stderr, "%s=%s: not a number up to %llu\n", name, qPrintable(text), max);
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    qulonglong seed = 0, actions = 0, seconds = 0;
    if (!readSetting("MONKEY_SEED", kDefaultSeed, 0xFFFFFFFFu, seed) ||
        !readSetting("MONKEY_ACTIONS", kDefaultActions, 1000000, actions) ||
        !readSetting("MONKEY_SECONDS", kDefaultSeconds, 3600, seconds))
        return 2;
    std::printf("monkey: seed %llu (MONKEY_SEED), up to %llu actions (MONKEY_ACTIONS) in %llu s "
                "(MONKEY_SECONDS)\n",
                seed, actions, seconds);
    std::fflush(stdout);

    MonkeySettings settings;
    settings.program = QString::fromLocal8Bit(argv[1]);
    settings.seed = static_cast<std::uint32_t>(seed);
    settings.actions = static_cast<int>(actions);
    settings.seconds = static_cast<int>(seconds);
    settings.verbose = !qEnvironmentVariableIsEmpty("MONKEY_VERBOSE");
    settings.screenshots.setPath(QStringLiteral(MONKEY_SCREENSHOT_DIR));
    if (!settings.screenshots.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", MONKEY_SCREENSHOT_DIR);
        return 2;
    }
    MonkeySession session(std::move(settings));
    const bool ok = session.run();
    std::printf("monkey: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
