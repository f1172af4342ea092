// The hands and eyes of the Windows checks that run under Xvfb: a request a line
// on standard output, answered by "done" on standard input by the driving script,
// which does it with xdotool and ImageMagick's import:
//   do click X Y [N]   N clicks of the left button at screen point X,Y
//   do key NAME X Y    the key NAME (xdotool's name) with the pointer at X,Y
//   do type X Y TEXT   a click at X,Y, the field's text selected (End, Shift+Home), TEXT typed
//   do shot NAME       a screenshot of the whole screen into NAME.bmp (24-bit)
// Windows screen coordinates are X root coordinates: there is no window manager.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/check.h"

namespace jv::wincheck {

class Driver {
 public:
  explicit Driver(std::string folder) : folder_(std::move(folder)) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    reply_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::thread([event = reply_] {
      char line[256];
      while (std::fgets(line, sizeof line, stdin) != nullptr) SetEvent(event);
    }).detach();
  }

  const std::string& folder() const { return folder_; }

  // Runs the window messages for `ms` milliseconds, so that input already sent is handled.
  static void Pump(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    for (;;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      const LONG left = static_cast<LONG>(until - GetTickCount());
      if (left <= 0) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
  }

  // Asks the driver and keeps the windows alive (messages pumped) until it answers.
  void Ask(const std::string& request) {
    std::printf("do %s\n", request.c_str());
    for (;;) {
      const DWORD r = MsgWaitForMultipleObjects(1, &reply_, FALSE, 60000, QS_ALLINPUT);
      if (r == WAIT_OBJECT_0) break;
      if (r == WAIT_TIMEOUT) {
        std::printf("note the driver did not answer \"%s\"\n", request.c_str());
        break;
      }
      Pump(0);
    }
    Pump(400);  // X delivers the events to Wine a little after xdotool returns
  }

  void Click(POINT p, int times = 1) {
    Ask("click " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(times));
  }
  // The key NAME (xdotool's name) with the pointer at `at`.
  void Key(const std::string& name, POINT at) {
    Ask("key " + name + " " + std::to_string(at.x) + " " + std::to_string(at.y));
  }
  void Type(POINT p, const std::string& text) {
    Ask("type " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + text);
  }

  struct Shot {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // top-down, 3 bytes a pixel
    COLORREF At(POINT p) const {
      if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return CLR_INVALID;
      const std::uint8_t* px = &rgb[(static_cast<std::size_t>(p.y) * width + p.x) * 3];
      return RGB(px[0], px[1], px[2]);
    }
  };

  Shot Screenshot(const std::string& name) {
    Ask("shot " + name);
    Shot shot;
    if (!ReadBmp(folder_ + "/" + name + ".bmp", &shot))
      std::printf("note no screenshot %s.bmp\n", name.c_str());
    return shot;
  }

 private:
  // A 24-bit bottom-up BMP as ImageMagick's BMP3 writes it.
  static bool ReadBmp(const std::string& path, Shot* out) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u32 = [&](std::size_t at) {
      return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
             std::uint32_t{b[at + 3]} << 24;
    };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || (b[28] | b[29] << 8) != 24) return false;
    const std::size_t offset = u32(10);
    const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22));
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (width <= 0 || height <= 0 || b.size() < offset + stride * height) return false;
    out->width = width;
    out->height = height;
    out->rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* px = &b[offset + stride * (height - 1 - y) + x * 3];  // BGR
        std::uint8_t* to = &out->rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        to[0] = px[2];
        to[1] = px[1];
        to[2] = px[0];
      }
    return true;
  }

  std::string folder_;
  HANDLE reply_ = nullptr;
};

inline std::string ColorText(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

// The longest run of pixels of `color` on one row of `area` in a screenshot.
inline int LongestRun(const Driver::Shot& shot, const RECT& area, COLORREF color, int* row = nullptr) {
  int best = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    int run = 0;
    for (int x = area.left; x < area.right; ++x) {
      run = shot.At({x, y}) == color ? run + 1 : 0;
      if (run > best) {
        best = run;
        if (row != nullptr) *row = y;
      }
    }
  }
  return best;
}

// The whole of a driven check program's main: `name SCREENSHOT_FOLDER` from the
// command line, OLE started, the driver on the folder, `run(report, driver)`, the
// closing line. The reader thread still waits on standard input, so the process
// ends without joining it: exit status 0 when every case passed.
template <class Run>
int RunDriven(const char* name, int argc, wchar_t** argv, Run run) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SCREENSHOT_FOLDER\n", name);
    return 2;
  }
  OleInitialize(nullptr);
  Driver driver(U8(argv[1]));
  Report report(name);
  run(report, driver);
  report.Close();
  std::fflush(stdout);
  const int status = report.failed() == 0 ? 0 : 1;
  ExitProcess(static_cast<UINT>(status));
  return status;
}

}  // namespace jv::wincheck
