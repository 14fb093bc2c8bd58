// Text between the core and the Win32 controls: the core speaks UTF-8 (paths, its own words)
// and Shift JIS (plug-in titles and messages, kept apart in DisplayText); the wide API takes
// UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "host/core/ui/display_text.h"

namespace win32gui {

// UTF-8 as UTF-16; bytes that are no UTF-8 show as U+FFFD rather than vanish.
std::wstring Wide(std::string_view utf8);
std::wstring WideDisplay(const host::DisplayText& text);
// Shift JIS (a plug-in's title) as UTF-16.
std::wstring WideFromCp932(std::string_view cp932);
// UTF-16 as UTF-8, exactly (names the system lists come back to it unchanged).
std::string Utf8(std::wstring_view wide);

// A window's or a dialog control's whole text.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, std::string_view utf8);

}  // namespace win32gui
