#include "housing/property_page_values.h"

#include <olectl.h>

#include <cstdio>
#include <cwctype>

#include "housing/jornavista_ids.h"

namespace jv::housing {

namespace ids = jornavista;

const std::array<PageFieldDesc, kPageFields> kPageFieldDescs = {{
    {PageField::SDate, ids::DISPID_SDate, L"SDate", VT_BSTR},
    {PageField::BackColor, ids::DISPID_BackColor, L"BackColor", VT_I4},
    {PageField::ForeColor, ids::DISPID_ForeColor, L"ForeColor", VT_I4},
    {PageField::BackStyle, ids::DISPID_BackStyle, L"BackStyle", VT_I2},
    {PageField::BorderStyle, ids::DISPID_BorderStyle, L"BorderStyle", VT_I2},
    {PageField::Enabled, ids::DISPID_Enabled, L"Enabled", VT_BOOL},
}};

namespace {

std::wstring Trimmed(const std::wstring& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::iswspace(text[begin])) ++begin;
  while (end > begin && std::iswspace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// A whole number written in decimal (with an optional sign), or in hexadecimal as
// &Hxxxx, &Hxxxx& or 0xxxxx; false for anything else, or beyond 64 bits' reach.
bool ParseNumber(const std::wstring& raw, long long* out) {
  std::wstring text = Trimmed(raw);
  int base = 10;
  if (text.size() > 2 && text[0] == L'&' && (text[1] == L'H' || text[1] == L'h')) {
    text = text.substr(2);
    if (!text.empty() && text.back() == L'&') text.pop_back();
    base = 16;
  } else if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    text = text.substr(2);
    base = 16;
  }
  bool negative = false;
  std::size_t at = 0;
  if (base == 10 && at < text.size() && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
  if (at == text.size() || text.size() - at > 16) return false;
  long long value = 0;
  for (; at < text.size(); ++at) {
    const wchar_t c = text[at];
    int digit;
    if (c >= L'0' && c <= L'9')
      digit = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f')
      digit = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F')
      digit = c - L'A' + 10;
    else
      return false;
    value = value * base + digit;
  }
  *out = negative ? -value : value;
  return true;
}

}  // namespace

std::wstring ShowValue(const PageFieldDesc& desc, const VARIANT& value) {
  VARIANT copy;
  VariantInit(&copy);
  std::wstring text;
  if (desc.type == VT_I4 && SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&value), 0, VT_I4))) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"&H%08lX&", static_cast<unsigned long>(static_cast<ULONG>(copy.lVal)));
    text = buffer;
  } else if (desc.type == VT_BOOL &&
             SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&value), 0, VT_BOOL))) {
    text = copy.boolVal != VARIANT_FALSE ? L"True" : L"False";
  } else if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&value), 0, VT_BSTR)) &&
             copy.bstrVal != nullptr) {
    text.assign(copy.bstrVal, SysStringLen(copy.bstrVal));
  }
  VariantClear(&copy);
  return text;
}

bool ReadValue(const PageFieldDesc& desc, const std::wstring& text, VARIANT* value, std::wstring* message) {
  VariantInit(value);
  const std::wstring name = desc.label;
  long long number = 0;
  switch (desc.type) {
    case VT_BSTR:
      value->vt = VT_BSTR;
      value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      if (value->bstrVal == nullptr) {
        value->vt = VT_EMPTY;
        *message = L"Out of memory.";
        return false;
      }
      return true;
    case VT_I4: {
      COLORREF resolved = 0;
      if (!ParseNumber(text, &number) || number < 0 || number > 0xFFFFFFFFLL ||
          FAILED(OleTranslateColor(static_cast<OLE_COLOR>(number), nullptr, &resolved))) {
        *message = name + L": \"" + text +
                   L"\" is no colour; try &H00FF0000& (RGB) or &H8000000D& (a system colour).";
        return false;
      }
      value->vt = VT_I4;
      value->lVal = static_cast<LONG>(static_cast<ULONG>(number));
      return true;
    }
    case VT_I2:
      if (!ParseNumber(text, &number) || number < -32768 || number > 32767) {
        *message = name + L": \"" + text + L"\" is no whole number from -32768 to 32767.";
        return false;
      }
      value->vt = VT_I2;
      value->iVal = static_cast<SHORT>(number);
      return true;
    case VT_BOOL: {
      const std::wstring t = Trimmed(text);
      if (t != L"True" && t != L"False") {
        *message = name + L": \"" + text + L"\" is neither True nor False.";
        return false;
      }
      value->vt = VT_BOOL;
      value->boolVal = t == L"True" ? VARIANT_TRUE : VARIANT_FALSE;
      return true;
    }
    default:
      *message = name + L": no such field.";
      return false;
  }
}

}  // namespace jv::housing
