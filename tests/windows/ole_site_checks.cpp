// The control in a client site of the checks' own, where every call the control
// makes on its site is counted: a new site replaces the old, a refused rectangle
// moves nothing, the extent before activation, verbs, and the advise enumeration.
// Needs a display (the control makes windows), so container_checks runs it.
#include <windows.h>

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <climits>
#include <string>

#include "housing/jornavista_ids.h"
#include "tests/windows/check.h"
#include "tests/windows/client_site.h"

namespace jv::wincheck {
namespace {

namespace ids = jornavista;

// A client site with an in-place site over a window of its own, counting what the
// control tells it.
class Site final : public ClientSite {
 public:
  explicit Site(int x) {
    window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, 0, 300, 300, nullptr, nullptr, nullptr,
                             nullptr);
  }
  Site(const Site&) = delete;
  Site& operator=(const Site&) = delete;
  ~Site() { DestroyWindow(window); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the checks' stack
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
    ++activations;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    *pos = {10, 10, 241, 259};
    *clip = *pos;
    ++contexts;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
    ++deactivations;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT r) override {
    ++rect_changes;
    last_rect = *r;
    return S_OK;
  }

  ULONG refs = 0;
  int activations = 0, deactivations = 0, contexts = 0, rect_changes = 0;
  RECT last_rect{};
};

template <class T>
T* Query(IUnknown* object, REFIID iid) {
  T* out = nullptr;
  object->QueryInterface(iid, reinterpret_cast<void**>(&out));
  return out;
}

// A new instance, initialised as a new document's, as IOleObject.
IOleObject* NewObject() {
  IOleObject* object = nullptr;
  if (FAILED(CoCreateInstance(ids::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&object))))
    return nullptr;
  if (IPersistStreamInit* persist = Query<IPersistStreamInit>(object, IID_IPersistStreamInit)) {
    persist->InitNew();
    persist->Release();
  }
  return object;
}

HWND WindowOf(IOleObject* object) {
  HWND w = nullptr;
  if (IOleWindow* ow = Query<IOleWindow>(object, IID_IOleWindow)) {
    ow->GetWindow(&w);
    ow->Release();
  }
  return w;
}

void ANewSiteReplacesTheOld(Report& report) {
  Case t(report, "a new client site replaces the old one's in-place site, window and all");
  Site a(0), b(400);
  IOleObject* object = NewObject();
  if (!t.Expect(object != nullptr, "an instance")) return;
  for (bool deactivate_first : {true, false}) {
    const std::string when = deactivate_first ? "after InPlaceDeactivate: " : "while active in A: ";
    t.Status(object->SetClientSite(&a), S_OK, when + "SetClientSite(A)");
    t.Status(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &a, 0, a.window, nullptr), S_OK, when + "DoVerb in A");
    t.Expect(GetParent(WindowOf(object)) == a.window, when + "the control is in A's window");
    IOleInPlaceObject* in_place = Query<IOleInPlaceObject>(object, IID_IOleInPlaceObject);
    if (deactivate_first) t.Status(in_place->InPlaceDeactivate(), S_OK, when + "InPlaceDeactivate");
    in_place->Release();
    const int a_deactivations = a.deactivations, a_activations = a.activations, b_activations = b.activations;
    t.Status(object->SetClientSite(&b), S_OK, when + "SetClientSite(B)");
    if (!deactivate_first) t.Equal(a.deactivations, a_deactivations + 1, when + "A told of the deactivation");
    t.Status(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &b, 0, b.window, nullptr), S_OK, when + "DoVerb in B");
    t.Equal(b.activations, b_activations + 1, when + "B told of the activation");
    t.Equal(a.activations, a_activations, when + "A not told again");
    t.Expect(GetParent(WindowOf(object)) == b.window, when + "the control is in B's window");
    object->SetClientSite(nullptr);
  }
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
  t.Equal(a.refs + b.refs, 0ul, "references left on the sites");
}

void RefusedRectanglesMoveNothing(Report& report) {
  Case t(report, "SetObjectRects: a refused rectangle moves nothing and tells no one; a good one is told unwrapped");
  Site site(0);
  IOleObject* object = NewObject();
  if (!t.Expect(object != nullptr, "an instance")) return;
  object->SetClientSite(&site);
  t.Status(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, site.window, nullptr), S_OK, "DoVerb");
  IOleInPlaceObject* in_place = Query<IOleInPlaceObject>(object, IID_IOleInPlaceObject);
  const struct {
    const char* what;
    RECT rect;
  } refused[] = {
      {"inverted", {200, 200, 100, 100}},
      {"inverted in height only", {20, 200, 300, 100}},
      {"at LONG_MAX", {LONG_MAX - 10, 0, LONG_MAX, 100}},
      {"below LONG_MAX by less than the frame", {0, LONG_MAX - 200, 100, LONG_MAX}},
      {"from LONG_MIN to LONG_MAX", {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}},
  };
  HWND window = WindowOf(object);
  for (const auto& c : refused) {
    RECT before{};
    GetWindowRect(window, &before);
    const int told = site.rect_changes;
    t.Status(in_place->SetObjectRects(&c.rect, &c.rect), E_INVALIDARG, std::string(c.what) + ": SetObjectRects");
    RECT after{};
    GetWindowRect(window, &after);
    t.Expect(EqualRect(&before, &after) != FALSE, std::string(c.what) + ": the window stays");
    t.Equal(site.rect_changes, told, std::string(c.what) + ": OnPosRectChange calls");
  }
  const RECT near_max = {LONG_MAX - 1000, 5, LONG_MAX - 900, 105};
  t.Status(in_place->SetObjectRects(&near_max, &near_max), S_OK, "a rectangle with room below LONG_MAX");
  t.Equal(site.last_rect.left, LONG_MAX - 1000, "the told rectangle's left");
  t.Equal(site.last_rect.right, LONG_MAX - 1000 + 231, "the told rectangle's right, not wrapped");
  in_place->Release();
  object->SetClientSite(nullptr);
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
}

void ExtentVerbsAndAdvise(Report& report) {
  Case t(report, "the frame's extent before activation; an unknown verb runs the primary; EnumAdvise enumerates");
  IOleObject* object = NewObject();
  if (!t.Expect(object != nullptr, "an instance")) return;
  SIZEL size{};
  t.Status(object->GetExtent(DVASPECT_CONTENT, &size), S_OK, "GetExtent before activation");
  t.Equal(size.cx, 6112L, "its width in HIMETRIC (231 pixels)");
  t.Equal(size.cy, 6588L, "its height in HIMETRIC (249 pixels)");
  IEnumSTATDATA* advises = reinterpret_cast<IEnumSTATDATA*>(1);
  t.Status(object->EnumAdvise(&advises), S_OK, "EnumAdvise with no advise");
  if (t.Expect(advises != nullptr, "an enumerator")) {
    STATDATA data{};
    ULONG got = 7;
    t.Status(advises->Next(1, &data, &got), S_FALSE, "it enumerates nothing");
    t.Equal(got, 0ul, "connections enumerated");
    advises->Release();
  }
  Site site(0);
  object->SetClientSite(&site);
  t.Status(object->DoVerb(7, nullptr, &site, 0, site.window, nullptr), OLEOBJ_S_INVALIDVERB, "DoVerb(7)");
  t.Equal(site.activations, 1, "it ran the primary verb: activated in place");
  t.Expect(WindowOf(object) != nullptr, "with its window");
  t.Status(object->DoVerb(-99, nullptr, &site, 0, site.window, nullptr), E_NOTIMPL, "DoVerb(-99)");
  object->SetClientSite(nullptr);
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
}

}  // namespace

void OleSiteChecks(Report& report) {
  ANewSiteReplacesTheOld(report);
  RefusedRectanglesMoveNothing(report);
  ExtentVerbsAndAdvise(report);
}

}  // namespace jv::wincheck
