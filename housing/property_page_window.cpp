// The property page's window: a label and an edit box for each value, a check
// box for Enabled, and a line for the page's message, in the frame's window.
#include <windows.h>

#include "housing/property_page.h"
#include "platform/win32/module_class.h"

namespace jv::housing {

namespace {

constexpr wchar_t kPageClass[] = L"JornavistaPropertyPage";
constexpr int kMargin = 10, kLabelWidth = 90, kRowHeight = 22, kRowStep = 28;
constexpr int kFirstFieldId = 100, kMessageId = 99, kLabelId = -1;

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (page != nullptr && id >= kFirstFieldId && id < kFirstFieldId + static_cast<int>(kPageFields) &&
          (code == EN_CHANGE || code == BN_CLICKED))
        page->OnFieldEdited(static_cast<PageField>(id - kFirstFieldId));
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      // The message line in red; every static on the page on the page's colour.
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkMode(dc, TRANSPARENT);
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == kMessageId) SetTextColor(dc, RGB(192, 0, 0));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

HRESULT PropertyPage::CreateWindows(HWND parent, const RECT& rect) {
  HINSTANCE module = win32::ThisModule();
  JV_TRY(win32::RegisterModuleClass(module, kPageClass, PageProc, 0, COLOR_BTNFACE));
  window_ =
      CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPCHILDREN, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, module, this);
  if (window_ == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
  auto make = [&](DWORD ex, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int cx,
                  int cy, int id) {
    HWND w = CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, window_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
    if (w != nullptr && font_ != nullptr) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return w;
  };
  const int field_left = kMargin + kLabelWidth;
  const int field_width = kPageSize.cx - field_left - kMargin;
  for (const PageFieldDesc& desc : kPageFieldDescs) {
    const int row = static_cast<int>(desc.field);
    const int y = kMargin + row * kRowStep;
    const int id = kFirstFieldId + row;
    HWND field;
    if (desc.type == VT_BOOL) {
      field = make(0, L"BUTTON", desc.label, BS_AUTOCHECKBOX | WS_TABSTOP, field_left, y, field_width,
                   kRowHeight, id);
    } else {
      make(0, L"STATIC", desc.label, SS_LEFT, kMargin, y + 3, kLabelWidth - 4, kRowHeight, kLabelId);
      field = make(WS_EX_CLIENTEDGE, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, field_left, y, field_width,
                   kRowHeight, id);
    }
    if (field == nullptr) {
      DestroyWindows();
      return E_OUTOFMEMORY;
    }
    fields_[static_cast<std::size_t>(desc.field)] = field;
  }
  const int message_top = kMargin + static_cast<int>(kPageFields) * kRowStep;
  message_ = make(0, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kMargin, message_top, kPageSize.cx - 2 * kMargin,
                  kPageSize.cy - message_top, kMessageId);
  return S_OK;
}

void PropertyPage::DestroyWindows() {
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = message_ = nullptr;
  fields_.fill(nullptr);
  if (font_ != nullptr) DeleteObject(font_);
  font_ = nullptr;
}

std::wstring PropertyPage::FieldText(PageField field) const {
  HWND w = FieldWindow(field);
  if (w == nullptr) return {};
  if (field == PageField::Enabled)
    return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"True" : L"False";
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

void PropertyPage::SetFieldText(PageField field, const std::wstring& text) {
  HWND w = FieldWindow(field);
  if (w == nullptr) return;
  if (field == PageField::Enabled)
    SendMessageW(w, BM_SETCHECK, text == L"True" ? BST_CHECKED : BST_UNCHECKED, 0);
  else
    SetWindowTextW(w, text.c_str());
}

void PropertyPage::ShowMessage(const std::wstring& message) {
  if (message_ != nullptr) SetWindowTextW(message_, message.c_str());
}

}  // namespace jv::housing
