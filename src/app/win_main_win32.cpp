#include <windows.h>

#include "app/frm_main_win32.h"
#include "app/single_instance_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace tavro::app;
    const SingleInstance instanceLock;
    if (!instanceLock.isFirst()) return 0;  // an earlier copy runs: end at once, nothing shown

    Program program;
    std::unique_ptr<FrmMain> form = FrmMain::create(instance, program);
    if (!form) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
