// The control's three ways of meeting a failed operation, spelled out at each call:
//   JV_TRY          no trap: the first failure ends the routine and is its result
//                   (platform/automation/hresult.h, shared by every layer);
//   ResumeNext      a failed statement is skipped and the routine goes on;
//   EndQuietly      a routine written with JV_TRY is run, and its failure swallowed.
#pragma once

#include <utility>

#include "platform/automation/hresult.h"

namespace jv::control {

// Runs one statement (a callable returning HRESULT, written with JV_TRY inside) and
// ignores its failure: whatever the statement would have set keeps its old value,
// because every operation writes its result only on success.
template <class Statement>
inline void ResumeNext(Statement&& statement) {
  (void)std::forward<Statement>(statement)();
}

// The result of a routine that ends at its first failure and reports nothing.
inline HRESULT EndQuietly(HRESULT) { return S_OK; }

}  // namespace jv::control
