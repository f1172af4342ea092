#include "platform/automation/literal_text.h"

#include <cstdio>

namespace jv {

std::string Hex32(std::uint32_t value, HexLetters letters) {
  char buf[16];
  std::snprintf(buf, sizeof buf, letters == HexLetters::kUpper ? "0x%08X" : "0x%08x", static_cast<unsigned>(value));
  return buf;
}

std::string VersionText(std::uint16_t major, std::uint16_t minor) {
  return std::to_string(major) + "." + std::to_string(minor);
}

std::string BasicHex32(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "&H%08X", static_cast<unsigned>(value));
  return buf;
}

std::string Quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
      case '\\':
        out += '\\';
        out += c;
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        AppendPrintable(out, c);
    }
  }
  out += '"';
  return out;
}

void AppendPrintable(std::string& out, char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (c == '\n') {
    out += "\\n";
  } else if (c == '\t') {
    out += "\\t";
  } else if (byte < 0x20 || byte == 0x7F) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(byte));
    out += buf;
  } else {
    out += c;
  }
}

}  // namespace jv
