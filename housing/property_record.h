// The control's properties as a record of named values: an IPropertyBag in memory
// that the instance saves into and loads from. Its values are in property_value.h,
// its binary form in record_codec.h.
#pragma once

#include <vector>

#include "housing/property_value.h"
#include "housing/record_codec.h"
#include "platform/automation/ocidl.h"
#include "platform/automation/ref_counted.h"

namespace jv::housing {

// The record as a property bag. Read answers E_INVALIDARG for a name it does not
// hold (the bag's "no value") and for nothing else, and hands out a new standard
// font for a stored font; Write refuses with DISP_E_BADVARTYPE a value of another
// kind, an object that is not a font with DISP_E_TYPEMISMATCH, and a value the
// binary form would refuse with EncodeRecord's statuses. A write replaces the
// value of that name.
class PropertyRecord final : public RefCounted<IPropertyBag> {
 public:
  // A new record with one reference, owned by the caller.
  static PropertyRecord* Create(std::vector<NamedProperty> properties = {});

  HRESULT JV_STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT JV_STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

  const std::vector<NamedProperty>& properties() const { return properties_; }

 private:
  explicit PropertyRecord(std::vector<NamedProperty> properties) : properties_(std::move(properties)) {}
  ~PropertyRecord() override = default;

  std::vector<NamedProperty> properties_;
};

}  // namespace jv::housing
