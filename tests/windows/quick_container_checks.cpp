// Jornavista.ocx in a form container of our own that starts it the way .NET's
// AxHost and browser-style hosts do: IQuickActivate with the ambient flags, the
// font and the sinks, the content extent, then in-place activation on our window.
// Then the control's data for document containers (IDataObject) and its pages.
#include <objbase.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "housing/jornavista_ids.h"
#include "tests/windows/check.h"
#include "tests/windows/driver.h"
#include "tests/windows/form_site.h"
#include "tests/windows/system_text.h"
#include "tests/windows/ole_checks.h"

namespace jv::wincheck {
namespace {

namespace ids = jornavista;
using namespace std::chrono;

constexpr CLSID kStockFontPage = {
    0x7EBDAAE0, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
constexpr RECT kPosition = {20, 30, 320, 350};  // more room than the control takes

// The centre of the day cell `index` (1 to 42) on the screen, from the surface's corner.
POINT CellCentre(POINT surface, int index) {
  const int r = (index - 1) / 7, c = (index - 1) % 7;
  return {surface.x + 11 + 9 + 30 * c + 8, surface.y + 86 + 3 + 25 * r + 8};
}

HRESULT Put(IDispatch* d, DISPID id, VARIANT value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  return d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                   nullptr);
}

void DataChecks(Report& report, IUnknown* control, FormSite& site) {
  IDataObject* data = nullptr;
  control->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
  Case c(report, "IDataObject: the control as a bitmap and an enhanced metafile at the frame's size");
  if (!c.Expect(data != nullptr, "IDataObject")) return;
  struct Query {
    CLIPFORMAT format;
    DWORD aspect;
    DWORD tymed;
    HRESULT expected;
  };
  for (const Query& q : {Query{CF_BITMAP, DVASPECT_CONTENT, TYMED_GDI, S_OK},
                         Query{CF_ENHMETAFILE, DVASPECT_CONTENT, TYMED_ENHMF, S_OK},
                         Query{CF_BITMAP, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_TYMED},
                         Query{CF_BITMAP, DVASPECT_ICON, TYMED_GDI, DV_E_DVASPECT},
                         Query{CF_TEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
                         Query{CF_METAFILEPICT, DVASPECT_CONTENT, TYMED_MFPICT, DV_E_FORMATETC}}) {
    FORMATETC f = {q.format, nullptr, q.aspect, -1, q.tymed};
    c.Status(data->QueryGetData(&f), q.expected,
             "QueryGetData of format " + std::to_string(q.format) + ", tymed " + std::to_string(q.tymed) +
                 ", aspect " + std::to_string(q.aspect));
    STGMEDIUM m{};
    const HRESULT got = data->GetData(&f, &m);
    c.Status(got, q.expected, "GetData of the same");
    if (SUCCEEDED(got)) ReleaseStgMedium(&m);
  }
  FORMATETC bitmap_format = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
  STGMEDIUM medium{};
  if (c.Status(data->GetData(&bitmap_format, &medium), S_OK, "GetData CF_BITMAP")) {
    BITMAP info{};
    GetObjectW(medium.hBitmap, sizeof info, &info);
    c.Equal(info.bmWidth, 231L, "the bitmap's width");
    c.Equal(info.bmHeight, 249L, "the bitmap's height");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, medium.hBitmap);
    c.Equal(ColorText(GetPixel(dc, 11, 56)), ColorText(GetSysColor(COLOR_HIGHLIGHT)),
            "the band in the bitmap");
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseStgMedium(&medium);
  }
  FORMATETC emf_format = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  if (c.Status(data->GetData(&emf_format, &medium), S_OK, "GetData CF_ENHMETAFILE")) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(medium.hEnhMetaFile, sizeof header, &header);
    // The frame in HIMETRIC: 231 by 249 pixels at 96 dpi (GDI keeps it inclusive).
    c.Expect(std::abs(header.rclFrame.right - 6112) <= 2 && std::abs(header.rclFrame.bottom - 6588) <= 2,
             "the metafile's frame is 6112 by 6588 (it is " + std::to_string(header.rclFrame.right) + " by " +
                 std::to_string(header.rclFrame.bottom) + ")");
    // Played back at its size, it shows the band where the screen does.
    BITMAPINFO bits{};
    bits.bmiHeader = {sizeof(BITMAPINFOHEADER), 231, -249, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &bits, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all = {0, 0, 231, 249};
    c.Expect(PlayEnhMetaFile(dc, medium.hEnhMetaFile, &all) != FALSE, "PlayEnhMetaFile");
    c.Equal(ColorText(GetPixel(dc, 11, 56)), ColorText(GetSysColor(COLOR_HIGHLIGHT)),
            "the band in the metafile");
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseStgMedium(&medium);
  }
  c.Status(data->GetDataHere(&bitmap_format, &medium), DV_E_TYMED,
           "GetDataHere: the handles are the control's");
  IEnumFORMATETC* formats = nullptr;
  if (c.Status(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK, "EnumFormatEtc")) {
    FORMATETC got[4] = {};
    ULONG n = 0;
    formats->Next(4, got, &n);
    c.Equal(n, 2ul, "formats enumerated");
    c.Expect(n == 2 && got[0].cfFormat == CF_ENHMETAFILE && got[1].cfFormat == CF_BITMAP,
             "the metafile, then the bitmap");
    formats->Release();
  }
  c.Status(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL, "nothing can be set");
  c.Status(data->SetData(&bitmap_format, &medium, FALSE), E_NOTIMPL, "SetData");
  FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  DWORD cookie = 0;
  c.Status(data->DAdvise(&text, 0, &site, &cookie), DV_E_FORMATETC, "DAdvise for a format it has not");
  data->Release();
}

void PagesCheck(Report& report, IUnknown* control) {
  Case c(report, "ISpecifyPropertyPages: our page first, the standard font page second");
  ISpecifyPropertyPages* pages = nullptr;
  control->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages));
  if (!c.Expect(pages != nullptr, "ISpecifyPropertyPages")) return;
  CAUUID list{};
  c.Status(pages->GetPages(&list), S_OK, "GetPages");
  c.Equal(list.cElems, 2ul, "pages");
  c.Expect(list.cElems == 2 && list.pElems[0] == ids::CLSID_JornavistaPropertyPage &&
               list.pElems[1] == kStockFontPage,
           "the order");
  CoTaskMemFree(list.pElems);
  pages->Release();
}

}  // namespace

void QuickActivationChecks(Report& report, Driver& driver) {
  HWND form = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 400,
                              nullptr, nullptr, nullptr, nullptr);
  FormSite site(form, kPosition);
  site.user_mode = false;  // a form designer has the form open
  IQuickActivate* quick = nullptr;
  IUnknown* control = nullptr;
  IDispatch* dispatch = nullptr;
  IFont* font = nullptr;
  FONTDESC desc = {sizeof(FONTDESC),
                   const_cast<LPOLESTR>(L"Arial"),
                   {{100000, 0}},
                   400,
                   ANSI_CHARSET,
                   FALSE,
                   FALSE,
                   FALSE};
  OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(&font));
  {
    Case c(report, "IQuickActivate: site, ambient flags and font, sinks; the control's answers");
    if (!c.Status(CoCreateInstance(ids::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IQuickActivate, reinterpret_cast<void**>(&quick)),
                  S_OK, "the instance answers IQuickActivate"))
      return;
    quick->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&control));
    control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    QACONTAINER container{};
    container.cbSize = sizeof container;
    container.pClientSite = &site;
    container.pAdviseSink = &site;
    container.pPropertyNotifySink = &site;
    container.dwAmbientFlags = QACONTAINER_AUTOCLIP;  // not QACONTAINER_USERMODE: design mode
    container.colorFore = 0x80000008;
    container.colorBack = 0x80000005;
    container.pFont = font;
    QACONTROL answers{};
    answers.cbSize = sizeof answers;
    c.Status(quick->QuickActivate(&container, &answers), S_OK, "QuickActivate");
    c.Equal(static_cast<unsigned long>(answers.dwMiscStatus), 0x20191ul, "dwMiscStatus");
    c.Expect((answers.dwViewStatus & VIEWSTATUS_OPAQUE) != 0, "dwViewStatus says opaque");
    c.Expect(answers.dwPropNotifyCookie != 0, "a property-notify cookie");
    c.Equal(static_cast<unsigned long>(answers.dwEventCookie), 0ul, "no event sink, no event cookie");
    QACONTROL short_answers{};
    short_answers.cbSize = 8;
    c.Status(quick->QuickActivate(&container, &short_answers), E_INVALIDARG,
             "a QACONTROL too short is refused");

    IPersistStreamInit* persist = nullptr;
    control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    c.Status(persist->InitNew(), S_OK, "InitNew");
    persist->Release();
    VARIANT got;
    VariantInit(&got);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    dispatch->Invoke(ids::DISPID_Font, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &got, nullptr, nullptr);
    IUnknown *held = nullptr, *given = nullptr;
    if (got.vt == VT_DISPATCH && got.pdispVal != nullptr)
      got.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&held));
    font->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&given));
    c.Expect(held != nullptr && held == given,
             "the new instance's Font is the container's ambient font object");
    if (held) held->Release();
    given->Release();
    VariantClear(&got);

    // AxHost's order: the size it wants, then the size the control took.
    SIZEL asked = {10000, 3000};
    c.Status(quick->SetContentExtent(&asked), S_OK, "SetContentExtent(10000, 3000)");
    SIZEL extent{};
    c.Status(quick->GetContentExtent(&extent), S_OK, "GetContentExtent");
    c.Expect(extent.cx == 6112 && extent.cy == 6588, "the frame's extent in HIMETRIC, 6112 by 6588 (it is " +
                                                         std::to_string(extent.cx) + " by " +
                                                         std::to_string(extent.cy) + ")");
  }
  IOleObject* object = nullptr;
  control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  HWND surface = nullptr;
  {
    Case c(report, "in place on our form; the sinks QuickActivate connected hear a change of SDate");
    RECT position = kPosition;
    c.Status(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, form, &position), S_OK, "DoVerb");
    IOleWindow* window = nullptr;
    control->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window));
    window->GetWindow(&surface);
    window->Release();
    c.Expect(surface != nullptr, "a window");
    c.Expect(
        site.reported.right - site.reported.left == 231 && site.reported.bottom - site.reported.top == 249,
        "OnPosRectChange reports the frame's size");
    IDataObject* data = nullptr;
    control->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
    FORMATETC any = {CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
    DWORD cookie = 0;
    c.Status(data->DAdvise(&any, ADVF_NODATA, &site, &cookie), S_OK, "DAdvise");
    const int views = site.view_changes, datas = site.data_changes;
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"any text");
    c.Status(Put(dispatch, ids::DISPID_SDate, text), S_OK, "put SDate");
    VariantClear(&text);
    c.Equal(site.changed[ids::DISPID_SDate], 1, "OnChanged(SDate) on the property-notify sink");
    c.Expect(site.view_changes > views, "OnViewChange on the view sink");
    c.Expect(site.data_changes > datas, "OnDataChange on the data advise sink");
    c.Status(data->DUnadvise(cookie), S_OK, "DUnadvise");
    data->Release();
  }
  Driver::Pump(300);
  RECT r{};
  GetWindowRect(surface, &r);
  const POINT corner = {r.left, r.top};
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const year_month shown = year(now.wYear) / now.wMonth;
  const int cell14 = static_cast<int>(weekday(sys_days(shown / 1)).c_encoding()) + 14;
  _ctrJornavista* typed = nullptr;
  control->QueryInterface(ids::IID__ctrJornavista, reinterpret_cast<void**>(&typed));
  auto sdate = [&] {
    BSTR b = nullptr;
    typed->get_SDate(&b);
    std::wstring s(b ? b : L"");
    SysFreeString(b);
    return U8(s.c_str());
  };
  {
    Case c(report, "design mode (USERMODE not set): a real click on a day changes nothing");
    const int notices = site.changed[ids::DISPID_SDate];
    driver.Click(CellCentre(corner, cell14));
    c.Equal(sdate(), std::string("any text"), "SDate after the click");
    c.Equal(site.changed[ids::DISPID_SDate], notices, "change notices");
    driver.Screenshot("quick-1-design-mode");
  }
  {
    Case c(report, "OnAmbientPropertyChange with user mode back on: the same click selects the day");
    site.user_mode = true;
    IOleControl* ole_control = nullptr;
    control->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&ole_control));
    c.Status(ole_control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK, "OnAmbientPropertyChange");
    const int notices = site.changed[ids::DISPID_SDate];
    driver.Click(CellCentre(corner, cell14));
    c.Equal(sdate(), U8(UserDate(int(shown.year()), int(unsigned(shown.month())), 14).c_str()), "SDate after the click");
    c.Equal(site.changed[ids::DISPID_SDate], notices + 1, "change notices");
    driver.Screenshot("quick-2-user-mode");
    site.ui_dead = true;
    ole_control->OnAmbientPropertyChange(DISPID_AMBIENT_UIDEAD);
    driver.Click(CellCentre(corner, cell14 + 1));
    c.Equal(sdate(), U8(UserDate(int(shown.year()), int(unsigned(shown.month())), 14).c_str()), "SDate after a click while the interface is dead");
    ole_control->Release();
  }
  DataChecks(report, control, site);
  PagesCheck(report, control);
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  object->Release();
  typed->Release();
  dispatch->Release();
  control->Release();
  quick->Release();
  font->Release();
  DestroyWindow(form);
  Driver::Pump(100);
}

}  // namespace jv::wincheck
