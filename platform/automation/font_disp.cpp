#include "platform/automation/font_disp.h"

#include <atomic>
#include <new>

#include "platform/automation/invoke_rules.h"
#include "platform/automation/ref_counted.h"
#include "platform/automation/variant_conversions.h"

namespace jv {

namespace {

// As the fonts' own count: one counter for the tear-offs of every apartment.
std::atomic<std::size_t> live_dispatches{0};

struct FontMember {
  std::u16string_view name;
  DISPID id;
};

constexpr FontMember kMembers[] = {
    {u"Name", DISPID_FONT_NAME},       {u"Size", DISPID_FONT_SIZE},
    {u"Bold", DISPID_FONT_BOLD},       {u"Italic", DISPID_FONT_ITALIC},
    {u"Underline", DISPID_FONT_UNDER}, {u"Strikethrough", DISPID_FONT_STRIKE},
    {u"Weight", DISPID_FONT_WEIGHT},   {u"Charset", DISPID_FONT_CHARSET},
};

bool SameNameIgnoringCase(std::u16string_view a, const OLECHAR* b) {
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (y == 0) return false;
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - u'a' + u'A');
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - u'a' + u'A');
    if (x != y) return false;
  }
  return b[i] == 0;
}

class FontDispatch final : public RefCounted<IFontDisp> {
 public:
  explicit FontDispatch(IFont* font) : font_(font) { ++live_dispatches; }

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IDispatch || riid == IID_IFontDisp) {
      *object = static_cast<IFontDisp*>(this);
      AddRef();
      return S_OK;
    }
    return font_->QueryInterface(riid, object);
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                             DISPID* ids) override {
    if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const FontMember& m : kMembers)
      if (names[0] != nullptr && SameNameIgnoringCase(m.name, names[0])) ids[0] = m.id;
    if (ids[0] == DISPID_UNKNOWN || count > 1) result = DISP_E_UNKNOWNNAME;
    return result;
  }
  HRESULT JV_STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT* arg_err) override {
    if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    bool known = false;
    for (const FontMember& m : kMembers) known |= m.id == id;
    if (!known) return DISP_E_MEMBERNOTFOUND;
    // The call may release the last outside reference to this dispatch view.
    ComPtr<IFontDisp> self(this);
    switch (CallFormOf(flags, false, false)) {
      case CallForm::kGet: {
        JV_TRY(CheckNoArguments(params));
        Variant value;
        JV_TRY(Get(id, &value));
        if (result != nullptr) {
          VariantClear(result);
          *result = value.Detach();
        }
        return S_OK;
      }
      case CallForm::kPut: {
        const VARIANT* value = nullptr;
        JV_TRY(PutArgument(params, &value));
        const HRESULT hr = Put(id, *value);
        if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW || hr == DISP_E_BADVARTYPE) &&
            arg_err != nullptr)
          *arg_err = 0;
        return hr;
      }
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  ~FontDispatch() override { --live_dispatches; }

  HRESULT Get(DISPID id, Variant* out) {
    BOOL flag = 0;
    HRESULT hr = S_OK;
    switch (id) {
      case DISPID_FONT_NAME: {
        BSTR name = nullptr;
        JV_TRY(font_->get_Name(&name));
        *out = Variant::Str(Bstr::Attach(name).view());
        return S_OK;
      }
      case DISPID_FONT_SIZE: {
        CY size{};
        JV_TRY(font_->get_Size(&size));
        VARIANT* v = out->put();
        v->vt = VT_CY;
        v->cyVal = size;
        return S_OK;
      }
      case DISPID_FONT_WEIGHT:
      case DISPID_FONT_CHARSET: {
        SHORT n = 0;
        JV_TRY(id == DISPID_FONT_WEIGHT ? font_->get_Weight(&n) : font_->get_Charset(&n));
        *out = Variant::I2(n);
        return S_OK;
      }
      case DISPID_FONT_BOLD:
        hr = font_->get_Bold(&flag);
        break;
      case DISPID_FONT_ITALIC:
        hr = font_->get_Italic(&flag);
        break;
      case DISPID_FONT_UNDER:
        hr = font_->get_Underline(&flag);
        break;
      default:
        hr = font_->get_Strikethrough(&flag);
        break;
    }
    JV_TRY(hr);
    *out = Variant::Bool(flag != 0);
    return S_OK;
  }

  HRESULT Put(DISPID id, const VARIANT& value) {
    switch (id) {
      case DISPID_FONT_NAME: {
        Text name;
        JV_TRY(ToText(value, &name));
        Bstr b(name);
        return font_->put_Name(b.get());
      }
      case DISPID_FONT_SIZE: {
        Variant cy;
        JV_TRY(ChangeType(value, VT_CY, cy.put()));
        return font_->put_Size(cy.raw().cyVal);
      }
      case DISPID_FONT_WEIGHT:
      case DISPID_FONT_CHARSET: {
        std::int16_t n = 0;
        JV_TRY(ToInt16(value, &n));
        return id == DISPID_FONT_WEIGHT ? font_->put_Weight(n) : font_->put_Charset(n);
      }
      default:
        break;
    }
    VARIANT_BOOL flag = VARIANT_FALSE;
    JV_TRY(ToBool(value, &flag));
    const BOOL b = flag != VARIANT_FALSE ? 1 : 0;
    switch (id) {
      case DISPID_FONT_BOLD:
        return font_->put_Bold(b);
      case DISPID_FONT_ITALIC:
        return font_->put_Italic(b);
      case DISPID_FONT_UNDER:
        return font_->put_Underline(b);
      default:
        return font_->put_Strikethrough(b);
    }
  }

  FontRef font_;
};

}  // namespace

std::size_t LiveFontDispatchCount() { return live_dispatches.load(); }

HRESULT CreateFontDispatch(IFont* font, IFontDisp** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (font == nullptr) return E_INVALIDARG;
  auto* view = new (std::nothrow) FontDispatch(font);
  if (view == nullptr) return E_OUTOFMEMORY;
  *out = view;
  return S_OK;
}

}  // namespace jv
