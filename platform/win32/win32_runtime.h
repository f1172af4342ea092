// The Win32 runtime: builds Win32 faces on the system clock and the user's
// regional settings; a face shows itself in real windows while a container has
// the control in place.
#pragma once

#include "platform/dates/standard_date_functions.h"
#include "platform/win32/win32_face.h"

namespace jv::win32 {

class Win32Runtime final : public platform::ControlRuntime {
 public:
  Win32Runtime();

  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override;

  // The face this runtime built last (one runtime serves one instance), null
  // before; valid while the instance that owns it lives.
  Win32Face* face() const { return face_; }

 private:
  dates::RegionalSettings settings_;
  dates::SystemClock clock_;
  dates::StandardDateFunctions dates_;
  Win32Face* face_ = nullptr;
};

}  // namespace jv::win32
