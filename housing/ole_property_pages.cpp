// The property pages the control names to a container that asks: its own page for
// SDate, the colours, the styles and Enabled, then the system's standard font page.
#include "housing/jornavista_ids.h"
#include "housing/ole_control.h"

namespace jv::housing {

namespace {

// The system's standard font property page.
constexpr CLSID kStockFontPage = {
    0x7EBDAAE0, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};

}  // namespace

HRESULT OleControl::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(2 * sizeof(GUID)));
  if (pages->pElems == nullptr) return E_OUTOFMEMORY;
  pages->pElems[0] = jornavista::CLSID_JornavistaPropertyPage;  // our page first, the font on the stock one
  pages->pElems[1] = kStockFontPage;
  pages->cElems = 2;
  return S_OK;
}

}  // namespace jv::housing
