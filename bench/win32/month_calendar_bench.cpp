// Jornavista.ocx against the system's month calendar (SysMonthCal32), in one
// process under the same display: a control created and in-place activated to its
// first paint, in Wine's ATL container, against the common control created to its
// first paint; and a ">>" click with its repaint against the common control's
// next-month click. Prints the median of each and the ratios, and the container's
// own share of the first: ATL's host window with no control, created and painted.
//
// month_calendar_bench OCX_PATH [ROUNDS]
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <ocidl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/goal_tally.h"
#include "housing/jornavista_ids.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Paints the window and every child whole, as their first paint does.
void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

// Paints what the window and its children marked as changed, as the next paint
// after a click does.
void RepaintChanged(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

struct Figures {
  std::vector<double> first_paint, paging;
  std::vector<double> creation;  // of the first paint: up to the window's creation
  std::vector<double> instance;  // of that: CoCreateInstance alone, no container
};

// Creates a child window of `parent` the size of the control and paints it
// whole, noting the time to its creation and to the end of its first paint.
HWND CreateAndPaint(Figures& f, HWND parent, const wchar_t* window_class, const wchar_t* text) {
  const double start = Now();
  HWND window = CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE, 0, 0, 240, 260, parent, nullptr,
                                nullptr, nullptr);
  f.creation.push_back(Now() - start);
  PaintNow(window);
  f.first_paint.push_back(Now() - start);
  return window;
}

Figures MeasureJornavista(HWND parent, GetControl get_control, const std::wstring& clsid, int rounds) {
  Figures f;
  for (int i = 0; i < rounds; ++i) {
    {
      const double alone = Now();
      IUnknown* instance = nullptr;
      if (SUCCEEDED(CoCreateInstance(jornavista::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&instance))))
        instance->Release();
      f.instance.push_back(Now() - alone);
    }
    HWND host = CreateAndPaint(f, parent, L"AtlAxWin", clsid.c_str());

    IUnknown* control = nullptr;
    IOleWindow* window = nullptr;
    HWND surface = nullptr;
    if (host != nullptr && SUCCEEDED(get_control(host, &control)) &&
        SUCCEEDED(control->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) {
      window->GetWindow(&surface);
      window->Release();
    }
    HWND next = FindWindowExW(FindWindowExW(surface, nullptr, L"JornavistaFrame", nullptr), nullptr, L"Button", L">>");
    if (next != nullptr) {
      for (int k = 0; k < 5; ++k) {
        const double click = Now();
        SendMessageW(next, BM_CLICK, 0, 0);
        RepaintChanged(surface);
        f.paging.push_back(Now() - click);
      }
    }
    if (control != nullptr) control->Release();
    DestroyWindow(host);
    Pump();
  }
  return f;
}

// The container's own share: ATL's host window with no control in it, created
// and painted like the others.
Figures MeasureEmptyHost(HWND parent, int rounds) {
  Figures f;
  for (int i = 0; i < rounds; ++i) {
    DestroyWindow(CreateAndPaint(f, parent, L"AtlAxWin", L""));
    Pump();
  }
  return f;
}

Figures MeasureCommonControl(HWND parent, int rounds) {
  Figures f;
  for (int i = 0; i < rounds; ++i) {
    HWND calendar = CreateAndPaint(f, parent, MONTHCAL_CLASSW, L"");

    // The next-month arrow, found where the control's own hit test puts it.
    POINT next{-1, -1};
    for (int y = 0; y < 130 && next.x < 0; y += 2)
      for (int x = 239; x > 120 && next.x < 0; x -= 2) {
        MCHITTESTINFO hit{};
        hit.cbSize = sizeof hit;
        hit.pt = {x, y};
        if (SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == MCHT_TITLEBTNNEXT) next = {x, y};
      }
    if (next.x >= 0) {
      for (int k = 0; k < 5; ++k) {
        const double click = Now();
        SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(next.x, next.y));
        SendMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(next.x, next.y));
        RepaintChanged(calendar);
        f.paging.push_back(Now() - click);
      }
    }
    DestroyWindow(calendar);
    Pump();
  }
  return f;
}

// Ours against the common control's, as a ratio: below 1 means faster.
void PrintRatio(jv::bench::GoalTally& tally, const char* what, double ours, double theirs,
                const jv::bench::Goal& goal) {
  char detail[96];
  std::snprintf(detail, sizeof detail, "Jornavista %.3f ms, SysMonthCal32 %.3f ms", ours * 1e3, theirs * 1e3);
  tally.Print(what, theirs > 0 ? ours / theirs : 0.0, "x", goal, detail);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: month_calendar_bench OCX_PATH [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 200;
  OleInitialize(nullptr);
  // Registered for the run and unregistered after it, so that ATL finds the class.
  HMODULE ocx = LoadLibraryW(argv[1]);
  auto reg = ocx ? reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(ocx, "DllRegisterServer")))
                 : nullptr;
  auto unreg = ocx ? reinterpret_cast<HRESULT(WINAPI*)()>(
                         reinterpret_cast<void*>(GetProcAddress(ocx, "DllUnregisterServer")))
                   : nullptr;
  HMODULE atl = LoadLibraryW(L"atl.dll");
  auto init = atl ? reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")))
                  : nullptr;
  auto get_control =
      atl ? reinterpret_cast<GetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl"))) : nullptr;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_DATE_CLASSES};
  if (reg == nullptr || FAILED(reg()) || init == nullptr || !init() || get_control == nullptr ||
      !InitCommonControlsEx(&icc)) {
    std::fprintf(stderr, "cannot set up: the library, its registration, atl.dll or the common controls\n");
    return 1;
  }
  wchar_t clsid[64] = {};
  StringFromGUID2(jornavista::CLSID_ctrJornavista, clsid, 64);
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                nullptr);

  // One round each first, so that both start with their code and fonts loaded.
  MeasureJornavista(parent, get_control, clsid, 1);
  MeasureCommonControl(parent, 1);
  MeasureEmptyHost(parent, 1);
  // Round by round in turn, so that a busy machine weighs on both alike.
  Figures ours, theirs, host;
  for (int i = 0; i < rounds; ++i) {
    const Figures a = MeasureJornavista(parent, get_control, clsid, 1);
    const Figures b = MeasureCommonControl(parent, 1);
    const Figures h = MeasureEmptyHost(parent, 1);
    host.creation.insert(host.creation.end(), h.creation.begin(), h.creation.end());
    host.first_paint.insert(host.first_paint.end(), h.first_paint.begin(), h.first_paint.end());
    ours.first_paint.insert(ours.first_paint.end(), a.first_paint.begin(), a.first_paint.end());
    ours.paging.insert(ours.paging.end(), a.paging.begin(), a.paging.end());
    ours.creation.insert(ours.creation.end(), a.creation.begin(), a.creation.end());
    ours.instance.insert(ours.instance.end(), a.instance.begin(), a.instance.end());
    theirs.creation.insert(theirs.creation.end(), b.creation.begin(), b.creation.end());
    theirs.first_paint.insert(theirs.first_paint.end(), b.first_paint.begin(), b.first_paint.end());
    theirs.paging.insert(theirs.paging.end(), b.paging.begin(), b.paging.end());
  }

  std::printf("month_calendar_bench (%d-bit): %d rounds, medians\n", static_cast<int>(sizeof(void*) * 8),
              rounds);
  std::printf("Jornavista / SysMonthCal32 (below 1: faster):\n");
  using jv::bench::Goal;
  jv::bench::GoalTally tally;
  PrintRatio(tally, "create, activate, first paint", Median(ours.first_paint), Median(theirs.first_paint),
             Goal::AtMost(1));
  PrintRatio(tally, "  of which creation and activation", Median(ours.creation), Median(theirs.creation),
             Goal::None());
  std::printf("  of which CoCreateInstance alone: Jornavista %.3f ms\n", Median(ours.instance) * 1e3);
  std::printf("  the container alone (ATL's host window, no control): %.3f ms to its first paint, %.3f ms of it "
              "creation\n",
              Median(host.first_paint) * 1e3, Median(host.creation) * 1e3);
  PrintRatio(tally, "\">>\" click and repaint", Median(ours.paging), Median(theirs.paging), Goal::AtMost(1));
  if (ours.paging.empty() || theirs.paging.empty()) std::printf("note a paging button was not found\n");
  char run[48];
  std::snprintf(run, sizeof run, "month_calendar_bench, %d-bit", static_cast<int>(sizeof(void*) * 8));
  tally.PrintSummary(run);

  DestroyWindow(parent);
  unreg();
  OleUninitialize();
  return 0;
}
