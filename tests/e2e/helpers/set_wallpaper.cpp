// Sets the wallpaper as a user would in the control panel: the path on the command line
// (nothing removes the wallpaper), stored in the profile and announced to every window.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    std::wstring path = commandLine ? commandLine : L"";
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)
               ? 0
               : 1;
}
