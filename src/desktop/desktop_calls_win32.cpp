#include "desktop/desktop_calls_win32.h"

#include <climits>
#include <vector>

#include "base/unique_handle_win32.h"
#include "desktop/wallpaper_rules.h"
#include "render/bmp.h"
#include "settings/registry_store.h"

namespace tavro::desktop {

namespace {

constexpr UINT kUpdateFlags = SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE;

using base::UniqueKey;

class RegistryRecordStore final : public RecordStore {
public:
    std::optional<int32_t> readNumber(std::wstring_view name) override {
        // The record never holds this value, so it stands for "missing".
        const int32_t value = settings::readRegLong(name, INT32_MIN);
        if (value == INT32_MIN) return std::nullopt;
        return value;
    }
    std::optional<std::wstring> readText(std::wstring_view name) override {
        return settings::readOptionalRegString(name);
    }
    bool writeNumber(std::wstring_view name, int32_t value) override { return settings::writeRegLong(name, value); }
    bool writeText(std::wstring_view name, std::wstring_view text) override {
        return settings::writeRegString(name, text);
    }
    void remove(std::wstring_view name) override {
        HKEY raw = nullptr;
        const std::wstring key(settings::kSettingsKey);
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
        UniqueKey owned(raw);
        RegDeleteValueW(owned.get(), std::wstring(name).c_str());
    }
};

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

bool saveBitmapFile(const std::wstring& path, const render::Canvas& canvas) {
    if (path.empty() || canvas.width <= 0 || canvas.height <= 0) return false;
    bool written = false;
    {
        const std::vector<uint8_t> bytes = render::encodeBmp24(canvas);
        const HANDLE raw =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE) return false;
        base::UniqueKernelHandle file(raw);
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

std::unique_ptr<RecordStore> makeRegistryRecordStore() { return std::make_unique<RegistryRecordStore>(); }

}  // namespace tavro::desktop
