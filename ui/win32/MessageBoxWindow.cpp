#include "ui/win32/MessageBoxWindow.h"

#include <algorithm>
#include <vector>

#include "platform/win32/WideText.h"
#include "ui/win32/ScreenMetrics.h"

namespace ui {
namespace {

struct ButtonOf {
    int id;
    const wchar_t* caption;
};

// The buttons of a set, in the order the set names them.
std::vector<ButtonOf> ButtonsOf(Buttons buttons) {
    const ButtonOf ok{IDOK, L"OK"}, cancel{IDCANCEL, L"Cancel"}, abort{IDABORT, L"&Abort"},
        retry{IDRETRY, L"&Retry"}, ignore{IDIGNORE, L"&Ignore"}, yes{IDYES, L"&Yes"},
        no{IDNO, L"&No"};
    switch (buttons) {
        case Buttons::OK:
            return {ok};
        case Buttons::OKCancel:
            return {ok, cancel};
        case Buttons::AbortRetryIgnore:
            return {abort, retry, ignore};
        case Buttons::YesNoCancel:
            return {yes, no, cancel};
        case Buttons::YesNo:
            return {yes, no};
        case Buttons::RetryCancel:
            return {retry, cancel};
    }
    return {ok};
}

// The answer of Escape and of the close box; 0 where the box offers none.
int WayOut(Buttons buttons) {
    for (const ButtonOf& button : ButtonsOf(buttons)) {
        if (button.id == IDCANCEL) return IDCANCEL;
    }
    return buttons == Buttons::OK ? IDOK : 0;
}

// The system's icon for the box (the numbers of IDI_ERROR, IDI_QUESTION,
// IDI_WARNING and IDI_INFORMATION); 0 for none.
int SystemIconOf(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return 32513;
        case Icon::Question:
            return 32514;
        case Icon::Exclamation:
            return 32515;
        case Icon::Information:
            return 32516;
        case Icon::None:
            break;
    }
    return 0;
}

UINT SoundOf(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return MB_ICONERROR;
        case Icon::Question:
            return MB_ICONQUESTION;
        case Icon::Exclamation:
            return MB_ICONWARNING;
        case Icon::Information:
            return MB_ICONINFORMATION;
        case Icon::None:
            break;
    }
    return MB_OK;
}

// An empty dialog: the controls are made and placed in pixels once the
// window exists and its DPI is known.
struct alignas(4) EmptyDialog {
    DLGTEMPLATE head;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

// The property that marks the program's own boxes.
constexpr const wchar_t* kMark = L"KestraneMessageBox";

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;

// The room a text takes in a font, broken only where the text breaks it,
// unless it is wider than `widest`: then words wrap at that width.
SIZE TextExtent(HFONT font, const std::wstring& text, int widest, bool& wraps) {
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ before = ::SelectObject(screen, font);
    RECT room{0, 0, 0, 0};
    const UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT;
    ::DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &room, flags);
    wraps = room.right > widest;
    if (wraps) {
        room = RECT{0, 0, widest, 0};
        ::DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &room,
                    flags | DT_WORDBREAK);
    }
    ::SelectObject(screen, before);
    ::ReleaseDC(nullptr, screen);
    return SIZE{room.right, room.bottom};
}

class MessageBoxWindow {
  public:
    MessageBoxWindow(HWND owner, const MessageBoxRequest& request)
        : owner_(owner), request_(request), fonts_(DpiOf(owner)) {}

    int Run() {
        EmptyDialog dialog{};
        dialog.head.style = kStyle;
        const INT_PTR answer =
            ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), &dialog.head, owner_, Proc,
                                      reinterpret_cast<LPARAM>(this));
        return answer > 0 ? static_cast<int>(answer) : 0;
    }

  private:
    static INT_PTR CALLBACK Proc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetPropW(box, kMark, box);
            ::SetWindowLongPtrW(box, DWLP_USER, lParam);
            reinterpret_cast<MessageBoxWindow*>(lParam)->Open(box);
            return FALSE;  // the focus is set
        }
        auto* self = reinterpret_cast<MessageBoxWindow*>(::GetWindowLongPtrW(box, DWLP_USER));
        if (message == WM_DESTROY) ::RemovePropW(box, kMark);
        if (self == nullptr || message != WM_COMMAND) return FALSE;
        self->Answer(box, LOWORD(wParam));
        return TRUE;
    }

    void Answer(HWND box, int id) {
        const auto offered = ButtonsOf(request_.buttons);
        const bool ownButton =
            std::any_of(offered.begin(), offered.end(),
                        [id](const ButtonOf& button) { return button.id == id; });
        // Escape and the close box come as Cancel, which a Yes/No box must
        // not take for an answer.
        if (!ownButton) id = id == IDCANCEL ? WayOut(request_.buttons) : 0;
        if (id != 0) ::EndDialog(box, id);
    }

    int Scaled(int pixelsAt96) const { return ::MulDiv(pixelsAt96, fonts_.Dpi(), 96); }

    void Open(HWND box) {
        ::SetWindowTextW(box, platform::Widened(request_.title).c_str());
        if (WayOut(request_.buttons) == 0) {
            ::EnableMenuItem(::GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        }
        const RECT room = ScreenRoom();
        const int margin = Scaled(11);
        const int gap = Scaled(10);

        // The icon, and the text beside it.
        HICON icon = nullptr;
        if (int which = SystemIconOf(request_.icon)) {
            icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(which));
        }
        const int iconSize = icon != nullptr ? ::GetSystemMetrics(SM_CXICON) : 0;
        const int textLeft = margin + (icon != nullptr ? iconSize + gap : 0);
        const std::wstring text = platform::Widened(request_.text);
        bool wraps = false;
        // A line wider than most of the screen is still broken.
        const int widest = (room.right - room.left) * 9 / 10 - textLeft - margin;
        SIZE extent = TextExtent(fonts_.Normal(), text, std::max(widest, Scaled(200)), wraps);
        extent.cx += Scaled(2);  // what rounding may add between measuring and drawing
        const int textHeight = std::max(static_cast<int>(extent.cy), iconSize);
        const int textTop = margin + (textHeight - extent.cy) / 2;

        // The buttons, of one width, in a row under the text.
        const auto offered = ButtonsOf(request_.buttons);
        int buttonWidth = Scaled(75);
        for (const ButtonOf& button : offered) {
            buttonWidth =
                std::max(buttonWidth, fonts_.TextWidth(button.caption, false) + Scaled(16));
        }
        const int buttonHeight = std::max(Scaled(23), fonts_.LineHeight(false) + Scaled(8));
        const int buttonGap = Scaled(6);
        const int rowWidth =
            static_cast<int>(offered.size()) * (buttonWidth + buttonGap) - buttonGap;

        int width =
            std::max(textLeft + static_cast<int>(extent.cx) + margin, rowWidth + 2 * margin);
        const int height = margin + textHeight + gap + buttonHeight + margin;
        // The whole title beside the frame's buttons: room for three of
        // them, as a window manager that draws the frame may put there.
        const RECT framed =
            WithFrame(RECT{0, 0, width, height}, kStyle, WS_EX_DLGMODALFRAME, fonts_.Dpi());
        const int frame = (framed.right - framed.left) - width;
        const int titleNeeds = TitleWidth(platform::Widened(request_.title), fonts_.Dpi()) +
                               3 * ::GetSystemMetrics(SM_CXSIZE) + frame + Scaled(24);
        width = std::max(width, titleNeeds - frame);

        if (icon != nullptr) {
            HWND picture =
                Child(box, L"STATIC", L"", SS_ICON, margin, margin, iconSize, iconSize, 0xFFFF);
            ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
        // Drawn without wrapping: the lines are the program's own.
        Child(box, L"STATIC", text.c_str(), SS_NOPREFIX | (wraps ? SS_LEFT : SS_LEFTNOWORDWRAP),
              textLeft, textTop, extent.cx, extent.cy, 0xFFFF);
        const int defaultIndex = request_.defaultButton >= 1 &&
                                         request_.defaultButton <= static_cast<int>(offered.size())
                                     ? request_.defaultButton - 1
                                     : 0;
        int left = (width - rowWidth) / 2;
        const int top = margin + textHeight + gap;
        HWND focus = nullptr;
        for (std::size_t i = 0; i < offered.size(); ++i) {
            const bool isDefault = static_cast<int>(i) == defaultIndex;
            HWND button = Child(box, L"BUTTON", offered[i].caption,
                                WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                                    (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                left, top, buttonWidth, buttonHeight, offered[i].id);
            if (isDefault) focus = button;
            left += buttonWidth + buttonGap;
        }
        ::SendMessageW(box, DM_SETDEFID, static_cast<WPARAM>(offered[defaultIndex].id), 0);

        Place(box, width, height, room);
        ::SetForegroundWindow(box);
        ::SetFocus(focus);
        ::MessageBeep(SoundOf(request_.icon));
    }

    HWND Child(HWND box, const wchar_t* kind, const wchar_t* text, DWORD style, int x, int y,
               int width, int height, int id) {
        HWND child = ::CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                       height, box, reinterpret_cast<HMENU>(INT_PTR{id}),
                                       ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Normal()), FALSE);
        return child;
    }

    // The work area of the owner's monitor (of the primary one without an
    // owner): the box never leaves it.
    RECT ScreenRoom() const {
        HMONITOR screen = owner_ != nullptr
                              ? ::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST)
                              : ::MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (::GetMonitorInfoW(screen, &monitor)) return monitor.rcWork;
        RECT work{0, 0, 1024, 768};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }

    // Centred on the owner, as far as the owner's screen lets it.
    void Place(HWND box, int width, int height, const RECT& room) const {
        RECT outer =
            WithFrame(RECT{0, 0, width, height}, kStyle, WS_EX_DLGMODALFRAME, fonts_.Dpi());
        const int outerWidth = outer.right - outer.left;
        const int outerHeight = outer.bottom - outer.top;
        RECT over = room;
        if (owner_ != nullptr && ::IsWindowVisible(owner_) && !::IsIconic(owner_)) {
            ::GetWindowRect(owner_, &over);
        }
        int x = (over.left + over.right - outerWidth) / 2;
        int y = (over.top + over.bottom - outerHeight) / 2;
        x = std::max<int>(room.left, std::min<int>(x, room.right - outerWidth));
        y = std::max<int>(room.top, std::min<int>(y, room.bottom - outerHeight));
        ::SetWindowPos(box, HWND_TOP, x, y, outerWidth, outerHeight, 0);
        // Where the frame drawn is not the frame computed, the inside wins.
        RECT inside{};
        ::GetClientRect(box, &inside);
        if (inside.right != width || inside.bottom != height) {
            ::SetWindowPos(box, nullptr, 0, 0, outerWidth + width - inside.right,
                           outerHeight + height - inside.bottom, SWP_NOMOVE | SWP_NOZORDER);
        }
    }

    HWND owner_;
    const MessageBoxRequest& request_;
    FontSet fonts_;
};

}  // namespace

bool IsMessageBox(HWND window) { return ::GetPropW(window, kMark) != nullptr; }

Answer ShowMessageBox(HWND owner, const MessageBoxRequest& request) {
    MessageBoxWindow box(owner, request);
    const int answer = box.Run();
    if (answer >= IDOK && answer <= IDNO) return static_cast<Answer>(answer);
    // The box could not be shown: its way out.
    return request.buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
}

}  // namespace ui
