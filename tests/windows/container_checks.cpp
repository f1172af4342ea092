// Jornavista.ocx on a form of Wine's own ATL container, driven by real input from
// outside the process. This program hosts the control (atl.dll's AtlAxWin window
// class with the programmatic identifier as its text; nothing of the hosting is
// ours), computes what to expect from today's date, and asks its driver
// (scripts/windows-container-tests.sh) for the clicks, keys and screenshots, one
// request a line on standard output (tests/windows/driver.h).
//
// container_checks SCREENSHOT_FOLDER
#include <windows.h>

#include <objbase.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "housing/jornavista_ids.h"
#include "tests/windows/check.h"
#include "tests/windows/driver.h"
#include "tests/windows/system_text.h"

namespace jv::wincheck {
namespace {

namespace ids = jornavista;
using namespace std::chrono;
using Shot = Driver::Shot;

// --- dates, from the system clock

struct Month {
  year_month ym;
  int first_column() const { return static_cast<int>(weekday(sys_days(ym / 1)).c_encoding()); }  // Sunday 0
  int days() const { return static_cast<int>(unsigned((ym / last).day())); }
  int CellOf(int day) const { return first_column() + day; }  // 1-based cell index
};

std::wstring MonthCaption(year_month ym) {
  wchar_t name[80] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SMONTHNAME1 + unsigned(ym.month()) - 1, name, 80);
  return std::wstring(name) + L", " + std::to_wstring(int(ym.year()));
}

std::wstring DateText(year_month_day d) {
  return UserDate(int(d.year()), int(unsigned(d.month())), int(unsigned(d.day())));
}

// --- the control's layout in pixels at 96 dpi, from the surface's corner

constexpr int kFrameWidth = 231, kFrameHeight = 249;
constexpr POINT kGridClient = {9 + 2, 84 + 2};  // Picture1 in the frame, inside its sunken edge

RECT CellRect(POINT surface, int index) {
  const int r = (index - 1) / 7, c = (index - 1) % 7;
  const int left = surface.x + kGridClient.x + 9 + 30 * c, top = surface.y + kGridClient.y + 3 + 25 * r;
  return {left, top, left + 16, top + 16};
}
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
POINT Inside(const RECT& r) { return {r.left + 1, r.top + 1}; }  // a background pixel, clear of the text

// --- the hosted control

class NotifySink final : public OnStack<IPropertyNotifySink, IID_IPropertyNotifySink> {
 public:
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    if (id == ids::DISPID_SDate) ++sdate_notices;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
  int sdate_notices = 0;
};

std::wstring SDateOf(_ctrJornavista* c) {
  BSTR b = nullptr;
  if (FAILED(c->get_SDate(&b))) return L"<failed>";
  std::wstring text(b, SysStringLen(b));
  SysFreeString(b);
  return text;
}

std::string U8w(const std::wstring& w) { return U8(w.c_str()); }

struct ChildSearch {
  const wchar_t* name;
  DWORD bit;
  HWND found;
};

// An enumeration callback, so the system's calling convention (a lambda has the
// C++ one, which differs on 32-bit Windows).
BOOL CALLBACK MatchChild(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ChildSearch*>(p);
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  if (lstrcmpiW(name, s->name) == 0 && (GetWindowLongW(w, GWL_STYLE) & s->bit) == s->bit) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindChild(HWND parent, const wchar_t* class_name, DWORD style_bit) {
  ChildSearch s{class_name, style_bit, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

class Checks {
 public:
  Checks(Report& report, Driver& driver) : report_(report), folder_(driver.folder()), driver_(driver) {}
  int Run();

 private:
  bool Host();
  Shot Screenshot(const std::string& name) { return driver_.Screenshot(name); }
  void Click(POINT p, int times = 1) { driver_.Click(p, times); }
  // The key goes down with the pointer over the day grid.
  void Key(const char* name) { driver_.Key(name, Centre(CellRect(surface_, 18))); }
  // Exactly the cell `index` shows the highlight among the 42.
  void ExpectHighlight(Case& c, const Shot& shot, int index, const std::string& when);
  void LayoutAndStartUp();
  void DayClickAsInTheOverview();
  void KeysAndPaging();
  void CaptionShowsWhole();
  void Persistence();
  void Drawing();
  void Extent();
  void Answers();
  void SecondInstance();

  Report& report_;
  std::string folder_;
  Driver& driver_;
  HWND main_ = nullptr, host_ = nullptr, surface_window_ = nullptr;
  POINT surface_{};
  IUnknown* control_unknown_ = nullptr;
  _ctrJornavista* control_ = nullptr;
  NotifySink sink_;
  year_month_day today_{};
  Month shown_{};
  COLORREF highlight_ = 0, window_ = 0;
};

bool Checks::Host() {
  Case c(report_, "Wine's ATL container hosts the control by its programmatic identifier");
  HMODULE atl = LoadLibraryW(L"atl.dll");
  if (!c.Expect(atl != nullptr, "atl.dll loads")) return false;
  using Init = BOOL(WINAPI*)();
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto get_control = reinterpret_cast<GetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  if (!c.Expect(init != nullptr && get_control != nullptr && init(), "AtlAxWinInit")) return false;
  main_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
  // The container asks for more room than the control takes.
  host_ = CreateWindowExW(0, L"AtlAxWin", L"JornavistaControl.ctrJornavista", WS_CHILD | WS_VISIBLE, 20, 30, 300,
                          320, main_, nullptr, nullptr, nullptr);
  if (!c.Expect(host_ != nullptr, "an AtlAxWin window")) return false;
  if (!c.Status(get_control(host_, &control_unknown_), S_OK, "AtlAxGetControl")) return false;
  c.Status(control_unknown_->QueryInterface(ids::IID__ctrJornavista, reinterpret_cast<void**>(&control_)), S_OK,
           "the instance answers _ctrJornavista");
  IOleWindow* window = nullptr;
  if (c.Status(control_unknown_->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)), S_OK,
               "IOleWindow")) {
    c.Status(window->GetWindow(&surface_window_), S_OK, "the control has a window in place");
    window->Release();
  }
  IConnectionPointContainer* points = nullptr;
  IConnectionPoint* notify = nullptr;
  DWORD cookie = 0;
  if (SUCCEEDED(control_unknown_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) {
    if (SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, &notify))) {
      c.Status(notify->Advise(&sink_, &cookie), S_OK, "a property-notify sink connects");
      notify->Release();
    }
    points->Release();
  }
  if (control_ == nullptr || surface_window_ == nullptr) return false;
  Driver::Pump(500);
  RECT r{};
  GetWindowRect(surface_window_, &r);
  surface_ = {r.left, r.top};
  std::printf("note the control's window is at %ld,%ld on the screen\n", r.left, r.top);
  return true;
}

void Checks::ExpectHighlight(Case& c, const Shot& shot, int index, const std::string& when) {
  std::string highlighted;
  for (int i = 1; i <= 42; ++i) {
    const COLORREF got = shot.At(Inside(CellRect(surface_, i)));
    const bool is = got == highlight_;
    if (is != (i == index) || (!is && got != window_))
      c.Expect(false, when + ": cell " + std::to_string(i) + " shows " + ColorText(got));
  }
}

void Checks::LayoutAndStartUp() {
  Case c(report_, "at start-up: today's month, today's cell highlighted, the frame's size, the band and headings");
  RECT r{};
  GetWindowRect(surface_window_, &r);
  c.Equal(r.right - r.left, kFrameWidth, "the control's width in pixels (the container asked for 300)");
  c.Equal(r.bottom - r.top, kFrameHeight, "the control's height in pixels (the container asked for 320)");
  c.Equal(U8w(WindowText(FindChild(surface_window_, L"Edit", ES_CENTER))), U8w(MonthCaption(shown_.ym)),
          "the month caption");
  c.Equal(U8w(SDateOf(control_)), U8w(DateText(today_)), "SDate");
  // The selected date's box lies below the frame and never shows; it is made once
  // the control has painted, the last of the surface's children, as if made with
  // the rest, and holds SDate.
  HWND date_box = GetWindow(GetWindow(surface_window_, GW_CHILD), GW_HWNDLAST);
  wchar_t date_class[16] = {};
  if (date_box != nullptr) GetClassNameW(date_box, date_class, 16);
  RECT date_rect{};
  if (date_box != nullptr) GetWindowRect(date_box, &date_rect);
  c.Expect(lstrcmpiW(date_class, L"Edit") == 0, "the surface's last child is the selected date's edit box");
  c.Expect((GetWindowLongW(date_box, GWL_STYLE) & (ES_CENTER | ES_READONLY)) == ES_READONLY,
           "read-only, its text on the left");
  c.Equal(date_rect.top - r.top >= kFrameHeight, true, "below the frame's bottom edge");
  c.Equal(U8w(WindowText(date_box)), U8w(SDateOf(control_)), "the date box holds SDate");
  const Shot shot = Screenshot("1-start-up");
  if (!c.Expect(shot.width > 0, "a screenshot")) return;
  ExpectHighlight(c, shot, shown_.CellOf(int(unsigned(today_.day()))), "start-up");
  // The frame's etched edge ends at its size: the last column and row are the
  // edge's light line, the ones before its dark line.
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  c.Equal(ColorText(shot.At({surface_.x + kFrameWidth - 1, surface_.y + 120})), ColorText(light), "right edge, outer");
  c.Equal(ColorText(shot.At({surface_.x + kFrameWidth - 2, surface_.y + 120})), ColorText(dark), "right edge, inner");
  c.Equal(ColorText(shot.At({surface_.x + 100, surface_.y + kFrameHeight - 1})), ColorText(light), "bottom edge, outer");
  // The band (Label8) from 10,55 to 226,81 in the frame, in the highlight colour,
  // with the seven headings on it in the highlight text colour.
  for (POINT p : {POINT{11, 56}, POINT{225, 56}, POINT{11, 80}, POINT{225, 80}, POINT{118, 58}})
    c.Equal(ColorText(shot.At({surface_.x + p.x, surface_.y + p.y})), ColorText(highlight_),
            "the band at " + std::to_string(p.x) + "," + std::to_string(p.y));
  c.Expect(shot.At({surface_.x + 11, surface_.y + 54}) != highlight_, "the band starts at y 55");
  const int heading_left[] = {20, 50, 80, 112, 140, 170, 200};  // Left / 15
  const COLORREF text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  for (int h = 0; h < 7; ++h) {
    int ink = 0;
    for (int y = 60; y < 76; ++y)
      for (int x = heading_left[h]; x < heading_left[h] + 16; ++x)
        ink += shot.At({surface_.x + x, surface_.y + y}) == text;
    c.Expect(ink > 0, "heading " + std::to_string(h + 1) + " shows its letter in the highlight text colour");
  }
}

void Checks::DayClickAsInTheOverview() {
  Case c(report_, "a click on the cell showing 14: highlight, SDate, one change notice, focus on the grid");
  const int cell = shown_.CellOf(14);
  const int notices = sink_.sdate_notices;
  Click(Centre(CellRect(surface_, cell)));
  const year_month_day fourteenth = shown_.ym / 14;
  c.Equal(U8w(SDateOf(control_)), U8w(DateText(fourteenth)), "SDate after the click");
  c.Equal(U8w(WindowText(GetWindow(GetWindow(surface_window_, GW_CHILD), GW_HWNDLAST))), U8w(DateText(fourteenth)),
          "the date box after the click");
  c.Equal(sink_.sdate_notices - notices, 1, "change notices of SDate");
  HWND focus = GetFocus();
  wchar_t name[64] = {};
  GetClassNameW(focus, name, 64);
  c.Equal(U8w(name), std::string("JornavistaPicture"), "the window with the focus");
  const Shot shot = Screenshot("2-day-14");
  if (shot.width > 0) ExpectHighlight(c, shot, cell, "after the click");

  Case twice(report_, "a double click on a day is two day clicks");
  Click(Centre(CellRect(surface_, cell)), 2);
  twice.Equal(sink_.sdate_notices - notices, 3, "change notices of SDate after one click and a double click");
  twice.Equal(U8w(SDateOf(control_)), U8w(DateText(fourteenth)), "SDate");
}

void Checks::KeysAndPaging() {
  {
    Case c(report_, "arrow keys move the selected day within the month");
    struct Step {
      const char* key;
      int day;
    };
    for (Step s : {Step{"Right", 15}, Step{"Down", 22}, Step{"Left", 21}, Step{"Up", 14}}) {
      Key(s.key);
      c.Equal(U8w(SDateOf(control_)), U8w(DateText(shown_.ym / s.day)), std::string("SDate after ") + s.key);
    }
    const Shot shot = Screenshot("3-after-arrows");
    if (shot.width > 0) ExpectHighlight(c, shot, shown_.CellOf(14), "after the arrows");
  }
  const int start_day = int(unsigned(today_.day()));
  auto expect_month = [&](Case& c, year_month ym, const std::string& name, const std::wstring& sdate_before) {
    const Month m{ym};
    c.Equal(U8w(WindowText(FindChild(surface_window_, L"Edit", ES_CENTER))), U8w(MonthCaption(ym)),
            name + ": the month caption");
    const bool has_day = start_day <= m.days();
    c.Equal(U8w(SDateOf(control_)), has_day ? U8w(DateText(ym / start_day)) : U8w(sdate_before), name + ": SDate");
    const Shot shot = Screenshot(name);
    if (shot.width > 0) ExpectHighlight(c, shot, has_day ? m.CellOf(start_day) : 0, name);
  };
  const POINT surface = surface_;
  const POINT next = {surface.x + 184 + 21, surface.y + 25 + 10}, previous = {surface.x + 5 + 25, surface.y + 25 + 10};
  {
    Case c(report_, "\">>\" shows the next month with the start-up day selected again");
    const std::wstring before = SDateOf(control_);
    Click(next);
    expect_month(c, shown_.ym + months(1), "4-next-month", before);
  }
  {
    Case c(report_, "\"<<\" twice shows the month before today's");
    Click(previous);
    const std::wstring before = SDateOf(control_);
    Click(previous);
    expect_month(c, shown_.ym - months(1), "5-previous-month", before);
  }
  {
    Case c(report_, "Page Down steps 32 days and commits the day under the cursor");
    // The reference date is today's day one month back (shortened to that month's end).
    const year_month back = shown_.ym - months(1);
    const Month back_month{back};
    const year_month_day reference = back / std::min<unsigned>(unsigned(today_.day()), back_month.days());
    Click(Centre(CellRect(surface_, back_month.CellOf(14))));  // the cursor on the 14th, the focus on the grid
    const int cursor = back_month.CellOf(14);
    Key("Next");
    const year_month_day after = sys_days(reference) + days(32);
    const Month m{after.year() / after.month()};
    c.Equal(U8w(WindowText(FindChild(surface_window_, L"Edit", ES_CENTER))), U8w(MonthCaption(m.ym)),
            "the month caption after Page Down");
    const int day = cursor - m.first_column();
    if (day >= 1 && day <= m.days())
      c.Equal(U8w(SDateOf(control_)), U8w(DateText(m.ym / day)), "SDate: the day in the cursor's cell");
    Key("Prior");
    c.Equal(U8w(WindowText(FindChild(surface_window_, L"Edit", ES_CENTER))),
            U8w(MonthCaption(year_month_day(sys_days(after) - days(32)).year() /
                             year_month_day(sys_days(after) - days(32)).month())),
            "the month caption after Page Up");
  }
}

// September's is the widest month caption in English: ">>" pages to it, and its
// text, in the caption box's own font, must fit the box; on the screen its ink ends
// with background to spare before the box's right edge and spans the whole text.
void Checks::CaptionShowsWhole() {
  Case c(report_, "the month caption shows whole: September's last glyph is inside the box");
  wchar_t september[80] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SMONTHNAME9, september, 80);
  HWND box = FindChild(surface_window_, L"Edit", ES_CENTER);
  const POINT next = {surface_.x + 184 + 21, surface_.y + 25 + 10};
  for (int i = 0; i < 12 && WindowText(box).rfind(september, 0) != 0; ++i) Click(next);
  const std::wstring caption = WindowText(box);
  if (!c.Expect(caption.rfind(september, 0) == 0, "paged to September: " + U8w(caption))) return;
  RECT client{};
  GetClientRect(box, &client);
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  const DWORD margins = static_cast<DWORD>(SendMessageW(box, EM_GETMARGINS, 0, 0));
  std::printf("note \"%s\" is %ld pixels wide; the box's client area %ld, its margins %lu and %lu\n",
              U8w(caption).c_str(), text.cx, client.right, margins & 0xFFFFul, margins >> 16);
  c.Expect(text.cx + LOWORD(margins) + HIWORD(margins) <= client.right,
           "the text and the margins fit the client area");
  const Shot shot = Screenshot("6-september");
  if (!c.Expect(shot.width > 0, "a screenshot")) return;
  POINT origin{0, 0};
  ClientToScreen(box, &origin);
  int first = -1, last = -1;
  for (int x = 0; x < client.right; ++x)
    for (int y = 0; y < client.bottom; ++y)
      if (shot.At({origin.x + x, origin.y + y}) != window_) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  std::printf("note the caption's ink runs from column %d to %d of %ld\n", first, last, client.right);
  if (!c.Expect(last >= 0, "the caption shows ink")) return;
  c.Expect(last < client.right - 1, "background between the last glyph and the box's right edge");
  c.Expect(first > 0, "background between the box's left edge and the first glyph");
  c.Expect(last - first + 1 >= text.cx - 4,
           "the ink spans the whole text (" + std::to_string(text.cx) + " pixels)");
}

// Saves the hosted instance, loads a second one from the saved data, and compares
// all seven properties.
void Checks::Persistence() {
  FONTDESC desc = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, 700, ANSI_CHARSET, TRUE, FALSE, TRUE};
  IFont* font = nullptr;
  OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(&font));
  {
    Case c(report_, "properties set through the container mark the control dirty");
    IPersistStreamInit* persist = nullptr;
    control_unknown_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    if (!c.Expect(persist != nullptr, "IPersistStreamInit")) return;
    IStream* scratch = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &scratch);
    c.Status(persist->Save(scratch, TRUE), S_OK, "a first save");
    c.Status(persist->IsDirty(), S_FALSE, "IsDirty after a save");
    c.Status(control_->put_BackColor(255), S_OK, "BackColor");
    c.Status(persist->IsDirty(), S_OK, "IsDirty after a change notice");
    scratch->Release();
    persist->Release();
  }
  control_->put_ForeColor(0x8000000D);
  control_->put_Enabled(VARIANT_TRUE);
  control_->putref_Font(font);
  control_->put_BackStyle(-1);
  control_->put_BorderStyle(7);
  const std::wstring sdate = SDateOf(control_);
  // The system's font object reports the font it found for the name, and the
  // size that font takes on the screen: what it reports is what is saved.
  BSTR font_name = nullptr;
  CY font_size{};
  font->get_Name(&font_name);
  font->get_Size(&font_size);
  const std::string expected_font = U8w(font_name ? font_name : L"");
  SysFreeString(font_name);

  auto expect_same = [&](Case& c, IUnknown* loaded) {
    _ctrJornavista* other = nullptr;
    loaded->QueryInterface(ids::IID__ctrJornavista, reinterpret_cast<void**>(&other));
    if (!c.Expect(other != nullptr, "the loaded instance")) return;
    OLE_COLOR color = 0;
    other->get_BackColor(&color);
    c.Equal(static_cast<unsigned long>(color), 255ul, "BackColor");
    other->get_ForeColor(&color);
    c.Equal(static_cast<unsigned long>(color), 0x8000000Dul, "ForeColor");
    VARIANT_BOOL enabled = 0;
    other->get_Enabled(&enabled);
    c.Equal(enabled, VARIANT_TRUE, "Enabled");
    short style = 0;
    other->get_BackStyle(&style);
    c.Equal(style, -1, "BackStyle");
    other->get_BorderStyle(&style);
    c.Equal(style, 7, "BorderStyle");
    c.Equal(U8w(SDateOf(other)), U8w(sdate), "SDate");
    IFont* got = nullptr;
    other->get_Font(&got);
    if (c.Expect(got != nullptr, "a font")) {
      BSTR name = nullptr;
      CY size{};
      BOOL bold = FALSE, italic = FALSE, strike = FALSE;
      got->get_Name(&name);
      got->get_Size(&size);
      got->get_Bold(&bold);
      got->get_Italic(&italic);
      got->get_Strikethrough(&strike);
      c.Equal(U8w(name ? name : L""), expected_font, "the font's name");
      c.Equal(static_cast<long long>(size.int64), static_cast<long long>(font_size.int64), "the font's size");
      c.Expect(bold && italic && strike, "bold, italic, struck through");
      SysFreeString(name);
      got->Release();
    }
    other->Release();
  };
  auto create = [&](REFIID riid, void** out) {
    return CoCreateInstance(ids::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER, riid, out);
  };

  std::vector<std::uint8_t> saved;
  {
    Case c(report_, "IPersistStreamInit: save, load into a second instance, all seven properties");
    IPersistStreamInit* persist = nullptr;
    control_unknown_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    ULARGE_INTEGER max{};
    c.Status(persist->GetSizeMax(&max), S_OK, "GetSizeMax");
    c.Status(persist->Save(stream, TRUE), S_OK, "Save");
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    c.Equal(static_cast<unsigned long long>(stat.cbSize.QuadPart), static_cast<unsigned long long>(max.QuadPart),
            "the saved size is GetSizeMax's");
    saved.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG got = 0;
    stream->Read(saved.data(), static_cast<ULONG>(saved.size()), &got);
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    IPersistStreamInit* second = nullptr;
    if (c.Status(create(IID_IPersistStreamInit, reinterpret_cast<void**>(&second)), S_OK, "a second instance")) {
      c.Status(second->Load(stream), S_OK, "Load");
      expect_same(c, second);
      second->Release();
    }
    stream->Release();
    persist->Release();
  }
  {
    Case c(report_, "a truncated stream is refused and changes nothing");
    IPersistStreamInit* third = nullptr;
    if (c.Status(create(IID_IPersistStreamInit, reinterpret_cast<void**>(&third)), S_OK, "a third instance")) {
      _ctrJornavista* view = nullptr;
      third->QueryInterface(ids::IID__ctrJornavista, reinterpret_cast<void**>(&view));
      const std::wstring before = SDateOf(view);
      IStream* cut = nullptr;
      CreateStreamOnHGlobal(nullptr, TRUE, &cut);
      cut->Write(saved.data(), static_cast<ULONG>(saved.size() - 5), nullptr);
      LARGE_INTEGER zero{};
      cut->Seek(zero, STREAM_SEEK_SET, nullptr);
      c.Status(third->Load(cut), STG_E_READFAULT, "Load of a stream cut 5 bytes short");
      OLE_COLOR color = 1;
      view->get_BackColor(&color);
      c.Equal(static_cast<unsigned long>(color), 0ul, "BackColor after the refused load");
      c.Equal(U8w(SDateOf(view)), U8w(before), "SDate after the refused load");
      // Nothing was taken: the whole stream still loads.
      IStream* whole = nullptr;
      CreateStreamOnHGlobal(nullptr, TRUE, &whole);
      whole->Write(saved.data(), static_cast<ULONG>(saved.size()), nullptr);
      whole->Seek(zero, STREAM_SEEK_SET, nullptr);
      c.Status(third->Load(whole), S_OK, "Load of the whole stream afterwards");
      c.Equal(U8w(SDateOf(view)), U8w(sdate), "SDate after it");
      whole->Release();
      cut->Release();
      view->Release();
      third->Release();
    }
  }
  {
    Case c(report_, "IPersistStorage: save into a compound file, load into a second instance");
    IPersistStorage* persist = nullptr;
    control_unknown_->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
    IStorage* storage = nullptr;
    StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE, 0,
                     &storage);
    if (c.Expect(persist != nullptr && storage != nullptr, "IPersistStorage and a compound file")) {
      c.Status(persist->Save(storage, FALSE), S_OK, "Save");
      c.Status(persist->SaveCompleted(nullptr), S_OK, "SaveCompleted");
      CLSID clsid{};
      ReadClassStg(storage, &clsid);
      c.Expect(clsid == ids::CLSID_ctrJornavista, "the storage names the class");
      IPersistStorage* second = nullptr;
      if (c.Status(create(IID_IPersistStorage, reinterpret_cast<void**>(&second)), S_OK, "a second instance")) {
        c.Status(second->Load(storage), S_OK, "Load");
        expect_same(c, second);
        second->Release();
      }
    }
    if (storage) storage->Release();
    if (persist) persist->Release();
  }
  if (font) font->Release();
}

void Checks::Drawing() {
  Case c(report_, "OleDraw into a memory device context gives the window's pixels");
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kFrameWidth, -kFrameHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, kFrameWidth, kFrameHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  c.Status(OleDraw(control_unknown_, DVASPECT_CONTENT, dc, &all), S_OK, "OleDraw");
  GdiFlush();
  // Saved beside the screenshots for a look.
  {
    std::ofstream out(folder_ + "/oledraw.bmp", std::ios::binary);
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + kFrameWidth * kFrameHeight * 4;
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), kFrameWidth * kFrameHeight * 4);
  }
  const Shot shot = Screenshot("6-before-oledraw");
  int differ = 0;
  std::string first;
  for (int y = 0; y < kFrameHeight && shot.width > 0; ++y)
    for (int x = 0; x < kFrameWidth; ++x) {
      const auto* px = static_cast<const std::uint8_t*>(bits) + (y * kFrameWidth + x) * 4;  // BGRA
      const COLORREF drawn = RGB(px[2], px[1], px[0]);
      const COLORREF screen = shot.At({surface_.x + x, surface_.y + y});
      if (drawn != screen && differ++ == 0)
        first = std::to_string(x) + "," + std::to_string(y) + " drawn " + ColorText(drawn) + " on screen " +
                ColorText(screen);
    }
  c.Expect(shot.width > 0, "a screenshot");
  c.Equal(differ, 0, "pixels that differ (first: " + first + ")");
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void Checks::Extent() {
  Case c(report_, "the extent is the frame's, whatever size the container sets");
  IOleObject* object = nullptr;
  control_unknown_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  if (!c.Expect(object != nullptr, "IOleObject")) return;
  DWORD status = 0;
  object->GetMiscStatus(DVASPECT_CONTENT, &status);
  c.Equal(static_cast<unsigned long>(status), 0x20191ul, "GetMiscStatus");
  SIZEL size{};
  c.Status(object->GetExtent(DVASPECT_CONTENT, &size), S_OK, "GetExtent");
  c.Equal(size.cx, 6112L, "width in HIMETRIC");
  c.Equal(size.cy, 6588L, "height in HIMETRIC");
  SIZEL asked = {10000, 3000};
  c.Status(object->SetExtent(DVASPECT_CONTENT, &asked), S_OK, "SetExtent");
  object->GetExtent(DVASPECT_CONTENT, &size);
  c.Equal(size.cx, 6112L, "width after SetExtent");
  IOleInPlaceObject* in_place = nullptr;
  control_unknown_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place));
  RECT pos = {20, 30, 420, 130};
  c.Status(in_place->SetObjectRects(&pos, &pos), S_OK, "SetObjectRects");
  RECT r{};
  GetWindowRect(surface_window_, &r);
  c.Equal(r.right - r.left, kFrameWidth, "window width after SetObjectRects");
  c.Equal(r.bottom - r.top, kFrameHeight, "window height after SetObjectRects");
  in_place->Release();
  object->Release();
}

// What a form designer asks of a control besides its picture.
void Checks::Answers() {
  Case c(report_, "the control's answers to a designer: pages, control info, class, keys for the grid");
  ISpecifyPropertyPages* pages = nullptr;
  control_unknown_->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages));
  if (c.Expect(pages != nullptr, "ISpecifyPropertyPages")) {
    CAUUID list{};
    c.Status(pages->GetPages(&list), S_OK, "GetPages");
    const CLSID stock_font_page = {0x7EBDAAE0, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
    c.Expect(list.cElems == 2 && list.pElems != nullptr && list.pElems[0] == ids::CLSID_JornavistaPropertyPage &&
                 list.pElems[1] == stock_font_page,
             "the control's own page, then the stock font page");
    CoTaskMemFree(list.pElems);
    pages->Release();
  }
  IOleControl* control = nullptr;
  control_unknown_->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&control));
  if (c.Expect(control != nullptr, "IOleControl")) {
    CONTROLINFO info{};
    info.cb = sizeof info;
    c.Status(control->GetControlInfo(&info), S_OK, "GetControlInfo");
    c.Status(control->OnAmbientPropertyChange(DISPID_AMBIENT_FONT), S_OK, "OnAmbientPropertyChange");
    control->Release();
  }
  IOleObject* object = nullptr;
  control_unknown_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  if (c.Expect(object != nullptr, "IOleObject")) {
    CLSID clsid{};
    c.Status(object->GetUserClassID(&clsid), S_OK, "GetUserClassID");
    c.Expect(clsid == ids::CLSID_ctrJornavista, "the user class is the control's");
    object->Release();
  }
  IOleInPlaceActiveObject* active = nullptr;
  control_unknown_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active));
  HWND grid = FindChild(surface_window_, L"JornavistaPicture", 0);
  if (c.Expect(active != nullptr && grid != nullptr, "IOleInPlaceActiveObject and the grid's window")) {
    MSG tab = {grid, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    c.Status(active->TranslateAccelerator(&tab), S_FALSE, "Tab is the container's");
    MSG page = {grid, WM_KEYDOWN, VK_NEXT, 0, 0, {0, 0}};
    const std::wstring caption = WindowText(FindChild(surface_window_, L"Edit", ES_CENTER));
    c.Status(active->TranslateAccelerator(&page), S_OK, "Page Down is the grid's");
    c.Expect(WindowText(FindChild(surface_window_, L"Edit", ES_CENTER)) != caption, "and it shows another month");
    active->Release();
  }
}

// A second control on the form, hidden, takes the same fonts as the first; when
// it goes, the first keeps them whole.
void Checks::SecondInstance() {
  Case c(report_, "a second control shares the first's fonts, and its end leaves them to the first");
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  auto get_control = reinterpret_cast<GetControl>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"atl.dll"), "AtlAxGetControl")));
  HWND host = CreateWindowExW(0, L"AtlAxWin", L"JornavistaControl.ctrJornavista", WS_CHILD, 0, 0, 300, 320, main_,
                              nullptr, nullptr, nullptr);
  IUnknown* second = nullptr;
  IOleWindow* window = nullptr;
  HWND surface = nullptr;
  if (host != nullptr && get_control != nullptr && SUCCEEDED(get_control(host, &second)) &&
      SUCCEEDED(second->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) {
    window->GetWindow(&surface);
    window->Release();
  }
  if (second != nullptr) second->Release();
  if (!c.Expect(surface != nullptr, "the second control is in place")) {
    if (host != nullptr) DestroyWindow(host);
    return;
  }
  const struct {
    const wchar_t* class_name;
    DWORD style_bit;
    const char* what;
  } boxes[] = {{L"Edit", ES_CENTER, "the month caption's font"}, {L"Button", 0, "the paging buttons' font"}};
  HWND caption = FindChild(surface_window_, L"Edit", ES_CENTER);
  const HFONT caption_font = reinterpret_cast<HFONT>(SendMessageW(caption, WM_GETFONT, 0, 0));
  for (const auto& b : boxes) {
    const LRESULT first = SendMessageW(FindChild(surface_window_, b.class_name, b.style_bit), WM_GETFONT, 0, 0);
    const LRESULT other = SendMessageW(FindChild(surface, b.class_name, b.style_bit), WM_GETFONT, 0, 0);
    c.Expect(first != 0 && first == other, std::string(b.what) + " is one font in both controls");
  }
  DestroyWindow(host);
  Driver::Pump(100);
  LOGFONTW font{};
  c.Equal(GetObjectW(caption_font, sizeof font, &font), static_cast<int>(sizeof font),
          "the first control's caption font lives on");
  c.Equal(U8w(font.lfFaceName), std::string("Arial"), "and is still the caption's Arial");
  c.Equal(SendMessageW(caption, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(caption_font),
          "the caption box keeps it");
}

int Checks::Run() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  today_ = year(now.wYear) / now.wMonth / now.wDay;
  shown_ = {today_.year() / today_.month()};
  highlight_ = GetSysColor(COLOR_HIGHLIGHT);
  window_ = GetSysColor(COLOR_WINDOW);
  std::printf("note today is %s\n", U8w(DateText(today_)).c_str());
  if (!Host()) return 1;
  LayoutAndStartUp();
  DayClickAsInTheOverview();
  KeysAndPaging();
  CaptionShowsWhole();
  Drawing();
  Extent();
  Answers();
  Persistence();
  SecondInstance();
  OleSiteChecks(report_);
  // The container takes the control down as a form does when it closes.
  control_->Release();
  control_unknown_->Release();
  DestroyWindow(main_);
  Driver::Pump(100);
  return 0;
}

}  // namespace
}  // namespace jv::wincheck

int wmain(int argc, wchar_t** argv) {
  using namespace jv::wincheck;
  return RunDriven("container_checks", argc, argv, [](Report& report, Driver& driver) {
    Checks checks(report, driver);
    checks.Run();
  });
}
