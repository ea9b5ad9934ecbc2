// The Windows console's Escape polling, fed through a console of the test's
// own: keys are put into its input as the keyboard would put them.
#include <windows.h>

#include <gtest/gtest.h>

#include "veldran/Console.h"

namespace {

INPUT_RECORD Key(WORD virtualKey, wchar_t character, bool down) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = down;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
    record.Event.KeyEvent.uChar.UnicodeChar = character;
    return record;
}

class Win32ConsoleTest : public testing::Test {
  protected:
    void SetUp() override {
        FreeConsole();
        if (!AllocConsole()) GTEST_SKIP() << "no console can be made here";
        made_ = true;
        input_ = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        SetStdHandle(STD_INPUT_HANDLE, input_);
        FlushConsoleInputBuffer(input_);
        // Wine without a display makes a console that takes no input written
        // to it; a real Windows console always does.
        INPUT_RECORD probe{};
        probe.EventType = FOCUS_EVENT;
        DWORD written = 0;
        if (!WriteConsoleInputW(input_, &probe, 1, &written) || written != 1)
            GTEST_SKIP() << "this console takes no written input (" << GetLastError() << ")";
        FlushConsoleInputBuffer(input_);
    }
    void TearDown() override {
        if (input_ != nullptr && input_ != INVALID_HANDLE_VALUE) CloseHandle(input_);
        if (made_) FreeConsole();
    }
    void Press(std::initializer_list<INPUT_RECORD> events) {
        DWORD written = 0;
        ASSERT_TRUE(WriteConsoleInputW(input_, events.begin(), static_cast<DWORD>(events.size()),
                                       &written));
        ASSERT_EQ(written, events.size());
    }
    DWORD Waiting() {
        DWORD count = 0;
        GetNumberOfConsoleInputEvents(input_, &count);
        return count;
    }
    HANDLE input_ = nullptr;
    bool made_ = false;
};

TEST_F(Win32ConsoleTest, EscapeIsSeenAndOtherKeysAreTakenAndIgnored) {
    std::unique_ptr<veldran::Console> console = veldran::OpenNativeConsole();
    EXPECT_FALSE(console->EscapePressed()) << "nothing waiting";

    Press({Key('A', L'a', true), Key('A', L'a', false)});
    EXPECT_FALSE(console->EscapePressed());
    EXPECT_EQ(Waiting(), 0u) << "other keys are consumed";

    // Releasing Escape is no press; pressing it after another key is.
    Press({Key(VK_ESCAPE, 27, false)});
    EXPECT_FALSE(console->EscapePressed());
    Press({Key('B', L'b', true), Key(VK_ESCAPE, 27, true)});
    EXPECT_TRUE(console->EscapePressed());
}

}  // namespace
