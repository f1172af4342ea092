#include "housing/data_object.h"

#include <urlmon.h>

#include "housing/ole_trace.h"
#include "platform/win32/screen_units.h"

namespace jv::housing {

namespace {

constexpr int kHimetricPerInch = 2540;

// The rendering that answers `format`, or the status OLE expects for it: a format
// we do not have, an aspect we do not draw, a medium we cannot fill.
HRESULT Match(const FORMATETC* format, const FORMATETC** out) {
  *out = nullptr;
  if (format == nullptr) return E_INVALIDARG;
  for (const FORMATETC& f : kRenderedFormats) {
    if (f.cfFormat != format->cfFormat) continue;
    if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (format->lindex != -1) return DV_E_LINDEX;
    if ((format->tymed & f.tymed) == 0) return DV_E_TYMED;
    *out = &f;
    return S_OK;
  }
  return DV_E_FORMATETC;
}

std::string FormatName(CLIPFORMAT format) {
  switch (format) {
    case CF_ENHMETAFILE:
      return "CF_ENHMETAFILE";
    case CF_BITMAP:
      return "CF_BITMAP";
    default:
      return "format " + std::to_string(format);
  }
}

}  // namespace

void DataObject::SendOnDataChange() {
  if (advise_holder_) (void)advise_holder_->SendOnDataChange(this, 0, 0);
}

HRESULT DataObject::FrameSize(SIZE* out) {
  std::int32_t width = 0, height = 0;
  JV_TRY(face_.Frame1().get_Width(&width));
  JV_TRY(face_.Frame1().get_Height(&height));
  *out = {win32::ToPixels(width, face_.dpi()), win32::ToPixels(height, face_.dpi())};
  // Before the container's first size request the surface still has its design
  // size: a request runs the resize rule, which gives it the frame's, as on a form.
  const SIZE surface = face_.pixel_size();
  if (surface.cx != out->cx || surface.cy != out->cy) (void)face_.RequestSize(out->cx, out->cy);
  return S_OK;
}

HRESULT DataObject::RenderBitmap(HBITMAP* out) {
  *out = nullptr;
  SIZE size{};
  JV_TRY(FrameSize(&size));
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return E_FAIL;
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = dc != nullptr ? CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr;
  ReleaseDC(nullptr, screen);
  if (bitmap == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    return E_OUTOFMEMORY;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  const HRESULT hr = face_.Print(dc, {0, 0, size.cx, size.cy});
  SelectObject(dc, old);
  DeleteDC(dc);
  if (FAILED(hr)) {
    DeleteObject(bitmap);
    return hr;
  }
  *out = bitmap;
  return S_OK;
}

HRESULT DataObject::RenderMetafile(HENHMETAFILE* out) {
  *out = nullptr;
  SIZE size{};
  JV_TRY(FrameSize(&size));
  const int dpi = face_.dpi();
  // The metafile's frame is in hundredths of a millimetre (HIMETRIC): the
  // control's size on paper at the screen's resolution.
  const RECT frame = {0, 0, MulDiv(size.cx, kHimetricPerInch, dpi), MulDiv(size.cy, kHimetricPerInch, dpi)};
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, L"Jornavista\0Calendar\0");
  if (dc == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = face_.Print(dc, {0, 0, size.cx, size.cy});
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  if (metafile == nullptr) return E_OUTOFMEMORY;
  if (FAILED(hr)) {
    DeleteEnhMetaFile(metafile);
    return hr;
  }
  *out = metafile;
  return S_OK;
}

HRESULT DataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  TraceCall("IDataObject::GetData " +
            (format != nullptr ? FormatName(format->cfFormat) : std::string("null")));
  if (medium == nullptr) return E_POINTER;
  *medium = STGMEDIUM{};
  const FORMATETC* match = nullptr;
  JV_TRY(Match(format, &match));
  if (match->cfFormat == CF_BITMAP) {
    HBITMAP bitmap = nullptr;
    JV_TRY(RenderBitmap(&bitmap));
    medium->tymed = TYMED_GDI;
    medium->hBitmap = bitmap;
  } else {
    HENHMETAFILE metafile = nullptr;
    JV_TRY(RenderMetafile(&metafile));
    medium->tymed = TYMED_ENHMF;
    medium->hEnhMetaFile = metafile;
  }
  medium->pUnkForRelease = nullptr;  // the caller owns the handle
  return S_OK;
}

// Both renderings are handles the control makes; a medium the caller allocated
// (global memory, a stream, a storage) takes neither.
HRESULT DataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium) {
  TraceCall("IDataObject::GetDataHere " +
            (format != nullptr ? FormatName(format->cfFormat) : std::string("null")));
  if (medium == nullptr) return E_POINTER;
  const FORMATETC* match = nullptr;
  JV_TRY(Match(format, &match));
  return DV_E_TYMED;
}

HRESULT DataObject::QueryGetData(FORMATETC* format) {
  TraceCall("IDataObject::QueryGetData " +
            (format != nullptr ? FormatName(format->cfFormat) : std::string("null")));
  const FORMATETC* match = nullptr;
  return Match(format, &match);
}

HRESULT DataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
  if (in == nullptr || out == nullptr) return E_INVALIDARG;
  *out = *in;
  out->ptd = nullptr;  // the renderings do not depend on a target device
  return DATA_S_SAMEFORMATETC;
}

HRESULT DataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT DataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
  TraceCall("IDataObject::EnumFormatEtc");
  if (formats == nullptr) return E_POINTER;
  *formats = nullptr;
  if (direction == DATADIR_SET) return E_NOTIMPL;  // nothing can be set
  if (direction != DATADIR_GET) return E_INVALIDARG;
  FORMATETC copy[std::size(kRenderedFormats)];
  for (std::size_t i = 0; i < std::size(kRenderedFormats); ++i) copy[i] = kRenderedFormats[i];
  return CreateFormatEnumerator(static_cast<UINT>(std::size(copy)), copy, formats);
}

HRESULT DataObject::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* cookie) {
  TraceCall("IDataObject::DAdvise " +
            (format != nullptr ? FormatName(format->cfFormat) : std::string("null")));
  if (format == nullptr || sink == nullptr || cookie == nullptr) return E_INVALIDARG;
  *cookie = 0;
  // Any format may be asked for, as long as it is one we render (or a wildcard).
  if (format->cfFormat != 0) {
    const FORMATETC* match = nullptr;
    JV_TRY(Match(format, &match));
  }
  if (!advise_holder_) JV_TRY(CreateDataAdviseHolder(advise_holder_.put()));
  return advise_holder_->Advise(this, format, flags, sink, cookie);
}

HRESULT DataObject::DUnadvise(DWORD cookie) {
  if (!advise_holder_) return OLE_E_NOCONNECTION;
  return advise_holder_->Unadvise(cookie);
}

HRESULT DataObject::EnumDAdvise(IEnumSTATDATA** connections) {
  if (connections == nullptr) return E_POINTER;
  *connections = nullptr;
  if (!advise_holder_) return OLE_E_ADVISENOTSUPPORTED;
  return advise_holder_->EnumAdvise(connections);
}

}  // namespace jv::housing
