// IQuickActivate, the one call with which .NET's AxHost and browser-style hosts
// hand a control its site, its ambient properties and their sinks at once, and the
// content extent they set and read around it. A part of the instance: its IUnknown
// is the instance's.
#pragma once

#include <ocidl.h>
#include <windows.h>

namespace jv::housing {

class OleControl;

class QuickActivation final : public IQuickActivate {
 public:
  QuickActivation(IUnknown& outer, OleControl& ole) : outer_(outer), ole_(ole) {}
  QuickActivation(const QuickActivation&) = delete;
  QuickActivation& operator=(const QuickActivation&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return outer_.QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return outer_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return outer_.Release(); }

  // Sets the client site, takes the ambient flags and font, connects the view
  // sink and the property-notify sink (and an event sink, when given), and fills
  // the control's answers with the cookies.
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  // A size request like IOleObject::SetExtent: the control keeps its frame's size.
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

 private:
  IUnknown& outer_;
  OleControl& ole_;
};

}  // namespace jv::housing
