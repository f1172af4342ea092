#include "platform/automation/bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#ifndef _WIN32
namespace {
// The byte length sits in the four bytes before the text.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);
}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t length) {
  if (length > (std::numeric_limits<std::uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1)
    return nullptr;
  const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
  if (block == nullptr) return nullptr;
  const auto byte_length = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &byte_length, kPrefix);
  auto* chars = reinterpret_cast<OLECHAR*>(block + kPrefix);
  if (text != nullptr)
    std::memcpy(chars, text, bytes);
  else
    std::memset(chars, 0, bytes);
  chars[length] = 0;
  return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  std::uint32_t n = 0;
  while (text[n] != 0) ++n;
  return SysAllocStringLen(text, n);
}

void SysFreeString(BSTR bstr) {
  if (bstr != nullptr) std::free(reinterpret_cast<unsigned char*>(bstr) - kPrefix);
}

std::uint32_t SysStringByteLen(BSTR bstr) {
  if (bstr == nullptr) return 0;
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<unsigned char*>(bstr) - kPrefix, kPrefix);
  return bytes;
}

std::uint32_t SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }
#endif

namespace jv {

Bstr::Bstr(TextView text)
    : bstr_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                              static_cast<std::uint32_t>(text.size()))) {}

TextView Bstr::view() const {
  return {reinterpret_cast<const char16_t*>(bstr_), SysStringLen(bstr_)};
}

HRESULT Utf8ToText(std::string_view utf8, Text* out) {
  Text result;
  result.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    char32_t cp;
    int extra;
    const unsigned char lead = *p++;
    if (lead < 0x80) {
      cp = lead;
      extra = 0;
    } else if ((lead & 0xE0) == 0xC0) {
      cp = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      cp = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      cp = lead & 0x07;
      extra = 3;
    } else {
      return E_INVALIDARG;
    }
    if (end - p < extra) return E_INVALIDARG;
    for (int i = 0; i < extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) return E_INVALIDARG;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return E_INVALIDARG;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      result.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      result.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      result.push_back(static_cast<char16_t>(cp));
    }
  }
  *out = std::move(result);
  return S_OK;
}

namespace {
// Appends the UTF-8 form of text; false when a surrogate has no partner.
bool AppendUtf8(TextView text, std::string& out, bool lossy) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (!lossy) return false;
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return true;
}
}  // namespace

HRESULT TextToUtf8(TextView text, std::string* out) {
  std::string result;
  result.reserve(text.size());
  if (!AppendUtf8(text, result, false)) return E_INVALIDARG;
  *out = std::move(result);
  return S_OK;
}

std::string ToUtf8Lossy(TextView text) {
  std::string result;
  AppendUtf8(text, result, true);
  return result;
}

Text FromAscii(std::string_view ascii) { return Text(ascii.begin(), ascii.end()); }

}  // namespace jv
