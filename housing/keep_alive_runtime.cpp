#include "housing/keep_alive_runtime.h"

namespace jv::housing {

namespace {

// Forwards everything to the runtime's face, and sits between it and the
// control's handlers.
class KeepAliveFace final : public platform::Face, private platform::ControlEvents {
 public:
  KeepAliveFace(std::unique_ptr<platform::Face> inner, IUnknown& owner)
      : inner_(std::move(inner)), owner_(owner) {}
  ~KeepAliveFace() override { inner_->ConnectEvents(nullptr); }

  platform::LabelArray& l() override { return inner_->l(); }
  platform::TextBox& txtYear() override { return inner_->txtYear(); }
  platform::TextBox& txtDate() override { return inner_->txtDate(); }
  platform::PictureBox& Picture1() override { return inner_->Picture1(); }
  platform::Frame& Frame1() override { return inner_->Frame1(); }
  platform::Surface& UserControl() override { return inner_->UserControl(); }
  platform::DateFunctions& Dates() override { return inner_->Dates(); }
  void ConnectEvents(platform::ControlEvents* handlers) override {
    handlers_ = handlers;
    inner_->ConnectEvents(handlers != nullptr ? this : nullptr);
  }

 private:
  // The handler may end this face with the instance: nothing of `this` is
  // touched once the reference is given back.
  template <class Call>
  HRESULT Held(Call call) {
    if (handlers_ == nullptr) return S_OK;
    const ComPtr<IUnknown> hold(&owner_);
    return call(*handlers_);
  }

  HRESULT Initialize() override {
    return Held([](ControlEvents& e) { return e.Initialize(); });
  }
  HRESULT Resize() override {
    return Held([](ControlEvents& e) { return e.Resize(); });
  }
  HRESULT InitProperties() override {
    return Held([](ControlEvents& e) { return e.InitProperties(); });
  }
  HRESULT ReadProperties(platform::PropertyBag& bag) override {
    return Held([&](ControlEvents& e) { return e.ReadProperties(bag); });
  }
  HRESULT WriteProperties(platform::PropertyBag& bag) override {
    return Held([&](ControlEvents& e) { return e.WriteProperties(bag); });
  }
  HRESULT l_Click(std::int16_t& Index) override {
    return Held([&](ControlEvents& e) { return e.l_Click(Index); });
  }
  HRESULT cmdNext_Click() override {
    return Held([](ControlEvents& e) { return e.cmdNext_Click(); });
  }
  HRESULT cmdPrevious_Click() override {
    return Held([](ControlEvents& e) { return e.cmdPrevious_Click(); });
  }
  HRESULT Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) override {
    return Held([&](ControlEvents& e) { return e.Picture1_KeyDown(KeyCode, Shift); });
  }

  std::unique_ptr<platform::Face> inner_;
  IUnknown& owner_;
  platform::ControlEvents* handlers_ = nullptr;
};

}  // namespace

HRESULT KeepAliveRuntime::CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                                     std::unique_ptr<platform::Face>* out) {
  if (out == nullptr) return E_POINTER;
  std::unique_ptr<platform::Face> inner;
  JV_TRY(inner_.CreateFace(layout, container, &inner));
  *out = std::make_unique<KeepAliveFace>(std::move(inner), owner_);
  return S_OK;
}

}  // namespace jv::housing
