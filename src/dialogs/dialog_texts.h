// Texts and control layouts of the target dialog, what the dialogs share, and the two web
// addresses of the help items. Layouts are kept in twips as designed and turned into screen
// pixels here.
#pragma once

#include <string>

#include "base/ui_text.h"

namespace tavro::dialogs {

inline constexpr UiText kAppTitle = TAVRO_TEXT("TavroClock");

// dlgSetTarget
inline constexpr UiText kSetTargetCaption = TAVRO_TEXT("目標時刻を日付形式で入力してください");
inline constexpr UiText kOkCaption = TAVRO_TEXT("OK");
inline constexpr UiText kClearCaption = TAVRO_TEXT("Clear");
inline constexpr UiText kCancelCaption = TAVRO_TEXT("Cancel");
inline constexpr UiText kNotADateMessage = TAVRO_TEXT("日付型に変換できません");
inline constexpr UiText kNotADateTitle = TAVRO_TEXT("変換不能");

// The help items' pages: the client company's and the maker's home page.
inline constexpr UiText kTavroHomePage = TAVRO_TEXT("http://www.tavro.co.jp/");
inline constexpr UiText kQuillmarSoftHomePage = TAVRO_TEXT("http://www.quillmar-soft.com/japan/");

// Twips are physical: 1440 to the inch, so 15 to the pixel at 96 DPI and 7.5 at 192.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;
constexpr int twipsToPixels(int twips, int dpi = kDesignDpi) {
    return static_cast<int>((static_cast<long long>(twips) * dpi + kTwipsPerInch / 2) / kTwipsPerInch);
}

struct TwipsRect {
    int left, top, width, height;
};
struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};
constexpr PixelRect toPixels(const TwipsRect& r, int dpi = kDesignDpi) {
    return {twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi),
            twipsToPixels(r.height, dpi)};
}

// A horizontal line from x1 up to, not including, x2, its top row at y, widthPixels rows deep
// at 96 DPI (more at higher scalings): the grey line lies inside its bounds, the white one below
// it, which gives the etched look.
struct TwipsLine {
    int x1, x2, y, widthPixels;
};
struct PixelBand {
    int left, top, right, bottom;  // right and bottom exclusive
    bool operator==(const PixelBand&) const = default;
};
constexpr PixelBand toPixels(const TwipsLine& l, int dpi = kDesignDpi) {
    const int top = twipsToPixels(l.y, dpi);
    const int rows = (l.widthPixels * dpi + kDesignDpi / 2) / kDesignDpi;
    return {twipsToPixels(l.x1, dpi), top, twipsToPixels(l.x2, dpi), top + (rows > 0 ? rows : 1)};
}

namespace set_target {
inline constexpr TwipsRect kClient{0, 0, 4320, 1110};
inline constexpr TwipsRect txtTargetDate{120, 120, 4095, 270};
inline constexpr TwipsRect OKButton{360, 600, 1215, 375};
inline constexpr TwipsRect ClearButton{1680, 600, 1215, 375};
inline constexpr TwipsRect CancelButton{3000, 600, 1215, 375};
}  // namespace set_target

}  // namespace tavro::dialogs
