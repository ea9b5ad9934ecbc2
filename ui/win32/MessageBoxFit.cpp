#include "ui/win32/MessageBoxFit.h"

#include <algorithm>
#include <vector>

#include "platform/win32/WideText.h"
#include "ui/win32/ScreenMetrics.h"

namespace ui {
namespace {

thread_local MessageBoxFit* fitting = nullptr;

std::wstring ClassOf(HWND window) {
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    return name;
}

std::vector<HWND> ChildrenOf(HWND box) {
    std::vector<HWND> children;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

// A child's rectangle in the box's client coordinates.
RECT PlaceIn(HWND box, HWND child) {
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The room a text takes in a window's font, broken only where it breaks.
SIZE UnbrokenExtent(HWND window, const std::wstring& text) {
    HDC dc = ::GetDC(window);
    HGDIOBJ before =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT room{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT);
    ::SelectObject(dc, before);
    ::ReleaseDC(window, dc);
    return SIZE{room.right, room.bottom};
}

RECT WorkAreaNear(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return monitor.rcWork;
    }
    RECT work{0, 0, 1024, 768};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace

MessageBoxFit::MessageBoxFit(HWND owner, const std::string& text, const std::string& title)
    : owner_(owner), text_(platform::Widened(text)), title_(platform::Widened(title)) {
    fitting = this;
    hook_ = ::SetWindowsHookExW(WH_CBT, Watch, nullptr, ::GetCurrentThreadId());
}

MessageBoxFit::~MessageBoxFit() {
    if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
    if (fitting == this) fitting = nullptr;
}

LRESULT CALLBACK MessageBoxFit::Watch(int code, WPARAM wParam, LPARAM lParam) {
    // The box is fitted once, when it first becomes active: made, filled
    // and placed by the system, not yet drawn.
    if (code == HCBT_ACTIVATE && fitting != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (ClassOf(box) == L"#32770") {
            const MessageBoxFit* fit = fitting;
            fitting = nullptr;
            fit->Fit(box);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxFit::Fit(HWND box) const {
    HWND label = nullptr;
    std::vector<HWND> buttons;
    for (HWND child : ChildrenOf(box)) {
        const std::wstring kind = ClassOf(child);
        if (_wcsicmp(kind.c_str(), L"Button") == 0) buttons.push_back(child);
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON &&
            ::GetWindowTextLengthW(child) > 0) {
            label = child;
        }
    }
    RECT outer{};
    ::GetWindowRect(box, &outer);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    const RECT work = WorkAreaNear(owner_ != nullptr ? owner_ : box);
    const int widest = (work.right - work.left) * 9 / 10;

    // Room for each line as the program breaks it.
    int wider = 0;
    int higher = 0;
    if (label != nullptr) {
        const RECT text = PlaceIn(box, label);
        const SIZE needed = UnbrokenExtent(label, text_);
        wider = std::max(0, static_cast<int>(needed.cx + 2 - (text.right - text.left)));
        higher = std::max(0, static_cast<int>(needed.cy - (text.bottom - text.top)));
    }
    // Room for the whole title beside a frame's icon and buttons, as a
    // window manager that draws the frame may draw them: with a larger,
    // bolder font than the system's and four buttons' room.
    RECT inside{};
    ::GetClientRect(box, &inside);
    const int frame = width - inside.right;
    const int titleNeeds =
        TitleWidth(title_, DpiOf(box)) * 5 / 4 + 4 * ::GetSystemMetrics(SM_CXSIZE) + frame + 40;
    wider = std::max(wider, titleNeeds - width);
    wider = std::max(0, std::min(wider, widest - width));

    if (label != nullptr && (wider > 0 || higher > 0)) {
        const RECT text = PlaceIn(box, label);
        ::SetWindowPos(label, nullptr, text.left, text.top, text.right - text.left + wider,
                       text.bottom - text.top + higher, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (HWND button : buttons) {
        const RECT place = PlaceIn(box, button);
        ::SetWindowPos(button, nullptr, place.left + wider / 2, place.top + higher, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    width += wider;
    height += higher;

    // Where the system put it, grown about its middle, and whole on the
    // screen of the window that asks. (Not over that window's middle: under
    // Wine a box that opens wholly over another window stays black.)
    int x = (outer.left + outer.right - width) / 2;
    int y = (outer.top + outer.bottom - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    ::SetWindowPos(box, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
