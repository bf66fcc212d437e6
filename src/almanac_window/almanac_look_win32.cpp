#include "almanac_window/almanac_look_win32.h"

#include <cstdlib>

#include "base/display_dpi_win32.h"

namespace tavro::almanac_window {

namespace {

bool highContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void makeBrushesAndPens(AlmanacLook& look) {
    look.backgroundBrush.reset(CreateSolidBrush(look.background));
    look.selectedBrush.reset(CreateSolidBrush(look.selectedBack));
    look.gridPen.reset(CreatePen(PS_SOLID, 1, look.grid));
    look.todayPen.reset(CreatePen(PS_INSIDEFRAME, look.frameWidth, look.todayFrame));
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
    LOGFONTW lf = base::messageFont(dpi > 0 ? dpi : 96);
    look.font.reset(CreateFontIndirectW(&lf));
    look.fontHeight = std::abs(lf.lfHeight) * 4 / 3;  // the em plus the leading of a line, near enough
    const LONG height = lf.lfHeight;
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = height * 3 / 2;
    look.headerFont.reset(CreateFontIndirectW(&lf));
    lf.lfHeight = height * 2;
    look.dayFont.reset(CreateFontIndirectW(&lf));
    look.dayFontHeight = look.fontHeight * 2;
    lf.lfWeight = FW_NORMAL;
    lf.lfHeight = height * 5 / 6;
    look.smallFont.reset(CreateFontIndirectW(&lf));
    look.smallFontHeight = look.fontHeight * 5 / 6;
    look.frameWidth = MulDiv(3, dpi > 0 ? dpi : 96, 96);

    look.highContrast = highContrastOn();
    look.background = GetSysColor(COLOR_WINDOW);
    look.text = GetSysColor(COLOR_WINDOWTEXT);
    look.selectedBack = GetSysColor(COLOR_HIGHLIGHT);
    look.selectedText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (look.highContrast) {
        // The user's colours alone: Sundays and holidays tell themselves by their names.
        look.red = look.blue = look.grid = look.todayFrame = look.text;
        makeBrushesAndPens(look);
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
    makeBrushesAndPens(look);
    return look;
}

}  // namespace tavro::almanac_window
