#include "host/win32/compare_view.h"

#include <algorithm>
#include <climits>
#include <string>

#include "host/win32/window_text.h"

namespace win32gui {
namespace {

constexpr const wchar_t* kFace = L"ＭＳ ゴシック";
constexpr int kPoints = 10;
constexpr std::size_t kRowsAboveCurrent = 3;

constexpr COLORREF kRemovedTint = RGB(255, 225, 225);
constexpr COLORREF kAddedTint = RGB(220, 245, 220);
constexpr COLORREF kNoLineTint = RGB(236, 236, 236);
constexpr COLORREF kQuiet = RGB(140, 140, 140);
constexpr COLORREF kCurrentFrame = RGB(0, 90, 200);

struct ViewState {
    const host::PreviewResult* result = nullptr;
    std::optional<std::size_t> currentRow;
    HFONT font = nullptr;
    HFONT small = nullptr;
    int lineHeight = 16;
    int charWidth = 8;
    int paintedRows = 0;
};

ViewState* StateOf(HWND view) {
    return reinterpret_cast<ViewState*>(::GetWindowLongPtrW(view, GWLP_USERDATA));
}

HFONT MakeFont(HWND view, int points) {
    HDC screen = ::GetDC(view);
    const int height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(view, screen);
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         FIXED_PITCH | FF_MODERN, kFace);
}

void Measure(HWND view, ViewState& state) {
    HDC dc = ::GetDC(view);
    HGDIOBJ old = ::SelectObject(dc, state.font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    state.lineHeight = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);
    state.charWidth = std::max<int>(1, metrics.tmAveCharWidth);
    ::SelectObject(dc, old);
    ::ReleaseDC(view, dc);
}

RECT Client(HWND view) {
    RECT client{};
    ::GetClientRect(view, &client);
    return client;
}

int VisibleRows(HWND view, const ViewState& state) {
    return std::max(1, static_cast<int>(Client(view).bottom) / state.lineHeight);
}

int Position(HWND view, int bar) {
    SCROLLINFO info{sizeof info, SIF_POS};
    ::GetScrollInfo(view, bar, &info);
    return info.nPos;
}

void UpdateBars(HWND view, const ViewState& state) {
    const std::size_t rows = state.result ? state.result->rows.size() : 0;
    SCROLLINFO vertical{sizeof vertical, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL};
    vertical.nMin = 0;
    vertical.nMax = static_cast<int>(std::min<std::size_t>(rows == 0 ? 0 : rows - 1, INT_MAX - 1));
    vertical.nPage = static_cast<UINT>(VisibleRows(view, state));
    ::SetScrollInfo(view, SB_VERT, &vertical, TRUE);
    std::size_t longest = 0;
    if (state.result) {
        longest = std::max(state.result->before.longestLine(), state.result->after.longestLine());
    }
    const int half = static_cast<int>(Client(view).right) / 2;
    SCROLLINFO horizontal{sizeof horizontal, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL};
    horizontal.nMin = 0;
    horizontal.nMax =
        static_cast<int>(std::min<std::size_t>(longest + 8, 100000)) * state.charWidth;
    horizontal.nPage = static_cast<UINT>(std::max(1, half / 2));
    ::SetScrollInfo(view, SB_HORZ, &horizontal, TRUE);
}

void ScrollTo(HWND view, int bar, int position) {
    SCROLLINFO info{sizeof info, SIF_POS};
    info.nPos = std::max(0, position);
    ::SetScrollInfo(view, bar, &info, TRUE);
    ::InvalidateRect(view, nullptr, TRUE);
}

void OnScroll(HWND view, int bar, WPARAM wParam, int line, int page) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    ::GetScrollInfo(view, bar, &info);
    int position = info.nPos;
    switch (LOWORD(wParam)) {
        case SB_LINEUP: position -= line; break;
        case SB_LINEDOWN: position += line; break;
        case SB_PAGEUP: position -= page; break;
        case SB_PAGEDOWN: position += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = info.nTrackPos; break;
        case SB_TOP: position = info.nMin; break;
        case SB_BOTTOM: position = info.nMax; break;
        default: return;
    }
    ScrollTo(view, bar, position);
}

int Digits(std::size_t n) {
    int digits = 1;
    for (; n >= 10; n /= 10) ++digits;
    return digits;
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
}

void PaintSide(HDC dc, const ViewState& state, std::size_t row, host::PreviewSide side,
               const RECT& band, int scroll) {
    const host::PreviewCell cell = host::CellOf(*state.result, row, side);
    const bool before = side == host::PreviewSide::kBefore;
    if (!cell.line) {
        Fill(dc, band, kNoLineTint);
        return;
    }
    if (state.result->rows[row].changed) {
        Fill(dc, band, before ? kRemovedTint : kAddedTint);
    }
    const std::size_t lines = before ? state.result->before.size() : state.result->after.size();
    const int gutter = (Digits(lines) + 1) * state.charWidth;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kQuiet);
    RECT number{band.left, band.top, band.left + gutter - state.charWidth / 2, band.bottom};
    const std::wstring numberText = std::to_wstring(*cell.line + 1);
    ::DrawTextW(dc, numberText.c_str(), static_cast<int>(numberText.size()), &number,
                DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    RECT text{band.left + gutter, band.top, band.right, band.bottom};
    const int x = text.left + 2 - scroll;
    const std::wstring wide = Wide(cell.text);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::ExtTextOutW(dc, x, band.top, ETO_CLIPPED, &text, wide.c_str(),
                  static_cast<UINT>(wide.size()), nullptr);
    if (cell.lineBreak != host::LineBreak::kNone) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        const std::wstring mark = Wide(host::LineBreakName(cell.lineBreak));
        HGDIOBJ old = ::SelectObject(dc, state.small);
        ::SetTextColor(dc, kQuiet);
        ::ExtTextOutW(dc, x + size.cx + 2, band.top + state.lineHeight / 4, ETO_CLIPPED, &text,
                      mark.c_str(), static_cast<UINT>(mark.size()), nullptr);
        ::SelectObject(dc, old);
    }
}

void Paint(HWND view, ViewState& state) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(view, &paint);
    const RECT client = Client(view);
    Fill(dc, client, ::GetSysColor(COLOR_WINDOW));
    HGDIOBJ oldFont = ::SelectObject(dc, state.font);
    const int half = static_cast<int>(client.right) / 2;
    state.paintedRows = 0;
    if (state.result) {
        const auto top = static_cast<std::size_t>(Position(view, SB_VERT));
        const int scroll = Position(view, SB_HORZ);
        for (std::size_t row = top; row < state.result->rows.size(); ++row) {
            const int y = static_cast<int>(row - top) * state.lineHeight;
            if (y >= client.bottom) break;
            PaintSide(dc, state, row, host::PreviewSide::kBefore,
                      {0, y, half, y + state.lineHeight}, scroll);
            PaintSide(dc, state, row, host::PreviewSide::kAfter,
                      {half + 1, y, client.right, y + state.lineHeight}, scroll);
            if (state.currentRow == row) {
                HBRUSH frame = ::CreateSolidBrush(kCurrentFrame);
                const RECT rect{0, y, client.right, y + state.lineHeight};
                ::FrameRect(dc, &rect, frame);
                ::DeleteObject(frame);
            }
            ++state.paintedRows;
        }
    }
    HPEN pen = ::CreatePen(PS_SOLID, 1, kQuiet);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    ::MoveToEx(dc, half, 0, nullptr);
    ::LineTo(dc, half, client.bottom);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    ::SelectObject(dc, oldFont);
    ::EndPaint(view, &paint);
}

bool OnKey(HWND view, const ViewState& state, WPARAM key) {
    const int page = VisibleRows(view, state);
    const int top = Position(view, SB_VERT);
    switch (key) {
        case VK_UP: ScrollTo(view, SB_VERT, top - 1); return true;
        case VK_DOWN: ScrollTo(view, SB_VERT, top + 1); return true;
        case VK_PRIOR: ScrollTo(view, SB_VERT, top - page); return true;
        case VK_NEXT: ScrollTo(view, SB_VERT, top + page); return true;
        case VK_HOME: ScrollTo(view, SB_VERT, 0); return true;
        case VK_END: ScrollTo(view, SB_VERT, INT_MAX); return true;
        case VK_LEFT:
            ScrollTo(view, SB_HORZ, Position(view, SB_HORZ) - state.charWidth);
            return true;
        case VK_RIGHT:
            ScrollTo(view, SB_HORZ, Position(view, SB_HORZ) + state.charWidth);
            return true;
        default: return false;
    }
}

LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    ViewState* state = StateOf(view);
    switch (message) {
        case WM_NCCREATE:
            ::SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ViewState));
            break;
        case WM_CREATE:
            state->font = MakeFont(view, kPoints);
            state->small = MakeFont(view, kPoints * 7 / 10);
            Measure(view, *state);
            UpdateBars(view, *state);
            return 0;
        case WM_NCDESTROY:
            if (state != nullptr) {
                ::DeleteObject(state->font);
                ::DeleteObject(state->small);
                delete state;
                ::SetWindowLongPtrW(view, GWLP_USERDATA, 0);
            }
            break;
        case WM_SIZE:
            UpdateBars(view, *state);
            return 0;
        case WM_PAINT:
            Paint(view, *state);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_VSCROLL:
            OnScroll(view, SB_VERT, wParam, 1, VisibleRows(view, *state));
            return 0;
        case WM_HSCROLL:
            OnScroll(view, SB_HORZ, wParam, state->charWidth, 8 * state->charWidth);
            return 0;
        case WM_MOUSEWHEEL:
            ScrollTo(view, SB_VERT,
                     Position(view, SB_VERT) - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
            return 0;
        case WM_LBUTTONDOWN:
            ::SetFocus(view);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (OnKey(view, *state, wParam)) return 0;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(view, message, wParam, lParam);
}

}  // namespace

void RegisterCompareView() {
    WNDCLASSW existing{};
    if (::GetClassInfoW(::GetModuleHandleW(nullptr), kCompareViewClass, &existing)) {
        return;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ViewProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kCompareViewClass;
    ::RegisterClassW(&windowClass);
}

void SetCompareResult(HWND view, const host::PreviewResult* result) {
    ViewState* state = StateOf(view);
    if (state == nullptr) return;
    state->result = result;
    state->currentRow.reset();
    UpdateBars(view, *state);
    ScrollTo(view, SB_VERT, 0);
    ScrollTo(view, SB_HORZ, 0);
}

void SetCompareCurrentRow(HWND view, std::size_t row) {
    ViewState* state = StateOf(view);
    if (state == nullptr || state->result == nullptr || row >= state->result->rows.size()) {
        return;
    }
    state->currentRow = row;
    const std::size_t top = row > kRowsAboveCurrent ? row - kRowsAboveCurrent : 0;
    ScrollTo(view, SB_VERT, static_cast<int>(std::min<std::size_t>(top, INT_MAX)));
}

std::optional<std::size_t> CompareCurrentRow(HWND view) {
    const ViewState* state = StateOf(view);
    return state != nullptr ? state->currentRow : std::nullopt;
}

std::size_t CompareTopRow(HWND view) {
    return static_cast<std::size_t>(Position(view, SB_VERT));
}

int ComparePaintedRows(HWND view) {
    const ViewState* state = StateOf(view);
    return state != nullptr ? state->paintedRows : 0;
}

}  // namespace win32gui
