// IControlState, the diagnostic interface of a housed ctrJornavista: a copy of the
// control's state record for a host that shows it (the scripting host's state dump).
#pragma once

#include "control/state.h"
#include "platform/automation/interface_ids.h"
#include "platform/automation/unknown.h"

// A C++ seam like IControlSite, valid only between libraries of the same compiler
// and standard library; the copy shares the font object the instance holds.
struct IControlState : IUnknown {
  virtual HRESULT JV_STDMETHODCALLTYPE GetState(jv::control::State* out) = 0;

 protected:
  ~IControlState() = default;
};

inline constexpr IID IID_IControlState = {
    0x3F0B9C52, 0x8E1A, 0x4D6B, {0xA4, 0x37, 0x5C, 0x92, 0x1E, 0x6F, 0x08, 0xD3}};

JV_INTERFACE_IDS(IControlState, JV_IID(IControlState));
