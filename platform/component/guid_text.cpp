#include "platform/component/guid_text.h"

#include <cstdio>

namespace jv::component {

std::string GuidToString(const GUID& g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(g.Data1),
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  return buf;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[*pos], advancing *pos.
bool ReadHex(std::string_view text, std::size_t* pos, int digits, std::uint32_t* out) {
  std::uint32_t value = 0;
  for (int i = 0; i < digits; ++i) {
    if (*pos >= text.size()) return false;
    const int d = HexDigit(text[(*pos)++]);
    if (d < 0) return false;
    value = value << 4 | static_cast<std::uint32_t>(d);
  }
  *out = value;
  return true;
}

bool Expect(std::string_view text, std::size_t* pos, char c) {
  if (*pos >= text.size() || text[*pos] != c) return false;
  ++*pos;
  return true;
}

}  // namespace

bool ParseGuid(std::string_view text, GUID* out) {
  const bool braced = !text.empty() && text.front() == '{';
  if (braced) {
    if (text.back() != '}') return false;
    text = text.substr(1, text.size() - 2);
  }
  if (text.size() != 36) return false;
  GUID g{};
  std::size_t pos = 0;
  std::uint32_t v = 0;
  if (!ReadHex(text, &pos, 8, &v) || !Expect(text, &pos, '-')) return false;
  g.Data1 = v;
  if (!ReadHex(text, &pos, 4, &v) || !Expect(text, &pos, '-')) return false;
  g.Data2 = static_cast<std::uint16_t>(v);
  if (!ReadHex(text, &pos, 4, &v) || !Expect(text, &pos, '-')) return false;
  g.Data3 = static_cast<std::uint16_t>(v);
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(text, &pos, '-')) return false;
    if (!ReadHex(text, &pos, 2, &v)) return false;
    g.Data4[i] = static_cast<std::uint8_t>(v);
  }
  *out = g;
  return true;
}

}  // namespace jv::component
