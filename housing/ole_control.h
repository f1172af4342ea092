// The OLE control interfaces of a housed instance on Windows, for a container that
// places it on a window: the object and its verbs, in-place activation, drawing
// into any device context, the control's keyboard and ambient side, its property
// pages, and persistence through a stream or a compound file. The instance's own
// IPersistPropertyBag does the reading and writing; this part carries the record.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <vector>

#include "housing/ambient_properties.h"
#include "housing/data_object.h"
#include "housing/quick_activation.h"
#include "housing/ole_trace.h"
#include "platform/automation/unknown.h"
#include "platform/win32/win32_face.h"

namespace jv::housing {

// The OLE side of an instance on Windows. Its jobs are in files of their own:
// ole_control.cpp (IOleObject, IOleControl, the face's news), ole_in_place.cpp
// (in-place activation), ole_view.cpp (drawing), ole_persistence.cpp (streams and
// storages), ole_ambient.cpp and ole_property_pages.cpp.
class OleControl final : public IOleObject,
                         public IOleInPlaceObject,
                         public IOleInPlaceActiveObject,
                         public IViewObject2,
                         public IOleControl,
                         public ISpecifyPropertyPages,
                         public IPersistStreamInit,
                         public IPersistStorage,
                         private win32::FaceObserver {
 public:
  // `outer` is the instance: identity, references, and its IPersistPropertyBag.
  // `face` is its face on the Win32 runtime; both outlive this part.
  OleControl(IUnknown& outer, win32::Win32Face& face);
  ~OleControl();
  OleControl(const OleControl&) = delete;
  OleControl& operator=(const OleControl&) = delete;

  // The instance's QueryInterface for the interfaces this derives from and those
  // of the parts below, by their interface ids, with a new reference; false, and
  // *object untouched, for any other.
  bool FindInterface(REFIID riid, void** object);
  // The instance told its container that a property changed: the document needs
  // saving, and a container drawing the control draws it again.
  void OnChanged();
  // The container's ambient font from the client site's IDispatch; E_NOTIMPL when
  // the site offers none, and the instance falls back to its own.
  HRESULT GetAmbientFont(IFont** out);
  // Reads the ambient properties from the client site again and lets the face take
  // input or not accordingly (ole_ambient.cpp).
  void ReadAmbient();
  // The ambient flags and font a quick-activating container hands over.
  void TakeQuickActivateAmbient(DWORD flags, IFont* font);

  // IUnknown: the instance's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return outer_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return outer_.Release(); }

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD save_option) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* active_site, LONG index, HWND parent,
                                   LPCRECT position) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, for both in-place interfaces
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* device,
                                 HDC target_dc, HDC dc, LPCRECTL bounds, LPCRECTL window_bounds,
                                 BOOL(STDMETHODCALLTYPE* keep_going)(ULONG_PTR), ULONG_PTR argument) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspect_info, DVTARGETDEVICE* device,
                                        HDC target_dc, LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspect_info, DWORD* freeze) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // ISpecifyPropertyPages
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

  // IPersist, for both persistence interfaces
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  // IPersistStreamInit
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clear_dirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  // IPersistStorage, over one stream "Contents" in the storage
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL same_as_load) override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
  HRESULT STDMETHODCALLTYPE HandsOffStorage() override;

 private:
  // win32::FaceObserver
  void OnFocusChanged(bool has_focus) override;
  void OnInputHandled() override;

  HRESULT ActivateInPlace(bool ui_activate);
  HRESULT ActivateUI();
  // The container's rectangle is a size request; the control keeps its frame's size
  // and tells the container the rectangle it really takes.
  HRESULT PlaceAt(const RECT& position);
  // The size the control always takes, its frame's, in pixels.
  HRESULT FramePixels(SIZE* out);
  void ViewChanged();
  HRESULT PersistOf(IPersistPropertyBag** out);
  HRESULT SaveRecord(bool clear_dirty, std::vector<std::uint8_t>* out);
  // The header and the body it announces, all the stream holds of the record.
  HRESULT ReadRecord(IStream& stream, std::vector<std::uint8_t>* out);

  IUnknown& outer_;
  win32::Win32Face& face_;
  ComPtr<IOleClientSite> client_site_;
  ComPtr<IOleInPlaceSite> in_place_site_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> document_;
  ComPtr<IOleAdviseHolder> advise_holder_;
  ComPtr<IAdviseSink> view_sink_;
  DWORD view_aspects_ = 0, view_flags_ = 0;
  RECT position_{};
  bool in_place_active_ = false;
  bool ui_active_ = false;
  bool placing_ = false;
  bool dirty_ = false;
  AmbientProperties ambient_;
  // Parts with interfaces of their own, found by FindInterface.
  QuickActivation quick_{outer_, *this};
  DataObject data_{outer_, face_};
};

}  // namespace jv::housing
