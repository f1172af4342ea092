// A screen reader's view of the control under Wine: an assistive-technology client
// in a process of its own, reading the control through oleacc.dll.
//
//   accessibility_checks host    hosts the control in Wine's ATL container (AtlAxWin)
//                                 and serves the client's requests until told to end
//   accessibility_checks         the client: starts the host, finds the control's
//                                 windows, prints the accessible tree and checks it,
//                                 acts on it and listens to its events out of context
//
// The client asks its driver (scripts/windows-container-tests.sh) for a real click
// with "do click X Y" on standard output, answered by "done" on standard input.
#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "housing/jornavista_ids.h"
#include "tests/windows/check.h"
#include "tests/windows/system_text.h"

namespace jv::wincheck {
namespace {

namespace ids = jornavista;
using namespace std::chrono;

// MinGW's IID_IAccessible is a datum of oleacc.dll: a plain reference reads the
// import thunk. The interface id, defined here.
const IID kIID_IAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr HRESULT kRpcDisconnected = static_cast<HRESULT>(0x80010108u);
constexpr HRESULT kNotConnected = static_cast<HRESULT>(0x800401FDu);

constexpr wchar_t kHostTitle[] = L"Jornavista accessibility host";
constexpr wchar_t kReadyEvent[] = L"JornavistaAccessibilityHostReady";
// The host's title becomes the control's SDate when asked; the control ends when asked.
const UINT kShowSDate = RegisterWindowMessageW(L"JornavistaAccessibilityShowSDate");
const UINT kEndControl = RegisterWindowMessageW(L"JornavistaAccessibilityEndControl");

std::string U8w(const std::wstring& w) { return U8(w.c_str()); }

// --- the host

struct Hosted {
  HWND host = nullptr;
  IUnknown* unknown = nullptr;
  _ctrJornavista* control = nullptr;
} g_hosted;

// The host's main window answers the client's two requests, sent across processes.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kShowSDate) {
    BSTR b = nullptr;
    if (g_hosted.control != nullptr && SUCCEEDED(g_hosted.control->get_SDate(&b))) SetWindowTextW(window, b);
    SysFreeString(b);
    return 1;
  }
  if (message == kEndControl) {
    if (g_hosted.control != nullptr) g_hosted.control->Release();
    if (g_hosted.unknown != nullptr) g_hosted.unknown->Release();
    g_hosted.control = nullptr;
    g_hosted.unknown = nullptr;
    if (g_hosted.host != nullptr) DestroyWindow(std::exchange(g_hosted.host, nullptr));
    return 1;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int Host() {
  if (FAILED(CoInitialize(nullptr))) return 1;
  HMODULE atl = LoadLibraryW(L"atl.dll");
  using Init = BOOL(WINAPI*)();
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto get_control = reinterpret_cast<GetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  if (init == nullptr || get_control == nullptr || !init()) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"JornavistaAccessibilityHost";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, wc.lpszClassName, kHostTitle, WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                              nullptr, wc.hInstance, nullptr);
  g_hosted.host = CreateWindowExW(0, L"AtlAxWin", L"JornavistaControl.ctrJornavista", WS_CHILD | WS_VISIBLE, 20,
                                  30, 300, 320, main, nullptr, nullptr, nullptr);
  if (g_hosted.host == nullptr || FAILED(get_control(g_hosted.host, &g_hosted.unknown)) ||
      FAILED(g_hosted.unknown->QueryInterface(ids::IID__ctrJornavista, reinterpret_cast<void**>(&g_hosted.control))))
    return 1;
  SetForegroundWindow(main);
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, kReadyEvent);
  if (ready != nullptr) SetEvent(ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// --- the client

struct WinEvent {
  DWORD event;
  HWND window;
  LONG object, child;
};
std::vector<WinEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  g_events.push_back({event, window, object, child});
}

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    const LONG left = static_cast<LONG>(until - GetTickCount());
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

// Waits, pumping the hook's messages, until the event arrives (or a generous deadline passes).
bool AwaitEvent(DWORD event, HWND window, LONG child) {
  for (int round = 0; round < 100; ++round) {
    for (const WinEvent& e : g_events)
      if (e.event == event && e.window == window && e.object == OBJID_CLIENT && e.child == child) return true;
    Pump(100);
  }
  std::printf("note events heard: %zu\n", g_events.size());
  for (const WinEvent& e : g_events)
    std::printf("note   0x%lx window %p object %ld child %ld\n", static_cast<unsigned long>(e.event),
                static_cast<void*>(e.window), static_cast<long>(e.object), static_cast<long>(e.child));
  return false;
}

VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring TakeBstr(BSTR b) {
  std::wstring text = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
  SysFreeString(b);
  return text;
}

struct Answers {
  HRESULT name_status = E_FAIL;
  std::wstring name, value, description;
  LONG role = 0, state = 0;
};

Answers Ask(IAccessible* acc, LONG child) {
  Answers a;
  BSTR b = nullptr;
  a.name_status = acc->get_accName(Child(child), &b);
  a.name = TakeBstr(b);
  b = nullptr;
  if (SUCCEEDED(acc->get_accValue(Child(child), &b))) a.value = TakeBstr(b);
  b = nullptr;
  if (SUCCEEDED(acc->get_accDescription(Child(child), &b))) a.description = TakeBstr(b);
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(acc->get_accRole(Child(child), &v)) && v.vt == VT_I4) a.role = v.lVal;
  VariantClear(&v);
  if (SUCCEEDED(acc->get_accState(Child(child), &v)) && v.vt == VT_I4) a.state = v.lVal;
  VariantClear(&v);
  return a;
}

std::wstring RoleText(LONG role) {
  wchar_t text[64] = {};
  GetRoleTextW(static_cast<DWORD>(role), text, 64);
  return text;
}

std::wstring StateText(LONG state) {
  std::wstring all;
  for (DWORD bit = 1; bit != 0 && bit <= 0x40000000; bit <<= 1) {
    if ((static_cast<DWORD>(state) & bit) == 0) continue;
    wchar_t text[64] = {};
    GetStateTextW(bit, text, 64);
    all += (all.empty() ? L"" : L",") + std::wstring(text);
  }
  return all;
}

void PrintNode(const Answers& a, int depth, LONG child) {
  std::printf("%*s", depth * 2, "");
  if (child > 0) std::printf("[%ld] ", static_cast<long>(child));
  std::printf("%s \"%s\"", U8w(RoleText(a.role)).c_str(), U8w(a.name).c_str());
  if (!a.value.empty()) std::printf(" value=\"%s\"", U8w(a.value).c_str());
  if (!a.description.empty()) std::printf(" description=\"%s\"", U8w(a.description).c_str());
  std::printf(" [%s]\n", U8w(StateText(a.state)).c_str());
}

// Prints the object and its children, as AccessibleChildren hands them out.
void PrintTree(IAccessible* acc, int depth) {
  PrintNode(Ask(acc, CHILDID_SELF), depth, 0);
  LONG count = 0;
  if (depth > 6 || FAILED(acc->get_accChildCount(&count)) || count <= 0) return;
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(acc, 0, count, children.data(), &got))) return;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& v = children[static_cast<std::size_t>(i)];
    if (v.vt == VT_DISPATCH && v.pdispVal != nullptr) {
      IAccessible* child = nullptr;
      if (SUCCEEDED(v.pdispVal->QueryInterface(kIID_IAccessible, reinterpret_cast<void**>(&child)))) {
        // A child window comes as its window object: what it shows is its client object.
        HWND window = nullptr;
        IAccessible* client = nullptr;
        if (SUCCEEDED(WindowFromAccessibleObject(child, &window)) && window != nullptr &&
            SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIID_IAccessible,
                                                 reinterpret_cast<void**>(&client)))) {
          PrintTree(client, depth + 1);
          client->Release();
        } else {
          PrintTree(child, depth + 1);
        }
        child->Release();
      }
    } else if (v.vt == VT_I4) {
      PrintNode(Ask(acc, v.lVal), depth + 1, v.lVal);
    }
    VariantClear(&v);
  }
}

struct Windows {
  HWND main = nullptr, surface = nullptr, picture = nullptr, previous = nullptr, next = nullptr, year = nullptr;
};

BOOL CALLBACK Collect(HWND w, LPARAM p) {
  auto* found = reinterpret_cast<Windows*>(p);
  wchar_t cls[64] = {}, text[64] = {};
  GetClassNameW(w, cls, 64);
  GetWindowTextW(w, text, 64);
  const std::wstring c = cls, t = text;
  if (c == L"JornavistaSurface") found->surface = w;
  if (c == L"JornavistaPicture") found->picture = w;
  if (c == L"Button" || c == L"BUTTON") (t == L">>" ? found->next : found->previous) = w;
  // The month caption is the edit box that shows; the selected date's is hidden.
  if ((c == L"Edit" || c == L"EDIT") && IsWindowVisible(w) && found->year == nullptr) {
    RECT r{};
    GetWindowRect(w, &r);
    if (r.right - r.left > 1) found->year = w;
  }
  return TRUE;
}

IAccessible* ClientObject(HWND window) {
  IAccessible* acc = nullptr;
  if (window == nullptr ||
      FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIID_IAccessible,
                                        reinterpret_cast<void**>(&acc))))
    return nullptr;
  return acc;
}

// The month as the grid shows it: the child id of day 1 and the month's length.
struct Month {
  int y, m, first_child, length;
};
Month MonthOf(int y, int m) {
  const year_month_day first{year{y}, month{static_cast<unsigned>(m)}, day{1}};
  const int first_weekday = static_cast<int>(std::chrono::weekday(sys_days(first)).c_encoding());  // Sunday 0
  const int length = static_cast<int>(unsigned(year_month_day_last(year{y}, month_day_last(month{unsigned(m)})).day()));
  return {y, m, first_weekday + 1, length};
}

std::wstring SDate(HWND main) {
  SendMessageW(main, kShowSDate, 0, 0);
  wchar_t text[128] = {};
  GetWindowTextW(main, text, 128);
  return text;
}

void CheckMonthNames(Report& report, IAccessible* grid, const Month& shown, const std::string& what) {
  Case c(report, what);
  LONG count = 0;
  c.Status(grid->get_accChildCount(&count), S_OK, "child count");
  c.Equal(count, 42L, "the table's children");
  for (LONG child = 1; child <= 42; ++child) {
    const Answers a = Ask(grid, child);
    const int d = static_cast<int>(child) - shown.first_child + 1;
    const bool numbered = d >= 1 && d <= shown.length;
    std::string where = "cell ";
    where += std::to_string(child);
    c.Equal(RoleText(a.role) == RoleText(ROLE_SYSTEM_CELL), true, where + ": a cell");
    if (numbered) {
      c.Equal(U8w(a.name), U8w(UserDate(shown.y, shown.m, d, DATE_LONGDATE)), where + ": named by its date");
      c.Expect((a.state & STATE_SYSTEM_SELECTABLE) && (a.state & STATE_SYSTEM_FOCUSABLE), where + ": selectable");
    } else {
      c.Equal(a.name_status, S_FALSE, where + ": blank, no name");
      c.Expect((a.state & STATE_SYSTEM_INVISIBLE) != 0, where + ": blank, invisible");
    }
  }
}

int Client() {
  Report report("accessibility_checks");
  if (FAILED(CoInitialize(nullptr))) return 1;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, kReadyEvent);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" host";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  {
    Case c(report, "the host process starts with the control in Wine's ATL container");
    if (!c.Expect(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi),
                  "CreateProcess") ||
        !c.Expect(WaitForSingleObject(ready, 60000) == WAIT_OBJECT_0, "the host reports ready")) {
      report.Close();
      return 1;
    }
  }
  Windows w;
  w.main = FindWindowW(nullptr, kHostTitle);
  if (w.main != nullptr) EnumChildWindows(w.main, Collect, reinterpret_cast<LPARAM>(&w));
  // The hook's events come to this thread's message queue, made first.
  MSG peek;
  PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent, 0, 0,
                                       WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);

  SYSTEMTIME now{};
  GetLocalTime(&now);
  Month shown = MonthOf(now.wYear, now.wMonth);
  // The edit box's own text, which GetWindowText does not read across processes.
  const std::wstring caption_text = [&] {
    wchar_t t[128] = {};
    SendMessageW(w.year, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(t));
    return std::wstring(t);
  }();

  IAccessible* surface = ClientObject(w.surface);
  IAccessible* grid = ClientObject(w.picture);
  IAccessible* previous = ClientObject(w.previous);
  IAccessible* next = ClientObject(w.next);
  IAccessible* year_box = ClientObject(w.year);
  {
    Case c(report, "every window of the control has an accessible object, the hook is set");
    c.Expect(surface && grid && previous && next && year_box, "AccessibleObjectFromWindow for each window");
    c.Expect(hook != nullptr, "SetWinEventHook out of context");
  }
  if (!(surface && grid && previous && next && year_box)) {
    report.Close();
    return 1;
  }
  std::printf("--- the tree from the control's surface (%04d-%02d-%02d):\n", now.wYear, now.wMonth, now.wDay);
  PrintTree(surface, 0);
  std::printf("--- the grid:\n");
  PrintTree(grid, 0);
  std::fflush(stdout);
  {
    Case c(report, "the control is a grouping named Jornavista described by the month shown");
    const Answers a = Ask(surface, CHILDID_SELF);
    c.Equal(a.role, static_cast<LONG>(ROLE_SYSTEM_GROUPING), "role");
    c.Equal(U8w(a.name), std::string("Jornavista"), "name");
    c.Equal(U8w(a.description), U8w(caption_text), "description");
  }
  {
    Case c(report, "the paging buttons say what they do; the month caption is read-only text");
    c.Equal(U8w(Ask(previous, CHILDID_SELF).name), std::string("Previous month"), "the << button");
    c.Equal(U8w(Ask(next, CHILDID_SELF).name), std::string("Next month"), "the >> button");
    c.Equal(Ask(next, CHILDID_SELF).role, static_cast<LONG>(ROLE_SYSTEM_PUSHBUTTON), "a push button");
    BSTR b = nullptr;
    c.Status(previous->get_accDefaultAction(Child(CHILDID_SELF), &b), S_OK, "the button's action");
    c.Equal(U8w(TakeBstr(b)), std::string("Press"), "the button's action's name");
    const Answers a = Ask(year_box, CHILDID_SELF);
    c.Equal(a.role, static_cast<LONG>(ROLE_SYSTEM_TEXT), "caption role");
    c.Equal(U8w(a.value), U8w(caption_text), "caption value");
    c.Expect((a.state & STATE_SYSTEM_READONLY) != 0, "caption read-only");
  }
  {
    Case c(report, "the grid is a table named by its month, today's cell selected");
    const Answers a = Ask(grid, CHILDID_SELF);
    c.Equal(a.role, static_cast<LONG>(ROLE_SYSTEM_TABLE), "role");
    c.Equal(U8w(a.name), U8w(caption_text), "name");
    const LONG today = shown.first_child + now.wDay - 1;
    c.Expect((Ask(grid, today).state & STATE_SYSTEM_SELECTED) != 0, "today's cell selected");
    VARIANT sel;
    VariantInit(&sel);
    c.Status(grid->get_accSelection(&sel), S_OK, "accSelection");
    c.Equal(sel.vt == VT_I4 ? sel.lVal : -1L, today, "the selection is today's cell");
  }
  CheckMonthNames(report, grid, shown, "the cells of this month are named by their dates; blanks have no name");
  {
    Case c(report, "the default action on the 14th: SDate, selection, a selection event");
    const LONG fourteenth = shown.first_child + 13;
    BSTR b = nullptr;
    c.Status(grid->get_accDefaultAction(Child(fourteenth), &b), S_OK, "accDefaultAction");
    c.Equal(U8w(TakeBstr(b)), std::string("Click"), "the action's name");
    g_events.clear();
    c.Status(grid->accDoDefaultAction(Child(fourteenth)), S_OK, "accDoDefaultAction");
    c.Equal(U8w(SDate(w.main)), U8w(UserDate(shown.y, shown.m, 14, DATE_SHORTDATE)), "SDate");
    c.Expect((Ask(grid, fourteenth).state & STATE_SYSTEM_SELECTED) != 0, "the 14th selected");
    c.Expect(AwaitEvent(EVENT_OBJECT_SELECTION, w.picture, fourteenth), "EVENT_OBJECT_SELECTION for the 14th");
    c.Expect((Ask(grid, fourteenth).state & STATE_SYSTEM_FOCUSED) != 0, "the 14th focused with the grid");
  }
  {
    Case c(report, "a real click on the 10th (xdotool) raises the selection event");
    const LONG tenth = shown.first_child + 9;
    long x = 0, y = 0, cx = 0, cy = 0;
    c.Status(grid->accLocation(&x, &y, &cx, &cy, Child(tenth)), S_OK, "accLocation");
    VARIANT hit;
    VariantInit(&hit);
    c.Status(grid->accHitTest(x + cx / 2, y + cy / 2, &hit), S_OK, "accHitTest");
    c.Equal(hit.vt == VT_I4 ? hit.lVal : -1L, tenth, "the cell under its middle");
    g_events.clear();
    std::printf("do click %ld %ld\n", x + cx / 2, y + cy / 2);
    std::fflush(stdout);
    char line[64] = {};
    c.Expect(std::fgets(line, sizeof line, stdin) != nullptr, "the driver clicked");
    c.Expect(AwaitEvent(EVENT_OBJECT_SELECTION, w.picture, tenth), "EVENT_OBJECT_SELECTION for the 10th");
    c.Equal(U8w(SDate(w.main)), U8w(UserDate(shown.y, shown.m, 10, DATE_SHORTDATE)), "SDate");
  }
  {
    Case c(report, "\"Next month\" pages: the cells name the next month's days, the order changed");
    g_events.clear();
    c.Status(next->accDoDefaultAction(Child(CHILDID_SELF)), S_OK, "accDoDefaultAction on Next month");
    c.Expect(AwaitEvent(EVENT_OBJECT_REORDER, w.picture, CHILDID_SELF), "EVENT_OBJECT_REORDER on the grid");
    c.Expect(AwaitEvent(EVENT_OBJECT_NAMECHANGE, w.picture, CHILDID_SELF), "EVENT_OBJECT_NAMECHANGE on the grid");
  }
  shown = shown.m == 12 ? MonthOf(shown.y + 1, 1) : MonthOf(shown.y, shown.m + 1);
  CheckMonthNames(report, grid, shown, "after Next month the cells are named by the next month's dates");
  std::printf("--- the grid after Next month:\n");
  PrintTree(grid, 0);
  {
    Case c(report, "an object kept after the control ended answers that it is disconnected");
    SendMessageW(w.main, kEndControl, 0, 0);
    LONG count = 0;
    const HRESULT hr = grid->get_accChildCount(&count);
    c.Expect(hr == kRpcDisconnected || hr == kNotConnected, std::string("get_accChildCount: ") + Hex(hr));
    BSTR b = nullptr;
    const HRESULT named = grid->get_accName(Child(20), &b);
    SysFreeString(b);
    c.Expect(named == kRpcDisconnected || named == kNotConnected, std::string("get_accName: ") + Hex(named));
    const HRESULT caption = year_box->get_accValue(Child(CHILDID_SELF), &b);
    c.Expect(caption == kRpcDisconnected || caption == kNotConnected, std::string("the caption's get_accValue: ") + Hex(caption));
  }
  for (IAccessible* a : {surface, grid, previous, next, year_box}) a->Release();
  if (hook != nullptr) UnhookWinEvent(hook);
  PostMessageW(w.main, WM_QUIT, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  report.Close();
  return report.failed() == 0 ? 0 : 1;
}

}  // namespace
}  // namespace jv::wincheck

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wstring(argv[1]) == L"host") return jv::wincheck::Host();
  return jv::wincheck::Client();
}
