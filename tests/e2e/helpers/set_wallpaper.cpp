// Sets the wallpaper as a user would in the control panel: the path on the command line
// (nothing removes the wallpaper), stored in the profile and announced to every window.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    std::wstring path = commandLine ? commandLine : L"";
    // A path with a space, and the empty one, arrive in quotes.
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)
               ? 0
               : 1;
}
