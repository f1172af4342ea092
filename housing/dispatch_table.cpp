#include "housing/dispatch_table.h"

#include <cmath>

#include "control/failure_modes.h"
#include "housing/jornavista_typelib.h"
#include "platform/automation/font_disp.h"
#include "platform/automation/invoke_rules.h"
#include "platform/automation/variant_conversions.h"

namespace jv::housing {

namespace {

using control::ctrJornavista;

// How each type of the table travels in a VARIANT: the C++ value a member takes,
// the coercion of an argument into it and the variant a get hands back. A colour
// goes back as a 32-bit integer, the variant type that holds its bit pattern.
template <ValueType T>
struct VariantCoding;

template <>
struct VariantCoding<ValueType::kOleColor> {
  using Value = OLE_COLOR;
  static Value* Out(Value& v) { return &v; }
  static Value In(const Value& v) { return v; }
  static HRESULT From(const VARIANT& in, Value* out) { return ToColor(in, out); }
  static HRESULT To(Value v, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = static_cast<std::int32_t>(v);
    return S_OK;
  }
};

template <>
struct VariantCoding<ValueType::kBool> {
  using Value = VARIANT_BOOL;
  static Value* Out(Value& v) { return &v; }
  static Value In(const Value& v) { return v; }
  static HRESULT From(const VARIANT& in, Value* out) { return ToBool(in, out); }
  static HRESULT To(Value v, VARIANT* out) {
    out->vt = VT_BOOL;
    out->boolVal = v;
    return S_OK;
  }
};

template <>
struct VariantCoding<ValueType::kI2> {
  using Value = std::int16_t;
  static Value* Out(Value& v) { return &v; }
  static Value In(const Value& v) { return v; }
  static HRESULT From(const VARIANT& in, Value* out) { return ToInt16(in, out); }
  static HRESULT To(Value v, VARIANT* out) {
    out->vt = VT_I2;
    out->iVal = v;
    return S_OK;
  }
};

template <>
struct VariantCoding<ValueType::kBstr> {
  using Value = Text;
  static Value* Out(Value& v) { return &v; }
  static TextView In(const Value& v) { return v; }
  static HRESULT From(const VARIANT& in, Value* out) { return ToText(in, out); }
  static HRESULT To(const Value& v, VARIANT* out) {
    BSTR b =
        SysAllocStringLen(reinterpret_cast<const OLECHAR*>(v.data()), static_cast<std::uint32_t>(v.size()));
    if (b == nullptr) return E_OUTOFMEMORY;
    out->vt = VT_BSTR;
    out->bstrVal = b;
    return S_OK;
  }
};

// A font goes back as its dispatch view (the type library's Font), or as the
// object itself when it has none; either way QueryInterface leads to the font.
template <>
struct VariantCoding<ValueType::kFont> {
  using Value = FontRef;
  static IFont** Out(Value& v) { return v.put(); }
  static IFont* In(const Value& v) { return v.get(); }
  static HRESULT From(const VARIANT& in, Value* out) { return ToFont(in, out); }
  static HRESULT To(const Value& v, VARIANT* out) {
    if (!v) {
      out->vt = VT_DISPATCH;
      out->pdispVal = nullptr;
      return S_OK;
    }
    IDispatch* view = nullptr;
    if (SUCCEEDED(v->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&view))) && view != nullptr) {
      out->vt = VT_DISPATCH;
      out->pdispVal = view;
      return S_OK;
    }
    out->vt = VT_UNKNOWN;
    out->punkVal = v.get();
    v->AddRef();
    return S_OK;
  }
};

struct Binding {
  DISPID id;
  MemberKind kind;
  ValueType type;
  HRESULT (*get)(ctrJornavista&, InvokeBuffers&, VARIANT*);
  // *coerced is false when the argument could not be made the member's type.
  HRESULT (*put)(ctrJornavista&, const VARIANT&, bool* coerced);
  HRESULT (*call)(ctrJornavista&);
};

template <ValueType T, auto Get, auto Put>
constexpr Binding Property(DISPID id, MemberKind kind = MemberKind::kProperty) {
  return {id,
          kind,
          T,
          [](ctrJornavista& c, InvokeBuffers& buffers, VARIANT* out) -> HRESULT {
            if constexpr (T == ValueType::kBstr) {
              return buffers.WithText([&](Text& v) -> HRESULT {
                JV_TRY((c.*Get)(&v));
                return VariantCoding<T>::To(v, out);
              });
            } else {
              typename VariantCoding<T>::Value v{};
              JV_TRY((c.*Get)(VariantCoding<T>::Out(v)));
              return VariantCoding<T>::To(v, out);
            }
          },
          [](ctrJornavista& c, const VARIANT& in, bool* coerced) -> HRESULT {
            typename VariantCoding<T>::Value v{};
            *coerced = false;
            JV_TRY(VariantCoding<T>::From(in, &v));
            *coerced = true;
            return (c.*Put)(VariantCoding<T>::In(v));
          },
          nullptr};
}

template <auto Call>
constexpr Binding Method(DISPID id) {
  return {id,
          MemberKind::kMethod,
          ValueType::kVoid,
          nullptr,
          nullptr,
          [](ctrJornavista& c) { return (c.*Call)(); }};
}

using jornavista::DISPID_BackColor, jornavista::DISPID_ForeColor, jornavista::DISPID_Enabled,
    jornavista::DISPID_Font, jornavista::DISPID_BackStyle, jornavista::DISPID_BorderStyle,
    jornavista::DISPID_Refresh, jornavista::DISPID_SDate;

// Row for row the member table; checked below so the two cannot part.
constexpr Binding kBindings[] = {
    Property<ValueType::kOleColor, &ctrJornavista::get_BackColor, &ctrJornavista::put_BackColor>(
        DISPID_BackColor),
    Property<ValueType::kOleColor, &ctrJornavista::get_ForeColor, &ctrJornavista::put_ForeColor>(
        DISPID_ForeColor),
    Property<ValueType::kBool, &ctrJornavista::get_Enabled, &ctrJornavista::put_Enabled>(DISPID_Enabled),
    Property<ValueType::kFont, &ctrJornavista::get_Font, &ctrJornavista::putref_Font>(
        DISPID_Font, MemberKind::kPropertyByRef),
    Property<ValueType::kI2, &ctrJornavista::get_BackStyle, &ctrJornavista::put_BackStyle>(DISPID_BackStyle),
    Property<ValueType::kI2, &ctrJornavista::get_BorderStyle, &ctrJornavista::put_BorderStyle>(
        DISPID_BorderStyle),
    Method<&ctrJornavista::Refresh>(DISPID_Refresh),
    Property<ValueType::kBstr, &ctrJornavista::get_SDate, &ctrJornavista::put_SDate>(DISPID_SDate),
};

constexpr bool BindingsMatchTable() {
  if (std::size(kBindings) != std::size(kMembers)) return false;
  for (std::size_t i = 0; i < std::size(kMembers); ++i) {
    if (kBindings[i].id != kMembers[i].id || kBindings[i].kind != kMembers[i].kind ||
        kBindings[i].type != kMembers[i].type)
      return false;
  }
  return true;
}
static_assert(BindingsMatchTable(), "every member of the table has its binding, in the same order and type");

constexpr bool IdsAreUnique() {
  for (std::size_t i = 0; i < std::size(kBindings); ++i)
    for (std::size_t j = i + 1; j < std::size(kBindings); ++j)
      if (kBindings[i].id == kBindings[j].id) return false;
  return true;
}
static_assert(IdsAreUnique(), "a dispatch id names one member");

// Searched from the last row, SDate, the member hosts read and write most; the
// ids are unique, so the order finds the same row.
const Binding* FindBinding(DISPID id) {
  for (std::size_t i = std::size(kBindings); i-- > 0;)
    if (kBindings[i].id == id) return &kBindings[i];
  return nullptr;
}

}  // namespace

HRESULT ToColor(const VARIANT& in, OLE_COLOR* out) {
  if (out == nullptr) return E_POINTER;
  std::int32_t pattern = 0;
  const HRESULT hr = ToInt32(in, &pattern);
  if (SUCCEEDED(hr)) {
    *out = static_cast<OLE_COLOR>(pattern);
    return S_OK;
  }
  if (hr != DISP_E_OVERFLOW) return hr;
  double number = 0;
  if (FAILED(ToDouble(in, &number))) return hr;
  const double whole = std::nearbyint(number);  // half to even, as every coercion here rounds
  if (!(whole >= 0 && whole <= 4294967295.0)) return hr;
  *out = static_cast<OLE_COLOR>(whole);
  return S_OK;
}

HRESULT InvokeMember(ctrJornavista& control, InvokeBuffers& buffers, DISPID id, WORD flags, DISPPARAMS* params,
                     VARIANT* result, UINT* arg_err) {
  const Binding* b = FindBinding(id);
  if (b == nullptr) return DISP_E_MEMBERNOTFOUND;
  switch (CallFormOf(flags, b->kind == MemberKind::kMethod, b->kind == MemberKind::kPropertyByRef)) {
    case CallForm::kGet: {
      JV_TRY(CheckNoArguments(params));
      VARIANT value{};  // empty, as VariantInit leaves it
      JV_TRY(b->get(control, buffers, &value));
      if (result != nullptr)
        *result = value;
      else
        VariantClear(&value);
      return S_OK;
    }
    case CallForm::kPut:
    case CallForm::kPutRef: {
      const VARIANT* value = nullptr;
      JV_TRY(PutArgument(params, &value));
      bool coerced = false;
      const HRESULT hr = b->put(control, *value, &coerced);
      if (!coerced && arg_err != nullptr) *arg_err = 0;
      return hr;
    }
    case CallForm::kMethod: {
      JV_TRY(CheckNoArguments(params));
      if (result != nullptr) VariantInit(result);
      return b->call(control);
    }
    case CallForm::kNone:
      break;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace jv::housing
