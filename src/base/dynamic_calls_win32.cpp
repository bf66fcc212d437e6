#include "base/dynamic_calls_win32.h"

#include <string>

#include "base/special_folder_win32.h"

namespace tavro::base {

namespace {

// Not declared for Windows 7 as a target.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// FARPROC to the real signature; the detour through a plain function pointer keeps the compiler
// from warning about the mismatch that GetProcAddress always has.
template <typename Function>
void bind(Function& to, HMODULE module, const char* name) {
    to = module ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

HMODULE loadSystemLibrary(const wchar_t* name) {
    if (HMODULE module = LoadLibraryExW(name, nullptr, kSearchSystem32)) return module;
    // The flag needs Windows 8, or 7 with KB2533623; without it the full path does the same.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    const std::wstring path = systemFile(name);
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

bool restrictDllSearchToSystem32() {
    BOOL(WINAPI * setDefault)(DWORD) = nullptr;
    bind(setDefault, GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return setDefault && setDefault(kSearchSystem32);
}

const DynamicCalls& dynamicCalls() {
    static const DynamicCalls calls = [] {
        DynamicCalls c;
        // user32 is one of the exe's own imports, loaded before any of this runs.
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        bind(c.setProcessDpiAwarenessContext, user32, "SetProcessDpiAwarenessContext");
        bind(c.getDpiForWindow, user32, "GetDpiForWindow");
        bind(c.getSystemMetricsForDpi, user32, "GetSystemMetricsForDpi");
        bind(c.systemParametersInfoForDpi, user32, "SystemParametersInfoForDpi");
        const HMODULE shcore = loadSystemLibrary(L"shcore.dll");
        bind(c.setProcessDpiAwareness, shcore, "SetProcessDpiAwareness");
        bind(c.getDpiForMonitor, shcore, "GetDpiForMonitor");
        const HMODULE version = loadSystemLibrary(L"version.dll");
        bind(c.getFileVersionInfoSizeW, version, "GetFileVersionInfoSizeW");
        bind(c.getFileVersionInfoW, version, "GetFileVersionInfoW");
        bind(c.verQueryValueW, version, "VerQueryValueW");
        bind(c.getOpenFileNameW, loadSystemLibrary(L"comdlg32.dll"), "GetOpenFileNameW");
        bind(c.shQueryUserNotificationState, loadSystemLibrary(L"shell32.dll"), "SHQueryUserNotificationState");
        return c;
    }();
    return calls;
}

const SoundCalls& soundCalls() {
    static const SoundCalls calls = [] {
        SoundCalls c;
        bind(c.playSoundW, loadSystemLibrary(L"winmm.dll"), "PlaySoundW");
        return c;
    }();
    return calls;
}

}  // namespace tavro::base
