#include "almanac_window/almanac_look_win32.h"

#include <cstdlib>

namespace tavro::almanac_window {

namespace {

using ParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// Windows 10 1607 and later give the metrics at any DPI; before that they are at the system DPI
// and are scaled here.
LOGFONTW messageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto forDpi = user32 ? reinterpret_cast<ParametersForDpiFn>(
                               reinterpret_cast<void (*)()>(GetProcAddress(user32, "SystemParametersInfoForDpi")))
                         : nullptr;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTW fallback{};
        fallback.lfHeight = -MulDiv(9, dpi, 72);
        fallback.lfCharSet = DEFAULT_CHARSET;
        lstrcpyW(fallback.lfFaceName, L"MS UI Gothic");
        return fallback;
    }
    HDC screen = GetDC(nullptr);
    const int systemDpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi > 0 ? systemDpi : 96);
    return metrics.lfMessageFont;
}

bool highContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

COLORREF AlmanacLook::colourOf(CellColour colour) const {
    switch (colour) {
        case CellColour::Red: return red;
        case CellColour::Blue: return blue;
        default: return text;
    }
}

AlmanacLook loadAlmanacLook(int dpi) {
    AlmanacLook look;
    LOGFONTW lf = messageFont(dpi > 0 ? dpi : 96);
    look.font.reset(CreateFontIndirectW(&lf));
    look.fontHeight = std::abs(lf.lfHeight) * 4 / 3;  // the em plus the leading of a line, near enough
    const LONG height = lf.lfHeight;
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = height * 3 / 2;
    look.headerFont.reset(CreateFontIndirectW(&lf));
    lf.lfHeight = height * 2;
    look.dayFont.reset(CreateFontIndirectW(&lf));

    look.highContrast = highContrastOn();
    look.background = GetSysColor(COLOR_WINDOW);
    look.text = GetSysColor(COLOR_WINDOWTEXT);
    look.selectedBack = GetSysColor(COLOR_HIGHLIGHT);
    look.selectedText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (look.highContrast) {
        // The user's colours alone: Sundays and holidays tell themselves by their names.
        look.red = look.blue = look.grid = look.todayFrame = look.text;
        return look;
    }
    look.red = RGB(0xD0, 0x10, 0x10);
    look.blue = RGB(0x10, 0x40, 0xD0);
    look.grid = GetSysColor(COLOR_BTNSHADOW);
    look.todayFrame = RGB(0xF0, 0x80, 0x00);
    // A pale wash of the highlight for the selected day, so the colours of its texts still show.
    const COLORREF h = look.selectedBack, b = look.background;
    look.selectedBack = RGB((GetRValue(h) + 4 * GetRValue(b)) / 5, (GetGValue(h) + 4 * GetGValue(b)) / 5,
                            (GetBValue(h) + 4 * GetBValue(b)) / 5);
    look.selectedText = look.text;
    return look;
}

}  // namespace tavro::almanac_window
