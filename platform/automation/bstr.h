// Automation strings: BSTR is a UTF-16 buffer preceded by its length in bytes
// (32 bits) and followed by a terminating zero, so a BSTR may hold embedded zeros.
// Bstr owns one; the UTF-8 helpers convert at the edges of the system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

#ifndef _WIN32
using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// The allocation functions keep the names and contracts of the automation library:
// a null BSTR is a valid empty string everywhere.
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t length);
void SysFreeString(BSTR bstr);
std::uint32_t SysStringLen(BSTR bstr);
std::uint32_t SysStringByteLen(BSTR bstr);
#endif

namespace jv {

// An owned BSTR. Moves transfer ownership; copies allocate.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(TextView text);
  Bstr(const Bstr& other) : Bstr(other.view()) {}
  Bstr(Bstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  Bstr& operator=(Bstr other) noexcept {
    std::swap(bstr_, other.bstr_);
    return *this;
  }
  ~Bstr() { SysFreeString(bstr_); }

  // Takes ownership of a BSTR allocated by SysAllocString*.
  static Bstr Attach(BSTR bstr) {
    Bstr b;
    b.bstr_ = bstr;
    return b;
  }
  BSTR Detach() { return std::exchange(bstr_, nullptr); }
  BSTR get() const { return bstr_; }
  std::uint32_t length() const { return SysStringLen(bstr_); }
  TextView view() const;

 private:
  BSTR bstr_ = nullptr;
};

// UTF-8 <-> UTF-16. Malformed input (a bad UTF-8 sequence, a lone surrogate) is
// refused with E_INVALIDARG and leaves *out untouched.
[[nodiscard]] HRESULT Utf8ToText(std::string_view utf8, Text* out);
[[nodiscard]] HRESULT TextToUtf8(TextView text, std::string* out);
// For diagnostics and tests only: replaces what cannot be converted with U+FFFD.
std::string ToUtf8Lossy(TextView text);
Text FromAscii(std::string_view ascii);

}  // namespace jv
