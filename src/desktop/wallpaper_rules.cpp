#include "desktop/wallpaper_rules.h"

#include <algorithm>
#include <cwctype>

namespace tavro::desktop {

namespace {

const KeptPicture* keptFor(const std::vector<KeptPicture>& kept, std::wstring_view original) {
    const auto it = std::find_if(kept.begin(), kept.end(), [&](const KeptPicture& k) { return k.original == original; });
    return it == kept.end() ? nullptr : &*it;
}

bool copyNamed(const std::vector<KeptPicture>& kept, std::wstring_view copy) {
    return std::any_of(kept.begin(), kept.end(), [&](const KeptPicture& k) { return k.copy == copy; });
}

// A monitor the record does not know (one added since) takes the desktop's wallpaper.
const std::wstring& pictureOf(const DesktopSettings& settings, std::wstring_view monitor) {
    if (settings.shell)
        for (const MonitorPicture& m : settings.shell->monitors)
            if (m.monitor == monitor) return m.picture;
    return settings.wallPaper;
}

std::wstring folded(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

}  // namespace

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

bool isRewrittenBySystem(std::wstring_view path, std::wstring_view themesFolder) {
    if (themesFolder.empty() || path.size() <= themesFolder.size() + 1) return false;
    return folded(path.substr(0, themesFolder.size())) == folded(themesFolder) && path[themesFolder.size()] == L'\\';
}

std::wstring copyPathFor(std::wstring_view programFolder, std::size_t slot, std::wstring_view original) {
    const std::wstring_view name = original.substr(original.find_last_of(L"\\/") + 1);
    const std::size_t dot = name.rfind(L'.');
    std::wstring path = std::wstring(programFolder) + L"\\wallpaper" + std::to_wstring(slot);
    if (dot != std::wstring_view::npos) path += name.substr(dot);
    return path;
}

DesktopSettings originalsAtStart(const DesktopSettings& now, const std::optional<DesktopSettings>& record,
                                 std::wstring_view ownWallPaper) {
    DesktopSettings originals = now;
    originals.kept.clear();
    originals.ownWallPaper = std::wstring(ownWallPaper);
    if (!record) return originals;
    // The record names the killed run's file: it is ours even where the folder has moved since.
    const auto ours = [&](std::wstring_view path) {
        return path == ownWallPaper || (!record->ownWallPaper.empty() && path == record->ownWallPaper);
    };
    const auto fromRecord = [&](const std::wstring& picture) {
        if (const KeptPicture* k = keptFor(record->kept, picture); k && !keptFor(originals.kept, picture))
            originals.kept.push_back(*k);
        return picture;
    };
    const bool wallPaperOurs = ours(now.wallPaper);
    if (wallPaperOurs) originals.wallPaper = fromRecord(record->wallPaper);
    if (now.style == kCentred) originals.style = record->style;
    if (now.tile == kCentred) originals.tile = record->tile;
    if (now.colour == kDesktopColour) originals.colour = record->colour;
    if (now.shell && record->shell) {
        ShellWallPaper& shell = *originals.shell;
        for (MonitorPicture& m : shell.monitors)
            if (ours(m.picture)) m.picture = fromRecord(pictureOf(*record, m.monitor));
        if (wallPaperOurs) {
            shell.position = record->shell->position;
            if (!now.shell->slideshow) {
                shell.slideshow = record->shell->slideshow;
                shell.slideshowItems = record->shell->slideshowItems;
                shell.slideshowOptions = record->shell->slideshowOptions;
                shell.slideshowTick = record->shell->slideshowTick;
            }
        }
    }
    return originals;
}

namespace {
// The wallpaper and each monitor's picture.
std::vector<std::wstring> picturesOf(const DesktopSettings& s) {
    std::vector<std::wstring> pictures{s.wallPaper};
    if (s.shell)
        for (const MonitorPicture& m : s.shell->monitors) pictures.push_back(m.picture);
    return pictures;
}
}  // namespace

DesktopSettings keepPictures(DesktopSystem& system, DesktopSettings originals, std::wstring_view themesFolder,
                             std::wstring_view programFolder) {
    const std::vector<std::wstring> pictures = picturesOf(originals);
    std::vector<KeptPicture> kept;
    for (const std::wstring& picture : pictures) {
        if (!isRewrittenBySystem(picture, themesFolder) || keptFor(kept, picture)) continue;
        // A copy left in force by an exit that could not copy it back is not overwritten.
        std::size_t slot = 0;
        std::wstring copy = copyPathFor(programFolder, slot, picture);
        while (copyNamed(kept, copy) || std::find(pictures.begin(), pictures.end(), copy) != pictures.end())
            copy = copyPathFor(programFolder, ++slot, picture);
        if (system.copyFile(picture, copy)) kept.push_back({picture, copy});
    }
    originals.kept = std::move(kept);
    return originals;
}

bool everyPictureKept(const DesktopSettings& originals, std::wstring_view themesFolder) {
    const std::vector<std::wstring> pictures = picturesOf(originals);
    return std::all_of(pictures.begin(), pictures.end(), [&](const std::wstring& picture) {
        return !isRewrittenBySystem(picture, themesFolder) || keptFor(originals.kept, picture);
    });
}

void restoreDesktop(DesktopSystem& system, const DesktopSettings& originals, RestoreOrder order) {
    const DesktopSettings now = system.read();
    const std::wstring& own = originals.ownWallPaper;
    std::vector<std::wstring> inUse;
    // The original path while its file still holds the user's picture or can be made to again;
    // else the copy, which then stays.
    const auto userPicture = [&](const std::wstring& picture) {
        std::wstring path = picture;
        const KeptPicture* k = keptFor(originals.kept, picture);
        if (k && system.exists(k->copy) && !system.sameContent(k->original, k->copy) &&
            !system.copyFile(k->copy, k->original))
            path = k->copy;
        inUse.push_back(path);
        return path;
    };

    if (order == RestoreOrder::ColourFirst) system.writeColour(originals.colour);
    const bool wallPaperOurs = now.wallPaper == own && originals.wallPaper != own;
    // Before the wallpaper, which the system shows in the style it finds then; a wallpaper the
    // user picked meanwhile is shown again in the user's style where ours is still in force.
    const std::wstring style = now.style == kCentred ? originals.style : now.style;
    const std::wstring tile = now.tile == kCentred ? originals.tile : now.tile;
    const bool styleBack = style != now.style || tile != now.tile;
    if (styleBack) system.writeStyle(style, tile);
    if (wallPaperOurs) system.writeWallPaper(userPicture(originals.wallPaper));
    else if (styleBack) system.writeWallPaper(now.wallPaper);
    if (now.shell && originals.shell) {
        bool allOurs = wallPaperOurs;
        for (const MonitorPicture& m : now.shell->monitors) {
            if (m.picture != own) {
                allOurs = false;
                continue;
            }
            const std::wstring& target = pictureOf(originals, m.monitor);
            if (target != own) system.writeMonitorPicture(m.monitor, userPicture(target));
        }
        if (allOurs && now.shell->position == kCentredPosition && originals.shell->position != kCentredPosition)
            system.writePosition(originals.shell->position);
        if (allOurs && originals.shell->slideshow && !now.shell->slideshow) system.writeSlideshow(*originals.shell);
    }
    if (order == RestoreOrder::WallPaperFirst) system.writeColour(originals.colour);
    for (const KeptPicture& k : originals.kept)
        if (std::find(inUse.begin(), inUse.end(), k.copy) == inUse.end()) system.removeFile(k.copy);
}

}  // namespace tavro::desktop
