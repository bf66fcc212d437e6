// The rules behind the mosaic wallpaper and the desktop colour that hold on every system:
// where the file goes, what counts as the user's own setting, and what exit puts back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/canvas.h"

namespace tavro::desktop {

// Brings its own backslash: with no folder at all it names the root of the current drive.
inline constexpr std::wstring_view kWallPaperFileName = L"\\mosaic.bmp";
// Under the roaming folder: the system rewrites its files with every new wallpaper.
inline constexpr std::wstring_view kThemesSubfolder = L"\\Microsoft\\Windows\\Themes";
// Under the local folder: where the user's pictures are kept while the clock runs.
inline constexpr std::wstring_view kProgramSubfolder = L"\\TavroClock";
// The mosaic's body grey, RGB 70, 74, 78.
inline constexpr render::ColorRef kDesktopColour = 0x4E4A46;
// WallpaperStyle and TileWallpaper while the clock runs: the mosaic is centred, not tiled.
inline constexpr std::wstring_view kCentred = L"0";
inline constexpr int kCentredPosition = 0;  // DWPOS_CENTER
// Paths come back from the system through a buffer of this many characters.
inline constexpr std::size_t kPathBufferChars = 1024;

// The pictures folder, else the documents folder (either may be ""), followed by the file name.
std::wstring wallpaperPath(std::wstring_view picturesFolder, std::wstring_view documentsFolder);

// The characters before the first NUL; the whole buffer when it holds none.
std::wstring textBeforeNul(const wchar_t* buffer, std::size_t capacity);

// A picture the system rewrites (so its path alone does not keep it) and the copy that does.
struct KeptPicture {
    std::wstring original;
    std::wstring copy;
    bool operator==(const KeptPicture&) const = default;
};

struct MonitorPicture {
    std::wstring monitor;  // the device path the system names the monitor by
    std::wstring picture;
    bool operator==(const MonitorPicture&) const = default;
};

// What the system's wallpaper object (Windows 8 and later) tells beyond the one path.
struct ShellWallPaper {
    int position = kCentredPosition;
    bool slideshow = false;
    std::vector<std::wstring> slideshowItems;
    int32_t slideshowOptions = 0;
    int32_t slideshowTick = 0;
    std::vector<MonitorPicture> monitors;
    bool operator==(const ShellWallPaper&) const = default;
};

// The desktop as the user had it, and what exit needs to put it back.
struct DesktopSettings {
    std::wstring wallPaper;  // "" when there is none
    render::ColorRef colour = 0;
    std::wstring style;  // WallpaperStyle, "" when not set
    std::wstring tile;   // TileWallpaper, "" when not set
    std::optional<ShellWallPaper> shell;  // nothing where the system has no wallpaper object
    std::vector<KeptPicture> kept;
    std::wstring ownWallPaper;  // the program's file of the run that recorded these, full path
    bool operator==(const DesktopSettings&) const = default;
};

// The desktop as start-up and exit read and change it: the system calls, a fake in the tests.
class DesktopSystem {
public:
    virtual ~DesktopSystem() = default;
    // All but kept and ownWallPaper.
    virtual DesktopSettings read() = 0;
    virtual void writeWallPaper(const std::wstring& path) = 0;
    virtual void writeStyle(const std::wstring& style, const std::wstring& tile) = 0;
    virtual void writeColour(render::ColorRef colour) = 0;
    virtual void writeMonitorPicture(const std::wstring& monitor, const std::wstring& path) = 0;
    virtual void writePosition(int position) = 0;
    virtual void writeSlideshow(const ShellWallPaper& slideshow) = 0;
    virtual bool exists(const std::wstring& path) = 0;
    virtual bool sameContent(const std::wstring& a, const std::wstring& b) = 0;
    virtual bool copyFile(const std::wstring& from, const std::wstring& to) = 0;
    virtual void removeFile(const std::wstring& path) = 0;
};

// A file of the system's themes folder (TranscodedWallpaper, Transcoded_000, ...), letter case
// aside: the system overwrites it when the wallpaper changes.
bool isRewrittenBySystem(std::wstring_view path, std::wstring_view themesFolder);

// One name per slot, the original's extension kept, so that copies never pile up across runs.
std::wstring copyPathFor(std::wstring_view programFolder, std::size_t slot, std::wstring_view original);

// What exit must put back. A run that ended without its shutdown leaves our file, our style and
// our colour in place, and its record says what the user had before; anything else now in force
// is the user's own choice and wins over the record, item by item.
DesktopSettings originalsAtStart(const DesktopSettings& now, const std::optional<DesktopSettings>& record,
                                 std::wstring_view ownWallPaper);

// The originals with a copy of each rewritten picture among them, made before the first change,
// under a name no picture in force has. A copy that cannot be made is not recorded.
DesktopSettings keepPictures(DesktopSystem& system, DesktopSettings originals, std::wstring_view themesFolder,
                             std::wstring_view programFolder);

// Every rewritten picture among the originals has its copy: changing the wallpaper loses none.
bool everyPictureKept(const DesktopSettings& originals, std::wstring_view themesFolder);

enum class RestoreOrder { ColourFirst, WallPaperFirst };

// Puts back what still shows the program's file, and the colour; a later choice of the user
// stays. The copies go once they are not needed.
void restoreDesktop(DesktopSystem& system, const DesktopSettings& originals, RestoreOrder order);

}  // namespace tavro::desktop
