// A listing and a purge in real windows on the Win32 back end: the report
// window shows the report as it grows, its buttons act during the run, the
// purge confirmation decides the purge, and text selected in the report is
// what gets copied.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/frmMain.h"
#include "app/Forms.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "tests/ui/win32/Win32TestSupport.h"

using namespace testing_support;

namespace {

class Win32ReportWindow : public Win32Program {
  protected:
    void TearDown() override {
        if (forms_) forms_->Report().Hide();
        Win32Program::TearDown();
    }
    void Select(const std::string& folder, const std::string& spec) {
        frmMain& main = forms_->Main();
        main.strFolderPath[0] = folder;
        main.strFileSpec[0] = spec;
        main.blnSubdirectories = false;
        main.RefreshSelection();
    }
    HWND ReportText() { return Handle(forms_->Report(), "txbText"); }
    std::string Shown() { return TextOf(ReportText()); }
};

// Runs `act` at the next turns of the message loop, from inside a run,
// until it returns true: a message posted to a window of its own.
class Soon {
  public:
    explicit Soon(std::function<bool()> act) : act_(std::move(act)) {
        static const ATOM registered = [] {
            WNDCLASSW kind{};
            kind.lpfnWndProc = Proc;
            kind.hInstance = ::GetModuleHandleW(nullptr);
            kind.lpszClassName = L"KestraneTestSoon";
            return ::RegisterClassW(&kind);
        }();
        (void)registered;
        window_ = ::CreateWindowExW(0, L"KestraneTestSoon", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::PostMessageW(window_, WM_APP, 0, 0);
    }
    ~Soon() { ::DestroyWindow(window_); }

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* soon = reinterpret_cast<Soon*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message != WM_APP || soon == nullptr) {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        if (!soon->act_()) ::PostMessageW(window, WM_APP, 0, 0);
        return 0;
    }
    std::function<bool()> act_;
    HWND window_ = nullptr;
};

}  // namespace

TEST_F(Win32ReportWindow, AListingShowsItsReportAndItsButtonsActDuringTheRun) {
    drives().WriteFile("C:\\data\\a.txt", "a");
    Select("C:\\data\\", "*.*");
    forms_->Main().cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_TRUE(::IsWindowVisible(WindowOf(forms_->Report()).Handle()));
    EXPECT_NE(Shown().find("C:\\data\\\r\na.txt (1 bytes)\r\n\r\nTotal KB: 0.00\r\n"),
              std::string::npos)
        << Shown();
    EXPECT_NE(ui::TheUi().ClipboardText().find("a.txt (1 bytes)"), std::string::npos);

    for (int i = 0; i < 40; ++i) drives().WriteFile("C:\\data\\m" + std::to_string(i), "x");
    // Pause at the first chance, then Stop while paused: both by clicks.
    frmReport& report = forms_->Report();
    int step = 0;
    Soon clicks([&] {
        if (step == 0) {
            ::SendMessageW(Handle(report, "cmdPauseContinue"), BM_CLICK, 0, 0);
            step = 1;
            return false;
        }
        EXPECT_TRUE(report.Paused());
        EXPECT_TRUE(::IsWindowVisible(Handle(report, "cmdStop")));
        ::SendMessageW(Handle(report, "cmdStop"), BM_CLICK, 0, 0);
        return true;
    });
    forms_->Main().cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_NE(Shown().find("File listing was stopped."), std::string::npos) << Shown();
    EXPECT_EQ(Shown(), report.ReportText()) << "the whole report, shown at the end of the run";
}

TEST_F(Win32ReportWindow, APurgeIsConfirmedInItsDialogWhereNothingOverlapsAndIsReported) {
    drives().WriteFile("C:\\data\\gone.txt", "secret");
    Select("C:\\data\\", "gone.txt");
    frmPurgeConfirmation& confirmation = forms_->PurgeConfirmation();
    std::string overlaps = "not shown";
    WhenModal([&](HWND modal) {
        if (FormOf(modal) != &confirmation) return false;
        EXPECT_EQ(TextOf(modal), "Purge confirmation");
        ui::FormWindow& window = WindowOf(confirmation);
        overlaps = Overlaps(window) + Clipped(window);
        ::SendMessageW(Handle(confirmation, "cmdDoPurge"), BM_CLICK, 0, 0);
        return true;
    });
    forms_->Main().cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(overlaps, "");
    EXPECT_NE(Shown().find("gone.txt (6 bytes) purged.\r\n"), std::string::npos) << Shown();
    EXPECT_FALSE(drives().Exists("C:\\data\\gone.txt"));
}

TEST_F(Win32ReportWindow, TextSelectedInTheWindowIsWhatGetsCopied) {
    drives().WriteFile("C:\\data\\abc.txt", "abc");
    Select("C:\\data\\", "*.*");
    forms_->Main().cmdProcessFiles(2).RaiseMouseUp();
    // Select the second line as a user would, across the first line break.
    const std::string shown = Shown();
    const auto at = static_cast<WPARAM>(shown.find("abc.txt"));
    ::SendMessageW(ReportText(), EM_SETSEL, at, static_cast<LPARAM>(at + 7));
    EXPECT_EQ(forms_->Report().txbText.SelectedText(), "abc.txt");
    ::SendMessageW(Handle(forms_->Report(), "cmdCopyToClipboard"), BM_CLICK, 0, 0);
    EXPECT_EQ(ui::TheUi().ClipboardText(), "abc.txt");
}

TEST_F(Win32ReportWindow, AGrowingTextReachesTheBoxPieceByPieceWhateverItsCharacters) {
    frmReport& report = forms_->Report();
    report.Show();
    ui::Control& text = report.txbText;
    text.SetCaption("Purging\r\n");
    // Tails that cut a CR LF and a two- and a four-byte character in two.
    const std::string lines[] = {"Grüße.txt\r\n", "\xF0\x9F\x93\x84 notes\r\n", "end\r\n"};
    for (const std::string& line : lines) {
        const std::size_t keep = text.Caption().size();
        text.ReplaceTextFrom(keep, line);
        EXPECT_EQ(Shown(), text.Caption());
    }
    const std::size_t size = text.Caption().size();
    text.ReplaceTextFrom(size - 6, "-\r\nlast\r\n");  // keeps half of the CR LF before "end"
    EXPECT_EQ(Shown(), text.Caption());
    text.ReplaceTextFrom(9, "Gr");  // inside the ü
    EXPECT_EQ(Shown(), text.Caption());

    // The caret follows the model: at the end the newest line is in view.
    text.SetSelStart(static_cast<int>(text.Caption().size()));
    DWORD start = 0;
    ::SendMessageW(ReportText(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    EXPECT_EQ(start, static_cast<DWORD>(::GetWindowTextLengthW(ReportText())));
    // Selecting the four-byte character selects its four bytes.
    text.ReplaceTextFrom(0, "a\xF0\x9F\x93\x84z");
    ::SendMessageW(ReportText(), EM_SETSEL, 1, 3);
    EXPECT_EQ(text.SelectedText(), "\xF0\x9F\x93\x84");
}

TEST_F(Win32ReportWindow, AQuestionDuringARunStandsInFrontOfTheReportWhichEndsWithDone) {
    drives().WriteFile("C:\\q\\b.exe", "program");
    Select("C:\\q\\", "*.*");
    HWND report = WindowOf(forms_->Report()).Handle();
    HWND queryOwner = nullptr;
    WhenModal([&](HWND modal) {
        ui::Form* form = FormOf(modal);
        if (form == &forms_->PurgeConfirmation()) {
            ::SendMessageW(Handle(*form, "cmdDoPurge"), BM_CLICK, 0, 0);
        } else if (form == &forms_->AntiVirusQuery()) {
            queryOwner = ::GetWindow(modal, GW_OWNER);
            ::SendMessageW(Handle(*form, "cmdNo"), BM_CLICK, 0, 0);
        } else if (form == nullptr) {
            // The purge query for the program file: purge it.
            ::PostMessageW(modal, WM_COMMAND, IDYES, 0);
        }
        return false;
    });
    forms_->Main().cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(queryOwner, report) << "not hidden behind the report window";
    EXPECT_EQ(TextOf(Handle(forms_->Report(), "lblPausedDone")), "Done");
}
