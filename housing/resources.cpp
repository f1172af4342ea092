// The resources Jornavista.ocx carries in its file, readable without loading it:
// the version record (VERSION 1) and the 16 x 15, 24-bit toolbox bitmap.
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "housing/jornavista_typelib.h"
#include "platform/component/resource_section.h"

namespace jv::housing {

namespace {

using component::WriteU16;
using component::WriteU32;

// The numbers and texts come from the project's version (cmake/JornavistaVersion.cmake).
constexpr std::pair<std::string_view, std::string_view> kVersionStrings[] = {
    {"FileDescription", "Jornavista v" JV_VERSION_SHORT},
    {"FileVersion", JV_VERSION_RECORD},
    {"InternalName", "Jornavista"},
    {"OriginalFilename", "Jornavista.ocx"},
    {"ProductName", "Jornavista"},
    {"ProductVersion", JV_VERSION_RECORD},
    // Empty: its presence tells installers that the library registers itself.
    {"OLESelfRegister", ""},
};

struct VersionContent {
  template <class W>
  static constexpr void Write(W& w) {
    constexpr std::array<std::uint16_t, 4> kVersion{JV_VERSION_MAJOR, JV_VERSION_MINOR, JV_VERSION_PATCH, 0};
    component::WriteVersionRecord(w, kVersion, kVersion, "040904B0", kVersionStrings);
  }
};

// The toolbox picture: a calendar page with two binding rings, a red caption band
// and a grid of days, one of them selected.
struct Rgb {
  std::uint8_t r, g, b;
};
constexpr int kWidth = 16;
constexpr int kHeight = 15;
constexpr Rgb kBackground{192, 192, 192};
constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kEdge{96, 96, 96};
constexpr Rgb kBand{200, 40, 40};
constexpr Rgb kDay{64, 64, 64};
constexpr Rgb kSelected{0, 0, 160};

constexpr Rgb Pixel(int x, int y) {  // y = 0 is the top row
  if ((x == 4 || x == 11) && y <= 2) return kEdge;
  if (x < 1 || x > 14 || y < 1 || y > 13) return kBackground;
  if (x == 1 || x == 14 || y == 1 || y == 13) return kEdge;
  if (y >= 2 && y <= 4) return kBand;
  if (x >= 8 && x <= 10 && y >= 7 && y <= 9) return x == 9 && y == 8 ? kPaper : kSelected;
  if (x % 2 == 1 && x >= 3 && y % 2 == 0 && y >= 6) return kDay;
  return kPaper;
}

struct BitmapContent {
  template <class W>
  static constexpr void Write(W& w) {
    constexpr std::uint32_t kRow = kWidth * 3;  // 48 bytes: already a multiple of four
    constexpr std::uint32_t kPixels = kRow * kHeight;
    constexpr std::uint32_t kHeaders = 14 + 40;
    w.Byte('B');
    w.Byte('M');
    WriteU32(w, kHeaders + kPixels);
    WriteU32(w, 0);
    WriteU32(w, kHeaders);
    WriteU32(w, 40);  // BITMAPINFOHEADER
    WriteU32(w, kWidth);
    WriteU32(w, kHeight);  // positive: rows run bottom-up
    WriteU16(w, 1);        // planes
    WriteU16(w, 24);       // bits per pixel
    WriteU32(w, 0);        // no compression
    WriteU32(w, kPixels);
    WriteU32(w, 2835);  // 72 dots per inch
    WriteU32(w, 2835);
    WriteU32(w, 0);
    WriteU32(w, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
      for (int x = 0; x < kWidth; ++x) {
        const Rgb p = Pixel(x, y);
        w.Byte(p.b);
        w.Byte(p.g);
        w.Byte(p.r);
      }
    }
  }
};

constexpr auto kVersionRecord = component::BuildContent<VersionContent>();
constexpr auto kBitmapBytes = component::BuildContent<BitmapContent>();

struct SectionContent {
  template <class W>
  static constexpr void Write(W& w) {
    const component::ResourceEntry entries[] = {
        {"VERSION", 1, kVersionRecord},
        {"BITMAP", kToolboxBitmap, kBitmapBytes},
    };
    component::WriteResourceSection(w, entries);
  }
};

// In a section of its own, so that a reader finds it in the file by name.
[[gnu::section(".jv_resources"), gnu::used]] const auto kSection = component::BuildContent<SectionContent>();

}  // namespace

}  // namespace jv::housing
