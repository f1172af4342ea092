// The component's record: the classes the library serves, with their type library.
#include "housing/jornavista_object.h"
#include "housing/jornavista_typelib.h"

#ifdef _WIN32
#include "housing/property_page.h"
#endif

namespace jv::housing {

namespace {

constexpr component::ClassDesc kClasses[] = {
    {
        "ctrJornavista",
        jornavista::CLSID_ctrJornavista,
        jornavista::kProgId,
        "Apartment",
        true,
        jornavista::DIID___ctrJornavista,
        kMiscStatus,
        kToolboxBitmap,
        kPropertyPages,
        kCategories,
        &CreatectrJornavista,
    }
#ifdef _WIN32
    ,
    {
        // The control's property page; no programmatic identifier, not a control.
        "JornavistaPropertyPage",
        jornavista::CLSID_JornavistaPropertyPage,
        "",
        "Apartment",
        false,
        GUID{},
        0,
        0,
        {},
        {},
        &CreatePropertyPage,
    }
#endif
};

constexpr component::ComponentDesc kComponent = {kTypeLibrary, kClasses};

}  // namespace

const component::ComponentDesc& Component() { return kComponent; }

}  // namespace jv::housing
