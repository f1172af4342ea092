// The whole of a getter that reads a stored value: a null out-pointer is refused
// with E_POINTER, as every runtime's getters refuse it, else the value is written.
#pragma once

#include "platform/automation/hresult.h"

namespace jv::platform {

template <class T, class V>
[[nodiscard]] HRESULT WriteOut(T* out, const V& value) {
  if (out == nullptr) return E_POINTER;
  *out = value;
  return S_OK;
}

}  // namespace jv::platform
