#include "ui/win32/FormWindow.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "ui/win32/ControlWindows.h"
#include "ui/win32/TextBoxWindow.h"

namespace ui {
namespace {

constexpr UINT_PTR kFirstTimerId = 1000;

// Sets a flag for a scope and restores what it was.
class Flag {
  public:
    explicit Flag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Flag() { flag_ = was_; }

  private:
    bool& flag_;
    bool was_;
};

bool HoldsControls(const Control& control) {
    return control.Kind() == ControlKind::Frame || control.Kind() == ControlKind::Panel;
}

bool Within(const Control& control, const Control& container) {
    for (const Control* c = control.Container(); c != nullptr; c = c->Container()) {
        if (c == &container) return true;
    }
    return false;
}

DWORD StyleFor(const Form& form) {
    // The main window, with its smallest size, may be resized; dialogs keep
    // the size their layout gives them.
    return form.MinWidth() > 0 ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
}

}  // namespace

FormWindow::FormWindow(Form& form, HWND owner) : form_(&form) {
    RegisterClasses();
    fonts_ = std::make_unique<FontSet>(DpiOf(owner));
    ::CreateWindowExW(owner != nullptr ? 0 : WS_EX_APPWINDOW, L"KestraneForm",
                      platform::Widened(form.Caption()).c_str(), StyleFor(form) | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                      ::GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) return;
    if (const int dpi = DpiOf(window_); dpi != fonts_->Dpi()) {
        fonts_ = std::make_unique<FontSet>(dpi);
    }
    Build();
    form_->SetObserver(this);
}

FormWindow::~FormWindow() {
    if (form_ != nullptr && form_->Observer() == this) form_->SetObserver(nullptr);
    if (window_ != nullptr) ::DestroyWindow(window_);
    for (auto& [colour, brush] : brushes_) ::DeleteObject(brush);
}

void FormWindow::FormDestroyed(Form&) {
    form_ = nullptr;
    if (window_ != nullptr) ::DestroyWindow(window_);
}

HWND FormWindow::HandleOf(const Control& control) const {
    auto found = windows_.find(&control);
    return found == windows_.end() ? nullptr : found->second;
}

Control* FormWindow::ControlOf(HWND window) const {
    auto found = controlsByWindow_.find(window);
    return found == controlsByWindow_.end() ? nullptr : found->second;
}

void FormWindow::Build() {
    UINT_PTR nextTimer = kFirstTimerId;
    for (const auto& owned : form_->Controls()) {
        Control& control = *owned;
        if (control.Kind() == ControlKind::Timer) {
            timers_[nextTimer++] = &control;
            ApplyTimer(control);
            continue;
        }
        HWND parent = control.Container() ? HandleOf(*control.Container()) : window_;
        HWND window = MakeControlWindow(control, parent != nullptr ? parent : window_);
        if (window == nullptr) continue;
        windows_[&control] = window;
        controlsByWindow_[window] = &control;
        if (control.Kind() == ControlKind::Frame) {
            HWND border = MakeFrameBorder(window);
            borders_[&control] = border;
            controlsByWindow_[border] = &control;
            // A group box paints only its line and title, and the frame's
            // window leaves its children's area alone: the box paints the
            // inside itself, or nothing does.
            ::SetWindowSubclass(border, ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
        }
        ::SetWindowSubclass(window, ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (control.Kind() == ControlKind::ComboBox || control.Kind() == ControlKind::ListBox) {
            FillItems(control, window);
        }
        if (control.Kind() == ControlKind::TextBox) TextChangedFrom(control, 0);
        Apply(control);
    }
    FormChanged(*form_);
    SyncTexts();
}

void FormWindow::Apply(Control& control) {
    if (control.Kind() == ControlKind::Timer) {
        ApplyTimer(control);
        return;
    }
    HWND window = HandleOf(control);
    if (window == nullptr) return;
    Flag syncing(syncing_);
    auto border = borders_.find(&control);
    const ControlLook look{fonts_.get(), Dpi(), control.EffectivelyEnabled(),
                           BackColorOf(&control) >= 0 || ForeColorOf(&control) >= 0};
    ApplyProperties(control, window, border == borders_.end() ? nullptr : border->second, look);
    // A panel of no colour of its own covers no more than what it holds.
    const Control* holder = control.Container();
    if (control.Kind() == ControlKind::Panel && control.BackColor() < 0) ShapeToChildren(window);
    if (holder != nullptr && holder->Kind() == ControlKind::Panel && holder->BackColor() < 0) {
        if (HWND panel = HandleOf(*holder)) ShapeToChildren(panel);
    }
}

void FormWindow::ApplyAll() {
    if (form_ == nullptr) return;
    for (const auto& control : form_->Controls()) Apply(*control);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::ApplyTimer(Control& control) {
    if (window_ == nullptr) return;
    UINT_PTR id = 0;
    for (auto& [timerId, timer] : timers_) {
        if (timer == &control) id = timerId;
    }
    const bool run = control.Enabled() && control.Interval() > 0;
    auto running = runningTimers_.find(&control);
    if (run) {
        // Setting a running timer again would restart its count.
        if (running == runningTimers_.end() || running->second != control.Interval()) {
            ::SetTimer(window_, id, static_cast<UINT>(control.Interval()), nullptr);
            runningTimers_[&control] = control.Interval();
        }
    } else if (running != runningTimers_.end()) {
        ::KillTimer(window_, id);
        runningTimers_.erase(running);
    }
}

void FormWindow::ControlChanged(Control& control) {
    Apply(control);
    if (HoldsControls(control)) {
        for (const auto& other : form_->Controls()) {
            if (Within(*other, control)) Apply(*other);
        }
    }
    if (control.Kind() == ControlKind::TextBox && !syncing_) PlaceCaret(control);
}

void FormWindow::FormChanged(Form& form) {
    if (window_ == nullptr) return;
    ::SetWindowTextW(window_, platform::Widened(form.Caption()).c_str());
    ::EnableWindow(window_, form.Enabled() && blocks_ == 0);
    // Colours and the enabled state reach every control.
    const auto look = std::make_tuple(form.BackColor(), form.ForeColor(), form.Enabled());
    if (look != appliedLook_) {
        appliedLook_ = look;
        ApplyAll();
    }
    Flag placing(placing_);
    PlaceWindow();
}

void FormWindow::PlaceWindow() {
    const int dpi = Dpi();
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE));
    const DWORD extended = static_cast<DWORD>(::GetWindowLongW(window_, GWL_EXSTYLE));
    const RECT frame =
        WithFrame({0, 0, PixelsOf(form_->Width(), dpi), PixelsOf(form_->Height(), dpi)}, style,
                  extended, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (form_->Width() > 0 && form_->Height() > 0) {
        RECT now{};
        ::GetWindowRect(window_, &now);
        if (now.right - now.left != width || now.bottom - now.top != height) {
            ::SetWindowPos(window_, nullptr, 0, 0, width, height,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Where the frame drawn is not the frame computed (a system that
        // draws frames at another DPI than the window's), the inside is
        // what the layout needs: the difference goes to the frame.
        RECT inside{};
        ::GetClientRect(window_, &inside);
        const int wideBy = PixelsOf(form_->Width(), dpi) - inside.right;
        const int highBy = PixelsOf(form_->Height(), dpi) - inside.bottom;
        if (wideBy != 0 || highBy != 0) {
            ::SetWindowPos(window_, nullptr, 0, 0, width + wideBy, height + highBy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (form_->Left() > 0 || form_->Top() > 0) {
        // A window placed beside another stays on the screen all the same.
        POINT at{PixelsOf(form_->Left(), dpi), PixelsOf(form_->Top(), dpi)};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        RECT now{};
        ::GetWindowRect(window_, &now);
        // The screen of the window it belongs to, else the one asked for.
        HWND owner = ::GetWindow(window_, GW_OWNER);
        HMONITOR screen = owner != nullptr ? ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                           : ::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
        if (::GetMonitorInfoW(screen, &monitor)) {
            const RECT& room = monitor.rcWork;
            at.x = std::max(room.left, std::min(at.x, room.right - (now.right - now.left)));
            at.y = std::max(room.top, std::min(at.y, room.bottom - (now.bottom - now.top)));
        }
        if (now.left != at.x || now.top != at.y) {
            ::SetWindowPos(window_, nullptr, at.x, at.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void FormWindow::TellPlacement() {
    if (form_ == nullptr || window_ == nullptr || !::IsWindowVisible(window_) ||
        ::IsIconic(window_)) {
        return;
    }
    // The frame's corner, as the model's MoveTo places it, and the inside's size.
    RECT frame{};
    RECT inside{};
    ::GetWindowRect(window_, &frame);
    ::GetClientRect(window_, &inside);
    const int dpi = Dpi();
    form_->SetPlacedState(TwipsOf(frame.left, dpi), TwipsOf(frame.top, dpi),
                          TwipsOf(inside.right, dpi), TwipsOf(inside.bottom, dpi));
}

void FormWindow::ChangeDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == Dpi()) return;
    // The controls let go of the old fonts before they are deleted.
    std::unique_ptr<FontSet> old = std::move(fonts_);
    fonts_ = std::make_unique<FontSet>(dpi);
    ApplyAll();
    old.reset();
    Flag placing(placing_);
    if (suggested != nullptr) {
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PlaceWindow();
}

void FormWindow::FocusChanged(Control& control) {
    // A window that is not active takes the focus when it next becomes so;
    // taking it now would pull the window to the front.
    HWND window = HandleOf(control);
    if (window != nullptr && window_ != nullptr && ::GetActiveWindow() == window_) {
        ::SetFocus(window);
    }
}

void FormWindow::GiveFocus() {
    if (!Alive()) return;
    Control* focused = form_->Focused();
    HWND target = focused != nullptr ? HandleOf(*focused) : nullptr;
    if (target == nullptr || !::IsWindowVisible(target) || !::IsWindowEnabled(target)) {
        target = ::GetNextDlgTabItem(window_, nullptr, FALSE);
    }
    ::SetFocus(target != nullptr ? target : window_);
}

void FormWindow::ItemsChanged(Control& control) {
    HWND window = HandleOf(control);
    if (window == nullptr) return;
    Flag syncing(syncing_);
    FillItems(control, window);
}

void FormWindow::TextChangedFrom(Control& control, std::size_t from) {
    HWND edit = HandleOf(control);
    if (edit == nullptr || syncing_) return;
    Flag syncing(syncing_);
    ShowTextFrom(edit, shownText_[&control], control.Caption(), from);
}

void FormWindow::PlaceCaret(Control& control) {
    HWND edit = HandleOf(control);
    if (edit == nullptr || !control.Multiline()) return;
    Flag syncing(syncing_);
    PlaceSelection(edit, shownText_[&control], control.SelStart(), control.SelLength());
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    shownSelection_[&control] = {start, end};
}

void FormWindow::SelectionFromWindow(Control& control, HWND edit) {
    if (syncing_) return;
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    auto& known = shownSelection_[&control];
    if (known == std::make_pair(start, end)) return;
    known = {start, end};
    const auto [from, length] = SelectionInBytes(edit, shownText_[&control]);
    Flag syncing(syncing_);
    control.SetSelection(from, length);
}

void FormWindow::SyncTexts() {
    if (form_ == nullptr) return;
    for (const auto& control : form_->Controls()) {
        if (control->Kind() != ControlKind::TextBox || !control->Multiline()) continue;
        TextChangedFrom(*control, 0);
        PlaceCaret(*control);
    }
}

void FormWindow::Show() {
    if (window_ == nullptr) return;
    {
        // Placed again on the screen of the window it now belongs to.
        Flag placing(placing_);
        PlaceWindow();
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    // The focus is drawn from the start, not only once a key was pressed.
    ::SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    TellPlacement();
}

void FormWindow::SetOwner(HWND owner) {
    if (window_ == nullptr) return;
    // Never a window that this one owns itself: owners form no circle.
    for (HWND up = owner; up != nullptr; up = ::GetWindow(up, GW_OWNER)) {
        if (up == window_) return;
    }
    // An owned window always stands in front of its owner.
    ::SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void FormWindow::Hide() {
    if (window_ != nullptr) ::ShowWindow(window_, SW_HIDE);
}

void FormWindow::Block() {
    if (++blocks_ == 1 && window_ != nullptr) ::EnableWindow(window_, FALSE);
}

void FormWindow::Unblock() {
    if (blocks_ > 0 && --blocks_ == 0 && window_ != nullptr) {
        ::EnableWindow(window_, form_ == nullptr || form_->Enabled());
    }
}

int FormWindow::BackColorOf(const Control* control) const {
    for (const Control* c = control; c != nullptr; c = c->Container()) {
        if (c->BackColor() >= 0) return c->BackColor();
    }
    return form_ != nullptr ? form_->BackColor() : -1;
}

int FormWindow::ForeColorOf(const Control* control) const {
    for (const Control* c = control; c != nullptr; c = c->Container()) {
        if (c->ForeColor() >= 0) return c->ForeColor();
    }
    return form_ != nullptr ? form_->ForeColor() : -1;
}

HBRUSH FormWindow::BrushOf(int colour) {
    auto& brush = brushes_[colour];
    if (brush == nullptr) {
        brush = ::CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    }
    return brush;
}

}  // namespace ui
