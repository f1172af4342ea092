// A plain object with only IUnknown, for tests: it counts its references and says
// when it has ended, so that leaks and early releases show.
#pragma once

#include "platform/automation/ref_counted.h"

namespace jv::testing {

class CountedObject final : public RefCounted<IUnknown> {
 public:
  // *ended becomes true when the last reference goes.
  static CountedObject* Create(bool* ended) { return new CountedObject(ended); }

  using RefCounted::refs;

 private:
  explicit CountedObject(bool* ended) : ended_(ended) { *ended_ = false; }
  ~CountedObject() override { *ended_ = true; }

  bool* ended_;
};

}  // namespace jv::testing
