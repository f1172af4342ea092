#include "platform/win32/win32_runtime.h"

#include <new>

namespace jv::win32 {

Win32Runtime::Win32Runtime() : settings_(dates::RegionalSettings::Current()), dates_(clock_, settings_) {}

HRESULT Win32Runtime::CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                                 std::unique_ptr<platform::Face>* out) {
  if (out == nullptr) return E_POINTER;
  JV_TRY(platform::CheckLayout(layout, nullptr));
  auto* face = new (std::nothrow) Win32Face(container, dates_, layout);
  if (face == nullptr) return E_OUTOFMEMORY;
  face_ = face;
  out->reset(face);
  return S_OK;
}

}  // namespace jv::win32
