// One control's bag of the host document as the COM IPropertyBag that a
// control's IPersistPropertyBag reads and writes, with IPropertyBagDefaults so
// that the document can leave defaults out.
#pragma once

#include "apps/document/document_bag.h"
#include "platform/automation/ocidl.h"
#include "platform/automation/ref_counted.h"
#include "platform/component/control_site.h"

namespace jv::document {

// A read of a name the bag does not hold answers E_INVALIDARG, so the control's
// default stands in. Every call goes through the document bag, so its fault check
// and its record of the last key see each one. The document bag is lent for one
// Load or Save: once Detach has run, an instance that kept this object gets
// E_UNEXPECTED.
class DocumentPropertyBag final : public RefCounted<IPropertyBag, IPropertyBagDefaults> {
 public:
  explicit DocumentPropertyBag(DocumentBag& bag) : bag_(&bag) {}
  void Detach() { bag_ = nullptr; }

  HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT Write(LPCOLESTR name, VARIANT* value) override;
  HRESULT WriteWithDefault(LPCOLESTR name, VARIANT* value, VARIANT* default_value) override;

 private:
  ~DocumentPropertyBag() override = default;

  DocumentBag* bag_;
};

}  // namespace jv::document
