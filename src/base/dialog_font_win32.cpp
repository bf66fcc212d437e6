#include "base/dialog_font_win32.h"

namespace tavro::base {

UniqueFont dialogFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(kDialogFontPoints, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    kDialogFontName.copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace tavro::base
