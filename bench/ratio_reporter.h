// The console report of a benchmark run that also keeps each benchmark's time and
// counters, so that the run can end with our figures against a peer's measured in
// the same run.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/goal_tally.h"

namespace jv::bench {

class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions the mean stands for the benchmark; without, its one run.
      const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
      if (run.run_type != Run::RT_Iteration && !mean) continue;
      // The function's name, without the run's options ("/manual_time").
      const std::string name = run.run_name.function_name;
      if (!mean && values_.count(name) != 0) continue;
      Values& v = values_[name];
      v.time = run.GetAdjustedRealTime();
      for (const auto& [counter, value] : run.counters) v.counters[counter] = value.value;
    }
  }

  // A / B, where A and B are the real times of the two benchmarks, or their
  // `counter`, printed with its goal; missed when either is missing.
  void PrintRatio(const char* what, const std::string& numerator, const std::string& denominator, const Goal& goal,
                  const std::string& counter = {}) {
    const double a = Value(numerator, counter), b = Value(denominator, counter);
    char detail[96];
    std::snprintf(detail, sizeof detail, "%.4g against %.4g", a, b);
    tally_.Print(what, a > 0 && b > 0 ? a / b : 0, "x", goal, detail);
  }

  // One benchmark's real time (or its `counter`) times `scale`, printed in `unit`
  // with its goal: a figure of its own rather than one against a peer.
  void PrintFigure(const char* what, const std::string& name, double scale, const char* unit, const Goal& goal,
                   const std::string& counter = {}) {
    tally_.Print(what, Value(name, counter) * scale, unit, goal);
  }

  void PrintSummary(const char* run) const { tally_.PrintSummary(run); }

 private:
  struct Values {
    double time = 0;
    std::map<std::string, double> counters;
  };

  double Value(const std::string& name, const std::string& counter) const {
    const auto it = values_.find(name);
    if (it == values_.end()) return 0;
    if (counter.empty()) return it->second.time;
    const auto c = it->second.counters.find(counter);
    return c == it->second.counters.end() ? 0 : c->second;
  }

  std::map<std::string, Values> values_;
  GoalTally tally_;
};

// Runs the benchmarks the command line selects, then `report` prints the run's
// figures against their goals under `heading`, and the summary line for `run`.
// Returns the process's exit status: 1 for an argument the library does not know.
inline int RunAgainstGoals(int* argc, char** argv, const char* run, const char* heading,
                           const std::function<void(RatioReporter&)>& report) {
  benchmark::Initialize(argc, argv);
  if (benchmark::ReportUnrecognizedArguments(*argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%s:\n", heading);
  report(reporter);
  reporter.PrintSummary(run);
  benchmark::Shutdown();
  return 0;
}

}  // namespace jv::bench
