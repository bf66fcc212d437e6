// The rules behind the mosaic wallpaper and the desktop colour that hold on every system:
// where the file goes, what counts as the user's own setting, and when exit puts it back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "render/canvas.h"

namespace tavro::desktop {

inline constexpr int kPicturesFolder = 39;   // CSIDL_MYPICTURES
inline constexpr int kDocumentsFolder = 5;   // CSIDL_PERSONAL
// Brings its own backslash: with no folder at all it names the root of the current drive.
inline constexpr std::wstring_view kWallPaperFileName = L"\\mosaic.bmp";
// The mosaic's body grey, RGB 70, 74, 78.
inline constexpr render::ColorRef kDesktopColour = 0x4E4A46;
// Paths come back from the system through a buffer of this many characters.
inline constexpr std::size_t kPathBufferChars = 1024;

// The pictures folder, else the documents folder (either may be ""), followed by the file name.
std::wstring wallpaperPath(std::wstring_view picturesFolder, std::wstring_view documentsFolder);

// The characters before the first NUL; the whole buffer when it holds none.
std::wstring textBeforeNul(const wchar_t* buffer, std::size_t capacity);

// The wallpaper and desktop colour as the user had them.
struct DesktopSettings {
    std::wstring wallPaper;  // "" when there is none
    render::ColorRef colour = 0;
    bool operator==(const DesktopSettings&) const = default;
};

// What exit must put back. A run that ended without its shutdown leaves our file and our
// colour in place, and its record says what the user had before; anything else now in force
// is the user's own choice and wins over the record.
DesktopSettings originalsAtStart(const DesktopSettings& now, const std::optional<DesktopSettings>& record,
                                 std::wstring_view ownWallPaper);

// Only while the desktop still shows our file, compared exactly; never "back" to our own file.
bool shouldRestoreWallPaper(std::wstring_view current, std::wstring_view ownWallPaper,
                            std::wstring_view previousWallPaper);

}  // namespace tavro::desktop
