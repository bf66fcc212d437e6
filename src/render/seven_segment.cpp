#include "render/seven_segment.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/stretch.h"

namespace tavro::render {

namespace {
constexpr int kGlyphWidth = 38;
constexpr int kGlyphHeight = 64;
constexpr int kPitch = 40;
constexpr int kSheetRows = 10;  // nine glyph rows and the empty one; nothing below is read

bool isSign(wchar_t c) { return kSignCharacters.find(c) != std::wstring_view::npos; }

int lookupColumn(wchar_t c) {
    const size_t k = kGlyphLookup.find(c);
    return k == std::wstring_view::npos ? -1 : static_cast<int>(k);
}

wchar_t arrowFor(wchar_t sign, wchar_t arrow) {
    const wchar_t opposite = arrow == L'↑' ? L'↓' : arrow == L'↓' ? L'↑' : arrow == L'←' ? L'→' : L'←';
    if (sign == L'+') return arrow;
    if (sign == L'-') return opposite;
    return sign;
}

// The value as a number with the picture's zero-padding and decimals: "0" digits before the
// point are the minimum integer digits, those after it the exact decimals. A "+" is dropped.
std::wstring formatByPicture(const std::wstring& text, const std::wstring& picture) {
    const size_t point = picture.find(L'.');
    const size_t intZeros = point == std::wstring::npos ? picture.size() : point;
    const size_t decimals = point == std::wstring::npos ? 0 : picture.size() - point - 1;

    bool negative = false;
    std::wstring digits;     // integer digits
    std::wstring fraction;   // digits after a point in the text
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) digits += text[i];
    if (i < text.size() && text[i] == L'.')
        for (++i; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) fraction += text[i];
    if (i != text.size() || (digits.empty() && fraction.empty())) return text;  // not a number: shown as it is

    // Round the fraction to the picture's decimals, half away from zero.
    std::wstring kept = fraction.substr(0, std::min(fraction.size(), decimals));
    kept.resize(decimals, L'0');
    if (fraction.size() > decimals && fraction[decimals] >= L'5') {
        std::wstring all = digits + kept;
        int k = static_cast<int>(all.size()) - 1;
        for (; k >= 0 && all[static_cast<size_t>(k)] == L'9'; --k) all[static_cast<size_t>(k)] = L'0';
        if (k < 0) all.insert(all.begin(), L'1');
        else ++all[static_cast<size_t>(k)];
        digits = all.substr(0, all.size() - decimals);
        kept = all.substr(all.size() - decimals);
    }
    while (digits.size() > 1 && digits[0] == L'0') digits.erase(0, 1);
    if (digits == L"0" && intZeros == 0) digits.clear();
    if (digits.size() < intZeros) digits.insert(0, intZeros - digits.size(), L'0');
    const bool isZero = digits.find_first_not_of(L'0') == std::wstring::npos &&
                        kept.find_first_not_of(L'0') == std::wstring::npos;
    std::wstring out = negative && !isZero ? L"-" : L"";
    out += digits;
    if (point != std::wstring::npos) out += L"." + kept;
    return out;
}

struct Pen {
    Canvas& canvas;
    const Image& sheet;
    float s;
    PixelBounds covered;  // every piece drawn so far
    void copy(int sx, int sy, int w, int h, double dx, double dy, RasterOp op = RasterOp::Copy) {
        const double x0 = s * dx, y0 = s * dy, x1 = x0 + s * w, y1 = y0 + s * h;
        stretchCopy(canvas, x0, y0, s * w, s * h, sheet, {sx, sy, w, h}, op);
        // The same floors as the stretch's, so the bounds are its pixels exactly.
        const PixelBounds piece{true, static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)),
                                static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1))};
        if (piece.right > piece.left && piece.bottom > piece.top) covered.add(piece);
    }
    void unlitPosition(double X, double Y) {
        copy(304, 0, kGlyphWidth, kGlyphHeight, X + 1, Y);  // the unlit "8"
        unlitPoint(X, Y);
    }
    void unlitPoint(double X, double Y) { copy(611, 53, 8, 8, X + 26, Y + 53); }
};
}  // namespace

void PixelBounds::add(const PixelBounds& other) {
    if (!other.any) return;
    if (!any) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

std::wstring formatFieldText(const std::wstring& fieldTemplate, const std::wstring& text) {
    const size_t lastZ = fieldTemplate.rfind(L'Z');
    const size_t blanks = lastZ == std::wstring::npos ? 0 : lastZ + 1;
    std::wstring picture;
    for (wchar_t c : fieldTemplate)
        if (c != L'Z') picture += c;
    const std::wstring padded = std::wstring(blanks, L' ') + formatByPicture(text, picture);
    const size_t length = fieldTemplate.size();
    return padded.size() > length ? padded.substr(padded.size() - length) : padded;
}

PixelBounds draw7seg(Canvas& canvas, const Image& sheet, float drawScale, float x, float y, std::wstring fieldTemplate,
                     std::wstring text, int colour) {
    if (sheet.width < 640 || sheet.height < kSheetRows * kGlyphHeight) return {};
    // Beyond this the floors of the stretch are not defined; such a field draws nothing.
    if (!(std::fabs(40.0 * x) < (1 << 22) && std::fabs(40.0 * y) < (1 << 22) && drawScale > 0 && drawScale < 64))
        return {};
    Pen pen{canvas, sheet, drawScale, {}};
    const bool colourValid = colour >= 0 && colour <= 8;
    double X = 40.0 * x;
    const double Y = 40.0 * y + 28;

    if (!text.empty() && !isSign(text[0])) text.insert(0, 1, L'+');

    if (!fieldTemplate.empty() && isSign(fieldTemplate[0])) {
        if (text.empty()) {
            pen.copy(380, 0, kGlyphWidth, kGlyphHeight, X + 1, Y);  // the unlit symbol
        } else {
            const wchar_t p = fieldTemplate[0];
            wchar_t t = text[0];
            if (p == L'↑' || p == L'↓' || p == L'←' || p == L'→') t = arrowFor(t, p);
            const int k = lookupColumn(t);
            if (k >= 0 && colourValid)
                pen.copy(kGlyphWidth * k, kGlyphHeight * colour, kGlyphWidth, kGlyphHeight, X + 1, Y);
            else
                pen.copy(380, 0, kGlyphWidth, kGlyphHeight, X + 1, Y);
            text.erase(0, 1);
        }
        fieldTemplate.erase(0, 1);
        X += kPitch;
    }

    std::wstring field;
    if (!text.empty()) {
        field = formatFieldText(fieldTemplate, text);
    } else {
        for (wchar_t c : fieldTemplate)
            if (c != L'.') field += L' ';
    }

    const size_t length = field.size();
    for (size_t i = 0; i < length; ++i) {
        const wchar_t ch = field[i];
        if (ch == L'.') {
            if (colourValid)
                pen.copy(608, kGlyphHeight * colour + 50, 14, 14, X - 15, Y + 50, RasterOp::Or);
            continue;
        }
        const int k = lookupColumn(ch);
        if (ch == L' ' || k < 0 || !colourValid) {
            pen.unlitPosition(X, Y);
        } else {
            pen.copy(kGlyphWidth * k, kGlyphHeight * colour, kGlyphWidth, kGlyphHeight, X + 1, Y);
            pen.unlitPoint(X, Y);
        }
        X += kPitch;
    }
    return pen.covered;
}

}  // namespace tavro::render
