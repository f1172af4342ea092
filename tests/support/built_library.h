// The component library the build made (JV_OCX_PATH of the including test),
// opened as the host opens it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "apps/jornavista-host/form_library.h"

namespace jv::testing {

// A library that cannot be opened fails the test, fatally for the caller's
// ASSERT_NO_FATAL_FAILURE.
inline void OpenBuiltLibrary(std::shared_ptr<host::FormLibrary>* out) {
  const auto error = host::FormLibrary::Open(JV_OCX_PATH, out);
  ASSERT_EQ(error, std::nullopt) << error.value_or("");
}

}  // namespace jv::testing
