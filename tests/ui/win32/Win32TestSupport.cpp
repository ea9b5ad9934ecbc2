#include "tests/ui/win32/Win32TestSupport.h"

#include <algorithm>

#include "platform/win32/WideText.h"

namespace testing_support {
namespace {

std::map<UINT_PTR, ModalWatcher*>& Watchers() {
    static std::map<UINT_PTR, ModalWatcher*> watchers;
    return watchers;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// The modal window now up: a message box first, else a form shown modally.
HWND ModalUp() {
    if (HWND box = MessageBoxUp()) return box;
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            ui::FormWindow* form = ui::FormWindow::Containing(window);
            if (form != nullptr && form->Handle() == window && ::IsWindowVisible(window) &&
                form->TheForm() != nullptr && form->TheForm()->Modal()) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

std::string TextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    return platform::Narrowed(text.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

RECT PlaceOf(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

void MouseClick(HWND window) {
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void PressKey(HWND window, int key) {
    const UINT down = key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = key == VK_F10 ? WM_SYSKEYUP : WM_KEYUP;
    ::PostMessageW(window, down, static_cast<WPARAM>(key), 1);
    ::PostMessageW(window, up, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001u));
    Pump();
}

bool DisplayAvailable() {
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) return false;
    ::DestroyWindow(probe);
    return true;
}

void Pump() {
    for (int i = 0; i < 3; ++i) ui::TheUi().DoEvents();
}

HWND MessageBoxUp() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            if (ClassOf(window) == L"#32770" && ::IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

namespace {

bool Holds(const ui::Control& container, const ui::Control& control) {
    for (const ui::Control* c = control.Container(); c != nullptr; c = c->Container()) {
        if (c == &container) return true;
    }
    return false;
}

// What a control covers on the screen: a label only as far as its text.
std::optional<RECT> Covered(const ui::Control& control, HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    if (control.Kind() != ui::ControlKind::Label && control.Kind() != ui::ControlKind::Link) {
        return place;
    }
    const std::wstring text = platform::Widened(control.Caption());
    if (text.empty()) return std::nullopt;
    HDC dc = ::GetDC(window);
    HGDIOBJ before =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT text_extent{0, 0, place.right - place.left, 0};
    const UINT wrap = control.Kind() == ui::ControlKind::Label ? DT_WORDBREAK : 0;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_extent,
                DT_CALCRECT | DT_NOPREFIX | wrap);
    ::SelectObject(dc, before);
    ::ReleaseDC(window, dc);
    place.right = std::min(place.right, place.left + text_extent.right);
    place.bottom = std::min(place.bottom, place.top + text_extent.bottom);
    return place;
}

}  // namespace

std::string Clipped(const ui::FormWindow& window) {
    std::string found;
    ui::Form* form = window.TheForm();
    if (form == nullptr) return found;
    for (const auto& control : form->Controls()) {
        HWND child = window.HandleOf(*control);
        const ui::ControlKind kind = control->Kind();
        const bool box = kind == ui::ControlKind::CheckBox || kind == ui::ControlKind::OptionButton;
        const bool label = kind == ui::ControlKind::Label || kind == ui::ControlKind::Link;
        if (child == nullptr || !::IsWindowVisible(child) ||
            !(box || label || kind == ui::ControlKind::Button)) {
            continue;
        }
        const std::wstring text = platform::Widened(control->Caption());
        RECT inside{};
        ::GetClientRect(child, &inside);
        HDC dc = ::GetDC(child);
        HGDIOBJ before =
            ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
        // A label may wrap within its width; the others keep to one line
        // beside their box or within their button's edge.
        const int room = inside.right - (box ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4
                                             : kind == ui::ControlKind::Button ? 8 : 0);
        RECT needed{0, 0, room, 0};
        const bool wraps = kind == ui::ControlKind::Label;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                    DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        ::SelectObject(dc, before);
        ::ReleaseDC(child, dc);
        if (needed.right > room || needed.bottom > inside.bottom) {
            found += control->Name() + " ";
        }
    }
    return found;
}

std::string Overlaps(const ui::FormWindow& window) {
    struct Shown {
        const ui::Control* control;
        RECT place;
    };
    std::vector<Shown> shown;
    if (ui::Form* form = window.TheForm()) {
        for (const auto& control : form->Controls()) {
            HWND child = window.HandleOf(*control);
            // A panel draws nothing of its own; what it holds is compared.
            if (child == nullptr || !::IsWindowVisible(child) ||
                control->Kind() == ui::ControlKind::Panel) {
                continue;
            }
            if (auto place = Covered(*control, child)) shown.push_back({control.get(), *place});
        }
    }
    auto name = [](const ui::Control& c) {
        return c.Name() + (c.Index() < 0 ? "" : "(" + std::to_string(c.Index()) + ")");
    };
    std::string found;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const ui::Control& a = *shown[i].control;
            const ui::Control& b = *shown[j].control;
            RECT common{};
            if (!Holds(a, b) && !Holds(b, a) &&
                ::IntersectRect(&common, &shown[i].place, &shown[j].place)) {
                found += name(a) + " / " + name(b) + "; ";
            }
        }
    }
    return found;
}

ModalWatcher::ModalWatcher(Act act, std::chrono::milliseconds limit)
    : act_(std::move(act)), deadline_(std::chrono::steady_clock::now() + limit) {
    timer_ = ::SetTimer(nullptr, 0, 15, Tick);
    Watchers()[timer_] = this;
}

ModalWatcher::~ModalWatcher() {
    ::KillTimer(nullptr, timer_);
    Watchers().erase(timer_);
}

void CALLBACK ModalWatcher::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (auto found = Watchers().find(id); found != Watchers().end()) found->second->Check();
}

void ModalWatcher::Check() {
    if (busy_ || timedOut_) return;
    HWND modal = ModalUp();
    // Past the limit any modal window is closed, the act done or not.
    if (modal != nullptr && std::chrono::steady_clock::now() > deadline_) {
        ADD_FAILURE() << "a modal window stayed up: " << TextOf(modal);
        timedOut_ = true;
        if (ui::FormWindow* form = ui::FormWindow::Containing(modal); form && form->TheForm()) {
            form->TheForm()->Hide();
        } else {
            ::PostMessageW(modal, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageW(modal, WM_COMMAND, IDOK, 0);
        }
        return;
    }
    if (modal == nullptr || done_) return;
    busy_ = true;
    // The act may itself open a modal window and wait in its loop.
    const bool finished = act_(modal);
    busy_ = false;
    if (finished) done_ = true;
}

}  // namespace testing_support

namespace testing_support {

Snapshot::Snapshot(HWND formWindow) : window_(formWindow) {
    ::RedrawWindow(window_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT inside{};
    ::GetClientRect(window_, &inside);
    width_ = inside.right;
    height_ = inside.bottom;
    // Not clipped to the form's own pixels: what the child windows show is
    // read as well.
    HDC screen = ::GetDCEx(window_, nullptr, DCX_CACHE);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ before = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(first, first + static_cast<std::size_t>(width_) * height_);
    ::SelectObject(memory, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window_, screen);
}

int Snapshot::ColourAt(POINT inside) const {
    if (inside.x < 0 || inside.y < 0 || inside.x >= width_ || inside.y >= height_) return -1;
    return static_cast<int>(pixels_[static_cast<std::size_t>(inside.y) * width_ + inside.x] &
                            0xFFFFFF);
}

int Snapshot::ColourAt(HWND child, POINT at) const {
    ::MapWindowPoints(child, window_, &at, 1);
    return ColourAt(at);
}

int Snapshot::Count(HWND child, int colour) const {
    RECT place{};
    ::GetClientRect(child, &place);
    int count = 0;
    for (int y = 0; y < place.bottom; ++y) {
        for (int x = 0; x < place.right; ++x) {
            if (ColourAt(child, {x, y}) == colour) ++count;
        }
    }
    return count;
}

}  // namespace testing_support
