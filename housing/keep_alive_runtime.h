// A runtime that keeps a housed control alive while one of its event handlers runs:
// a container told of a change during a day click may drop its last reference,
// and the handler still has steps to take on the face.
#pragma once

#include "platform/automation/unknown.h"
#include "platform/runtime/face.h"

namespace jv::housing {

// Builds faces on `inner` whose events reach the control with a reference on
// `owner` held for the handler's whole run. If that reference turns out to be the
// last one, the instance ends when the handler returns, not inside it.
class KeepAliveRuntime final : public platform::ControlRuntime {
 public:
  KeepAliveRuntime(platform::ControlRuntime& inner, IUnknown& owner) : inner_(inner), owner_(owner) {}

  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override;

 private:
  platform::ControlRuntime& inner_;
  IUnknown& owner_;
};

}  // namespace jv::housing
