// The Win32 calls that not every supported system has (Windows 7 lacks most of them), each bound
// once, at first use, for the life of the process. Their DLLs come from System32 only: a DLL of
// the same name beside the exe (the zip is often run from Downloads) is never loaded.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace tavro::base {

// The system's own copy of the DLL, loaded and kept; nothing when it is not there.
HMODULE loadSystemLibrary(const wchar_t* name);

// First thing at start: every DLL the process loads from then on by a bare name, its own or one
// a system DLL asks for, comes from System32 alone. False where the system cannot be told so
// (Windows 7 without KB2533623).
bool restrictDllSearchToSystem32();

// Null where the system lacks the call.
struct DynamicCalls {
    // The displays' scaling.
    BOOL(WINAPI* setProcessDpiAwarenessContext)(HANDLE) = nullptr;           // user32, Windows 10 1703
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;                           // user32, 10 1607
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;                // user32, 10 1607
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;  // user32, 10 1607
    HRESULT(WINAPI* setProcessDpiAwareness)(int) = nullptr;                  // shcore, 8.1
    HRESULT(WINAPI* getDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;  // shcore, 8.1
    // A file's version resource, bound here so that the link line needs no version library.
    DWORD(WINAPI* getFileVersionInfoSizeW)(LPCWSTR, LPDWORD) = nullptr;      // version
    BOOL(WINAPI* getFileVersionInfoW)(LPCWSTR, DWORD, DWORD, LPVOID) = nullptr;
    BOOL(WINAPI* verQueryValueW)(LPCVOID, LPCWSTR, LPVOID*, PUINT) = nullptr;
    // The system's file dialog, from System32 like the rest: no comdlg32 beside the exe is found first.
    BOOL(WINAPI* getOpenFileNameW)(LPOPENFILENAMEW) = nullptr;  // comdlg32
    // Whether the user presents or runs a full-screen program (QUERY_USER_NOTIFICATION_STATE).
    HRESULT(WINAPI* shQueryUserNotificationState)(int*) = nullptr;  // shell32, Vista
};
const DynamicCalls& dynamicCalls();

// The sound calls, bound at the first sound: winmm is loaded only by a clock that plays one.
struct SoundCalls {
    BOOL(WINAPI* playSoundW)(LPCWSTR, HMODULE, DWORD) = nullptr;  // winmm
};
const SoundCalls& soundCalls();

}  // namespace tavro::base
