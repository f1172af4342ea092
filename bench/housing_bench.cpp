// The cost of late binding: a get of SDate through Invoke by dispatch id against
// the same get as a C++ call, on one instance; and what loading the library and
// creating the first instance through the entry points costs, step by step.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "bench/ratio_reporter.h"
#include "control/ctr_jornavista.h"
#include "housing/jornavista_ids.h"
#include "housing/jornavista_object.h"
#include "platform/automation/ocidl.h"
#include "platform/component/component_library.h"
#include "platform/headless/headless_runtime.h"

namespace {

using jv::ComPtr;

// The housed instance, and a bare control on the same kind of runtime for the C++
// side: the same get with the same state, with and without the housing around it.
struct Instance {
  Instance() {
    (void)jv::housing::CreatectrJornavista(nullptr, jornavista::IID__ctrJornavista,
                                           reinterpret_cast<void**>(dual.put()));
    (void)jv::control::ctrJornavista::Create(runtime, container, &control);
  }
  ComPtr<_ctrJornavista> dual;
  jv::headless::HeadlessRuntime runtime;
  jv::headless::RecordingContainer container;
  std::unique_ptr<jv::control::ctrJornavista> control;
};

Instance& Shared() {
  static Instance instance;
  return instance;
}

void BM_SDate_CppCall(benchmark::State& state) {
  jv::control::ctrJornavista& c = *Shared().control;
  for (auto _ : state) {
    jv::Text text;
    benchmark::DoNotOptimize(c.get_SDate(&text));
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_SDate_CppCall);

void BM_SDate_DualVtable(benchmark::State& state) {
  _ctrJornavista* d = Shared().dual.get();
  for (auto _ : state) {
    BSTR text = nullptr;
    benchmark::DoNotOptimize(d->get_SDate(&text));
    SysFreeString(text);
  }
}
BENCHMARK(BM_SDate_DualVtable);

void BM_SDate_InvokeById(benchmark::State& state) {
  IDispatch* d = Shared().dual.get();
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  for (auto _ : state) {
    VARIANT result;
    VariantInit(&result);
    benchmark::DoNotOptimize(d->Invoke(jornavista::DISPID_SDate, IID_NULL, 0x0409, DISPATCH_PROPERTYGET,
                                       &none, &result, nullptr, nullptr));
    VariantClear(&result);
  }
}
BENCHMARK(BM_SDate_InvokeById);

double Ms(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

// Once, first thing in the process, so that nothing is warm yet.
void LoadAndCreateSteps() {
  using Clock = std::chrono::steady_clock;
  std::unique_ptr<jv::component::ComponentLibrary> lib;
  std::string error;
  auto t = Clock::now();
  if (FAILED(jv::component::ComponentLibrary::Load(JV_OCX_PATH, &lib, &error))) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return;
  }
  const double load = Ms(t);
  ComPtr<IClassFactory> factory;
  t = Clock::now();
  (void)lib->GetClassObject(jornavista::CLSID_ctrJornavista, IID_IClassFactory,
                            reinterpret_cast<void**>(factory.put()));
  const double class_object = Ms(t);
  ComPtr<IDispatch> first, second;
  t = Clock::now();
  (void)factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(first.put()));
  const double first_instance = Ms(t);
  ComPtr<IPersistPropertyBag> persist;
  t = Clock::now();
  (void)first->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put()));
  (void)persist->InitNew();
  const double init_new = Ms(t);
  t = Clock::now();
  (void)factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(second.put()));
  const double second_instance = Ms(t);
  t = Clock::now();
  persist.reset();
  first.reset();
  second.reset();
  factory.reset();
  const bool unloaded = lib->Unload() == S_OK;
  const double release = Ms(t);
  std::printf(
      "load and create through the entry points (ms): dlopen+resolve %.3f, DllGetClassObject %.3f, "
      "first CreateInstance %.3f, InitNew %.3f, second CreateInstance %.3f, release+unload %.3f (%s)\n",
      load, class_object, first_instance, init_new, second_instance, release,
      unloaded ? "unloaded" : "still loaded");
}

}  // namespace

int main(int argc, char** argv) {
  LoadAndCreateSteps();
  using jv::bench::Goal;
  const int status = jv::bench::RunAgainstGoals(
      &argc, argv, "housing_bench", "get of SDate against the C++ call", [](auto& reporter) {
        reporter.PrintRatio("through the dual vtable", "BM_SDate_DualVtable", "BM_SDate_CppCall", Goal::None());
        reporter.PrintRatio("through Invoke by id", "BM_SDate_InvokeById", "BM_SDate_CppCall", Goal::AtMost(1.5));
      });
  Shared().dual.reset();
  return status;
}
