#include "desktop/wallpaper_rules.h"

#include <algorithm>

namespace tavro::desktop {

std::wstring wallpaperPath(std::wstring_view picturesFolder, std::wstring_view documentsFolder) {
    std::wstring path(picturesFolder.empty() ? documentsFolder : picturesFolder);
    path += kWallPaperFileName;
    return path;
}

std::wstring textBeforeNul(const wchar_t* buffer, std::size_t capacity) {
    if (!buffer) return {};
    const wchar_t* end = std::find(buffer, buffer + capacity, L'\0');
    return std::wstring(buffer, end);
}

DesktopSettings originalsAtStart(const DesktopSettings& now, const std::optional<DesktopSettings>& record,
                                 std::wstring_view ownWallPaper) {
    DesktopSettings originals = now;
    if (!record) return originals;
    if (now.wallPaper == ownWallPaper) originals.wallPaper = record->wallPaper;
    if (now.colour == kDesktopColour) originals.colour = record->colour;
    return originals;
}

bool shouldRestoreWallPaper(std::wstring_view current, std::wstring_view ownWallPaper,
                            std::wstring_view previousWallPaper) {
    return current == ownWallPaper && previousWallPaper != ownWallPaper;
}

}  // namespace tavro::desktop
