// The preview's two texts side by side on Windows: a window class of the program's own,
// "PolyshiftCompareView", that the preview dialog's resource names for its view control. It
// paints only the rows that fit, asking the result for each (host::CellOf), in a Japanese
// fixed-pitch font: line numbers, lines and their breaks, changed rows tinted, the current row
// framed; one vertical and one horizontal bar move both sides together, and so do the arrow,
// page, Home and End keys and the wheel.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "host/core/workbench/conversion_preview.h"

namespace win32gui {

inline constexpr const wchar_t* kCompareViewClass = L"PolyshiftCompareView";

// Registers the class once per process; later calls do nothing.
void RegisterCompareView();

// What the dialog tells the view, and asks of it.
void SetCompareResult(HWND view, const host::PreviewResult* result);  // kept by the caller
void SetCompareCurrentRow(HWND view, std::size_t row);
std::optional<std::size_t> CompareCurrentRow(HWND view);
std::size_t CompareTopRow(HWND view);
// Rows the last paint drew.
int ComparePaintedRows(HWND view);

}  // namespace win32gui
