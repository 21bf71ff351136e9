// CPU time per thread of this process, read from /proc: on a machine shared with other
// work, the busiest thread's CPU time per frame is what the frame would take alone.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

namespace benchsupport {

// Nanoseconds each thread (by id) has spent on a CPU so far.
inline std::map<std::string, double> ThreadCpuNs()
{
    std::map<std::string, double> times;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream stat(task.path() / "schedstat");
        double ns = 0;
        if (stat >> ns) times[task.path().filename().string()] = ns;
    }
    return times;
}

// Measures from construction to Report, which adds per-frame counters to state: the
// busiest thread's and all threads' CPU milliseconds.
class ThreadTimes {
public:
    ThreadTimes()
        : m_Start(ThreadCpuNs())
    {
    }

    void Report(benchmark::State& state) const
    {
        double busiest = 0, total = 0;
        for (const auto& [id, ns] : ThreadCpuNs()) {
            const auto start = m_Start.find(id);
            const double used = ns - (start != m_Start.end() ? start->second : 0);
            busiest = std::max(busiest, used);
            total += used;
        }
        const double frames = std::max<double>(1, double(state.iterations()));
        state.counters["busiest_ms"] = busiest / 1e6 / frames;
        state.counters["cpu_ms"] = total / 1e6 / frames;
    }

private:
    std::map<std::string, double> m_Start;
};

} // namespace benchsupport
