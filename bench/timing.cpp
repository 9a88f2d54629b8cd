#include "timing.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace quillet::bench {

namespace {

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

double timed(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

void TakeTurns(benchmark::State& state, const std::function<void()>& prepare,
               const std::function<void()>& job, const std::function<void()>& baseline) {
    std::vector<double> jobTimes;
    std::vector<double> baselineTimes;
    bool baselineFirst = false;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            prepare();
            if ((turn == 0) == baselineFirst) {
                baselineTimes.push_back(timed(baseline));
            } else {
                jobTimes.push_back(timed(job));
                state.SetIterationTime(jobTimes.back());
            }
        }
        baselineFirst = !baselineFirst;
    }
    state.counters["job"] = median(jobTimes);
    state.counters["baseline"] = median(baselineTimes);
}

void TimeEach(benchmark::State& state, const std::function<void()>& job) {
    std::vector<double> times;
    for (auto _ : state) {
        times.push_back(timed(job));
        state.SetIterationTime(times.back());
    }
    state.counters["job"] = median(times);
}

}  // namespace quillet::bench
