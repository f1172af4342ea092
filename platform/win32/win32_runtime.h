// The Win32 runtime: builds Win32 faces, whose values live in a headless face of
// its own headless runtime (the system clock, the user's regional settings) and
// which show themselves in real windows while a container has them in place.
#pragma once

#include "platform/headless/headless_runtime.h"
#include "platform/win32/win32_face.h"

namespace jv::win32 {

class Win32Runtime final : public platform::ControlRuntime {
 public:
  Win32Runtime() = default;

  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override;

  // The face this runtime built last (one runtime serves one instance), null
  // before; valid while the instance that owns it lives.
  Win32Face* face() const { return face_; }
  headless::HeadlessRuntime& headless() { return headless_; }

 private:
  headless::HeadlessRuntime headless_;
  Win32Face* face_ = nullptr;
};

}  // namespace jv::win32
