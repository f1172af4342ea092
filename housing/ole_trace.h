// The trace of the calls a container makes on the control's OLE parts:
// "Jornavista: ..." on the debugger's output (under Wine, +debugstr). With JV_TRACE
// set (to anything but "0"), every call a container makes goes there, where a
// developer sees the order in which a container drives the control. Off by
// default, like a toolkit's debug channel; the setting is read once.
#pragma once

#include <string>

namespace jv::housing {

void Trace(const char* call);

inline void TraceCall(const std::string& call) { Trace(call.c_str()); }

}  // namespace jv::housing
