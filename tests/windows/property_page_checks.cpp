// The control's property page: in the system's property frame (OleCreatePropertyFrame,
// which under Wine 8 shows the page but never applies it), and driven directly in a
// window of our own, where real typing fills its fields and Apply puts the values
// into two controls at once, or refuses a bad one and changes nothing.
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <string>

#include "housing/jornavista_ids.h"
#include "tests/windows/form_site.h"
#include "tests/windows/ole_checks.h"
#include "tests/windows/system_text.h"

namespace jv::wincheck {
namespace {

namespace ids = jornavista;

constexpr wchar_t kPageClass[] = L"JornavistaPropertyPage";
constexpr int kFirstFieldId =
    100;  // the fields in the order SDate, BackColor, ForeColor, BackStyle, BorderStyle
constexpr int kMessageId = 99;

class PageSite final : public OnStack<IPropertyPageSite, IID_IPropertyPageSite> {
 public:
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override {
    if (flags & PROPPAGESTATUS_DIRTY) ++dirty_notices;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* lcid) override {
    *lcid = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }
  int dirty_notices = 0;
};

// Window enumeration callbacks carry the system's calling convention (a lambda
// would have the compiler's, which differs on 32-bit Windows).
BOOL CALLBACK MatchPage(HWND w, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  if (lstrcmpW(name, kPageClass) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}

BOOL CALLBACK SearchTopLevel(HWND top, LPARAM found) {
  EnumChildWindows(top, MatchPage, found);
  return *reinterpret_cast<HWND*>(found) == nullptr;
}

// Our page's window among the windows of this thread (the property frame's).
HWND FindPage() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), SearchTopLevel, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring Text(HWND w) {
  wchar_t text[256] = {};
  if (w != nullptr) GetWindowTextW(w, text, 256);
  return text;
}

// What the frame's modal loop does for us: once our page shows, a screenshot, the
// field it shows, and Cancel.
struct FrameVisit {
  Driver* driver = nullptr;
  HWND page = nullptr;
  std::wstring shown_sdate;
  int tries = 0;
} g_visit;

void CALLBACK VisitFrame(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND page = FindPage();
  if (page == nullptr && ++g_visit.tries < 100) return;
  KillTimer(nullptr, timer);
  g_visit.page = page;
  HWND sheet = page != nullptr ? GetAncestor(page, GA_ROOT) : nullptr;
  if (page != nullptr) {
    g_visit.shown_sdate = Text(GetDlgItem(page, kFirstFieldId));
    g_visit.driver->Screenshot("page-1-property-frame");
  }
  if (sheet != nullptr) {
    constexpr UINT kPressButton = WM_USER + 113;  // PSM_PRESSBUTTON
    constexpr WPARAM kCancel = 5;                 // PSBTN_CANCEL
    PostMessageW(sheet, kPressButton, kCancel, 0);
  }
}

std::wstring SDate(_ctrJornavista* c) {
  BSTR b = nullptr;
  c->get_SDate(&b);
  std::wstring s(b ? b : L"");
  SysFreeString(b);
  return s;
}

struct Hosted {
  _ctrJornavista* control = nullptr;
  FormSite notices{nullptr, {}};
  DWORD cookie = 0;
};

bool Create(Hosted* h) {
  if (FAILED(CoCreateInstance(ids::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER,
                              ids::IID__ctrJornavista, reinterpret_cast<void**>(&h->control))))
    return false;
  IPersistStreamInit* persist = nullptr;
  h->control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  if (persist) persist->InitNew(), persist->Release();
  IConnectionPointContainer* points = nullptr;
  IConnectionPoint* point = nullptr;
  h->control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points));
  points->FindConnectionPoint(IID_IPropertyNotifySink, &point);
  point->Advise(static_cast<IPropertyNotifySink*>(&h->notices), &h->cookie);
  point->Release();
  points->Release();
  return true;
}

void InTheFrame(Report& report, Driver& driver) {
  Case c(report, "OleCreatePropertyFrame shows our page with the control's values");
  Hosted h;
  if (!c.Expect(Create(&h), "a control")) return;
  h.control->put_SDate(SysAllocString(L"9/11/2003"));
  ISpecifyPropertyPages* specify = nullptr;
  h.control->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&specify));
  CAUUID pages{};
  specify->GetPages(&pages);
  specify->Release();
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  g_visit = {};
  g_visit.driver = &driver;
  SetTimer(nullptr, 0, 100, VisitFrame);
  IUnknown* objects[] = {h.control};
  const HRESULT hr = OleCreatePropertyFrame(owner, 40, 40, L"Calendar", 1, objects, pages.cElems,
                                            pages.pElems, LOCALE_USER_DEFAULT, 0, nullptr);
  CoTaskMemFree(pages.pElems);
  c.Status(hr, S_OK, "OleCreatePropertyFrame");
  c.Expect(g_visit.page != nullptr, "our page's window in the frame");
  c.Equal(U8(g_visit.shown_sdate.c_str()), std::string("9/11/2003"),
          "the SDate field shows the control's SDate");
  h.control->Release();
  DestroyWindow(owner);
}

void Directly(Report& report, Driver& driver) {
  HWND form = CreateWindowExW(WS_EX_CONTROLPARENT, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                              0, 360, 260, nullptr, nullptr, nullptr, nullptr);
  Hosted a, b;
  IPropertyPage2* page = nullptr;
  PageSite site;
  {
    Case c(report, "the page over two controls in a window of our own");
    if (!c.Expect(Create(&a) && Create(&b), "two controls")) return;
    a.control->put_SDate(SysAllocString(L"first"));
    b.control->put_SDate(SysAllocString(L"second"));
    a.notices.changed.clear();
    b.notices.changed.clear();
    if (!c.Status(CoCreateInstance(ids::CLSID_JornavistaPropertyPage, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IPropertyPage2, reinterpret_cast<void**>(&page)),
                  S_OK, "the page class is registered and served"))
      return;
    PROPPAGEINFO info{};
    c.Status(page->GetPageInfo(&info), S_OK, "GetPageInfo");
    c.Equal(U8(info.pszTitle ? info.pszTitle : L""), std::string("Calendar"), "the title");
    CoTaskMemFree(info.pszTitle);
    c.Status(page->SetPageSite(&site), S_OK, "SetPageSite");
    IUnknown* objects[] = {a.control, b.control};
    c.Status(page->SetObjects(2, objects), S_OK, "SetObjects of two");
    RECT rect = {10, 10, 330, 240};
    c.Status(page->Activate(form, &rect, TRUE), S_OK, "Activate");
    c.Status(page->Show(SW_SHOW), S_OK, "Show");
    c.Status(page->IsPageDirty(), S_FALSE, "IsPageDirty before any edit");
  }
  HWND window = FindWindowExW(form, nullptr, kPageClass, nullptr);
  auto field = [&](int i) { return GetDlgItem(window, kFirstFieldId + i); };
  auto where = [&](int i) {
    RECT r{};
    GetWindowRect(field(i), &r);
    return POINT{r.left + 20, (r.top + r.bottom) / 2};
  };
  {
    Case c(report, "typed into the page, applied to both controls through IDispatch, with change notices");
    c.Equal(U8(Text(field(0)).c_str()), std::string("first"), "the page shows the first control's SDate");
    driver.Type(where(0), "24/12/2003");
    driver.Type(where(1), "&H0000FF00&");
    c.Status(page->IsPageDirty(), S_OK, "IsPageDirty after typing");
    c.Expect(site.dirty_notices > 0, "the page told its site it is dirty");
    c.Status(page->Apply(), S_OK, "Apply");
    c.Status(page->IsPageDirty(), S_FALSE, "IsPageDirty after Apply");
    for (Hosted* h : {&a, &b}) {
      const std::string which = h == &a ? "first" : "second";
      c.Equal(U8(SDate(h->control).c_str()), std::string("24/12/2003"), which + " control's SDate");
      OLE_COLOR color = 0;
      h->control->get_BackColor(&color);
      c.Equal(static_cast<unsigned long>(color), 0xFF00ul, which + " control's BackColor");
      c.Equal(h->notices.changed[ids::DISPID_SDate], 1, which + " control's SDate notices");
      c.Equal(h->notices.changed[ids::DISPID_BackColor], 1, which + " control's BackColor notices");
      c.Equal(h->notices.changed[ids::DISPID_ForeColor], 0,
              which + " control's ForeColor notices (not edited)");
    }
  }
  {
    Case c(report,
           "a style beyond 16 bits or a colour that is none is refused with a message; nothing changes");
    driver.Type(where(0), "31/12/2003");
    driver.Type(where(4), "70000");
    c.Status(page->Apply(), E_INVALIDARG, "Apply with BorderStyle 70000");
    const std::string message = U8(Text(GetDlgItem(window, kMessageId)).c_str());
    c.Expect(message.find("BorderStyle") != std::string::npos, "the message names BorderStyle: " + message);
    driver.Type(where(4), "7");
    driver.Type(where(2), "&H7F000000&");
    c.Status(page->Apply(), E_INVALIDARG, "Apply with ForeColor &H7F000000&");
    c.Expect(U8(Text(GetDlgItem(window, kMessageId)).c_str()).find("ForeColor") != std::string::npos,
             "the message names ForeColor");
    driver.Screenshot("page-2-refused");
    for (Hosted* h : {&a, &b}) {
      c.Equal(U8(SDate(h->control).c_str()), std::string("24/12/2003"), "SDate unchanged");
      short style = -1;
      h->control->get_BorderStyle(&style);
      c.Equal(style, short{0}, "BorderStyle unchanged");
      c.Equal(h->notices.changed[ids::DISPID_SDate], 1, "no new SDate notice");
    }
    c.Status(page->IsPageDirty(), S_OK, "the page is still dirty");
    driver.Type(where(2), "&H8000000D&");
    c.Status(page->Apply(), S_OK, "Apply once the values are good");
    short style = 0;
    a.control->get_BorderStyle(&style);
    c.Equal(style, short{7}, "BorderStyle");
    c.Equal(U8(SDate(b.control).c_str()), std::string("31/12/2003"), "SDate");
    c.Equal(U8(Text(GetDlgItem(window, kMessageId)).c_str()), std::string(""), "the message is gone");
    driver.Screenshot("page-3-applied");
  }
  {
    Case c(report, "IPropertyPage2::EditProperty puts the focus on the property's field");
    c.Status(page->EditProperty(ids::DISPID_BackStyle), S_OK, "EditProperty(BackStyle)");
    c.Expect(GetFocus() == field(3), "the BackStyle field has the focus");
    c.Status(page->EditProperty(12345), E_INVALIDARG, "EditProperty of no field of the page");
  }
  page->Deactivate();
  page->SetObjects(0, nullptr);
  page->SetPageSite(nullptr);
  page->Release();
  a.control->Release();
  b.control->Release();
  DestroyWindow(form);
}

}  // namespace

void PropertyPageChecks(Report& report, Driver& driver) {
  InTheFrame(report, driver);
  Directly(report, driver);
}

}  // namespace jv::wincheck
