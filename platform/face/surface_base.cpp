#include "platform/face/surface_base.h"

#include "platform/face/out_parameter.h"

namespace jv::platform {

HRESULT SurfaceBase::get_Width(std::int32_t* out) { return WriteOut(out, width_); }

HRESULT SurfaceBase::get_Height(std::int32_t* out) { return WriteOut(out, height_); }

HRESULT SurfaceBase::Put(std::int32_t width, std::int32_t height) {
  if (!Fits(width, height)) return E_INVALIDARG;
  if (width == width_ && height == height_) return S_OK;
  ApplySize(width, height);
  OnSizePut(width, height);
  (void)face_.RaiseResize();
  return S_OK;
}

HRESULT SurfaceBase::Request(std::int32_t width, std::int32_t height) {
  if (!Fits(width, height)) return E_INVALIDARG;
  ApplySize(width, height);
  return face_.RaiseResize();
}

}  // namespace jv::platform
