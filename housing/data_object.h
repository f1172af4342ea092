// IDataObject for document containers (word processors, spreadsheets), which draw
// an embedded control from its data rather than its view: the control as it looks,
// as an enhanced metafile and as a bitmap, at the frame's size; and the advise
// connections through which a container hears that the picture changed. A part of
// the instance: its IUnknown is the instance's.
#pragma once

#include <objidl.h>
#include <windows.h>

#include "platform/automation/unknown.h"
#include "platform/win32/win32_face.h"

namespace jv::housing {

class DataObject final : public IDataObject {
 public:
  DataObject(IUnknown& outer, win32::Win32Face& face) : outer_(outer), face_(face) {}
  DataObject(const DataObject&) = delete;
  DataObject& operator=(const DataObject&) = delete;

  // The picture changed: every advise connection hears of it.
  void SendOnDataChange();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return outer_.QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return outer_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return outer_.Release(); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                    DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** connections) override;

 private:
  // The frame's size in pixels, the size of both renderings.
  HRESULT FrameSize(SIZE* out);
  HRESULT RenderBitmap(HBITMAP* out);
  HRESULT RenderMetafile(HENHMETAFILE* out);

  IUnknown& outer_;
  win32::Win32Face& face_;
  ComPtr<IDataAdviseHolder> advise_holder_;
};

// The formats the control renders, in the order of its preference.
inline constexpr FORMATETC kRenderedFormats[] = {
    {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF},
    {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI},
};

}  // namespace jv::housing
