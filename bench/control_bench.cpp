// The calendar core on the headless runtime: the month redraw, a day click, an
// arrow key, and the start-up of a whole instance.
#include <benchmark/benchmark.h>

#include "control/ctr_jornavista.h"
#include "platform/dates/calendar.h"
#include "platform/headless/headless_face.h"

namespace jv::control {

struct ctrJornavistaInternals {
  static HRESULT ShowMonth(ctrJornavista& c) { return c.ShowMonth(); }
  static void FillMonthGrid(ctrJornavista& c) { c.FillMonthGrid(); }
  static void ShowSelection(ctrJornavista& c) { c.ShowSelection(); }
};

}  // namespace jv::control

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

void BM_ShowMonth(benchmark::State& state) {
  Instance i;
  for (auto _ : state) benchmark::DoNotOptimize(jv::control::ctrJornavistaInternals::ShowMonth(*i.control));
}
BENCHMARK(BM_ShowMonth);

// Its two resume-next steps on their own, to show where the redraw's time goes.
void BM_FillMonthGrid(benchmark::State& state) {
  Instance i;
  for (auto _ : state) jv::control::ctrJornavistaInternals::FillMonthGrid(*i.control);
}
BENCHMARK(BM_FillMonthGrid);

void BM_ShowSelection(benchmark::State& state) {
  Instance i;
  for (auto _ : state) jv::control::ctrJornavistaInternals::ShowSelection(*i.control);
}
BENCHMARK(BM_ShowSelection);

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

BENCHMARK_MAIN();
