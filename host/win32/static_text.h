// What the dialogs do to a text that the system alone would draw wrong: a label, check box or
// radio button whose text the window's font draws wider than its rectangle (the version line
// of the About box, the scan dialog's ranges under a substitute Japanese font), and text in
// two columns separated by tabs (the regular-expression dialog's examples), whose columns
// only line up at a tab stop chosen for the font.
#pragma once

#include <windows.h>

#include <vector>

namespace win32gui {

// The static controls of `dialog` (texts, icons, lines), in order.
std::vector<HWND> StaticControls(HWND dialog);

// Widens `label` to the width of its text in its font when the text would be cut off.
void WidenToFitText(HWND label);

// True for a check box or radio button, of any of the system's kinds.
bool IsCheckOrRadio(HWND control);
// Widens every check box and radio button of `dialog` whose text would be cut off: to the
// width of its box, the gap after it and its text.
void WidenChoicesToFitText(HWND dialog);

// The first static text of `dialog` whose text holds a tab; null when there is none.
HWND FirstTabbedText(HWND dialog);

// Makes `label` drawn by its dialog, which passes its WM_DRAWITEM to DrawColumns: the text's
// columns then line up (see host/layout/text_columns.h).
void DrawInColumns(HWND label);
void DrawColumns(const DRAWITEMSTRUCT& item);

}  // namespace win32gui
