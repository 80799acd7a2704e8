// Whole-process start-up: the trainer, a bare Qt window of the same size and that window with one
// line of text, each started as a process many times, in turn. Time runs from just before exec to
// the line the first-frame probe prints; peak memory is the process's maximum resident set. Prints
// figures only.
#include "bench_stats.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Launch {
    double ms = 0;      // exec to first frame
    double peakMiB = 0; // maximum resident set
    bool ok = false;
};

Launch launch(const char* program) {
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Launch result;
    if (spawned != 0) {
        close(out[0]);
        return result;
    }
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.ms = std::chrono::duration<double, std::milli>(end - start).count();
    result.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // KiB on Linux
    result.ok = line == "first-frame" && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

} // namespace

struct Series {
    const char* name;
    const char* program;
    std::vector<double> ms, peakMiB;
};

int main(int argc, char* argv[]) {
    const int runs = bench::runsFromArgs(argc, argv, 41);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::vector<Series> all{{"bare window", BARE_WINDOW_PROGRAM, {}, {}},
                            {"one line", ONE_LINE_PROGRAM, {}, {}},
                            {"trainer", TRAINER_PROGRAM, {}, {}}};
    std::vector<double> ratios; // trainer / bare window, run by run
    for (Series& s : all)
        (void)launch(s.program); // warms the disk cache
    for (int i = 0; i < runs; ++i) {
        for (Series& s : all) {
            const Launch run = launch(s.program);
            if (!run.ok) {
                std::fprintf(stderr, "%s did not report its first frame\n", s.program);
                return 1;
            }
            s.ms.push_back(run.ms);
            s.peakMiB.push_back(run.peakMiB);
        }
        ratios.push_back(all[2].ms.back() / all[0].ms.back());
    }
    std::printf("start-up, exec to first frame, %d runs each, in turn (offscreen):\n", runs);
    for (const Series& s : all)
        std::printf("  %-12s median %6.1f ms  (min %.1f, max %.1f)   peak memory %5.1f MiB\n",
                    s.name, bench::median(s.ms), bench::minimum(s.ms), bench::maximum(s.ms),
                    bench::median(s.peakMiB));
    const double bareMs = bench::median(all[0].ms), lineMs = bench::median(all[1].ms);
    const double trainerMs = bench::median(all[2].ms);
    std::printf("  trainer / bare window: median of run-by-run ratios %.2f, of medians %.2f"
                "   (goal: at most 1.25)\n",
                bench::median(ratios), trainerMs / bareMs);
    std::printf("  trainer / one line:    ratio of medians %.2f"
                " (a window with text pays for the font system too)\n",
                trainerMs / lineMs);
    std::printf("  peak memory above the bare window: %.1f MiB   (goal: at most 10 MiB)\n",
                bench::median(all[2].peakMiB) - bench::median(all[0].peakMiB));
    return 0;
}
