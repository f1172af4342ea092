#include "platform/headless/fault_injector.h"

namespace jv::headless {

namespace {
constexpr std::string_view kNames[] = {
#define JV_X(id, name) name,
    JV_MODEL_OPERATIONS(JV_X)
#undef JV_X
};
}  // namespace

std::string_view OperationName(Operation op) { return kNames[static_cast<std::size_t>(op)]; }

std::optional<Operation> OperationByName(std::string_view name) {
  for (std::size_t i = 0; i < kOperationCount; ++i)
    if (kNames[i] == name) return static_cast<Operation>(i);
  return std::nullopt;
}

void FaultInjector::Arm(Operation op, std::uint32_t nth, HRESULT status) {
  slots_[static_cast<std::size_t>(op)] = Slot{true, nth, 0, status};
  watched_[static_cast<std::size_t>(op)] = true;
}

void FaultInjector::Disarm(Operation op) {
  slots_[static_cast<std::size_t>(op)] = Slot{};
  watched_[static_cast<std::size_t>(op)] = watch_all_;
}

void FaultInjector::DisarmAll() {
  slots_.fill(Slot{});
  watched_.fill(watch_all_);
}

void FaultInjector::WatchAll(bool on) {
  watch_all_ = on;
  for (std::size_t i = 0; i < kOperationCount; ++i) watched_[i] = slots_[i].armed || on;
}

HRESULT FaultInjector::Trip(Slot& s) {
  ++s.calls;
  if (s.nth == 0) return s.status;
  if (s.calls == s.nth) {
    const HRESULT status = s.status;
    s = Slot{};  // a one-shot fault is spent
    return status;
  }
  return S_OK;
}

}  // namespace jv::headless
