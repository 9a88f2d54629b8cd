#include "timing.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace quillet::bench {

namespace {

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

double ThreadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Times {
    double wall = 0;
    double cpu = 0;  // this thread's processor time, user and kernel
};

Times Timed(const std::function<void()>& work) {
    const double cpuStart = ThreadSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {wall, ThreadSeconds() - cpuStart};
}

// The medians of a job's times, in seconds, as counters named after it.
void Report(benchmark::State& state, const char* name, const std::vector<Times>& times) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Times& t : times) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    state.counters[name] = Median(wall);
    state.counters[std::string(name) + "_cpu"] = Median(cpu);
}

}  // namespace

void TakeTurns(benchmark::State& state, const std::function<void()>& prepare,
               const std::function<void()>& job, const std::function<void()>& baseline) {
    std::vector<Times> jobTimes;
    std::vector<Times> baselineTimes;
    bool baselineFirst = false;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            prepare();
            if ((turn == 0) == baselineFirst) {
                baselineTimes.push_back(Timed(baseline));
            } else {
                jobTimes.push_back(Timed(job));
                state.SetIterationTime(jobTimes.back().wall);
            }
        }
        baselineFirst = !baselineFirst;
    }
    Report(state, "job", jobTimes);
    Report(state, "baseline", baselineTimes);
}

void TakeTurnsTimed(benchmark::State& state, const std::function<double()>& job,
                    const std::vector<std::function<double()>>& baselines) {
    std::vector<double> jobTimes;
    std::vector<std::vector<double>> baselineTimes(baselines.size());
    const std::size_t turns = baselines.size() + 1;
    std::size_t first = 0;
    for (auto _ : state) {
        for (std::size_t turn = 0; turn < turns; ++turn) {
            const std::size_t who = (first + turn) % turns;
            if (who < baselines.size()) {
                baselineTimes[who].push_back(baselines[who]());
            } else {
                jobTimes.push_back(job());
                state.SetIterationTime(jobTimes.back());
            }
        }
        first = (first + 1) % turns;
    }
    state.counters["job"] = Median(jobTimes);
    for (std::size_t i = 0; i < baselines.size(); ++i) {
        const std::string name = i == 0 ? "baseline" : "baseline" + std::to_string(i + 1);
        state.counters[name] = Median(baselineTimes[i]);
    }
}

void TimeEach(benchmark::State& state, const std::function<void()>& job) {
    std::vector<Times> times;
    for (auto _ : state) {
        times.push_back(Timed(job));
        state.SetIterationTime(times.back().wall);
    }
    Report(state, "job", times);
}

}  // namespace quillet::bench
