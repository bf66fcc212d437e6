// The system's wallpaper object is declared for Windows 8 and later only; the program still runs
// on older systems, where it cannot be created and the plain calls alone apply.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06020000

#include "desktop/desktop_calls_win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "base/unique_handle_win32.h"
#include "desktop/wallpaper_rules.h"
#include "render/bmp.h"

namespace tavro::desktop {

namespace {

constexpr UINT kUpdateFlags = SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE;

using base::UniqueKey;

}  // namespace

std::wstring readDeskWallPaper() {
    std::vector<wchar_t> buffer(kPathBufferChars, L'\0');
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(buffer.size()), buffer.data(), 0);
    buffer.back() = L'\0';
    return textBeforeNul(buffer.data(), buffer.size());
}

bool writeDeskWallPaper(const std::wstring& path) {
    std::wstring copy = path;  // the call takes a non-const buffer
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, copy.data(), kUpdateFlags) != FALSE;
}

render::ColorRef readDesktopColour() { return static_cast<render::ColorRef>(GetSysColor(COLOR_DESKTOP) & 0xFFFFFF); }

bool writeDesktopColour(render::ColorRef colour) {
    const INT element = COLOR_DESKTOP;
    const COLORREF value = static_cast<COLORREF>(colour) & 0xFFFFFF;
    return SetSysColors(1, &element, &value) != FALSE;
}

namespace {
std::optional<std::vector<char>> readWholeFile(const std::wstring& path) {
    const base::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return std::nullopt;
    std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD done = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
                           done != bytes.size()))
        return std::nullopt;
    return bytes;
}

}  // namespace

bool saveBitmapFile(const std::wstring& path, const render::Canvas& canvas) {
    if (path.empty() || canvas.width <= 0 || canvas.height <= 0) return false;
    bool written = false;
    {
        const std::vector<uint8_t> bytes = render::encodeBmp24(canvas);
        // The folder is often synced and a 4K picture is tens of megabytes: the same bytes are
        // not written again.
        const auto onDisk = readWholeFile(path);
        if (onDisk && onDisk->size() == bytes.size() && std::equal(bytes.begin(), bytes.end(), onDisk->begin(),
                                                                   [](uint8_t a, char b) { return a == uint8_t(b); }))
            return true;
        const base::UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        written = true;
        for (std::size_t at = 0; at < bytes.size() && written;) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
            DWORD done = 0;
            written = WriteFile(file.get(), bytes.data() + at, chunk, &done, nullptr) && done == chunk;
            at += done;
        }
    }
    // A cut-off picture must not become the wallpaper, nor stay behind as one.
    if (!written) DeleteFileW(path.c_str());
    return written;
}

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// "" when the value is missing or not a text.
std::wstring readDesktopText(const wchar_t* name) {
    std::vector<wchar_t> buffer(kPathBufferChars, L'\0');
    DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) !=
        ERROR_SUCCESS)
        return {};
    return textBeforeNul(buffer.data(), buffer.size());
}

void writeDesktopText(const wchar_t* name, const std::wstring& text) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (text.empty()) {
        RegDeleteValueW(key.get(), name);
        return;
    }
    RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

template <typename T>
struct ComReleaser {
    void operator()(T* p) const { p->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComReleaser<T>>;

std::wstring takeCoText(LPWSTR text) {
    std::wstring out = text ? text : L"";
    CoTaskMemFree(text);
    return out;
}

class SystemDesktop final : public DesktopSystem {
public:
    SystemDesktop() {
        const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        comInitialized_ = SUCCEEDED(init);
        IDesktopWallpaper* raw = nullptr;
        if (comInitialized_ && SUCCEEDED(CoCreateInstance(__uuidof(DesktopWallpaper), nullptr, CLSCTX_ALL,
                                                          IID_PPV_ARGS(&raw))))
            wallpaper_.reset(raw);
    }
    ~SystemDesktop() override {
        wallpaper_.reset();
        if (comInitialized_) CoUninitialize();
    }

    DesktopSettings read() override {
        DesktopSettings now{readDeskWallPaper(), readDesktopColour(), readDesktopText(L"WallpaperStyle"),
                            readDesktopText(L"TileWallpaper"), readShell(), {}, {}};
        return now;
    }
    void writeWallPaper(const std::wstring& path) override { writeDeskWallPaper(path); }
    void writeStyle(const std::wstring& style, const std::wstring& tile) override {
        writeDesktopText(L"WallpaperStyle", style);
        writeDesktopText(L"TileWallpaper", tile);
    }
    void writeColour(render::ColorRef colour) override { writeDesktopColour(colour); }
    void writeMonitorPicture(const std::wstring& monitor, const std::wstring& path) override {
        if (wallpaper_) wallpaper_->SetWallpaper(monitor.c_str(), path.c_str());
    }
    void writePosition(int position) override {
        if (wallpaper_) wallpaper_->SetPosition(static_cast<DESKTOP_WALLPAPER_POSITION>(position));
    }
    void writeSlideshow(const ShellWallPaper& shell) override {
        if (!wallpaper_) return;
        std::vector<PIDLIST_ABSOLUTE> lists;
        for (const std::wstring& item : shell.slideshowItems) {
            PIDLIST_ABSOLUTE list = nullptr;
            if (SUCCEEDED(SHParseDisplayName(item.c_str(), nullptr, &list, 0, nullptr))) lists.push_back(list);
        }
        IShellItemArray* raw = nullptr;
        if (!lists.empty() &&
            SUCCEEDED(SHCreateShellItemArrayFromIDLists(static_cast<UINT>(lists.size()),
                                                        const_cast<PCIDLIST_ABSOLUTE_ARRAY>(lists.data()), &raw))) {
            ComPtr<IShellItemArray> items(raw);
            wallpaper_->SetSlideshowOptions(static_cast<DESKTOP_SLIDESHOW_OPTIONS>(shell.slideshowOptions),
                                            static_cast<UINT>(shell.slideshowTick));
            wallpaper_->SetSlideshow(items.get());
        }
        for (PIDLIST_ABSOLUTE list : lists) CoTaskMemFree(list);
    }
    bool exists(const std::wstring& path) override {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool sameContent(const std::wstring& a, const std::wstring& b) override {
        const auto first = readWholeFile(a);
        const auto second = readWholeFile(b);
        return first && second && *first == *second;
    }
    bool copyFile(const std::wstring& from, const std::wstring& to) override {
        const std::size_t slash = to.find_last_of(L'\\');
        if (slash != std::wstring::npos) CreateDirectoryW(to.substr(0, slash).c_str(), nullptr);
        return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
    }
    void removeFile(const std::wstring& path) override {
        DeleteFileW(path.c_str());
        // The program's folder goes with its last copy; a folder with anything else in it stays.
        const std::size_t slash = path.find_last_of(L'\\');
        if (slash != std::wstring::npos) RemoveDirectoryW(path.substr(0, slash).c_str());
    }

private:
    std::optional<ShellWallPaper> readShell() {
        if (!wallpaper_) return std::nullopt;
        ShellWallPaper shell;
        DESKTOP_WALLPAPER_POSITION position = DWPOS_CENTER;
        if (SUCCEEDED(wallpaper_->GetPosition(&position))) shell.position = position;
        DESKTOP_SLIDESHOW_STATE state{};
        shell.slideshow = SUCCEEDED(wallpaper_->GetStatus(&state)) && (state & DSS_SLIDESHOW);
        DESKTOP_SLIDESHOW_OPTIONS options{};
        UINT tick = 0;
        if (SUCCEEDED(wallpaper_->GetSlideshowOptions(&options, &tick))) {
            shell.slideshowOptions = static_cast<int32_t>(options);
            shell.slideshowTick = static_cast<int32_t>(tick);
        }
        IShellItemArray* rawItems = nullptr;
        if (shell.slideshow && SUCCEEDED(wallpaper_->GetSlideshow(&rawItems)) && rawItems) {
            ComPtr<IShellItemArray> items(rawItems);
            DWORD count = 0;
            items->GetCount(&count);
            for (DWORD i = 0; i < count; ++i) {
                IShellItem* rawItem = nullptr;
                if (FAILED(items->GetItemAt(i, &rawItem))) continue;
                ComPtr<IShellItem> item(rawItem);
                LPWSTR name = nullptr;
                if (SUCCEEDED(item->GetDisplayName(SIGDN_DESKTOPABSOLUTEPARSING, &name)))
                    shell.slideshowItems.push_back(takeCoText(name));
            }
        }
        UINT monitors = 0;
        if (SUCCEEDED(wallpaper_->GetMonitorDevicePathCount(&monitors)))
            for (UINT i = 0; i < monitors; ++i) {
                LPWSTR id = nullptr;
                if (FAILED(wallpaper_->GetMonitorDevicePathAt(i, &id))) continue;
                MonitorPicture m{takeCoText(id), {}};
                LPWSTR picture = nullptr;
                if (SUCCEEDED(wallpaper_->GetWallpaper(m.monitor.c_str(), &picture))) m.picture = takeCoText(picture);
                shell.monitors.push_back(std::move(m));
            }
        return shell;
    }

    bool comInitialized_ = false;
    ComPtr<IDesktopWallpaper> wallpaper_;
};

}  // namespace

std::unique_ptr<DesktopSystem> makeSystemDesktop() { return std::make_unique<SystemDesktop>(); }

}  // namespace tavro::desktop
