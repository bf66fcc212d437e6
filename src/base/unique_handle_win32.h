// Move-only owners for Win32 handles: copying one would close the handle twice.
#pragma once

#include <windows.h>

#include <utility>

namespace tavro::base {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Invalid));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    void reset(Handle h = Invalid) {
        if (handle_ != Invalid) Close(handle_);
        handle_ = h;
    }
    Handle release() { return std::exchange(handle_, Invalid); }
    // For a call that hands a new handle back through a pointer: what was held is closed first.
    Handle* put() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Invalid;
};

inline void releaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }

using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniquePen = UniqueHandle<HPEN, DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;
using UniqueScreenDc = UniqueHandle<HDC, releaseScreenDc>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalFree>;
using UniqueWinEventHook = UniqueHandle<HWINEVENTHOOK, UnhookWinEvent>;
using UniqueKey = UniqueHandle<HKEY, RegCloseKey>;

// The screen's DC, empty when there is none.
inline UniqueScreenDc screenDc() { return UniqueScreenDc(GetDC(nullptr)); }

// A file: CreateFileW's INVALID_HANDLE_VALUE is held as empty.
class UniqueFile : public UniqueKernelHandle {
public:
    UniqueFile() = default;
    explicit UniqueFile(HANDLE h) : UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    void reset(HANDLE h = nullptr) { UniqueKernelHandle::reset(h == INVALID_HANDLE_VALUE ? nullptr : h); }
};

// Selects an object into a DC for a scope and puts the old one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tavro::base
