// The window's canvas: a 32-bit top-down DIB section selected into a memory DC, so that the
// portable drawing and GDI text write the same pixels and WM_PAINT is one BitBlt.
#pragma once

#include <windows.h>

#include <memory>

#include "render/canvas.h"

namespace tavro::render {

class DibCanvas {
public:
    // Nothing when the system cannot give the bitmap.
    static std::unique_ptr<DibCanvas> create(int width, int height);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    Canvas& canvas() { return canvas_; }
    HDC dc() const { return dc_; }
    // Makes GDI finish drawing before the pixels are read or written directly.
    void flush() const { GdiFlush(); }

private:
    DibCanvas() = default;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    Canvas canvas_;
};

}  // namespace tavro::render
