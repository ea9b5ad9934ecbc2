// The purge program on Windows: the main window, or, with --list, --purge
// or --help, the command-line mode, which writes to the console the program
// was started from and ends with its exit code.
#include "platform/win32/SystemHeaders.h"

#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Forms.h"
#include "app/frmMain.h"
#include "platform/FreedMemory.h"
#include "platform/OpenFolderLimit.h"
#include "platform/win32/WideText.h"
#include "ui/win32/Win32Ui.h"

namespace {

// The arguments as the user typed them, in UTF-8 whatever the code page.
std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; words != nullptr && i < count; ++i)
        args.push_back(platform::Narrowed(words[i]));
    if (words != nullptr) ::LocalFree(words);
    return args;
}

bool Redirected(DWORD stream) {
    HANDLE handle = ::GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A window program starts without a console. Output redirected to a file
// or a pipe already has its streams; otherwise the console of the command
// prompt that started the program takes them.
void UseParentConsole() {
    const bool output = Redirected(STD_OUTPUT_HANDLE);
    const bool errors = Redirected(STD_ERROR_HANDLE);
    const bool input = Redirected(STD_INPUT_HANDLE);
    if ((output && errors && input) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    ::SetConsoleOutputCP(CP_UTF8);
    if (!output) std::freopen("CONOUT$", "w", stdout);
    if (!errors) std::freopen("CONOUT$", "w", stderr);
    if (!input) std::freopen("CONIN$", "r", stdin);
    std::cout.clear();
    std::cerr.clear();
    std::cin.clear();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::AllowManyOpenFolders();
    platform::ReturnLargeFreedBlocks();
    const std::vector<std::string> args = Arguments();
    if (IsCommandLineRequest(args)) {
        UseParentConsole();
        const int code =
            RunCommandLine(args, std::cout, std::cerr, std::cin, ::_isatty(::_fileno(stdin)) != 0,
                           ::_isatty(::_fileno(stderr)) != 0);
        std::cout.flush();
        std::cerr.flush();
        return code;
    }
    ui::Win32Ui windows;
    ui::SetUi(&windows);
    FormSet forms;
    forms.Main().Form_Load();
    return windows.Run();
}
