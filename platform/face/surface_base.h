// The control's surface as every runtime keeps it: its size in twips, the rule
// that a put changing the size raises Resize nested inside the put, the
// container's size request, and the change notices and ambient font passed on to
// the container. A runtime adds the limits and the widget of its own.
#pragma once

#include <cstdint>

#include "platform/face/face_base.h"

namespace jv::platform {

class SurfaceBase : public Surface {
 public:
  SurfaceBase(FaceBase& face, Container& container) : face_(face), container_(container) {}

  HRESULT get_Width(std::int32_t* out) override;
  HRESULT get_Height(std::int32_t* out) override;
  // E_INVALIDARG for a size the runtime cannot show, which changes nothing. The
  // nested Resize's status goes to the runtime, like any event's: the put itself
  // succeeded.
  HRESULT put_Width(std::int32_t twips) override { return Put(twips, height_); }
  HRESULT put_Height(std::int32_t twips) override { return Put(width_, twips); }
  HRESULT PropertyChanged(TextView name) override { return container_.OnPropertyChanged(name); }
  HRESULT get_AmbientFont(IFont** out) override { return container_.GetAmbientFont(out); }

  // The container asks for a size: E_INVALIDARG for one the runtime cannot show,
  // else Resize runs, even when the size is already that, and its status comes back.
  [[nodiscard]] HRESULT Request(std::int32_t width, std::int32_t height);

  // Takes a size without raising anything; a windowing runtime also sizes its
  // widget to it.
  virtual void ApplySize(std::int32_t width, std::int32_t height) { StoreSize(width, height); }
  void StoreSize(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
  }
  // Whether the runtime can show a surface of this size: no negative length here,
  // and a windowing runtime adds its own limit.
  virtual bool Fits(std::int32_t width, std::int32_t height) const { return width >= 0 && height >= 0; }

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }

 protected:
  ~SurfaceBase() = default;
  FaceBase& face() { return face_; }
  // A put changed the size; the nested Resize comes next.
  virtual void OnSizePut(std::int32_t /*width*/, std::int32_t /*height*/) {}

 private:
  HRESULT Put(std::int32_t width, std::int32_t height);

  FaceBase& face_;
  Container& container_;
  std::int32_t width_ = 0, height_ = 0;
};

}  // namespace jv::platform
