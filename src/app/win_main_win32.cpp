#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/frm_main_win32.h"
#include "app/single_instance_win32.h"
#include "base/dialog_keys_win32.h"
#include "base/dynamic_calls_win32.h"
#include "desktop/restore_desktop_win32.h"

namespace {
// The arguments after the program's path, as the system splits them.
std::vector<std::wstring> commandArguments() {
    int count = 0;
    wchar_t** raw = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!raw) return {};
    std::vector<std::wstring> arguments(raw + (count > 0 ? 1 : 0), raw + count);
    LocalFree(raw);
    return arguments;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL: none by a bare name from beside the exe.
    tavro::base::restrictDllSearchToSystem32();
    using namespace tavro::app;
    const SingleInstance instanceLock;
    const bool restoreOnly = asksToRestoreDesktop(commandArguments());
    // An earlier copy runs: end at once, nothing shown (it owns the desktop and puts it back itself).
    if (!instanceLock.isFirst()) return restoreOnly ? 1 : 0;
    if (restoreOnly) {
        tavro::desktop::restoreDesktopOfKilledRun();
        return 0;
    }

    Program program;
    std::unique_ptr<FrmMain> form = FrmMain::create(instance, program);
    if (!form) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (tavro::base::takeDialogKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
