// Small statistics and argument handling shared by the benchmarks.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bench {

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
inline double minimum(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}
inline double maximum(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// "--runs N" sets the number of repetitions; "--quick" takes a handful, for a smoke run.
inline int runsFromArgs(int argc, char* argv[], int normal) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) return 3;
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return normal;
}

} // namespace bench
