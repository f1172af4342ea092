// The container's property bag: named automation values that a control reads its
// properties from when its document is loaded and writes them into when it is saved.
#pragma once

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"
#include "platform/automation/variant.h"

namespace jv::platform {

class PropertyBag {
 public:
  // The value stored under key, or a copy of default_value when the bag holds none.
  // *out is a valid VARIANT of the caller's, cleared and replaced on success and
  // left as it was on failure.
  [[nodiscard]] virtual HRESULT ReadProperty(TextView key, const VARIANT& default_value, VARIANT* out) = 0;
  // Stores value under key. A value equal to default_value may be left out, since
  // a later read then yields that same default.
  [[nodiscard]] virtual HRESULT WriteProperty(TextView key, const VARIANT& value,
                                              const VARIANT& default_value) = 0;

 protected:
  ~PropertyBag() = default;
};

}  // namespace jv::platform
