// The form window's side of the user: its window procedures, the commands
// and notifications of its controls, the mouse and the keyboard.
#include "ui/win32/FormWindow.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "ui/win32/ControlWindows.h"

namespace ui {
namespace {

std::map<HWND, FormWindow*>& FormWindows() {
    static std::map<HWND, FormWindow*> windows;
    return windows;
}

bool Pressable(const Control* control) {
    return control != nullptr &&
           (control->Kind() == ControlKind::Button || control->Kind() == ControlKind::CheckBox ||
            control->Kind() == ControlKind::OptionButton);
}

// The code a form's KeyDown and KeyUp receive for a key the focused control
// leaves alone (the Win32 virtual-key codes are the forms' own); 0 for keys
// no form asks about.
int FormKeyCode(int key, const Control* focused) {
    if ((key >= VK_F1 && key <= VK_F24) || key == VK_ESCAPE) return key;
    const bool typing = focused != nullptr && (focused->Kind() == ControlKind::TextBox ||
                                               focused->Kind() == ControlKind::ComboBox ||
                                               focused->Kind() == ControlKind::ListBox);
    if (typing) return 0;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_RETURN ||
        (key == VK_SPACE && !Pressable(focused))) {
        return key;
    }
    return 0;
}

MouseButton ButtonOf(UINT message) {
    switch (message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return MouseButton::Middle;
        default:
            return MouseButton::Left;
    }
}

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    return platform::Narrowed(text.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

// The system's cursors and icon by number: MinGW's names for them are
// narrow strings unless the whole build is compiled for UNICODE.
const wchar_t* const kArrowCursor = MAKEINTRESOURCEW(32512);
const wchar_t* const kHandCursor = MAKEINTRESOURCEW(32649);
const wchar_t* const kApplicationIcon = MAKEINTRESOURCEW(32512);

COLORREF Rgb(int colour) { return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF); }

}  // namespace

void FormWindow::RegisterClasses() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = FormProc;
        form.hInstance = ::GetModuleHandleW(nullptr);
        form.hCursor = ::LoadCursorW(nullptr, kArrowCursor);
        form.hIcon = ::LoadIconW(form.hInstance, MAKEINTRESOURCEW(1));
        if (form.hIcon == nullptr) form.hIcon = ::LoadIconW(nullptr, kApplicationIcon);
        form.lpszClassName = L"KestraneForm";
        ::RegisterClassExW(&form);
        WNDCLASSEXW container{};
        container.cbSize = sizeof container;
        container.style = CS_DBLCLKS;
        container.lpfnWndProc = ContainerProc;
        container.hInstance = form.hInstance;
        container.hCursor = form.hCursor;
        container.lpszClassName = kContainerClass;
        ::RegisterClassExW(&container);
        return true;
    }();
    (void)registered;
}

FormWindow* FormWindow::Containing(HWND window) {
    if (window == nullptr) return nullptr;
    auto found = FormWindows().find(::GetAncestor(window, GA_ROOT));
    return found == FormWindows().end() ? nullptr : found->second;
}

LRESULT CALLBACK FormWindow::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        FormWindows()[window] = self;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed with its owner, or by the form going away.
        FormWindows().erase(window);
        self->window_ = nullptr;
        self->windows_.clear();
        self->controlsByWindow_.clear();
        self->borders_.clear();
        self->runningTimers_.clear();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (self->Common(window, message, wParam, lParam, result)) return result;
    return self->FormMessage(message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::ContainerProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (FormWindow* self = Containing(window)) {
        LRESULT result = 0;
        if (self->Common(window, message, wParam, lParam, result)) return result;
        if (message == WM_ERASEBKGND) {
            self->PaintBackground(window, reinterpret_cast<HDC>(wParam), self->ControlOf(window));
            return 1;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<FormWindow*>(data);
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, ControlProc, 1);
    Control* control = self->form_ != nullptr ? self->ControlOf(window) : nullptr;
    if (control == nullptr) return ::DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_SETCURSOR && control->Kind() == ControlKind::Link) {
        ::SetCursor(::LoadCursorW(nullptr, kHandCursor));
        return TRUE;
    }
    if (message == WM_ERASEBKGND && control->Kind() == ControlKind::Frame) {
        self->PaintBackground(window, reinterpret_cast<HDC>(wParam), control);
        return 1;
    }
    if (message == WM_SETFOCUS) self->form_->SetFocusedState(control);
    // The control acts first (a button lets go of the mouse, a text box
    // moves its selection); the events see the outcome.
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    self->AfterControlMessage(*control, window, message, wParam);
    return result;
}

void FormWindow::AfterControlMessage(Control& control, HWND window, UINT message, WPARAM) {
    if (control.Kind() == ControlKind::TextBox && control.Multiline()) {
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_LBUTTONDBLCLK:
            case WM_MOUSEMOVE:
            case WM_KEYDOWN:
            case WM_KEYUP:
            case WM_CHAR:
            case EM_SETSEL:
                SelectionFromWindow(control, window);
                break;
            default:
                break;
        }
    }
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            control.RaiseMouseDown(ButtonOf(message));
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            // A button lets go of the mouse before this, so that what the
            // release starts (a menu button's operation) finds it free.
            if (control.Kind() == ControlKind::Label || control.Kind() == ControlKind::Link) {
                control.RaiseClick();
            }
            control.RaiseMouseUp(ButtonOf(message));
            break;
        case WM_LBUTTONDBLCLK:
            control.RaiseDblClick();
            break;
        case WM_MOUSEMOVE:
            control.RaiseMouseMove();
            break;
        default:
            break;
    }
}

bool FormWindow::Common(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0) return false;
            Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            result = 0;
            return true;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            result =
                Colours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message);
            if (result == 0) result = ::DefWindowProcW(window, message, wParam, lParam);
            return true;
        }
        default:
            return false;
    }
}

void FormWindow::Command(HWND from, int code) {
    Control* control = ControlOf(from);
    if (control == nullptr || syncing_ || form_ == nullptr) return;
    switch (control->Kind()) {
        case ControlKind::Button:
            if (code == BN_CLICKED) control->RaiseClick();
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED && control->EffectivelyEnabled()) {
                control->SetValue(control->Value() == 0 ? 1 : 0);
                control->RaiseClick();
            }
            break;
        case ControlKind::OptionButton:
            if (code == BN_CLICKED && control->EffectivelyEnabled()) {
                control->SetValue(1);
                control->RaiseClick();
            }
            break;
        case ControlKind::ComboBox:
            if (code == CBN_SELCHANGE) {
                control->UserSetsValue(static_cast<int>(::SendMessageW(from, CB_GETCURSEL, 0, 0)));
            }
            break;
        case ControlKind::ListBox:
            if (code == LBN_SELCHANGE) {
                control->UserSetsValue(static_cast<int>(::SendMessageW(from, LB_GETCURSEL, 0, 0)));
            }
            break;
        case ControlKind::TextBox: {
            if (code != EN_CHANGE || !control->EffectivelyEnabled() || control->Locked()) break;
            std::string text = WindowText(from);
            shownText_[control] = text;
            {
                // The box shows this text already: nothing travels back.
                const bool was = syncing_;
                syncing_ = true;
                control->SetCaption(std::move(text));
                syncing_ = was;
            }
            control->RaiseChange();
            break;
        }
        default:
            break;
    }
}

LRESULT FormWindow::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // The form decides: hiding, or ending the program.
            if (form_ != nullptr) form_->RequestClose();
            return 0;
        case WM_ERASEBKGND:
            PaintBackground(window_, reinterpret_cast<HDC>(wParam), nullptr);
            return 1;
        case WM_TIMER:
            if (auto found = timers_.find(wParam); found != timers_.end() && form_ != nullptr) {
                found->second->RaiseTimer();
            }
            return 0;
        case WM_MOVE:
        case WM_SIZE:
            if (!placing_) TellPlacement();
            break;
        case WM_GETMINMAXINFO:
            if (form_ != nullptr && form_->MinWidth() > 0) {
                // The frame as drawn, which may differ from the frame the
                // window's DPI would give.
                RECT outside{};
                RECT inside{};
                ::GetWindowRect(window_, &outside);
                ::GetClientRect(window_, &inside);
                auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
                limits->ptMinTrackSize = {
                    PixelsOf(form_->MinWidth(), Dpi()) + (outside.right - outside.left) - inside.right,
                    PixelsOf(form_->MinHeight(), Dpi()) + (outside.bottom - outside.top) -
                        inside.bottom};
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
                GiveFocus();
                return 0;
            }
            break;
        case WM_DPICHANGED:
            ChangeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

HWND FormWindow::NextInTabOrder(const Control* from, bool back) const {
    // As the window reads, as the other back ends go, not in the order the
    // controls were made.
    const std::vector<Control*> order = form_->TabOrder();
    const int count = static_cast<int>(order.size());
    if (count == 0) return nullptr;
    const auto at = std::find(order.begin(), order.end(), from);
    int index = at == order.end() ? (back ? 0 : count - 1) : static_cast<int>(at - order.begin());
    for (int step = 0; step < count; ++step) {
        index = (index + (back ? count - 1 : 1)) % count;
        HWND window = HandleOf(*order[static_cast<std::size_t>(index)]);
        if (window != nullptr && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            return window;
        }
    }
    return nullptr;
}

bool FormWindow::TakeKey(const MSG& message) {
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if ((!down && !up) || !Alive()) return false;
    const int key = static_cast<int>(message.wParam);
    const bool repeat = down && (message.lParam & (1 << 30)) != 0;
    Control* focused = ControlOf(message.hwnd);
    const ControlKind kind = focused != nullptr ? focused->Kind() : ControlKind::Panel;
    // An open drop-down list takes its keys itself (Escape closes it).
    if (kind == ControlKind::ComboBox &&
        ::SendMessageW(message.hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0) {
        return false;
    }
    const bool oneLineText = kind == ControlKind::TextBox && !focused->Multiline();

    if (up) {
        // The press was taken; the control must not act on the release.
        if (Pressable(focused) &&
            (key == VK_SPACE || (key == VK_RETURN && kind == ControlKind::Button))) {
            return true;
        }
        if (oneLineText && key == VK_RETURN) return true;
        if (const int code = FormKeyCode(key, focused); code != 0) form_->RaiseKeyUp(code);
        return key == VK_F10 || key == VK_ESCAPE;
    }

    const bool alt = ::GetKeyState(VK_MENU) < 0;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    if (key == VK_TAB && !alt && !control) {
        const bool back = ::GetKeyState(VK_SHIFT) < 0;
        if (HWND next = NextInTabOrder(focused, back)) ::SetFocus(next);
        return true;
    }
    // The model decides what a key does, exactly as the other back ends let
    // it: Enter and Space press a button, Space ticks a box.
    if (Pressable(focused) && key == VK_SPACE) {
        if (!repeat) focused->PressKey(Key::Space);
        return true;
    }
    if (kind == ControlKind::Button && key == VK_RETURN) {
        if (!repeat) focused->PressKey(Key::Enter);
        return true;
    }
    if (oneLineText && key == VK_RETURN) {
        if (!repeat) focused->PressEnter();
        return true;
    }
    if (const int code = FormKeyCode(key, focused); code != 0 && !repeat) {
        form_->RaiseKeyDown(code);
    }
    if (key == VK_ESCAPE) {
        // Escape leaves a dialog as its close box does.
        if (form_ != nullptr && form_->Modal() && !repeat) form_->RequestClose();
        return true;
    }
    // F10 would otherwise put the window into menu mode.
    return key == VK_F10;
}

LRESULT FormWindow::Colours(HWND window, HDC dc, UINT message) {
    const Control* control = ControlOf(window);
    if (control == nullptr) return 0;
    // Text boxes and lists keep the desktop's white unless given a colour
    // of their own; everything else shows the colours of what holds it.
    const bool field = control->Kind() == ControlKind::TextBox ||
                       control->Kind() == ControlKind::ComboBox ||
                       control->Kind() == ControlKind::ListBox;
    const int back = field ? control->BackColor() : BackColorOf(control);
    int fore = field ? control->ForeColor() : ForeColorOf(control);
    if (control->Kind() == ControlKind::Link && control->ForeColor() < 0) fore = 0x0645AD;
    // A read-only text box asks as a label does, but is a field all the same.
    const bool readOnlyField = field && message == WM_CTLCOLORSTATIC;
    if (back < 0 && fore < 0 && !readOnlyField) return 0;
    const int systemBack = field ? COLOR_WINDOW : COLOR_BTNFACE;
    if (::IsWindowEnabled(window)) {
        ::SetTextColor(
            dc, fore >= 0 ? Rgb(fore) : ::GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    }
    ::SetBkColor(dc, back >= 0 ? Rgb(back) : ::GetSysColor(systemBack));
    return reinterpret_cast<LRESULT>(back >= 0 ? BrushOf(back) : ::GetSysColorBrush(systemBack));
}

void FormWindow::PaintBackground(HWND window, HDC dc, const Control* container) {
    RECT area{};
    ::GetClientRect(window, &area);
    const int back = container != nullptr ? BackColorOf(container)
                                          : (form_ != nullptr ? form_->BackColor() : -1);
    ::FillRect(dc, &area, back >= 0 ? BrushOf(back) : ::GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace ui
