#include "app/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, RestoreDesktopInAnyLetterCaseWithADashOrSpacesAndNoOtherArgument) {
    using Args = std::vector<std::wstring>;
    for (const Args& yes : {Args{L"/Restore-Desktop"}, Args{L"-RESTORE-DESKTOP"}, Args{L"/S", L" /restore-desktop\t"}})
        EXPECT_TRUE(tavro::app::asksToRestoreDesktop(yes)) << yes.back();
    for (const Args& no : {Args{}, Args{L""}, Args{L"/restore-desktops"}, Args{L"restore-desktop"}, Args{L"--restore-desktop"}, Args{L"/restore desktop"}})
        EXPECT_FALSE(tavro::app::asksToRestoreDesktop(no)) << (no.empty() ? L"none" : no.back());
}
