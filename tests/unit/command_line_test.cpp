#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

using tavro::app::asksToRestoreDesktop;

TEST(CommandLine, RestoreDesktopInAnyLetterCaseWithADashOrSpacesAndNoOtherArgument) {
    struct Row { std::vector<std::wstring> arguments; bool restore; } rows[] = {
        {{L"/restore-desktop"}, true}, {{L"/Restore-Desktop"}, true}, {{L"-RESTORE-DESKTOP"}, true},
        {{L" /restore-desktop\t"}, true}, {{L"/S", L"/restore-desktop"}, true},
        {{}, false}, {{L""}, false}, {{L"/restore-desktops"}, false}, {{L"restore-desktop"}, false},
        {{L"--restore-desktop"}, false}, {{L"/restore desktop"}, false}, {{L"/restore-desktoq"}, false},
    };
    for (const Row& row : rows) EXPECT_EQ(asksToRestoreDesktop(row.arguments), row.restore) << (row.arguments.empty() ? std::wstring(L"none") : row.arguments.back());
}
