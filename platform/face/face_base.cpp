#include "platform/face/face_base.h"

namespace jv::platform {

HRESULT FaceBase::RaiseResize() {
  if (handlers_ == nullptr) return S_OK;
  if (resize_depth_ >= kMaxResizeDepth) return E_UNEXPECTED;
  ++resize_depth_;
  const HRESULT hr = handlers_->Resize();
  --resize_depth_;
  return hr;
}

HRESULT FaceBase::RaiseCellClick(std::int16_t index) {
  if (handlers_ == nullptr) return S_OK;
  // The handler takes the index by reference, as an event argument; the caller's
  // value stays its own.
  std::int16_t argument = index;
  if (model_) model_->CellClickDelivered(index);
  return handlers_->l_Click(argument);
}

HRESULT FaceBase::RaiseNextClick() { return handlers_ ? handlers_->cmdNext_Click() : S_OK; }

HRESULT FaceBase::RaisePreviousClick() { return handlers_ ? handlers_->cmdPrevious_Click() : S_OK; }

HRESULT FaceBase::RaiseKeyDown(std::int16_t key_code, std::int16_t shift) {
  if (handlers_ == nullptr) return S_OK;
  if (model_) model_->KeyDelivered(key_code);
  return handlers_->Picture1_KeyDown(key_code, shift);
}

}  // namespace jv::platform
