// Start at log-on: the value the installer writes, "TavroClock" under the user's Run key, holding
// the exe's full path in quotes. The startup apps of Settings and Task Manager turn an entry off
// without removing it, by a mark of their own under StartupApproved\Run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro::settings {

inline constexpr std::wstring_view kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kStartupApprovedRunKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr std::wstring_view kRunValueName = L"TavroClock";

// What the Run value holds for the exe: "C:\...\tavroclock.exe", quotes included.
std::wstring runCommandFor(std::wstring_view exePath);

// Whether the entry starts a program at log-on: a Run value of any program (another copy's exe
// too), not marked off by the startup apps (a mark whose first byte is odd: 03 and a time).
bool startsAtLogOn(const std::optional<std::wstring>& runValue, const std::optional<std::vector<unsigned char>>& approved);

// The entry of the current user, read with the wide registry calls (a path may hold any character).
bool readLogOnStart();
// On: the Run value for this exe, and any off mark of the startup apps removed; off: the Run value
// removed (a missing one is off already). False when the registry refused it.
bool writeLogOnStart(bool on, std::wstring_view exePath);

}  // namespace tavro::settings
