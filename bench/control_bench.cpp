// The calendar core on the headless runtime: paging (the month redraw), a day
// click, an arrow key, and the start-up of a whole instance.
#include <benchmark/benchmark.h>

#include "bench/ratio_reporter.h"
#include "control/ctr_jornavista.h"
#include "platform/dates/calendar.h"
#include "platform/headless/headless_face.h"

namespace {

using jv::control::ctrJornavista;

struct Instance {
  jv::headless::HeadlessRuntime runtime{jv::dates::RegionalSettings::ForLocale("en_US")};
  jv::headless::RecordingContainer container;
  std::unique_ptr<ctrJornavista> control;
  Instance() {
    DATE today = 0;
    (void)jv::dates::FromCivil({2003, 11, 9}, &today);
    runtime.clock().Set(today);
    (void)ctrJornavista::Create(runtime, container, &control);
  }
  jv::headless::HeadlessFace& face() { return static_cast<jv::headless::HeadlessFace&>(control->face()); }
};

// A month page forth and back: two whole redraws (the grid fill, the selection
// display and the caption) and two month steps of the date functions.
void BM_PageForthAndBack(benchmark::State& state) {
  Instance i;
  for (auto _ : state) {
    benchmark::DoNotOptimize(i.control->cmdNext_Click());
    benchmark::DoNotOptimize(i.control->cmdPrevious_Click());
  }
}
BENCHMARK(BM_PageForthAndBack);

void BM_DayClick(benchmark::State& state) {
  Instance i;
  std::int16_t cell = 20;
  for (auto _ : state) {
    benchmark::DoNotOptimize(i.control->l_Click(cell));
    i.container.TakeChanged();
  }
}
BENCHMARK(BM_DayClick);

void BM_ArrowKey(benchmark::State& state) {
  Instance i;
  std::int16_t cell = 20;
  (void)i.control->l_Click(cell);
  std::int16_t shift = 0;
  bool right = true;
  for (auto _ : state) {
    std::int16_t key = right ? 39 : 37;  // Right then Left: stays within the month
    benchmark::DoNotOptimize(i.control->Picture1_KeyDown(key, shift));
    right = !right;
    i.container.TakeChanged();
  }
}
BENCHMARK(BM_ArrowKey);

void BM_StartUp(benchmark::State& state) {
  jv::headless::HeadlessRuntime runtime{jv::dates::RegionalSettings::ForLocale("en_US")};
  jv::headless::RecordingContainer container;
  DATE today = 0;
  (void)jv::dates::FromCivil({2003, 11, 9}, &today);
  runtime.clock().Set(today);
  for (auto _ : state) {
    std::unique_ptr<ctrJornavista> control;
    benchmark::DoNotOptimize(ctrJornavista::Create(runtime, container, &control));
  }
}
BENCHMARK(BM_StartUp);

}  // namespace

int main(int argc, char** argv) {
  using jv::bench::Goal;
  return jv::bench::RunAgainstGoals(&argc, argv, "control_bench", "the core's own figures", [](auto& reporter) {
    // Paging forth and back shows two months.
    reporter.PrintFigure("one month shown", "BM_PageForthAndBack", 0.5 / 1000, "us", Goal::AtMost(1));
    reporter.PrintFigure("start-up of an instance", "BM_StartUp", 1.0 / 1000, "us", Goal::AtMost(3));
  });
}
