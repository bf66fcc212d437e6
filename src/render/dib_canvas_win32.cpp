#include "render/dib_canvas_win32.h"

namespace tavro::render {

std::unique_ptr<DibCanvas> DibCanvas::create(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<DibCanvas> dib(new DibCanvas());
    dib->dc_ = CreateCompatibleDC(nullptr);
    if (!dib->dc_) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, like the portable canvas
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib->bitmap_ = CreateDIBSection(dib->dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib->bitmap_ || !bits) return nullptr;
    dib->oldBitmap_ = SelectObject(dib->dc_, dib->bitmap_);
    dib->canvas_ = Canvas{static_cast<Pixel*>(bits), width, height, width};
    return dib;
}

DibCanvas::~DibCanvas() {
    if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
}

}  // namespace tavro::render
