// SPDX-License-Identifier: MIT
#pragma once
// What the benchmarks measure with: wall and processor time of one run, medians, the load
// average and the peak resident set.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace kavo::bench {

// Wall time and the process's processor time (user and system) of one run: on a machine
// shared with other work the wall time of a run longer than a time slice grows with the
// load, its processor time does not.
struct Timing {
    double wall, cpu;
};

inline double cpuNow() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline Timing timed(const std::function<void()>& run) {
    const double cpu = cpuNow();
    const auto start = std::chrono::steady_clock::now();
    run();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            cpuNow() - cpu};
}

// The middle value; of an even count, the mean of the two middle ones.
inline double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// "1.02 0.87 0.55": the load averages of 1, 5 and 15 minutes.
inline std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// The process's peak resident set (VmHWM), in KiB; -1 when it cannot be read.
inline long peakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

} // namespace kavo::bench
