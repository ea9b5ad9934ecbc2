#include "ui/win32/ControlWindows.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

#include "platform/win32/WideText.h"
#include "ui/Control.h"
#include "ui/win32/ScreenMetrics.h"

namespace ui {

const wchar_t kContainerClass[] = L"KestraneContainer";

namespace {

constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;

struct NativeKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

NativeKind NativeKindOf(const Control& control) {
    switch (control.Kind()) {
        case ControlKind::Label:
            // Paths are shown as they are: '&' is no access key here.
            return {L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0};
        case ControlKind::Link:
            return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 0};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        // The model decides the check state: the boxes do not tick themselves.
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0};
        case ControlKind::OptionButton:
            return {L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::ComboBox:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::TextBox:
            if (control.Multiline()) {
                // No wrapping, as the report's columns need; the selection
                // stays in sight while the Copy button has the focus.
                return {L"EDIT",
                        ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_VSCROLL |
                            WS_HSCROLL | WS_TABSTOP,
                        WS_EX_CLIENTEDGE};
            }
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::Frame:
        case ControlKind::Panel:
            return {kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
        case ControlKind::ListBox:
            return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Timer:
            break;
    }
    return {nullptr, 0, 0};
}

void SetTextIfChanged(HWND window, const std::string& text) {
    const std::wstring wanted = platform::Widened(text);
    const int length = ::GetWindowTextLengthW(window);
    std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, shown.data(), length + 1);
    shown.resize(static_cast<std::size_t>(length));
    if (shown != wanted) ::SetWindowTextW(window, wanted.c_str());
}

HFONT FontOf(const Control& control, const FontSet& fonts) {
    if (control.Kind() == ControlKind::TextBox && control.Multiline()) return fonts.Fixed();
    if (control.Kind() == ControlKind::Link) return fonts.Link();
    return control.FontBold() ? fonts.Bold() : fonts.Normal();
}

// Themed boxes draw their text in the theme's colour, whatever the form
// asks: on the program's own colours (white on dark red) they draw plain.
void DrawUnthemedOnColour(HWND window) {
    static const wchar_t kUnthemed[] = L"KestraneUnthemed";
    if (window == nullptr || ::GetPropW(window, kUnthemed) != nullptr) return;
    ::SetWindowTheme(window, L"", L"");
    ::SetPropW(window, kUnthemed, reinterpret_cast<HANDLE>(1));
}

}  // namespace

HWND MakeControlWindow(const Control& control, HWND parent) {
    const NativeKind kind = NativeKindOf(control);
    if (kind.windowClass == nullptr) return nullptr;
    HWND window =
        ::CreateWindowExW(kind.extendedStyle, kind.windowClass, L"", kChild | kind.style, 0, 0, 0,
                          0, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr && control.Kind() == ControlKind::TextBox && control.Multiline()) {
        // A report of 100,000 lines is far beyond the default limit.
        ::SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
    }
    return window;
}

HWND MakeFrameBorder(HWND frameWindow) {
    HWND border = ::CreateWindowExW(0, L"BUTTON", L"", kChild | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0,
                                    0, frameWindow, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowPos(border, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return border;
}

void ShapeToChildren(HWND container) {
    RECT outer{};
    ::GetWindowRect(container, &outer);
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    for (HWND child = ::GetWindow(container, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        // The container may be hidden: its children's own visibility counts.
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        RECT place{};
        ::GetWindowRect(child, &place);
        HRGN piece = ::CreateRectRgn(0, 0, 0, 0);
        // A child that is shaped itself covers only its shape.
        if (::GetWindowRgn(child, piece) == ERROR) {
            ::SetRectRgn(piece, 0, 0, place.right - place.left, place.bottom - place.top);
        }
        ::OffsetRgn(piece, place.left - outer.left, place.top - outer.top);
        ::CombineRgn(shape, shape, piece, RGN_OR);
        ::DeleteObject(piece);
    }
    HRGN now = ::CreateRectRgn(0, 0, 0, 0);
    const bool same = ::GetWindowRgn(container, now) != ERROR && ::EqualRgn(now, shape);
    ::DeleteObject(now);
    if (same) {
        ::DeleteObject(shape);
        return;
    }
    // The window owns the region from here on.
    ::SetWindowRgn(container, shape, TRUE);
}

void ApplyProperties(const Control& control, HWND window, HWND border, const ControlLook& look) {
    const int dpi = look.dpi;
    const int width = PixelsOf(control.Width(), dpi);
    int height = PixelsOf(control.Height(), dpi);
    if (control.Kind() == ControlKind::ComboBox) {
        // A drop-down list's height is that of its open list; closed, the
        // box is as high as its font makes it.
        const int item = static_cast<int>(::SendMessageW(window, CB_GETITEMHEIGHT, 0, 0));
        height += 10 * (item > 0 ? item : 16);
    }
    ::SetWindowPos(window, nullptr, PixelsOf(control.Left(), dpi), PixelsOf(control.Top(), dpi),
                   width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (border != nullptr) {
        ::SetWindowPos(border, HWND_BOTTOM, 0, 0, width, PixelsOf(control.Height(), dpi),
                       SWP_NOACTIVATE);
    }

    HFONT font = FontOf(control, *look.fonts);
    if (reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)) != font) {
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (border != nullptr) {
            ::SendMessageW(border, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    if ((::IsWindowEnabled(window) != FALSE) != look.enabled) {
        ::EnableWindow(window, look.enabled);
        if (border != nullptr) ::EnableWindow(border, look.enabled);
    }

    switch (control.Kind()) {
        case ControlKind::Label:
        case ControlKind::Link:
        case ControlKind::Button:
            SetTextIfChanged(window, control.Caption());
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            SetTextIfChanged(window, control.Caption());
            const WPARAM state = control.Value() != 0 ? BST_CHECKED : BST_UNCHECKED;
            if (static_cast<WPARAM>(::SendMessageW(window, BM_GETCHECK, 0, 0)) != state) {
                ::SendMessageW(window, BM_SETCHECK, state, 0);
            }
            if (look.coloured) DrawUnthemedOnColour(window);
            break;
        }
        case ControlKind::ComboBox:
            if (::SendMessageW(window, CB_GETCURSEL, 0, 0) != control.Value()) {
                ::SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(control.Value()), 0);
            }
            break;
        case ControlKind::ListBox:
            if (::SendMessageW(window, LB_GETCURSEL, 0, 0) != control.Value()) {
                ::SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(control.Value()), 0);
            }
            break;
        case ControlKind::Frame:
            if (border != nullptr) {
                SetTextIfChanged(border, control.Caption());
                if (look.coloured) DrawUnthemedOnColour(border);
            }
            break;
        case ControlKind::TextBox: {
            const bool readOnly = (::GetWindowLongW(window, GWL_STYLE) & ES_READONLY) != 0;
            if (readOnly != control.Locked()) {
                ::SendMessageW(window, EM_SETREADONLY, control.Locked(), 0);
            }
            break;
        }
        case ControlKind::Panel:
        case ControlKind::Timer:
            break;
    }

    // An empty label draws nothing; hidden, it cannot cover the text of a
    // wider label beneath it (two labels of the selection share a line).
    const bool empty =
        (control.Kind() == ControlKind::Label || control.Kind() == ControlKind::Link) &&
        control.Caption().empty();
    const bool visible = control.Visible() && !empty;
    const bool shown = (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    // Colours may have changed; a text box, whose caret moves with every
    // line of a report, repaints itself where its text changes.
    if (control.Kind() != ControlKind::TextBox) ::InvalidateRect(window, nullptr, TRUE);
}

void FillItems(const Control& control, HWND window) {
    const bool combo = control.Kind() == ControlKind::ComboBox;
    ::SendMessageW(window, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const auto& item : control.Items()) {
        const std::wstring text = platform::Widened(item);
        ::SendMessageW(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(text.c_str()));
    }
    ::SendMessageW(window, combo ? CB_SETCURSEL : LB_SETCURSEL,
                   static_cast<WPARAM>(control.Value()), 0);
}

}  // namespace ui
