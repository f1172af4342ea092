// The automation types under the real oleaut32: BSTR and VARIANT lifetimes of the
// system holding our objects, and our coercions (variant_conversions) beside
// VariantChangeTypeEx on a generated corpus. Where the two differ, the difference
// must be one of the listed, intended ones.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>

#include "platform/automation/std_font.h"
#include "platform/automation/variant.h"
#include "platform/automation/variant_conversions.h"
#include "tests/windows/check.h"

namespace jv::wincheck {
namespace {

void BstrLayout(Report& report) {
  Case c(report, "automation: a Bstr is the system's BSTR, embedded zeros and all");
  const Text text(u"a\0b\u00e9", 4);
  const Bstr b(text);
  c.Equal(SysStringLen(b.get()), 4u, "SysStringLen");
  c.Equal(SysStringByteLen(b.get()), 8u, "SysStringByteLen");
  c.Equal(b.view(), TextView(text), "view");
  const Bstr copy = b;
  c.Expect(copy.get() != b.get(), "a copy is a new BSTR");
  c.Equal(copy.view(), TextView(text), "copy");
}

void VariantLifetimes(Report& report) {
  Case c(report, "automation: oleaut32's VariantCopy and VariantClear keep our font's count");
  {
    FontRef font;
    c.Status(CreateStdFont(FontDescription{}, font.put()), S_OK, "CreateStdFont");
    Variant held = Variant::Object(font.get());
    Variant copy = held;  // VariantCopy of the system
    c.Equal(copy.vt(), static_cast<VARTYPE>(VT_UNKNOWN), "copy type");
    font.reset();
    c.Equal(LiveStdFontCount(), std::size_t{1}, "alive while a variant holds it");
    FontRef back;
    c.Status(ToFont(copy, &back), S_OK, "ToFont");
    c.Expect(back.get() != nullptr, "ToFont gives the font");
    back.reset();
    held = Variant();
    c.Equal(LiveStdFontCount(), std::size_t{1}, "the copy still holds it");
  }
  c.Equal(LiveStdFontCount(), std::size_t{0}, "VariantClear released the last reference");

  Variant s = Variant::Str(u"texto");
  Variant t = s;
  c.Expect(t.raw().bstrVal != s.raw().bstrVal, "a copied string is a new BSTR");
  Text out;
  c.Status(ToText(t, &out), S_OK, "ToText");
  c.Equal(out, TextView(u"texto"), "copied string");
}

// ---- The coercion corpus ----

VARIANT Make(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  return v;
}

std::vector<VARIANT> Sources() {
  std::vector<VARIANT> s;
  s.push_back(Make(VT_EMPTY));
  s.push_back(Make(VT_NULL));
  for (const std::int16_t i : {0, 1, -1, 255, 256, 32767, -32768}) {
    VARIANT v = Make(VT_I2);
    v.iVal = i;
    s.push_back(v);
  }
  for (const std::int32_t i : {0, 65535, -65536, 100000, 2147483647, -2147483647 - 1}) {
    VARIANT v = Make(VT_I4);
    v.lVal = i;
    s.push_back(v);
  }
  for (const int i : {0, 200, 255}) {
    VARIANT v = Make(VT_UI1);
    v.bVal = static_cast<BYTE>(i);
    s.push_back(v);
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const double d :
       {0.0,          0.5,     1.5,  2.5,    -2.5, 3.5,       255.5, 256.0,  32767.5,
        -32768.5,     32768.4, 1e10, -1e300, 0.1,  1.0 / 3.0, 1e15,  1.5e-7, 123456789012345.0,
        2147483647.5, nan,     inf}) {
    VARIANT v = Make(VT_R8);
    v.dblVal = d;
    s.push_back(v);
  }
  for (const float f : {2.5f, 0.1f, 1e20f}) {
    VARIANT v = Make(VT_R4);
    v.fltVal = f;
    s.push_back(v);
  }
  for (const std::int64_t cy : {25000LL, -25000LL, 123456789LL, 1LL, 327675000LL}) {
    VARIANT v = Make(VT_CY);
    v.cyVal.int64 = cy;
    s.push_back(v);
  }
  for (const double d : {37934.0, 37934.75, -1.25, 0.0, 2958465.0, -657434.0}) {
    VARIANT v = Make(VT_DATE);
    v.date = d;
    s.push_back(v);
  }
  for (const VARIANT_BOOL b : {VARIANT_TRUE, VARIANT_FALSE}) {
    VARIANT v = Make(VT_BOOL);
    v.boolVal = b;
    s.push_back(v);
  }
  for (const wchar_t* text :
       {L"0",    L"1",     L" 255 ",      L"-3.5", L"+4",        L"1e2", L"2.5",   L"32768", L"&HFFFF",
        L"&hff", L"&O17",  L"&HFFFFFFFF", L"abc",  L"",          L"1 2", L"12abc", L"1,000", L"inf",
        L"True", L"false", L" TRUE ",     L"0x10", L"11/9/2003", L"$5",  L"(5)",   L"5-"}) {
    VARIANT v = Make(VT_BSTR);
    v.bstrVal = SysAllocString(text);
    s.push_back(v);
  }
  VARIANT e = Make(VT_ERROR);
  e.scode = DISP_E_PARAMNOTFOUND;
  s.push_back(e);
  return s;
}

const VARTYPE kTargets[] = {VT_EMPTY, VT_NULL, VT_I2,   VT_I4,   VT_UI1, VT_R4,
                            VT_R8,    VT_CY,   VT_DATE, VT_BSTR, VT_BOOL};

const char* TypeName(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
      return "Empty";
    case VT_NULL:
      return "Null";
    case VT_I2:
      return "I2";
    case VT_I4:
      return "I4";
    case VT_UI1:
      return "UI1";
    case VT_R4:
      return "R4";
    case VT_R8:
      return "R8";
    case VT_CY:
      return "CY";
    case VT_DATE:
      return "Date";
    case VT_BSTR:
      return "BSTR";
    case VT_BOOL:
      return "Bool";
    case VT_ERROR:
      return "Error";
    default:
      return "?";
  }
}

std::string Describe(const VARIANT& v) {
  char buf[64];
  std::string s = TypeName(v.vt);
  switch (v.vt) {
    case VT_I2:
      return s + " " + std::to_string(v.iVal);
    case VT_I4:
      return s + " " + std::to_string(v.lVal);
    case VT_UI1:
      return s + " " + std::to_string(v.bVal);
    case VT_R4:
      std::snprintf(buf, sizeof buf, " %.9g", static_cast<double>(v.fltVal));
      return s + buf;
    case VT_R8:
      std::snprintf(buf, sizeof buf, " %.17g", v.dblVal);
      return s + buf;
    case VT_DATE:
      std::snprintf(buf, sizeof buf, " %.17g", v.date);
      return s + buf;
    case VT_CY:
      return s + " " + std::to_string(v.cyVal.int64);
    case VT_BOOL:
      return s + " " + std::to_string(v.boolVal);
    case VT_ERROR:
      return s + " " + Hex(v.scode);
    case VT_BSTR:
      return s + " \"" + U8(TextView(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal))) +
             '"';
    default:
      return s;
  }
}

struct Outcome {
  HRESULT hr;
  std::string value;  // empty on failure
  bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& o) { return SUCCEEDED(o.hr) ? o.value : "fails " + Hex(o.hr); }

struct Row {
  const VARIANT* in;
  VARTYPE to;
  Outcome ours;
  Outcome system;
};

bool SourceIs(const Row& r, VARTYPE vt) { return r.in->vt == vt; }
bool OursFails(const Row& r) { return FAILED(r.ours.hr); }
bool SystemFails(const Row& r) { return FAILED(r.system.hr); }
bool IsReal(VARTYPE vt) { return vt == VT_R8 || vt == VT_R4 || vt == VT_DATE; }

// The differences we keep on purpose, each with its reason. A difference that none
// of these explains is a failure.
struct KnownDifference {
  const char* reason;
  bool (*applies)(const Row&);
};

bool IsLiteralPattern(const Row& r) {
  return SourceIs(r, VT_BSTR) && SysStringLen(r.in->bstrVal) > 1 && r.in->bstrVal[0] == L'&';
}

// Where these rules meet oleaut32 they are Wine's oleaut32: the checks run there.
const KnownDifference kKnownDifferences[] = {
    {"text is read as a date by the date functions (day first), never by a coercion",
     [](const Row& r) { return SourceIs(r, VT_BSTR) && r.to == VT_DATE && OursFails(r); }},
    {"text to number is locale-independent: oleaut32 also reads thousands separators, "
     "currency signs, trailing signs and parentheses",
     [](const Row& r) {
       return SourceIs(r, VT_BSTR) && r.ours.hr == DISP_E_TYPEMISMATCH && r.system.hr != DISP_E_TYPEMISMATCH;
     }},
    {"text to truth value trims the blanks around True and False; oleaut32 takes them bare only",
     [](const Row& r) { return SourceIs(r, VT_BSTR) && r.to == VT_BOOL && !OursFails(r) && SystemFails(r); }},
    {"a &H or &O literal is a 32-bit pattern for reals, currency and truth values; oleaut32 "
     "overflows on some of them",
     [](const Row& r) {
       return IsLiteralPattern(r) && (IsReal(r.to) || r.to == VT_CY || r.to == VT_BOOL) && !OursFails(r) &&
              r.system.hr == DISP_E_OVERFLOW;
     }},
    {"a real becomes the shortest text that reads back as the same value; oleaut32 "
     "rounds to 15 (single: 7) significant digits",
     [](const Row& r) {
       return (SourceIs(r, VT_R8) || SourceIs(r, VT_R4)) && r.to == VT_BSTR && !OursFails(r) &&
              !SystemFails(r);
     }},
    {"a date becomes \"M/d/yyyy[ H:mm:ss]\" always, with a four-digit year; oleaut32 writes "
     "the locale's time (\"6:00:00 PM\"), a bare time for day 0 and \"1/1/100\"",
     [](const Row& r) {
       return SourceIs(r, VT_DATE) && r.to == VT_BSTR && !OursFails(r) && !SystemFails(r);
     }},
    {"NaN and infinities overflow for every target; oleaut32 lets some through",
     [](const Row& r) {
       return (SourceIs(r, VT_R8) && !std::isfinite(r.in->dblVal)) ||
              (SourceIs(r, VT_R4) && !std::isfinite(r.in->fltVal));
     }},
    {"True is -1 and so overflows a byte; oleaut32 makes it 255",
     [](const Row& r) {
       return SourceIs(r, VT_BOOL) && r.to == VT_UI1 && r.ours.hr == DISP_E_OVERFLOW && !SystemFails(r);
     }},
    {"Empty as a target takes anything and Null takes only Empty and Null; oleaut32 refuses "
     "Null and errors to Empty and makes any value Null",
     [](const Row& r) {
       return (r.to == VT_EMPTY && !OursFails(r) && r.system.hr == DISP_E_TYPEMISMATCH) ||
              (r.to == VT_NULL && r.ours.hr == DISP_E_TYPEMISMATCH && !SystemFails(r));
     }},
    {"a single beyond the date range overflows; oleaut32 takes it as a date",
     [](const Row& r) {
       return SourceIs(r, VT_R4) && r.to == VT_DATE && r.ours.hr == DISP_E_OVERFLOW && !SystemFails(r);
     }},
};

void CoercionsBesideVariantChangeType(Report& report) {
  Case c(report, "automation: ChangeType beside oleaut32's VariantChangeTypeEx (en-US)");
  const bool dump = std::getenv("JV_DUMP_VARIANTS") != nullptr;
  std::vector<VARIANT> sources = Sources();
  int same = 0, total = 0;
  std::map<const char*, int> explained;
  for (const VARIANT& in : sources) {
    for (const VARTYPE to : kTargets) {
      Row row{&in, to, {}, {}};
      VARIANT ours, system;
      VariantInit(&ours);
      VariantInit(&system);
      row.ours.hr = ChangeType(in, to, &ours);
      row.system.hr = VariantChangeTypeEx(&system, const_cast<VARIANT*>(&in), 0x0409, VARIANT_ALPHABOOL, to);
      if (SUCCEEDED(row.ours.hr)) row.ours.value = Describe(ours);
      if (SUCCEEDED(row.system.hr)) row.system.value = Describe(system);
      VariantClear(&ours);
      VariantClear(&system);
      ++total;
      const std::string line = Describe(in) + " -> " + TypeName(to) + ": ours " + Describe(row.ours) +
                               ", oleaut32 " + Describe(row.system);
      if (row.ours == row.system) {
        ++same;
        continue;
      }
      const KnownDifference* known = nullptr;
      for (const KnownDifference& k : kKnownDifferences)
        if (k.applies(row)) {
          known = &k;
          break;
        }
      if (dump) std::printf("  differs: %s%s\n", line.c_str(), known ? "" : "   <- unexplained");
      if (known != nullptr)
        ++explained[known->reason];
      else
        c.Expect(false, line);
    }
  }
  for (VARIANT& v : sources) VariantClear(&v);
  report.Note("coercions: " + std::to_string(same) + " of " + std::to_string(total) + " agree with oleaut32");
  for (const auto& [reason, count] : explained)
    report.Note("  " + std::to_string(count) + " differ: " + reason);
}

}  // namespace

void VariantChecks(Report& report) {
  BstrLayout(report);
  VariantLifetimes(report);
  CoercionsBesideVariantChangeType(report);
}

}  // namespace jv::wincheck
