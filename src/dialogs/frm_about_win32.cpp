#include "dialogs/frm_about_win32.h"

#include <winver.h>

#include <vector>

#include "base/dynamic_calls_win32.h"
#include "base/unique_handle_win32.h"
#include "dialogs/about_texts.h"
#include "dialogs/modal_dialog_win32.h"
#include "dialogs/open_url_win32.h"

namespace tavro::dialogs {

namespace {

using base::UniqueIcon;

class AboutBox final : public ModalDialog {
public:
    explicit AboutBox(const AboutSource& source) : source_(source) {}

private:
    bool onInit() override {
        setClientSize(about::kClient);
        const PixelRect iconRect = pixels(about::picIcon);
        // The box is as large as the small image; the control keeps its size and the icon's
        // image of that size is taken rather than a larger one shrunk.
        HWND picture = addControl(L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, 0, dialogs::picIcon, about::picIcon);
        if (source_.iconModule) {
            icon_.reset(static_cast<HICON>(
                LoadImageW(source_.iconModule, L"APPICON", IMAGE_ICON, iconRect.width, iconRect.height, 0)));
            if (icon_ && picture) SendMessageW(picture, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_.get()));
        }
        addControl(L"STATIC", std::wstring(kAppTitle), SS_LEFT, 0, dialogs::lblTitle, about::lblTitle);
        addControl(L"STATIC", versionLine(), SS_LEFT, 0, dialogs::lblVersion, about::lblVersion);
        addControl(L"STATIC", L"", SS_LEFT, 0, dialogs::lblDescription, about::lblDescription);
        addControl(L"STATIC", L"", SS_LEFT, 0, dialogs::lblDisclaimer, about::lblDisclaimer);
        // Created in tab order.
        HWND ok = addControl(L"BUTTON", std::wstring(kOkCaption), WS_TABSTOP | BS_DEFPUSHBUTTON, 0, dialogs::cmdOK,
                             about::cmdOK);
        addControl(L"BUTTON", std::wstring(kSysInfoCaption), WS_TABSTOP | BS_PUSHBUTTON, 0, dialogs::cmdSysInfo,
                   about::cmdSysInfo);
        SetFocus(ok);
        return true;
    }

    bool onCommand(int id, int notification) override {
        if (notification != BN_CLICKED) return false;
        switch (id) {
            case dialogs::cmdOK:
            case IDCANCEL: endDialog(IDOK); return true;  // Esc and the close box act as OK
            case dialogs::cmdSysInfo: StartSysInfo(hwnd(), source_.sysInfoKeys); return true;
        }
        return false;
    }

    // The etched separator above the buttons: a grey line with a white one below it.
    void onPaint(HDC dc) override {
        fillBand(dc, pixels(about::kGreyLine), about::kGreyLineColour);
        fillBand(dc, pixels(about::kWhiteLine), about::kWhiteLineColour);
    }

    static void fillBand(HDC dc, const PixelBand& band, COLORREF colour) {
        const base::UniqueBrush brush(CreateSolidBrush(colour));
        const RECT rect{band.left, band.top, band.right, band.bottom};
        if (brush) FillRect(dc, &rect, brush.get());
    }

    std::wstring versionLine() const {
        const auto version = fileVersion(source_.programPath);
        if (!version) return {};  // a program without a version resource claims none
        return versionText(version->major, version->minor, version->revision);
    }

    const AboutSource& source_;
    UniqueIcon icon_;  // the picture control shows it but does not own it
};

}  // namespace

std::optional<FileVersion> fileVersion(const std::wstring& path) {
    const base::DynamicCalls& calls = base::dynamicCalls();
    const auto infoSize = calls.getFileVersionInfoSizeW;
    const auto info = calls.getFileVersionInfoW;
    const auto query = calls.verQueryValueW;
    if (!infoSize || !info || !query || path.empty()) return std::nullopt;

    DWORD unused = 0;
    const DWORD size = infoSize(path.c_str(), &unused);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> block(size);
    if (!info(path.c_str(), 0, size, block.data())) return std::nullopt;
    void* found = nullptr;
    UINT length = 0;
    if (!query(block.data(), L"\\", &found, &length) || !found || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

void showAbout(HWND owner, const AboutSource& source) {
    AboutBox box(source);
    box.run(owner, std::wstring(kAppTitle) + std::wstring(kAboutCaptionSuffix));
}

void showAbout(HWND owner) { showAbout(owner, AboutSource{programPath(), GetModuleHandleW(nullptr), kSysInfoKeys}); }

}  // namespace tavro::dialogs
