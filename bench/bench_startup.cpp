// Whole-process start-up: the trainer, a bare Qt window of the same size and that window with one
// line of text, each started as a process many times, in turn; then the trainer at 200 % (--zoom
// 200) beside the bare window drawn at twice the scale, the same pixels on the screen. Time runs
// from just before exec to the line the first-frame probe prints; peak memory is the process's
// maximum resident set. The processes get a settings folder of their own, so that no remembered
// zoom changes what is measured, and on the offscreen platform a 1920 × 1080 screen, so that 200 %
// fits. Prints figures only.
#include "bench_stats.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

Launch launch(const char* program, const std::vector<std::string>& args, char* const* env) {
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv.data(), env);
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

// The environment of the spawned processes: this one's, with settings and data folders of their
// own (the journal is on, as in class, but never the user's), the offscreen platform given a
// screen the 200 % window fits on, and `extra` ("NAME=value") on top.
class Environment {
  public:
    Environment(const std::filesystem::path& folder, const std::vector<std::string>& extra) {
        std::vector<std::string> own{"XDG_CONFIG_HOME=" + (folder / "config").string(),
                                     "XDG_CONFIG_DIRS=" + (folder / "system").string(),
                                     "XDG_DATA_HOME=" + (folder / "data").string()};
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (!platform || std::string(platform) == "offscreen")
            own.push_back("QT_QPA_PLATFORM=offscreen:configfile=" +
                          (folder / "screen.json").string());
        own.insert(own.end(), extra.begin(), extra.end());
        auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (std::none_of(own.begin(), own.end(),
                             [&](const std::string& o) { return nameOf(o) == nameOf(entry); }))
                entries.push_back(entry);
        }
        entries.insert(entries.end(), own.begin(), own.end());
        for (std::string& entry : entries)
            pointers.push_back(entry.data());
        pointers.push_back(nullptr);
    }
    char* const* get() const { return pointers.data(); }

  private:
    std::vector<std::string> entries;
    std::vector<char*> pointers;
};

} // namespace

struct Series {
    const char* name;
    const char* program;
    std::vector<std::string> args;
    std::vector<std::string> env; // on top of the shared environment
    std::vector<double> ms, peakMiB;
};

int main(int argc, char* argv[]) {
    const int runs = bench::runsFromArgs(argc, argv, 41);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folderTemplate[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(folderTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = folderTemplate;
    std::ofstream(folder / "screen.json")
        << R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
        << R"( "logicalDpiX": 96, "logicalDpiY": 96}]})" << '\n';

    enum { bare, oneLine, trainer, bareTwice, trainer200 };
    std::vector<Series> all{
        {"bare window", BARE_WINDOW_PROGRAM, {}, {}, {}, {}},
        {"one line", ONE_LINE_PROGRAM, {}, {}, {}, {}},
        {"trainer", TRAINER_PROGRAM, {}, {}, {}, {}},
        {"bare, 2x", BARE_WINDOW_PROGRAM, {}, {"QT_SCALE_FACTOR=2"}, {}, {}},
        {"trainer 200%", TRAINER_PROGRAM, {"--zoom", "200"}, {}, {}, {}},
    };
    std::vector<Environment> envs;
    for (const Series& s : all)
        envs.emplace_back(folder, s.env);
    std::vector<double> ratios, ratios200; // trainer / bare window, run by run, at 100 and 200 %
    for (std::size_t i = 0; i < all.size(); ++i)
        (void)launch(all[i].program, all[i].args, envs[i].get()); // warms the disk cache
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            Series& s = all[i];
            const Launch one = launch(s.program, s.args, envs[i].get());
            if (!one.ok) {
                std::fprintf(stderr, "%s did not report its first frame\n", s.program);
                std::filesystem::remove_all(folder);
                return 1;
            }
            s.ms.push_back(one.ms);
            s.peakMiB.push_back(one.peakMiB);
        }
        ratios.push_back(all[trainer].ms.back() / all[bare].ms.back());
        ratios200.push_back(all[trainer200].ms.back() / all[bareTwice].ms.back());
    }
    // A zoom the trainer remembered would have changed the 100 % figures.
    const bool remembered = std::filesystem::exists(folder / "config");
    std::filesystem::remove_all(folder);

    std::printf("start-up, exec to first frame, %d runs each, in turn (%s):\n", runs,
                std::getenv("QT_QPA_PLATFORM"));
    for (const Series& s : all)
        std::printf("  %-12s median %6.1f ms  (min %.1f, max %.1f)   peak memory %5.1f MiB\n",
                    s.name, bench::median(s.ms), bench::minimum(s.ms), bench::maximum(s.ms),
                    bench::median(s.peakMiB));
    auto ms = [&](int i) { return bench::median(all[i].ms); };
    auto peak = [&](int i) { return bench::median(all[i].peakMiB); };
    std::printf("  100 %%: trainer / bare window: median of run-by-run ratios %.2f, of medians %.2f"
                "   (goal: at most 1.25)\n",
                bench::median(ratios), ms(trainer) / ms(bare));
    std::printf("  200 %%: trainer / bare window at 2x: median of run-by-run ratios %.2f, of"
                " medians %.2f;\n         trainer 200 %% / bare window at 1x: ratio of medians"
                " %.2f\n",
                bench::median(ratios200), ms(trainer200) / ms(bareTwice),
                ms(trainer200) / ms(bare));
    std::printf("  trainer / one line:    ratio of medians %.2f"
                " (a window with text pays for the font system too)\n",
                ms(trainer) / ms(oneLine));
    std::printf("  peak memory above the bare window: %.1f MiB at 100 %%   (goal: at most 10 MiB);"
                " %.1f MiB at 200 %% (against the bare window at 2x)\n",
                peak(trainer) - peak(bare), peak(trainer200) - peak(bareTwice));
    if (remembered) std::printf("  note: a settings folder was written during the runs\n");
    return 0;
}
