#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

namespace quillet::bench {

// Runs a job and its baseline in turns, each going first every other time and each after the
// same preparation, so that both meet the same state of the machine: the same caches, the same
// directory history, the same neighbours on a shared host. The job's times are the benchmark's
// (manual) time; the medians of both, in seconds, go into the counters "job" and "baseline",
// where a slow outlier on either side moves nothing. The medians of this thread's processor
// time (user and kernel) go into "job_cpu" and "baseline_cpu": they leave out the time spent
// waiting for a core, so on a loaded machine they move less than the wall-clock times.
void TakeTurns(benchmark::State& state, const std::function<void()>& prepare,
               const std::function<void()>& job, const std::function<void()>& baseline);

// The same, for a job and baselines that time themselves (each returns its seconds): ones that
// run elsewhere, such as programs started for the job, and are ended after the moment measured.
// Each goes first in its turn. The baselines' medians go into "baseline", "baseline2", ... in
// the order given. Their processor time is not this thread's and is not reported.
void TakeTurnsTimed(benchmark::State& state, const std::function<double()>& job,
                    const std::vector<std::function<double()>>& baselines);

// Times a job that has no baseline, each run on its own; the medians go into "job" and
// "job_cpu".
void TimeEach(benchmark::State& state, const std::function<void()>& job);

}  // namespace quillet::bench
