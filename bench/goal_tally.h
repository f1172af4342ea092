// The goals a benchmark run is held to: each figure is printed with its goal and
// whether it holds, and the run ends with one line that says how many held.
// Header-only and free of the benchmark library, so that the Windows benchmark,
// which times by hand, prints the same lines.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace jv::bench {

struct Goal {
  enum class Bound { kAtLeast, kAtMost, kNone };
  Bound bound = Bound::kNone;
  double value = 0;

  static Goal AtLeast(double v) { return {Bound::kAtLeast, v}; }
  static Goal AtMost(double v) { return {Bound::kAtMost, v}; }
  // A figure shown for what it explains, held to nothing.
  static Goal None() { return {}; }

  bool Holds(double figure) const {
    switch (bound) {
      case Bound::kAtLeast: return figure >= value;
      case Bound::kAtMost: return figure <= value;
      case Bound::kNone: return true;
    }
    return true;
  }
};

class GoalTally {
 public:
  // "  WHAT  FIGURE UNIT  goal at least|at most G UNIT  held|MISSED  (DETAIL)"; a
  // figure of zero or less means it was not measured, and counts as missed.
  void Print(const char* what, double figure, const char* unit, const Goal& goal,
             const std::string& detail = {}) {
    const bool measured = figure > 0;
    std::printf("  %-34s %9.3g %-3s", what, measured ? figure : 0.0, unit);
    if (goal.bound == Goal::Bound::kNone) {
      std::printf("  %-24s", "(no goal)");
    } else {
      char text[64];
      std::snprintf(text, sizeof text, "goal %s %.3g %s", goal.bound == Goal::Bound::kAtLeast ? "at least" : "at most",
                    goal.value, unit);
      const bool held = measured && goal.Holds(figure);
      std::printf("  %-24s %-6s", text, !measured ? "NOT MEASURED" : held ? "held" : "MISSED");
      (held ? held_ : missed_).push_back(what);
    }
    if (!detail.empty()) std::printf("  (%s)", detail.c_str());
    std::printf("\n");
  }

  // "summary: N of M goals held" and, where any missed, which.
  void PrintSummary(const char* run) const {
    std::printf("\nsummary (%s): %zu of %zu goals held", run, held_.size(), held_.size() + missed_.size());
    for (std::size_t i = 0; i < missed_.size(); ++i)
      std::printf("%s%s", i == 0 ? "; missed: " : ", ", missed_[i].c_str());
    std::printf("\n");
  }

  bool AllHeld() const { return missed_.empty(); }

 private:
  std::vector<std::string> held_, missed_;
};

}  // namespace jv::bench
