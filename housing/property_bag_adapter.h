// The container's IPropertyBag as the control's platform::PropertyBag, so that
// IPersistPropertyBag's Load and Save drive ReadProperties and WriteProperties.
#pragma once

#include "platform/automation/ocidl.h"
#include "platform/runtime/property_bag.h"

namespace jv::housing {

// A read asks the bag for the value as stored (an empty variant); a bag that has
// no value under the name answers E_INVALIDARG, and the default stands in for it.
// Any other failure of the bag is the read's failure. A write always hands the
// value to the bag, default or not: through IPropertyBagDefaults with the default
// when the bag answers it, so that the bag can leave defaults out.
class PropertyBagAdapter final : public platform::PropertyBag {
 public:
  PropertyBagAdapter(IPropertyBag& bag, IErrorLog* log) : bag_(bag), log_(log) {}

  HRESULT ReadProperty(TextView key, const VARIANT& default_value, VARIANT* out) override;
  HRESULT WriteProperty(TextView key, const VARIANT& value, const VARIANT& default_value) override;

 private:
  IPropertyBag& bag_;
  IErrorLog* log_;
};

}  // namespace jv::housing
