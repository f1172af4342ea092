// The runtime's window classes and what their windows share: the module they
// belong to, the face's windows behind a window, and the answers to the messages
// beyond painting. Private to the runtime.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/module_class.h"
#include "platform/win32/shown_windows.h"

namespace jv::win32 {

inline constexpr wchar_t kSurfaceClass[] = L"JornavistaSurface";
inline constexpr wchar_t kFrameClass[] = L"JornavistaFrame";
inline constexpr wchar_t kPictureClass[] = L"JornavistaPicture";
inline constexpr int kPreviousId = 1, kNextId = 2;

inline std::wstring Wide(TextView text) { return std::wstring(text.begin(), text.end()); }

// Registers the three classes once for the process.
[[nodiscard]] HRESULT RegisterClasses();

// The answer of one window of a face to a message beyond the common ones, or
// nothing for the default answer (window_messages.cpp).
using MessageAnswer = std::optional<LRESULT>;
MessageAnswer SurfaceMessage(ShownWindows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
MessageAnswer FrameMessage(ShownWindows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
MessageAnswer PictureMessage(ShownWindows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Makes a system control of the face (a paging button, the month caption) answer
// WM_GETOBJECT through the face's accessibility bridge.
void AnswerAccessibility(HWND window, ShownWindows* w);

}  // namespace jv::win32
