#include "platform/win32/win32_runtime.h"

#include <new>

namespace jv::win32 {

HRESULT Win32Runtime::CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                                 std::unique_ptr<platform::Face>* out) {
  if (out == nullptr) return E_POINTER;
  std::unique_ptr<platform::Face> model;
  JV_TRY(headless_.CreateFace(layout, container, &model));
  // The headless runtime builds nothing but headless faces.
  std::unique_ptr<headless::HeadlessFace> values(static_cast<headless::HeadlessFace*>(model.release()));
  auto* face = new (std::nothrow) Win32Face(headless_, std::move(values), layout);
  if (face == nullptr) return E_OUTOFMEMORY;
  face_ = face;
  out->reset(face);
  return S_OK;
}

}  // namespace jv::win32
