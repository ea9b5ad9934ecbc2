#include "ui/win32/Win32Ui.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/DrivePaths.h"
#include "platform/win32/WideText.h"
#include "ui/Form.h"
#include "ui/win32/Clipboard.h"
#include "ui/win32/FileDialogs.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/MessageBoxFit.h"
#include "ui/win32/ScreenMetrics.h"

namespace ui {
namespace {

UINT FlagsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return MB_OK;
        case Buttons::OKCancel:
            return MB_OKCANCEL;
        case Buttons::AbortRetryIgnore:
            return MB_ABORTRETRYIGNORE;
        case Buttons::YesNoCancel:
            return MB_YESNOCANCEL;
        case Buttons::YesNo:
            return MB_YESNO;
        case Buttons::RetryCancel:
            return MB_RETRYCANCEL;
    }
    return MB_OK;
}

int ButtonCount(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return 1;
        case Buttons::AbortRetryIgnore:
        case Buttons::YesNoCancel:
            return 3;
        default:
            return 2;
    }
}

UINT FlagsOf(Icon icon) {
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
    return 0;
}

std::string FirstDriveRoot() {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (platform::Drives().IsMapped(letter)) return platform::Drives().Root(letter);
    }
    return {};
}

// Where a file dialog opens: the folder asked for, else the first drive.
std::string StartFolder(const std::string& drivePath) {
    auto native = platform::ToNativePath(drivePath);
    return native ? *native : FirstDriveRoot();
}

}  // namespace

class Win32Ui::ModalScope {
  public:
    // Blocks every form window but `except`'s (null: all of them).
    ModalScope(Win32Ui& ui, const Form* except) : ui_(ui), previous_(::GetActiveWindow()) {
        for (auto& [form, window] : ui_.windows_) {
            if (form == except || !window->Alive()) continue;
            window->Block();
            blocked_.push_back(form);
        }
    }
    ~ModalScope() {
        for (Form* form : blocked_) {
            // A form destroyed meanwhile took its window with it.
            if (auto found = ui_.windows_.find(form); found != ui_.windows_.end()) {
                found->second->Unblock();
            }
        }
        // The window that was active gets the keyboard back, rather than
        // whatever the system chose when the modal one went away.
        if (previous_ != nullptr && ::IsWindow(previous_) && ::IsWindowVisible(previous_) &&
            ::IsWindowEnabled(previous_)) {
            ::SetForegroundWindow(previous_);
        }
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    Win32Ui& ui_;
    HWND previous_;
    std::vector<Form*> blocked_;
};

Win32Ui::Win32Ui() {
    const HRESULT com =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    comStarted_ = SUCCEEDED(com);
    clipboardOwner_ = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
    measuring_ = std::make_unique<FontSet>(DpiOf(nullptr));
}

Win32Ui::~Win32Ui() {
    windows_.clear();
    if (clipboardOwner_ != nullptr) ::DestroyWindow(clipboardOwner_);
    if (comStarted_) ::CoUninitialize();
}

FormWindow& Win32Ui::WindowOf(Form& form) {
    if (mainForm_ == nullptr) mainForm_ = &form;
    auto& window = windows_[&form];
    // A new form may live where a destroyed one was, and a window goes with
    // the window that owns it.
    if (!window || !window->Alive()) {
        HWND owner = nullptr;
        if (&form != mainForm_) {
            if (auto main = windows_.find(mainForm_);
                main != windows_.end() && main->second && main->second->Alive()) {
                owner = main->second->Handle();
            }
        }
        window.reset();
        window = std::make_unique<FormWindow>(form, owner);
    }
    return *window;
}

HWND Win32Ui::ActiveFormWindow() const {
    HWND active = ::GetActiveWindow();
    if (FormWindow::Containing(active) != nullptr && ::IsWindowVisible(active)) return active;
    HWND visible = nullptr;
    for (const auto& [form, window] : windows_) {
        if (!window->Alive() || !::IsWindowVisible(window->Handle())) continue;
        if (form->Modal()) return window->Handle();
        if (visible == nullptr) visible = window->Handle();
    }
    return visible;
}

Answer Win32Ui::MsgBox(const std::string& text, Buttons buttons, Icon icon,
                       const std::string& title, int defaultButton) {
    UINT flags = FlagsOf(buttons) | FlagsOf(icon) | MB_SETFOREGROUND;
    if (defaultButton >= 2 && defaultButton <= ButtonCount(buttons)) {
        flags |= static_cast<UINT>(defaultButton - 1) * MB_DEFBUTTON2;
    }
    HWND owner = ActiveFormWindow();
    if (owner == nullptr) flags |= MB_TASKMODAL;
    ModalScope modal(*this, nullptr);
    MessageBoxFit fit(owner, text, title);
    const int answer = ::MessageBoxW(owner, platform::Widened(text).c_str(),
                                     platform::Widened(title).c_str(), flags);
    if (answer >= IDOK && answer <= IDNO) return static_cast<Answer>(answer);
    // The box could not be shown: its way out.
    return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
}

void Win32Ui::ShowModal(Form& form) {
    FormWindow& window = WindowOf(form);
    // A question stands in front of the window it asks about (the report
    // during a run), not only in front of the main window.
    if (&form != mainForm_ && !::IsWindowVisible(window.Handle())) {
        if (HWND asking = ActiveFormWindow(); asking != nullptr && asking != window.Handle()) {
            window.SetOwner(asking);
        }
    }
    form.SetVisibleState(true, true);
    ModalScope modal(*this, &form);
    window.SyncTexts();
    window.Show();
    window.GiveFocus();
    if (form.OnActivate) form.OnActivate();
    // Hiding the form, by its own code or by the close box, ends the loop.
    while (form.Visible() && window.Alive()) {
        MSG message;
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is quitting: the outer loop must see it too.
            ::PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            break;
        }
        Dispatch(message);
    }
}

void Win32Ui::Show(Form& form) {
    FormWindow& window = WindowOf(form);
    form.SetVisibleState(true, form.Modal());
    window.SyncTexts();
    window.Show();
    // A caller often sets the focus before showing the form, when its
    // control could not take it yet.
    window.GiveFocus();
    if (form.OnActivate) form.OnActivate();
}

void Win32Ui::Hide(Form& form) {
    form.SetVisibleState(false, false);
    if (auto found = windows_.find(&form); found != windows_.end()) found->second->Hide();
}

void Win32Ui::Refresh(Form& form) {
    FormWindow& window = WindowOf(form);
    window.SyncTexts();
    if (window.Handle() != nullptr) {
        ::RedrawWindow(window.Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void Win32Ui::SetFocus(Control& control) {
    control.Owner().SetFocusedState(&control);
    if (auto found = windows_.find(&control.Owner()); found != windows_.end()) {
        found->second->FocusChanged(control);
    }
}

template <typename Ask>
std::optional<std::string> Win32Ui::AskForPlace(const std::string& title, Ask ask) {
    std::optional<std::string> native;
    {
        HWND owner = ActiveFormWindow();
        ModalScope modal(*this, nullptr);
        native = ask(owner);
    }
    if (!native || native->empty()) return std::nullopt;
    // A place on no drive cannot be used: the user is told so, rather than
    // the choice vanishing without a word.
    auto path = platform::ToDrivePath(*native);
    if (!path) {
        MsgBox(*native + "\r\nis on no drive that this program can use." +
                   "\r\n\r\nChoose a place on one of its drives.",
               Buttons::OK, Icon::Exclamation, title);
    }
    return path;
}

std::optional<std::string> Win32Ui::OpenFileDialog(const FileDialogOptions& options) {
    return AskForPlace(options.title, [&](HWND owner) {
        return AskForFile(owner, false, options, StartFolder(options.initialFolder));
    });
}

std::optional<std::string> Win32Ui::SaveFileDialog(const FileDialogOptions& options) {
    return AskForPlace(options.title, [&](HWND owner) {
        return AskForFile(owner, true, options, StartFolder(options.initialFolder));
    });
}

std::optional<std::string> Win32Ui::BrowseForFolder(const std::string& title,
                                                    const std::string& initialFolder) {
    // Start in the folder in use, else where the program's drives are, not
    // in whatever folder the program happened to be started from.
    return AskForPlace(
        title, [&](HWND owner) { return AskForFolder(owner, title, StartFolder(initialFolder)); });
}

void Win32Ui::SetClipboardText(const std::string& text) { PutOnClipboard(clipboardOwner_, text); }

std::string Win32Ui::ClipboardText() { return TextOnClipboard(clipboardOwner_); }

void Win32Ui::Beep() { ::MessageBeep(MB_OK); }

int Win32Ui::TextWidth(const std::string& text, bool fixedPitch) {
    return TwipsOf(measuring_->TextWidth(platform::Widened(text), fixedPitch), measuring_->Dpi());
}

int Win32Ui::LineHeight(bool fixedPitch) {
    return TwipsOf(measuring_->LineHeight(fixedPitch), measuring_->Dpi());
}

void Win32Ui::Dispatch(MSG& message) {
    if (FormWindow* window = FormWindow::Containing(message.hwnd)) {
        if (window->TakeKey(message)) return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void Win32Ui::DoEvents() {
    // What is pending now, not what handlers keep adding (a window that
    // repaints itself for ever would otherwise hold the run here).
    MSG message;
    for (int handled = 0; handled < 1000 && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
         ++handled) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

int Win32Ui::Run() {
    MSG message;
    BOOL got = 0;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) Dispatch(message);
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void Win32Ui::FormDestroyed(Form& form) {
    windows_.erase(&form);
    if (mainForm_ == &form) mainForm_ = nullptr;
}

void Win32Ui::EndProgram(int exitCode) {
    // Ending at once: nested message loops of modal windows are not unwound.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace ui
