#include "housing/record_persistence.h"

#include "housing/jornavista_members.h"
#include "housing/property_record.h"
#include "platform/automation/variant_conversions.h"

namespace jv::housing {

namespace {

// The conversion ReadProperties makes of a value read for a property of `type`.
HRESULT Converts(ValueType type, const Variant& value) {
  switch (type) {
    case ValueType::kI4:
    case ValueType::kOleColor: {
      std::int32_t n = 0;
      return ToInt32(value, &n);
    }
    case ValueType::kI2: {
      std::int16_t n = 0;
      return ToInt16(value, &n);
    }
    case ValueType::kBool: {
      VARIANT_BOOL b = VARIANT_FALSE;
      return ToBool(value, &b);
    }
    case ValueType::kBstr: {
      Text text;
      return ToText(value, &text);
    }
    case ValueType::kFont: {
      FontRef font;
      return ToFont(value, &font);
    }
    default:
      return S_OK;
  }
}

// Every stored value the control will read takes its property's type. The record
// is read as the control reads it, through the bag, so the check and the load see
// the same values.
HRESULT CheckValues(PropertyRecord& record) {
  for (const NamedProperty& p : record.properties()) {
    const MemberDesc* member = MemberNamed(TextView(p.name));
    if (member == nullptr || member->kind == MemberKind::kMethod) continue;
    Variant value;
    JV_TRY(record.Read(reinterpret_cast<LPCOLESTR>(p.name.c_str()), value.put(), nullptr));
    const HRESULT hr = Converts(member->type, value);
    if (hr == E_OUTOFMEMORY) return hr;
    if (FAILED(hr)) return STG_E_DOCFILECORRUPT;
  }
  return S_OK;
}

}  // namespace

HRESULT SaveRecordBytes(IPersistPropertyBag& persist, bool clear_dirty, std::vector<std::uint8_t>* out) {
  if (out == nullptr) return E_POINTER;
  ComPtr<PropertyRecord> record;
  *record.put() = PropertyRecord::Create();
  if (!record) return E_OUTOFMEMORY;
  JV_TRY(persist.Save(record.get(), clear_dirty ? 1 : 0, 1));
  return EncodeRecord(record->properties(), out);
}

HRESULT LoadRecordBytes(IPersistPropertyBag& persist, std::span<const std::uint8_t> bytes) {
  std::vector<NamedProperty> properties;
  JV_TRY(DecodeRecord(bytes, &properties));
  ComPtr<PropertyRecord> record;
  *record.put() = PropertyRecord::Create(std::move(properties));
  if (!record) return E_OUTOFMEMORY;
  JV_TRY(CheckValues(*record.get()));
  return persist.Load(record.get(), nullptr);
}

}  // namespace jv::housing
